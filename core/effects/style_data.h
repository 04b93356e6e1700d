// What a style file gives the light editor: the button colour and, per light, the cells
// the file stores. Radius and Power hold the MapRadius and MapPower cells at save time.
#pragma once

#include "effects/light_rec.h"

#include <array>
#include <cstdint>

namespace plakett {

struct StyleLight {
    std::uint8_t Enabled = 0;
    std::int32_t PadX = 32;
    std::int32_t PadY = 32;
    ColorRef Color = 0xFFFFFF;
    std::int32_t Radius = 120;
    std::int32_t Power = 20;
    friend bool operator==(const StyleLight&, const StyleLight&) = default;
};

struct StyleData {
    ColorRef buttonColor = kDefaultButtonColor;
    std::array<StyleLight, 4> lights{};
    friend bool operator==(const StyleData&, const StyleData&) = default;
};

} // namespace plakett
