// How the editor's two scroll bars follow the shape's bounds, and how moving a bar scrolls
// the shape. The bars hold no content of their own: scrolling moves the points.
#pragma once

#include "shape/contur.h"

#include <cstdint>

namespace plakett {

// What a bar shows. The defaults are those of a fresh bar.
struct ScrollBarState {
    std::int32_t minimum = 0;
    std::int32_t maximum = 100;
    std::int32_t position = 0;
    bool visible = false;
};

// How far the shape reaches past the near edge (3 pixels in): |low - 3| when low <= 2, else 0.
std::int32_t scrollOffset(std::int32_t low);

// The bar for one axis after the bounds were recomputed: `low`..`high` are the shape's
// bounds on that axis, `size` the editor's extent along it, `current` what the bar shows now.
// The position is the offset; the maximum never stays below it, so the bar can show it.
ScrollBarState deriveScrollBar(std::int32_t low, std::int32_t high, std::int32_t size,
                               const ScrollBarState& current);

// The horizontal bar moved to `position` while the shape's left bound is `left`: the points
// move by minus this.
std::int32_t horizontalScrollShift(std::int32_t left, std::int32_t position);

// The vertical bar moved from the last derived position `last` to `position`: the points
// move by this in y.
std::int32_t verticalScrollMove(std::int32_t last, std::int32_t position);

// Moves every point by (dx, dy) and recomputes the outline and its bounds.
void scrollShape(TContur& contur, std::int32_t dx, std::int32_t dy);

} // namespace plakett
