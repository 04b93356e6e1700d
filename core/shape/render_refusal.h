// Whether a shape can go to the renderer, with the refusal the user sees.
#pragma once

#include "shape/move_box.h"

#include <string>
#include <vector>

namespace plakett {

inline constexpr long long kMaxFieldCells = 1LL << 25;

// Empty when the shape can be rendered; otherwise "Shape is too small" (narrower or lower
// than 2 editor pixels, as the Render button refuses) or a text starting "Shape is too large"
// (a field of more than kMaxFieldCells double-scale cells, about 2900 x 2900 editor pixels
// for a square, or coordinates that doubling would overflow).
std::string renderRefusal(const std::vector<TMoveBox>& points);

} // namespace plakett
