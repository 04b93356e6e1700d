// What the render window keeps between re-renders: the shape field of the last render-mode
// entry and its blurred shadow mask. Entering recomputes both; every later settings change
// only re-renders the states from them.
#pragma once

#include "render/render_pipeline.h"
#include "render/transparent_states.h"
#include "shape/move_box.h"

#include <vector>

namespace plakett {

class ButtonRenderer {
  public:
    // Render-mode entry from the double-scale outline: field, shadow mask, and the caption
    // and glyph offsets limited to the new image. Returns false when cancelled, which leaves
    // an empty field (nothing renders).
    bool enter(const PointsArray& outline, RenderSettings& settings,
               const FieldControl& control = {});
    // The same from the control points, through their double-scale outline.
    bool enter(const std::vector<TMoveBox>& points, RenderSettings& settings,
               const FieldControl& control = {});
    // The same from a field computed elsewhere (a high-density copy's).
    bool enter(ShapeField field, RenderSettings& settings);

    // After a change of the shadow blur.
    void rebuildShadowMask(int shadowBlur);

    // Empty images until a field with inside cells exists.
    StateImages render(const Bgr24Image& lightMap, const RenderSettings& settings,
                       CaptionRasterizer* captions) const;
    // One state only (0 normal, 1 hot, 2 pushed), the same pixels as render() gives for it.
    Bgr24Image renderState(const Bgr24Image& lightMap, const RenderSettings& settings,
                           CaptionRasterizer* captions, int state) const;
    TransparentStateImages renderTransparent(const Bgr24Image& lightMap,
                                             const RenderSettings& settings,
                                             CaptionRasterizer* captions) const;

    // The same as a last render: the field goes into it and its map is freed as soon as it
    // is shaded (half the memory of a large button); nothing renders afterwards.
    TransparentStateImages renderTransparentAndRelease(const Bgr24Image& lightMap,
                                                       const RenderSettings& settings,
                                                       CaptionRasterizer* captions);

    bool ready() const { return m_ready; }
    const ShapeField& field() const { return m_field; }
    const Gray8Image& shadowMask() const { return m_shadowMask; }

  private:
    ShapeField m_field;
    Gray8Image m_shadowMask;
    bool m_ready = false;
    int m_scale = 1; // density of the last entry
};

} // namespace plakett
