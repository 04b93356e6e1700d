// Whether a shape can go to the renderer, with the refusal the user sees.
#pragma once

#include "shape/move_box.h"

#include <string>
#include <vector>

namespace plakett {

// Empty when the shape can be rendered; otherwise "Shape is too small" (narrower or lower
// than 2 editor pixels, as the Render button refuses) or "Shape is too large" (a field that
// could not be held in memory, or coordinates that doubling would overflow).
std::string renderRefusal(const std::vector<TMoveBox>& points);

} // namespace plakett
