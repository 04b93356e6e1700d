#include "web/density.h"

#include "image/color.h"
#include "web/image_upscale.h"

#include <optional>

namespace plakett {

namespace {

// The texture's column and row are found as (x - origin + 256) mod period; the origin is
// moved so that the enlarged tile starts where s times the 1x tile would.
int scaledTextureOrigin(int origin, int oldSize, int newSize, int scale) {
    return scale * origin - 256 * (scale - 1) - scale * (oldSize / 2) + newSize / 2;
}

void scaleTexture(BackgroundLive& b, int scale) {
    if (b.texture.empty()) return;
    const Bgr24Image big = upscaleTexture(b.texture, scale);
    b.textureOriginX = scaledTextureOrigin(b.textureOriginX, b.texture.width(), big.width(), scale);
    b.textureOriginY =
        scaledTextureOrigin(b.textureOriginY, b.texture.height(), big.height(), scale);
    b.texture = big;
}

void scaleGlyph(GlyphLive& g, int scale) {
    g.x *= scale;
    g.y *= scale;
    const std::optional<Bgr24> key =
        g.transparent ? std::optional(bgrFromColorRef(g.transparentColor)) : std::nullopt;
    g.picture = upscaleSmooth(g.picture, scale, UpscaleEdges::Clamp, key);
}

} // namespace

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
