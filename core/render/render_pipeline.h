// The one road from a shape field and a light map to the three button-state images.
// The desktop preview, the headless renderer, style thumbnails and tests all use it.
#pragma once

#include "image/image.h"
#include "render/render_settings.h"
#include "field/shape_field.h"

#include <array>

namespace plakett {

class CaptionRasterizer; // render/caption_rasterizer.h

using StateImages = std::array<Bgr24Image, kStateCount>; // normal, hot, pushed

// Blurred shadow mask, (Wc + 54) x (Hc + 54); rebuilt on render-mode entry and blur changes.
// At density s (RenderSettings::scale) its margin, border and blur spread grow by s.
Gray8Image BuildShadowMask(const Gray8Image& coverage, int shadowBlur, int scale = 1);

// Render-mode entry limits the caption and glyph offsets to +-half the coverage size.
void ClampOffsetsToField(RenderSettings& settings, const Gray8Image& coverage);

// Every state image is (Wc + 53) x (Hc + 53). Returns empty images when the field has
// nothing or the light map is empty. captions may be null: no caption is drawn then,
// but the caption's half-size pass still runs as for an empty caption.
StateImages RenderStates(const ShapeField& field, const Gray8Image& shadowMask,
                         const Bgr24Image& lightMap, const RenderSettings& settings,
                         CaptionRasterizer* captions);

} // namespace plakett
