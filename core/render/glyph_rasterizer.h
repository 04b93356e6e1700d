// How the core gets an SVG glyph drawn without knowing any SVG renderer: the desktop and the
// command line draw it with Qt SVG, a browser with its own canvas, tests with a fake.
#pragma once

#include "image/color.h"
#include "image/rgba_image.h"

#include <string_view>

namespace plakett {

class GlyphRasterizer {
  public:
    virtual ~GlyphRasterizer() = default;
    // The whole document at `scale` times its own size in px (its width and height, or its
    // viewBox without them), with straight alpha; currentColor paints `currentColor`.
    // Throws std::runtime_error when the text is not an SVG document it can draw.
    virtual Rgba8Image rasterize(std::string_view svg, int scale, ColorRef currentColor) = 0;
};

} // namespace plakett
