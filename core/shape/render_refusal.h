// Whether a shape can go to the renderer, with the refusal the user sees.
#pragma once

#include "shape/move_box.h"

#include <string>
#include <vector>

namespace plakett {

inline constexpr long long kMaxFieldCells = 1LL << 25;
// The field raster's longest side (the field's own limit, in double-scale cells).
inline constexpr long long kMaxFieldSide = 32768;
// What a render (any density, any set size: sets are written as they finish) may take at
// its peak, below the promised 600 MB resident with room for the estimate's error.
inline constexpr double kRenderBudgetBytes = 570.0 * (1 << 20);

// The peak resident bytes a render up to density maxScale is expected to take, from the
// cells of its largest field and the editor pixels of its 1x outline.
double renderPeakEstimate(long long cells, long long outlinePixels, int maxScale);

// Empty when the shape can be rendered at densities 1..maxScale; otherwise "Shape is too
// small" (narrower or lower than 2 editor pixels, as the Render button refuses) or a text
// starting "Shape is too large" that gives the sizes: a field of more than kMaxFieldCells
// double-scale cells (about 2900 x 2900 editor pixels for a square) or kMaxFieldSide on a
// side, an expected peak above kRenderBudgetBytes, coordinates that doubling would overflow,
// or Bezier handles reaching far beyond them. Checked before anything is allocated.
std::string renderRefusal(const std::vector<TMoveBox>& points, int maxScale = 1);

} // namespace plakett
