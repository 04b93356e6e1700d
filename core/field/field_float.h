// Small numeric helpers of the shape field: values that are kept are float32, the
// expressions that produce them are evaluated in double.
#pragma once

#include "common/arith.h"

#include <cmath>
#include <cstdint>

namespace plakett {

inline float keepF32(double v) {
    return static_cast<float>(v);
}

// roundEven without a library call: adding and removing 1.5 * 2^52 leaves the nearest
// integer, ties to even, for any |v| < 2^51 in the default rounding mode.
inline std::int32_t roundHalfEven(double v) {
    constexpr double kShift = 0x1.8p52;
    if (std::fabs(v) < 0x1p51) return static_cast<std::int32_t>((v + kShift) - kShift);
    return roundEven(v);
}

// The distance the distance pass keeps for a squared distance d2 to the chosen sample:
// d2 as float32, plus 0.01, square root, each step kept as float32.
inline float sampleDistance(std::int64_t d2) {
    const float f = static_cast<float>(d2);
    return keepF32(std::sqrt(static_cast<double>(keepF32(f + 0.01))));
}

} // namespace plakett
