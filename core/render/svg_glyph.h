// An SVG glyph: kept as its source, drawn at each density from the vector, and blended by
// its alpha.
#pragma once

#include "image/image.h"
#include "image/rgba_image.h"
#include "render/glyph_rasterizer.h"
#include "render/render_settings.h"

namespace plakett {

// Draws the glyph's SVG at densities 1..maxScale into glyph.svgRasters (nothing for a
// picture glyph). Throws what the rasterizer throws; the glyph is then unchanged.
void rasterizeSvgGlyph(GlyphLive& glyph, GlyphRasterizer& rasterizer, int maxScale = 3);

// The raster for a density, or nullptr when the glyph is no SVG glyph or was not drawn there.
const Rgba8Image* svgGlyphRaster(const GlyphLive& glyph, int scale);

// Blends the raster centred at (gx, gy) as a glyph picture: each channel becomes
// ((255 - L') G + L' base) >> 8 with L' = 255 - a (255 - opacity) / 255 for alpha a; a pixel
// of alpha 0 is left alone, one of alpha 255 blends exactly as a picture glyph's pixel does.
void blendSvgGlyph(Bgr24Image& base, const Rgba8Image& raster, int gx, int gy, int opacity);

} // namespace plakett
