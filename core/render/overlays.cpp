#include "render/overlays.h"

#include "render/svg_glyph.h"

#include "common/arith.h"

#include <algorithm>
#include <climits>
#include <numbers>
#include <vector>

namespace plakett {

namespace {

constexpr ColorRef kRaisedLight = 0xC8C8C8;
constexpr ColorRef kRaisedDark = 0x828282;
constexpr int kMaxCopyOffset = 4; // the farthest an effect copy lies from the text

// Non-negative remainder.
int wrap(int v, int period) {
    const int r = v % period;
    return r < 0 ? r + period : r;
}

std::uint8_t weigh(int over, int under, int level) {
    return static_cast<std::uint8_t>(((255 - level) * over + level * under) >> 8);
}

void weighPixel(Bgr24& base, const Bgr24& over, int level) {
    base = Bgr24{weigh(over.b, base.b, level), weigh(over.g, base.g, level),
                 weigh(over.r, base.r, level)};
}

void resetOutside(Bgr24Image& base, const Gray8Image& coverage, Bgr24 background) {
    for (int y = 0; y < base.height(); ++y) {
        Bgr24* row = base.scanline(y);
        const Gray8* k = coverage.scanline(y);
        for (int x = 0; x < base.width(); ++x)
            if (k[x] == 0) row[x] = background;
    }
}

struct CaptionCopy {
    int dx = 0;
    int dy = 0;
    ColorRef color = 0;
};

std::vector<CaptionCopy> captionCopies(TextEffect effect, ColorRef text, ColorRef effectColor,
                                       int scale) {
    std::vector<CaptionCopy> copies;
    switch (effect) {
    case TextEffect::Normal:
        break;
    case TextEffect::Raised:
        copies = {{-3, -3, kRaisedLight}, {3, -3, effectColor}, {-3, 3, kRaisedDark}};
        break;
    case TextEffect::Lowered:
        copies = {{3, 3, kRaisedLight}, {-3, 3, effectColor}, {3, -3, kRaisedDark}};
        break;
    case TextEffect::Shadow:
        copies = {{4, 4, effectColor}};
        break;
    case TextEffect::Bordered:
        copies = {
            {2, 2, effectColor}, {-2, -2, effectColor}, {2, -2, effectColor}, {-2, 2, effectColor}};
        break;
    }
    for (CaptionCopy& copy : copies) {
        copy.dx *= scale;
        copy.dy *= scale;
    }
    copies.push_back({0, 0, text});
    return copies;
}

// Non-premultiplied "over" of a copy of colour rgb and coverage k onto a layer pixel,
// rounded to nearest; the result lies between the two colours.
Argb32 over(Argb32 under, Xrgb32 rgb, int k) {
    const int a0 = static_cast<int>(under >> 24);
    if (k == 255 || a0 == 0) return (static_cast<Argb32>(k) << 24) | rgb;
    const int den = k * 255 + a0 * (255 - k);
    auto channel = [&](int shift) {
        const int c = static_cast<int>((rgb >> shift) & 0xFF);
        const int c0 = static_cast<int>((under >> shift) & 0xFF);
        const int num = c * k * 255 + c0 * a0 * (255 - k);
        return static_cast<Argb32>((num + den / 2) / den) << shift;
    };
    const auto alpha = static_cast<Argb32>((den + 127) / 255);
    return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

void composeCopy(CoverageLayer& layer, const CaptionCoverage& shape, int x, int y, Xrgb32 rgb) {
    const int left = x + shape.left - layer.left;
    const int top = y + shape.top - layer.top;
    const Gray8Image& cov = shape.coverage;
    const int c0 = std::max(0, -left);
    const int c1 = std::min(cov.width(), layer.pixels.width() - left);
    for (int r = std::max(0, -top); r < std::min(cov.height(), layer.pixels.height() - top); ++r) {
        const Gray8* in = cov.scanline(r);
        Argb32* out = layer.pixels.scanline(r + top) + left;
        for (int c = c0; c < c1; ++c)
            if (in[c] != 0) out[c] = over(out[c], rgb, in[c]);
    }
}

} // namespace

Bgr24 BackgroundPixel(const BackgroundLive& background) {
    return Bgr24{static_cast<std::uint8_t>(background.backBlue),
                 static_cast<std::uint8_t>(background.backGreen),
                 static_cast<std::uint8_t>(background.backRed)};
}

// In 64 bits: settings that bypassed the text window may hold any int.
int CaptionCellHeight(int fontSize) {
    return static_cast<int>(
        std::clamp<std::int64_t>((std::int64_t{fontSize} * 3) / 2, INT_MIN, INT_MAX));
}
int DoubleCaptionCellHeight(int fontSize) {
    return static_cast<int>(
        std::clamp<std::int64_t>(((2 * std::int64_t{fontSize}) * 3) / 2, INT_MIN, INT_MAX));
}

CaptionFont CaptionFontFor(const TextLive& text, int cellHeight) {
    return CaptionFont{text.fontName, cellHeight,     text.weight,
                       text.italic,   text.underline, text.angle};
}

PreparedCaption PrepareCaption(const TextLive& text, int baseWidth, int baseHeight,
                               CaptionRasterizer* rasterizer, int scale) {
    PreparedCaption caption;
    caption.scale = scale;
    if (rasterizer == nullptr || text.caption.empty()) return caption;
    const int normalCell = CaptionCellHeight(text.fontSize);
    const int doubleCell = DoubleCaptionCellHeight(text.fontSize);
    if (normalCell <= 0 || doubleCell <= 0) return caption;
    const CaptionExtent extent =
        rasterizer->measure(text.caption, CaptionFontFor(text, normalCell));
    const double phi = static_cast<double>(-text.angle) / 180.0 * std::numbers::pi;
    const double tw = extent.width;
    const double th = extent.height;
    const int ex = roundEven(std::cos(phi) * tw - std::sin(phi) * th);
    const int ey = roundEven(std::sin(phi) * tw + std::cos(phi) * th);
    const int originX = baseWidth / 2 + text.x - halve(ex);
    const int originY = baseHeight / 2 + text.y - halve(ey);
    caption.x = 2 * originX;
    caption.y = 2 * originY;
    // Only the double-scale area over the base can show, widened by the effect offsets.
    const int reach = kMaxCopyOffset * scale;
    const CaptionRect clip{-caption.x - reach, -caption.y - reach, 2 * baseWidth + 2 * reach,
                           2 * baseHeight + 2 * reach};
    caption.shape = rasterizer->rasterize(text.caption, CaptionFontFor(text, doubleCell), clip);
    return caption;
}

void DrawTexture(Bgr24Image& base, const Gray8Image& coverage, const BackgroundLive& background) {
    const Bgr24Image& texture = background.texture;
    if (!background.useTexture || texture.empty()) return;
    const int tw = texture.width();
    const int th = texture.height();
    // The last texture column is never used; a one-column texture repeats that column.
    const int period = std::max(tw - 1, 1);
    const int ox = base.width() / 2 + background.textureOriginX - tw / 2;
    const int oy = base.height() / 2 + background.textureOriginY - th / 2;
    const int level = std::clamp(background.textureOpacity, 0, 255);
    std::vector<int> columns(static_cast<std::size_t>(base.width()));
    for (int x = 0; x < base.width(); ++x)
        columns[x] = wrap(x - ox + 256, period);
    for (int y = 0; y < base.height(); ++y) {
        const Bgr24* t = texture.scanline(wrap(y - oy + 256, th));
        Bgr24* row = base.scanline(y);
        for (int x = 0; x < base.width(); ++x)
            weighPixel(row[x], t[columns[x]], level);
    }
    resetOutside(base, coverage, BackgroundPixel(background));
}

void DrawGlyph(Bgr24Image& base, const Gray8Image& coverage, const GlyphLive& glyph,
               Bgr24 background, int scale) {
    if (!glyph.useGlyph) return;
    if (const Rgba8Image* svg = svgGlyphRaster(glyph, scale); svg && !svg->empty()) {
        blendSvgGlyph(base, *svg, base.width() / 2 + glyph.x - svg->width() / 2,
                      base.height() / 2 + glyph.y - svg->height() / 2, glyph.opacity);
        resetOutside(base, coverage, background);
        return;
    }
    const Bgr24Image& picture = glyph.picture;
    if (picture.empty()) return;
    const int gx = base.width() / 2 + glyph.x - picture.width() / 2;
    const int gy = base.height() / 2 + glyph.y - picture.height() / 2;
    const int level = std::clamp(glyph.opacity, 0, 255);
    const Bgr24 key = bgrFromColorRef(glyph.transparentColor);
    const int x0 = std::max(0, gx);
    const int x1 = std::min(base.width(), gx + picture.width());
    for (int y = std::max(0, gy); y < std::min(base.height(), gy + picture.height()); ++y) {
        const Bgr24* g = picture.scanline(y - gy);
        Bgr24* row = base.scanline(y);
        for (int x = x0; x < x1; ++x) {
            const Bgr24& p = g[x - gx];
            if (glyph.transparent && p == key) continue;
            weighPixel(row[x], p, level);
        }
    }
    resetOutside(base, coverage, background);
}

CoverageLayer BuildCaptionLayer(const PreparedCaption& caption, const TextLive& text,
                                ButtonState state, int canvasWidth, int canvasHeight) {
    CoverageLayer layer;
    const Gray8Image& cov = caption.shape.coverage;
    if (cov.empty()) return layer;
    const int s = static_cast<int>(state);
    const auto copies =
        captionCopies(text.effects[s], text.colors[s], text.effectColor, caption.scale);
    // Only the double-scale area over the canvas can show.
    int x0 = 2 * canvasWidth, y0 = 2 * canvasHeight, x1 = 0, y1 = 0;
    for (const CaptionCopy& copy : copies) {
        const int left = caption.x + copy.dx + caption.shape.left;
        const int top = caption.y + copy.dy + caption.shape.top;
        x0 = std::min(x0, std::max(left, 0));
        y0 = std::min(y0, std::max(top, 0));
        x1 = std::max(x1, std::min(left + cov.width(), 2 * canvasWidth));
        y1 = std::max(y1, std::min(top + cov.height(), 2 * canvasHeight));
    }
    if (x1 <= x0 || y1 <= y0) return layer;
    layer.left = x0;
    layer.top = y0;
    layer.pixels.reset(x1 - x0, y1 - y0, 0);
    for (const CaptionCopy& copy : copies)
        composeCopy(layer, caption.shape, caption.x + copy.dx, caption.y + copy.dy,
                    xrgbFromColorRef(copy.color));
    return layer;
}

void DrawCaption(Bgr24Image& base, const PreparedCaption& caption, const TextLive& text,
                 ButtonState state) {
    const CoverageLayer layer =
        BuildCaptionLayer(caption, text, state, base.width(), base.height());
    HalfSizeBlendCoverage(base, layer, std::clamp(text.opacity, 0, 255));
}

void DrawOverlays(Bgr24Image& base, const Gray8Image& coverage, const RenderSettings& settings,
                  ButtonState state, const PreparedCaption& caption) {
    DrawTexture(base, coverage, settings.background);
    DrawGlyph(base, coverage, settings.glyph, BackgroundPixel(settings.background),
              settings.scale);
    DrawCaption(base, caption, settings.text, state);
}

} // namespace plakett
