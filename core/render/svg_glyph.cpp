#include "render/svg_glyph.h"

#include <algorithm>
#include <utility>

namespace plakett {

void rasterizeSvgGlyph(GlyphLive& glyph, GlyphRasterizer& rasterizer, int maxScale) {
    if (glyph.svgSource.empty()) {
        glyph.svgRasters.clear();
        return;
    }
    std::vector<Rgba8Image> rasters;
    for (int scale = 1; scale <= maxScale; ++scale)
        rasters.push_back(rasterizer.rasterize(glyph.svgSource, scale, glyph.svgColor));
    glyph.svgRasters = std::move(rasters);
}

const Rgba8Image* svgGlyphRaster(const GlyphLive& glyph, int scale) {
    if (glyph.svgSource.empty() || scale < 1 ||
        static_cast<std::size_t>(scale) > glyph.svgRasters.size())
        return nullptr;
    return &glyph.svgRasters[static_cast<std::size_t>(scale - 1)];
}

void blendSvgGlyph(Bgr24Image& base, const Rgba8Image& raster, int gx, int gy, int opacity) {
    const int keep = 255 - std::clamp(opacity, 0, 255);
    const int x0 = std::max(0, gx);
    const int x1 = std::min(base.width(), gx + raster.width());
    for (int y = std::max(0, gy); y < std::min(base.height(), gy + raster.height()); ++y) {
        const Rgba8* g = raster.scanline(y - gy);
        Bgr24* row = base.scanline(y);
        for (int x = x0; x < x1; ++x) {
            const Rgba8& p = g[x - gx];
            if (p.a == 0) continue;
            const int level = 255 - p.a * keep / 255;
            auto mix = [level](int over, int under) {
                return static_cast<std::uint8_t>(((255 - level) * over + level * under) >> 8);
            };
            row[x] = Bgr24{mix(p.b, row[x].b), mix(p.g, row[x].g), mix(p.r, row[x].r)};
        }
    }
}

} // namespace plakett
