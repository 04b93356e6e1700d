#include "render/button_renderer.h"

#include "render/state_base.h"
#include "shape/compute_points.h"

#include <utility>

namespace plakett {

bool ButtonRenderer::enter(const PointsArray& outline, RenderSettings& settings,
                           const FieldControl& control) {
    return enter(ComputeShapeField(outline, control), settings);
}

bool ButtonRenderer::enter(ShapeField field, RenderSettings& settings) {
    m_field = std::move(field);
    m_scale = settings.scale;
    m_shadowMask = BuildShadowMask(m_field.coverage, settings.shadow.blur, m_scale);
    ClampOffsetsToField(settings, m_field.coverage);
    m_ready = true;
    return !m_field.cancelled;
}

bool ButtonRenderer::enter(const std::vector<TMoveBox>& points, RenderSettings& settings,
                           const FieldControl& control) {
    const TArrayPoint outline = ComputeRenderOutline(points);
    PointsArray ring;
    ring.reserve(outline.size());
    for (const TPoint& p : outline)
        ring.push_back({p.X, p.Y});
    return enter(ring, settings, control);
}

void ButtonRenderer::rebuildShadowMask(int shadowBlur) {
    if (!m_ready) return;
    m_shadowMask = BuildShadowMask(m_field.coverage, shadowBlur, m_scale);
}

StateImages ButtonRenderer::render(const Bgr24Image& lightMap, const RenderSettings& settings,
                                   CaptionRasterizer* captions) const {
    if (!m_ready) return {};
    return RenderStates(m_field, m_shadowMask, lightMap, settings, captions);
}

Bgr24Image ButtonRenderer::renderState(const Bgr24Image& lightMap, const RenderSettings& settings,
                                       CaptionRasterizer* captions, int state) const {
    if (!m_ready || state < 0 || state >= kStateCount) return {};
    const StateBase base = PrepareStateBase(m_field, m_shadowMask, lightMap, settings, captions);
    if (base.picture.empty()) return {};
    return RenderOneState(base, m_field.coverage, m_shadowMask, settings, state);
}

TransparentStateImages ButtonRenderer::renderTransparent(const Bgr24Image& lightMap,
                                                         const RenderSettings& settings,
                                                         CaptionRasterizer* captions) const {
    if (!m_ready) return {};
    return RenderTransparentStates(m_field, m_shadowMask, lightMap, settings, captions);
}

TransparentStateImages ButtonRenderer::renderTransparentAndRelease(const Bgr24Image& lightMap,
                                                                   const RenderSettings& settings,
                                                                   CaptionRasterizer* captions) {
    if (!m_ready) return {};
    m_ready = false;
    return RenderTransparentStates(std::move(m_field), m_shadowMask, lightMap, settings, captions);
}

} // namespace plakett
