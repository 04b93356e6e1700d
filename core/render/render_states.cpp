#include "render/overlays.h"
#include "render/render_pipeline.h"
#include "render/shading.h"
#include "render/shadow.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace plakett {

namespace {

bool hasInside(const Gray8Image& coverage) {
    const auto& px = coverage.pixels();
    return std::any_of(px.begin(), px.end(), [](Gray8 k) { return k != 0; });
}

void checkSizes(const Bgr24Image& base, const Gray8Image& coverage, const Gray8Image& mask,
                int scale) {
    const int wm = shadowMaskSize(coverage.width(), scale);
    const int hm = shadowMaskSize(coverage.height(), scale);
    if (base.width() != coverage.width() || base.height() != coverage.height())
        throw std::invalid_argument("shape map and coverage sizes disagree");
    if (mask.width() != wm || mask.height() != hm)
        throw std::invalid_argument("shadow mask does not belong to this shape field");
}

} // namespace

void ClampOffsetsToField(RenderSettings& settings, const Gray8Image& coverage) {
    const int hw = coverage.width() / 2;
    const int hh = coverage.height() / 2;
    settings.text.x = std::clamp(settings.text.x, -hw, hw);
    settings.text.y = std::clamp(settings.text.y, -hh, hh);
    settings.glyph.x = std::clamp(settings.glyph.x, -hw, hw);
    settings.glyph.y = std::clamp(settings.glyph.y, -hh, hh);
}

StateImages RenderStates(const ShapeField& field, const Gray8Image& shadowMask,
                         const Bgr24Image& lightMap, const RenderSettings& settings,
                         CaptionRasterizer* captions) {
    StateImages images;
    if (field.cancelled || lightMap.width() != kLightMapSize ||
        lightMap.height() != kLightMapSize || !hasInside(field.coverage))
        return images;
    const Gray8Image& coverage = field.coverage;
    const Bgr24 background = BackgroundPixel(settings.background);
    Bgr24Image base = ShadeBase(field.map, lightMap, background);
    checkSizes(base, coverage, shadowMask, settings.scale);

    // Texture and glyph look the same in every state: draw them once and start each state
    // from that picture instead of the bare shading.
    DrawTexture(base, coverage, settings.background);
    DrawGlyph(base, coverage, settings.glyph, background);
    const PreparedCaption caption =
        PrepareCaption(settings.text, base.width(), base.height(), captions, settings.scale);
    const Bgr24 shadow =
        settings.shadow.enabled ? bgrFromColorRef(settings.shadow.color) : background;

    for (int s = 0; s < kStateCount; ++s) {
        const auto state = static_cast<ButtonState>(s);
        Bgr24Image work = base;
        DrawCaption(work, caption, settings.text, state);
        ShadowOffset offset = ShadowOffsetFor(settings.shadow.angle, settings.shadow.heights[s]);
        // s times the 1x offset keeps the button where the 1x image has it.
        offset = {offset.dx * settings.scale, offset.dy * settings.scale};
        Bgr24Image image = ComposeWithShadow(work, coverage, shadowMask, offset, background, shadow,
                                             settings.scale);
        SnapToBackground(image, background);
        images[s] = std::move(image);
    }
    return images;
}

} // namespace plakett
