// 32-bit picture with straight (not premultiplied) alpha, for transparent exports.
#pragma once

#include "image/image.h"

#include <cstdint>

namespace plakett {

// Stored red, green, blue, alpha in memory.
struct Rgba8 {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;
    friend bool operator==(const Rgba8&, const Rgba8&) = default;
};
static_assert(sizeof(Rgba8) == 4);

using Rgba8Image = Image<Rgba8>;

} // namespace plakett
