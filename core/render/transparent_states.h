// Button states with real alpha, for pages of any colour. The pipeline runs twice, over the
// project's background and over a contrasting one; how much of the background shows
// through each pixel follows from the difference, so the anti-aliased edge and the blurred
// shadow become partial alpha with no background-coloured fringe.
#pragma once

#include "image/color.h"
#include "image/rgba_image.h"
#include "render/render_pipeline.h"

#include <array>

namespace plakett {

using TransparentStateImages = std::array<Rgba8Image, kStateCount>;

// Each channel as far as possible from the given background's.
ColorRef contrastingBackground(ColorRef background);

// overFirst and overSecond are the same picture rendered over backgrounds first and second.
// The result, composited over `first`, gives overFirst back within one level per channel.
Rgba8Image matteFromTwoBackgrounds(const Bgr24Image& overFirst, const Bgr24Image& overSecond,
                                   ColorRef first, ColorRef second);

// Takes the field by value: a caller that moves its field in lets the map's memory go as
// soon as it has been shaded.
TransparentStateImages RenderTransparentStates(ShapeField field, const Gray8Image& shadowMask,
                                               const Bgr24Image& lightMap,
                                               const RenderSettings& settings,
                                               CaptionRasterizer* captions);

} // namespace plakett
