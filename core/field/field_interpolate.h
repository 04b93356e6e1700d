// The blend at the end of the boundary interpolation: the nearest outline points found
// along the row, the column and the four diagonals, and how their targets mix.
#pragma once

#include "common/matrix.h"

namespace plakett {

// Running bests of one cell's scan. A direction with no point keeps its start value.
struct InterpolationBests {
    static constexpr int kFarPosition = 3500;
    static constexpr float kFarDiagonal = 2000.0f;

    int left = -kFarPosition;
    int right = kFarPosition;
    int up = -kFarPosition;
    int down = kFarPosition;
    IntPoints tL{}, tR{}, tU{}, tD{};
    float dUL = kFarDiagonal, dUR = kFarDiagonal, dDL = kFarDiagonal, dDR = kFarDiagonal;
    IntPoints tUL{}, tUR{}, tDL{}, tDR{}; // start as point 0's target

    explicit InterpolationBests(IntPoints firstTarget)
        : tUL(firstTarget), tUR(firstTarget), tDL(firstTarget), tDR(firstTarget) {}
};

// Distance of a diagonal neighbour |dx| steps away, as the scan keeps it.
float diagonalDistance(int steps);

// The interpolated value of cell (x, y) from its bests.
IntPoints blendInterpolation(int x, int y, const InterpolationBests& b);

} // namespace plakett
