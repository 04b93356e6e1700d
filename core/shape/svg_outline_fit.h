// Control points that draw a closed ring of cubics: Corner points where it turns sharply or
// runs straight, Anchor points where curves join smoothly, and extra Anchor points where a
// cubic cannot otherwise be followed within kFitTolerance.
#pragma once

#include "shape/move_box.h"
#include "shape/svg_curves.h"

#include <vector>

namespace plakett::svg {

// How far (editor pixels) the outline may stray from the path's cubics, beyond the rounding
// of the path's own points to whole pixels. Arcs are cubics within kArcTolerance of their
// ellipse, so the outline stays within half a pixel of the path.
inline constexpr double kFitTolerance = 0.45;
inline constexpr double kArcTolerance = 0.05;

// The ring (editor pixels, at least one segment, end to end) as control points starting at
// its first point; positions rounded half to even. May return fewer than two points when
// the ring is smaller than a pixel. Throws ShapeError past kMaxShapePoints.
std::vector<TMoveBox> fitRing(const std::vector<Cubic>& ring);

// The furthest either curve strays from the other, measured on sampled polylines.
double curveDistance(const Cubic& a, const Cubic& b);

} // namespace plakett::svg
