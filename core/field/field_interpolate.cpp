// Boundary interpolation of one cell: a blend of the targets of the nearest outline points
// along the row, the column and the four diagonals.
#include "field/field_interpolate.h"

#include "common/arith.h"
#include "field/field_float.h"
#include "field/shape_field.h"

#include <cstdlib>

namespace plakett {

namespace {

// A direction whose best position lies on or behind the cell (rasters wider or higher than
// the far position) pulls nothing instead of dividing by zero or weighing negatively.
float axisWeight(int distance) {
    return distance > 0 ? keepF32(1.0 / distance) : 0.0f;
}

double weighted(int a, float wa, int b, float wb, int c, float wc, int d, float wd) {
    return static_cast<double>(a) * wa + static_cast<double>(b) * wb + static_cast<double>(c) * wc +
           static_cast<double>(d) * wd;
}

} // namespace

float diagonalDistance(int steps) {
    return keepF32(steps * 1.41421356);
}

IntPoints blendInterpolation(int x, int y, const InterpolationBests& b) {
    const float wL = axisWeight(x - b.left);
    const float wR = axisWeight(b.right - x);
    const float wU = axisWeight(y - b.up);
    const float wD = axisWeight(b.down - y);
    const float g = keepF32(0.5 / (static_cast<double>(wL) + wU + wR + wD));
    const int ax = roundEven(weighted(b.tL.x, wL, b.tR.x, wR, b.tU.x, wU, b.tD.x, wD) * g);
    const int ay = roundEven(weighted(b.tL.y, wL, b.tR.y, wR, b.tU.y, wU, b.tD.y, wD) * g);

    float qUR = keepF32(1.0 / b.dUR);
    float qUL = keepF32(1.0 / b.dUL);
    float qDR = keepF32(1.0 / b.dDR);
    float qDL = keepF32(1.0 / b.dDL);
    const float h = keepF32(0.5 / (static_cast<double>(qUR) + qUL + qDR + qDL));
    qUR = keepF32(static_cast<double>(qUR) * h);
    qUL = keepF32(static_cast<double>(qUL) * h);
    qDR = keepF32(static_cast<double>(qDR) * h);
    qDL = keepF32(static_cast<double>(qDL) * h);
    const double bx = weighted(b.tUR.x, qUR, b.tUL.x, qUL, b.tDL.x, qDL, b.tDR.x, qDR);
    const double by = weighted(b.tUR.y, qUR, b.tUL.y, qUL, b.tDL.y, qDL, b.tDR.y, qDR);
    return {roundEven(ax + bx), roundEven(ay + by)};
}

IntPoints MatrixComputer::Interpolate(int x, int y) const {
    auto target = [&](std::size_t k) { return k < FTargets.size() ? FTargets[k] : IntPoints{}; };
    InterpolationBests b(target(0));
    for (std::size_t k = 0; k < FOutline.size(); ++k) {
        const IntPoints p = FOutline[k];
        const IntPoints t = target(k);
        if (p.x == x && p.y == y) return t;
        if (p.y == y && p.x <= x && p.x > b.left) {
            b.left = p.x;
            b.tL = t;
        }
        if (p.y == y && p.x >= x && p.x < b.right) {
            b.right = p.x;
            b.tR = t;
        }
        if (p.x == x && p.y <= y && p.y > b.up) {
            b.up = p.y;
            b.tU = t;
        }
        if (p.x == x && p.y >= y && p.y < b.down) {
            b.down = p.y;
            b.tD = t;
        }
        const int steps = std::abs(p.x - x);
        if (steps != std::abs(p.y - y)) continue;
        const float d = diagonalDistance(steps);
        const bool above = p.y < y;
        const bool before = p.x < x;
        float& best = above ? (before ? b.dUL : b.dUR) : (before ? b.dDL : b.dDR);
        IntPoints& bestT = above ? (before ? b.tUL : b.tUR) : (before ? b.tDL : b.tDR);
        if (d < best) {
            best = d;
            bestT = t;
        }
    }
    return blendInterpolation(x, y, b);
}

} // namespace plakett
