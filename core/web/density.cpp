#include "web/density.h"

#include "image/color.h"
#include "web/image_upscale.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace plakett {

namespace {

// The texture's column and row are found as (x - origin + 256) mod period; the origin is
// moved so that the enlarged tile starts where s times the 1x tile would.
int scaledTextureOrigin(int origin, int oldSize, int newSize, int scale) {
    return scale * origin - 256 * (scale - 1) - scale * (oldSize / 2) + newSize / 2;
}

// The size upscaleTexture gives.
int enlargedTextureWidth(int width, int scale) {
    return std::max(width - 1, 1) * scale + 1;
}

void scaleTextureOrigin(BackgroundLive& b, int width, int height, int scale) {
    if (width <= 0 || height <= 0) return;
    b.textureOriginX =
        scaledTextureOrigin(b.textureOriginX, width, enlargedTextureWidth(width, scale), scale);
    b.textureOriginY = scaledTextureOrigin(b.textureOriginY, height, height * scale, scale);
}

void scaleTexture(BackgroundLive& b, int scale) {
    if (b.texture.empty()) return;
    scaleTextureOrigin(b, b.texture.width(), b.texture.height(), scale);
    b.texture = upscaleTexture(b.texture, scale);
}

int positiveMod(int a, int m) {
    const int r = a % m;
    return r < 0 ? r + m : r;
}

std::vector<int> range(int first, int last) {
    std::vector<int> v;
    for (int i = first; i < last; ++i)
        v.push_back(i);
    return v;
}

// The part of a glyph `full` pixels long that an image `image` pixels long shows when the
// glyph's offset is `offset` (as DrawGlyph places it), at least one pixel; the offset
// becomes the part's.
std::vector<int> drawnGlyphPart(int full, int image, int& offset) {
    const int at = image / 2 + offset - full / 2;
    const int first = std::clamp(-at, 0, full - 1);
    const int last = std::clamp(image - at, first + 1, full);
    offset = offset - full / 2 + first + (last - first) / 2;
    return range(first, last);
}

// The texture indices (of a texture `full` long repeating every `period`) that an image
// `image` long reads, in image order, when it is shorter than the period; the origin then
// becomes that of the part, which is one period of its own.
std::vector<int> drawnTexturePart(int full, int period, int image, int& origin) {
    if (image <= 0) return {0}; // nothing is drawn
    if (image >= period) return range(0, full);
    const int at = image / 2 + origin - full / 2;
    std::vector<int> part;
    for (int i = 0; i < image; ++i)
        part.push_back(positiveMod(i - at + 256, period));
    const bool extraColumn = full > period; // the texture's unused last column
    if (extraColumn) part.push_back(part.front());
    const int partLength = static_cast<int>(part.size());
    origin = 256 - image / 2 + partLength / 2; // reads part index i for image index i
    return part;
}

void scaleGlyph(GlyphLive& g, int scale) {
    g.x *= scale;
    g.y *= scale;
    const std::optional<Bgr24> key =
        g.transparent ? std::optional(bgrFromColorRef(g.transparentColor)) : std::nullopt;
    g.picture = upscaleSmooth(g.picture, scale, UpscaleEdges::Clamp, key);
}

} // namespace

void scaleDesignOrigins(DesignCopy& copy, const RenderSettings& original, int scale) {
    if (scale <= 1) return;
    const Bgr24Image& t = original.background.texture;
    scaleTextureOrigin(copy.settings.background, t.width(), t.height(), scale);
}

void enlargeDrawnPictures(RenderSettings& scaled, const RenderSettings& original, int scale,
                          int width, int height) {
    if (const Bgr24Image& p = original.glyph.picture; !p.empty()) {
        GlyphLive& g = scaled.glyph;
        const std::optional<Bgr24> key =
            g.transparent ? std::optional(bgrFromColorRef(g.transparentColor)) : std::nullopt;
        const std::vector<int> rows = drawnGlyphPart(p.height() * scale, height, g.y);
        const std::vector<int> columns = drawnGlyphPart(p.width() * scale, width, g.x);
        g.picture = upscaleSmoothPart(p, scale, UpscaleEdges::Clamp, key, rows, columns);
    }
    if (const Bgr24Image& t = original.background.texture; !t.empty()) {
        BackgroundLive& b = scaled.background;
        const int fullWidth = scale > 1 ? enlargedTextureWidth(t.width(), scale) : t.width();
        const int period = std::max(fullWidth - 1, 1);
        const int fullHeight = t.height() * scale;
        const std::vector<int> rows =
            drawnTexturePart(fullHeight, fullHeight, height, b.textureOriginY);
        const std::vector<int> columns =
            drawnTexturePart(fullWidth, period, width, b.textureOriginX);
        b.texture = upscaleTexturePart(t, scale, rows, columns);
    }
}

DesignCopy scaleDesign(const std::vector<TMoveBox>& points, const RenderSettings& settings,
                       int scale) {
    DesignCopy copy{points, settings};
    if (scale <= 1) return copy;
    for (TMoveBox& p : copy.points) {
        p.FPos = {p.FPos.X * scale, p.FPos.Y * scale};
        p.FLeftLength *= static_cast<float>(scale);
        p.FRightLength *= static_cast<float>(scale);
    }
    RenderSettings& s = copy.settings;
    s.scale = scale;
    s.text.fontSize *= scale;
    s.text.x *= scale;
    s.text.y *= scale;
    scaleGlyph(s.glyph, scale);
    scaleTexture(s.background, scale);
    return copy;
}

void centreOnOneTimes(RenderSettings& scaled, int scale, int width1, int height1, int widthS,
                      int heightS) {
    const int dx = scale * (width1 / 2) - widthS / 2;
    const int dy = scale * (height1 / 2) - heightS / 2;
    scaled.text.x += dx;
    scaled.text.y += dy;
    scaled.glyph.x += dx;
    scaled.glyph.y += dy;
    scaled.background.textureOriginX += dx;
    scaled.background.textureOriginY += dy;
}

std::string densitySuffix(int scale) {
    if (scale <= 1) return {};
    std::string suffix(1, '@');
    suffix += std::to_string(scale);
    suffix += 'x';
    return suffix;
}

} // namespace plakett
