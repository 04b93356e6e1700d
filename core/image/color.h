// Setting colours are 0x00BBGGRR words (red in the low byte).
#pragma once

#include "image/image.h"

#include <cstdint>

namespace plakett {

using ColorRef = std::uint32_t;

constexpr std::uint8_t redOf(ColorRef c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t greenOf(ColorRef c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t blueOf(ColorRef c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

constexpr ColorRef makeColorRef(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

constexpr Bgr24 bgrFromColorRef(ColorRef c) {
    return Bgr24{blueOf(c), greenOf(c), redOf(c)};
}

// 0x00BBGGRR -> 0x00RRGGBB work pixel.
constexpr Xrgb32 xrgbFromColorRef(ColorRef c) {
    return (static_cast<Xrgb32>(redOf(c)) << 16) | (static_cast<Xrgb32>(greenOf(c)) << 8) |
           blueOf(c);
}
constexpr Xrgb32 xrgbFromBgr(Bgr24 p) {
    return (static_cast<Xrgb32>(p.r) << 16) | (static_cast<Xrgb32>(p.g) << 8) | p.b;
}
constexpr Bgr24 bgrFromXrgb(Xrgb32 p) {
    return Bgr24{static_cast<std::uint8_t>(p & 0xFF), static_cast<std::uint8_t>((p >> 8) & 0xFF),
                 static_cast<std::uint8_t>((p >> 16) & 0xFF)};
}

} // namespace plakett
