// SVG glyphs drawn with Qt SVG, headless-capable (needs a QGuiApplication while used).
#pragma once

#include "render/glyph_rasterizer.h"

#include <string>

namespace plakett {

class QtGlyphRasterizer : public GlyphRasterizer {
  public:
    Rgba8Image rasterize(std::string_view svg, int scale, ColorRef currentColor) override;
};

// The document with every "currentColor" replaced by the colour as #rrggbb, so that the
// colour reaches fills and strokes whatever the renderer makes of the color property.
std::string withCurrentColor(std::string_view svg, ColorRef color);

// Glyphs larger than this many pixels a side (at 1x) are refused.
inline constexpr int kMaxSvgGlyphSide = 2048;

} // namespace plakett
