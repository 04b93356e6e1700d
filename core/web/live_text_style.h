// The caption as page text: the CSS values that stand for the design's text settings.
#pragma once

#include "image/image.h"
#include "render/caption_rasterizer.h"
#include "render/render_settings.h"
#include "web/web_page.h"

namespace plakett {

// The font family list: the design's face, then faces that look alike, then the generic
// family ("Arial" -> Arial, "Liberation Sans", Helvetica, sans-serif).
std::string cssFontFamily(const std::string& faceName);

// The style of the caption on a button whose 1x coverage raster is `coverage` and whose box
// starts at the coverage's (boxLeft, boxTop). `rasterizer` gives the font's em size for its
// cell height; without one the em is taken as CaptionRasterizer's default.
LiveTextStyle liveTextStyle(const TextLive& text, const Gray8Image& coverage, int boxLeft,
                            int boxTop, CaptionRasterizer* rasterizer);

} // namespace plakett
