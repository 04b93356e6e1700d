// RenderStates in its two steps: what all three states share (shading, texture, glyph, the
// drawn caption) and the composition of one state from it. Callers that need the states one
// at a time, or want the shape field gone before composing, use the steps directly.
#pragma once

#include "image/image.h"
#include "render/overlays.h"
#include "render/render_settings.h"
#include "field/shape_field.h"

namespace plakett {

struct StateBase {
    Bgr24Image picture; // empty: nothing to render
    PreparedCaption caption;
    Bgr24 background;
    Bgr24 shadow;
};

StateBase PrepareStateBase(const ShapeField& field, const Gray8Image& shadowMask,
                           const Bgr24Image& lightMap, const RenderSettings& settings,
                           CaptionRasterizer* captions);

// State s (0 normal, 1 hot, 2 pushed) from a non-empty base.
Bgr24Image RenderOneState(const StateBase& base, const Gray8Image& coverage,
                          const Gray8Image& shadowMask, const RenderSettings& settings, int s);

} // namespace plakett
