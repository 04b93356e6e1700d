// The four button sizes every benchmark measures, in editor pixels, and their double-scale
// outlines (rounded rectangles, as a typical button).
#pragma once

#include "common/heap_tuning.h"
#include "reference/field_shapes.h"

#include <algorithm>

namespace plakett::bench {

// The heap as the programs set it up, before any benchmark allocates.
[[maybe_unused]] static const bool kHeapTuned = (keepLargeBlocksInHeap(), true);

struct ButtonSize {
    int width; // editor pixels
    int height;
};
inline constexpr ButtonSize kButtonSizes[] = {{100, 50}, {300, 120}, {500, 250}, {1000, 500}};

inline PointsArray buttonOutline(int index) {
    const ButtonSize s = kButtonSizes[index];
    const int w = 2 * s.width, h = 2 * s.height;
    return testshapes::roundedRectangle(w, h, std::min(w, h) / 4);
}

} // namespace plakett::bench
