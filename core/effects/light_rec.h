// The light set: four coloured lights over a button colour. TLightRec is stored byte for
// byte in project files, so its layout is part of the file format.
#pragma once

#include "image/color.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace plakett {

struct TLightRec {
    std::int32_t Radius = 120;
    std::int32_t Power = 50;
    std::int32_t MapX = 128;
    std::int32_t MapY = 128;
    std::int32_t MapRadius = 120;
    std::int32_t AddRed = 0;
    std::int32_t AddGreen = 0;
    std::int32_t AddBlue = 0;
    std::int32_t PadX = 32;
    std::int32_t PadY = 32;
    std::uint8_t Enabled = 0;
    std::array<std::uint8_t, 3> EnabledPadding{}; // carried through unchanged
    ColorRef Color = 0xFFFFFF;
    std::int32_t MapPower = 20;

    friend bool operator==(const TLightRec&, const TLightRec&) = default;
};
static_assert(sizeof(TLightRec) == 52);
static_assert(offsetof(TLightRec, Enabled) == 40);
static_assert(offsetof(TLightRec, Color) == 44);
static_assert(offsetof(TLightRec, MapPower) == 48);

inline constexpr ColorRef kDefaultButtonColor = 0x006C00;

struct TGradientBox {
    std::array<TLightRec, 4> FLights{}; // index 0 is light 1, always on
    ColorRef FButtonColor = kDefaultButtonColor;

    friend bool operator==(const TGradientBox&, const TGradientBox&) = default;
};

} // namespace plakett
