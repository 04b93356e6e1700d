#include "common/field_parallel.h"
#include "render/overlays.h"
#include "render/render_pipeline.h"
#include "render/shading.h"
#include "render/shadow.h"
#include "render/state_base.h"

#include <algorithm>
#include <atomic>
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

StateBase PrepareStateBase(const ShapeField& field, const Gray8Image& shadowMask,
                           const Bgr24Image& lightMap, const RenderSettings& settings,
                           CaptionRasterizer* captions) {
    StateBase prepared;
    prepared.background = BackgroundPixel(settings.background);
    if (field.cancelled || lightMap.width() != kLightMapSize ||
        lightMap.height() != kLightMapSize || !hasInside(field.coverage))
        return prepared;
    const Gray8Image& coverage = field.coverage;
    Bgr24Image base = ShadeBase(field.map, lightMap, prepared.background);
    checkSizes(base, coverage, shadowMask, settings.scale);

    // Texture and glyph look the same in every state: draw them once and start each state
    // from that picture instead of the bare shading.
    DrawTexture(base, coverage, settings.background);
    DrawGlyph(base, coverage, settings.glyph, prepared.background, settings.scale);
    prepared.caption =
        PrepareCaption(settings.text, base.width(), base.height(), captions, settings.scale);
    prepared.shadow =
        settings.shadow.enabled ? bgrFromColorRef(settings.shadow.color) : prepared.background;
    prepared.picture = std::move(base);
    return prepared;
}

Bgr24Image RenderOneState(const StateBase& base, const Gray8Image& coverage,
                          const Gray8Image& shadowMask, const RenderSettings& settings, int s) {
    const auto state = static_cast<ButtonState>(s);
    Bgr24Image work = base.picture;
    DrawCaption(work, base.caption, settings.text, state);
    ShadowOffset offset = ShadowOffsetFor(settings.shadow.angle, settings.shadow.heights[s]);
    // s times the 1x offset keeps the button where the 1x image has it.
    offset = {offset.dx * settings.scale, offset.dy * settings.scale};
    Bgr24Image image = ComposeWithShadow(work, coverage, shadowMask, offset, base.background,
                                         base.shadow, settings.scale);
    SnapToBackground(image, base.background);
    return image;
}

StateImages RenderStates(const ShapeField& field, const Gray8Image& shadowMask,
                         const Bgr24Image& lightMap, const RenderSettings& settings,
                         CaptionRasterizer* captions) {
    StateImages images;
    const StateBase base = PrepareStateBase(field, shadowMask, lightMap, settings, captions);
    if (base.picture.empty()) return images;
    // The states share nothing but their inputs: each worker takes the next one.
    std::atomic<int> next{0};
    runTeam(fieldThreadCount(static_cast<long long>(field.map.columns()) * field.map.rows()),
            [&](int, int) {
                for (int s; (s = next.fetch_add(1)) < kStateCount;)
                    images[s] = RenderOneState(base, field.coverage, shadowMask, settings, s);
            });
    return images;
}

} // namespace plakett
