// The shape field of a high-density copy. Its bevel is set in field cells, so a field
// computed from the enlarged outline has a rim s times narrower relative to the button.
// Instead the 1x map is enlarged smoothly onto the cells that the enlarged outline puts
// inside: the shading follows the same places on the light map as at 1x, while the
// anti-aliased edge keeps the finer outline.
#pragma once

#include "field/shape_field.h"
#include "shape/move_box.h"

#include <vector>

namespace plakett {

// `oneTimes` is the field of `points`; the result is the field of `scaledPoints` (the same
// design at `scale`) with its map values taken from `oneTimes`. scale 1 or a cancelled or
// empty 1x field gives the scaled outline's own field.
ShapeField upsampledField(const ShapeField& oneTimes, const std::vector<TMoveBox>& points,
                          const std::vector<TMoveBox>& scaledPoints, int scale,
                          const FieldControl& control = {});

// The map step alone: `origin` is the outline position of each map's cell (0, 0).
Matrix upsampleMap(const Matrix& oneTimes, IntPoints origin, const Matrix& scaled,
                   IntPoints scaledOrigin, int scale);

} // namespace plakett
