// Integer helpers of the shape code that stay defined for absurd coordinates from files.
#pragma once

#include "common/arith.h"

#include <cstdint>
#include <limits>

namespace plakett {

// Two's-complement 32-bit result, as the outline's integer sums are defined.
inline std::int32_t wrap32(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

// Round half to even, saturated to int32 (NaN gives the minimum) instead of undefined.
inline std::int32_t roundToInt32(double v) {
    if (!(v > -2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    if (!(v < 2147483647.0)) return std::numeric_limits<std::int32_t>::max();
    return roundEven(v);
}

// a + b saturated to int32: for offsets added to rounded values that may sit at the limits.
inline std::int32_t addSaturated(std::int32_t a, std::int64_t b) {
    const std::int64_t sum = std::int64_t{a} + b;
    if (sum < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (sum > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(sum);
}

} // namespace plakett
