// The program's integer conversions: Round is half to even, Trunc and div cut toward zero,
// halve is floor(v / 2).
#pragma once

#include <cmath>
#include <cstdint>

namespace plakett {

// Assumes the default FE_TONEAREST rounding mode, which nothing in the program changes.
inline std::int32_t roundEven(double v) {
    return static_cast<std::int32_t>(std::nearbyint(v));
}

inline std::int32_t truncToInt(double v) {
    return static_cast<std::int32_t>(std::trunc(v));
}

constexpr std::int32_t halve(std::int32_t v) {
    return v >> 1;
} // arithmetic shift: floor

} // namespace plakett
