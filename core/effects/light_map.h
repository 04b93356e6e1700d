// The light map: a 256 x 256 picture of a round button lit by up to four coloured lights.
// Shading looks every button pixel up in it, so its arithmetic is exact to the bit.
#pragma once

#include "effects/light_rec.h"
#include "image/color.h"
#include "image/image.h"

#include <array>
#include <cstdint>

namespace plakett {

inline constexpr int kLightMapSize = 256;

struct LightAmounts {
    std::int32_t AddRed = 0;
    std::int32_t AddGreen = 0;
    std::int32_t AddBlue = 0;
    friend bool operator==(const LightAmounts&, const LightAmounts&) = default;
};

// scale = (power * 768) div ((G and B) + R + 1); the bitwise AND is what saved styles were
// made with, so it stays.
LightAmounts ComputeLightAmounts(std::int32_t power, ColorRef color);

// Fills AddRed/AddGreen/AddBlue of the light from its Power and Color.
void UpdateLightAmounts(TLightRec& light);

// Moves half of the excess of channel c above 255 into the two other channels.
void SaturateRGB(std::int32_t& c, std::int32_t& other1, std::int32_t& other2);

// Brings an accumulated colour into 0..255 per channel the way the light map does.
Bgr24 SaturatePixel(std::int32_t r, std::int32_t g, std::int32_t b);

// Light 1 is always on; lights 2..4 only when Enabled is non-zero.
Bgr24Image RenderLightMap(const TGradientBox& lights);

using ColorRamp = std::array<Bgr24, 256>;
ColorRamp BuildColorRamp(int wr, int wg, int wb);

inline constexpr int kHemisphereSize = 128;
using HemisphereTableData = std::array<std::uint8_t, kHemisphereSize * kHemisphereSize>;
// Heights of a hemisphere of radius 63 over a 128 x 128 grid, 255 outside; built once.
const HemisphereTableData& HemisphereTable();
HemisphereTableData BuildHemisphereTable();

// The pad's shaded sphere: 64 x 63 pixels.
Bgr24Image RenderLightPreview(int lx, int ly, int lz, int k, int ambient, const ColorRamp& ramp,
                              const HemisphereTableData& heights);

} // namespace plakett
