// High-density copies of a design for the @2x / @3x outputs: every length grows by the
// density, so the one render road draws the same button at s times the pixels.
#pragma once

#include "render/render_settings.h"
#include "shape/move_box.h"

#include <string>
#include <vector>

namespace plakett {

inline constexpr int kMaxDensity = 3;

struct DesignCopy {
    std::vector<TMoveBox> points;
    RenderSettings settings;
};

// Points and Bezier lengths, the caption's size and offsets, the glyph's offsets, the
// glyph picture and texture tile (enlarged smoothly) grow by `scale`; settings.scale tells
// the pipeline to grow its own fixed lengths. The light map is not part of it: the field
// takes the 1x field's places on it (web/field_upsample.h). scale 1 returns the design unchanged.
DesignCopy scaleDesign(const std::vector<TMoveBox>& points, const RenderSettings& settings,
                       int scale);

// For a copy made by scaleDesign from `original` with its pictures left out: moves the
// texture's origin as scaleDesign moves it for the enlarged texture.
void scaleDesignOrigins(DesignCopy& copy, const RenderSettings& original, int scale);

// The glyph picture and texture of `scaled` (a copy of `original` at `scale` whose offsets
// are final, as scaleDesign, the field's clamping and centreOnOneTimes leave them) become
// only the parts of their enlargements that an image of width x height draws, offsets
// moved to match: the image comes out the same as with the whole enlargements, which can
// be a hundred times larger. Also right at scale 1 (a part of the picture itself).
void enlargeDrawnPictures(RenderSettings& scaled, const RenderSettings& original, int scale,
                          int width, int height);

// The texture, glyph and caption are centred on the image centre, Wc div 2. The scaled
// field is a few cells short of s times the 1x field (its two outside columns and rows do
// not grow), which would put them a pixel off s times their 1x place; this moves them back.
// Sizes are the coverage sizes of the 1x and the scaled field.
void centreOnOneTimes(RenderSettings& scaled, int scale, int width1, int height1, int widthS,
                      int heightS);

// "" for density 1, "@2x" and "@3x" otherwise.
std::string densitySuffix(int scale);

} // namespace plakett
