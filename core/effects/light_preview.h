// The light editor's placement pad: a grey sphere lit by the selected light.
#pragma once

#include "effects/light_map.h"
#include "image/image.h"

namespace plakett {

// Grey ramp (weights 3, 3, 3) the pad preview is drawn with.
const ColorRamp& PreviewRamp();

// The 64 x 63 pad picture for the light at the mean of its current and previous pad
// positions, its distance set by the Radius track bar and its strength by Power.
Bgr24Image RenderPadPreview(int padPosX, int padPosY, int prevPadX, int prevPadY, int radiusBar,
                            int powerBar);

} // namespace plakett
