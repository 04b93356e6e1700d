#include "shape/svg_ring_direction.h"

namespace plakett::svg {

double signedArea(const std::vector<Cubic>& ring) {
    // Green's theorem: the integral of x dy along each cubic, in closed form.
    double sum = 0;
    for (const Cubic& c : ring) {
        const Vec2 p[4] = {c.p0, c.c1, c.c2, c.p3};
        static constexpr double kWeights[4][4] = {
            {-10, 6, 3, 1}, {-6, 0, 3, 3}, {-3, -3, 0, 6}, {-1, -3, -6, 10}};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                sum += kWeights[i][j] * p[i].x * p[j].y;
    }
    return sum / 20;
}

std::vector<Cubic> reversedRing(const std::vector<Cubic>& ring) {
    std::vector<Cubic> out;
    out.reserve(ring.size());
    for (auto it = ring.rbegin(); it != ring.rend(); ++it)
        out.push_back(it->reversed());
    return out;
}

std::vector<Cubic> inShippedDirection(std::vector<Cubic> ring) {
    if (signedArea(ring) > 0) return reversedRing(ring);
    return ring;
}

} // namespace plakett::svg
