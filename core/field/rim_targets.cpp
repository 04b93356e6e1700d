// Rim targets: every outline point looks at the light-map rim in the direction its
// incoming edge faces, smoothed along the ring and pulled back onto radius 125.
#include "common/arith.h"
#include "field/field_float.h"
#include "field/shape_field.h"

#include <cmath>
#include <cstdlib>

namespace plakett {

namespace {

constexpr int kSmoothingPasses = 7;

void computeNormals(const PointsArray& outline, PointsArray& targets) {
    const std::size_t n = outline.size();
    for (std::size_t i = 0; i < n; ++i) {
        const IntPoints& cur = outline[i];
        const IntPoints& prev = outline[i == 0 ? n - 1 : i - 1];
        const double ex = static_cast<double>(prev.x) - cur.x;
        const double ey = static_cast<double>(prev.y) - cur.y;
        const float f = keepF32(std::sqrt(ex * ex + ey * ey) + 0.1);
        const double nx = static_cast<double>(cur.y) - prev.y;
        const double ny = static_cast<double>(prev.x) - cur.x;
        targets[i].x = std::abs(roundEven(nx / f * 126.0 + 127.5));
        targets[i].y = std::abs(roundEven(ny / f * 126.0 + 127.5));
    }
}

// In place, ascending: the previous neighbour is already smoothed (except for point 0,
// whose previous is the last point), the next one is not; the last point's next is point 0
// as it was before the pass.
void smoothPass(PointsArray& t) {
    const std::size_t n = t.size();
    const IntPoints oldFirst = t[0];
    for (std::size_t i = 0; i < n; ++i) {
        const IntPoints prev = t[i == 0 ? n - 1 : i - 1];
        const IntPoints next = i + 1 < n ? t[i + 1] : oldFirst;
        t[i].x = (t[i].x + next.x + prev.x) / 3;
        t[i].y = (t[i].y + next.y + prev.y) / 3;
    }
}

void renormalise(IntPoints& t) {
    const int ex = t.x - 128;
    const int ey = t.y - 128;
    const int sq = ex * ex + ey * ey;
    if (sq == 0) return; // no direction: stays at the centre
    const float s = keepF32(125.0 / std::sqrt(static_cast<double>(sq)));
    t.x = roundEven((t.x - 127.5) * s + 128.0);
    t.y = roundEven((t.y - 127.5) * s + 128.0);
}

} // namespace

PointsArray ComputeRimTargets(const PointsArray& outline) {
    PointsArray targets(outline.size());
    if (outline.empty()) return targets;
    computeNormals(outline, targets);
    for (int pass = 0; pass < kSmoothingPasses; ++pass)
        smoothPass(targets);
    for (IntPoints& t : targets)
        renormalise(t);
    return targets;
}

} // namespace plakett
