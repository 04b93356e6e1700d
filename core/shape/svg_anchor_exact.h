// An Anchor point's float32 direction and lengths chosen so that the outline computation
// forms exactly the controls a file gives, at editor and at double scale: an outline written
// as SVG and read back then renders the same pixels.
#pragma once

#include "shape/move_box.h"
#include "shape/svg_curves.h"

namespace plakett::svg {

struct AnchorValues {
    float rx = 0, ry = 0;
    float right = 0, left = 0;
};

// Searches a few float32 steps around `start` for values whose controls equal inControl
// and outControl as float32 at both scales; returns false (and leaves `start`) if none do.
bool exactAnchor(TPoint pos, Vec2 inControl, Vec2 outControl, AnchorValues& start);

} // namespace plakett::svg
