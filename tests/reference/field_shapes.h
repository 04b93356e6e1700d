// Outlines for shape-field tests and benchmarks: integer rings like the double-scale
// outline (8-connected, consecutive points distinct) and a few raw polygons.
#pragma once

#include "common/matrix.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace plakett::testshapes {

// Small deterministic generator, the same on every platform.
class Lcg {
  public:
    explicit Lcg(std::uint64_t seed)
        : m_state(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    int uniform(int lo, int hi) { // inclusive
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + static_cast<int>((m_state >> 33) % static_cast<std::uint64_t>(hi - lo + 1));
    }
    double unit() { return uniform(0, 1 << 20) / double(1 << 20); }

  private:
    std::uint64_t m_state;
};

// Joins the vertices with 8-connected lines into a ring without consecutive repeats.
inline PointsArray lineChain(const PointsArray& vertices) {
    PointsArray ring;
    const std::size_t n = vertices.size();
    for (std::size_t i = 0; i < n; ++i) {
        IntPoints a = vertices[i];
        const IntPoints b = vertices[(i + 1) % n];
        const int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
        int err = dx - dy;
        while (!(a == b)) {
            if (ring.empty() || !(ring.back() == a)) ring.push_back(a);
            const int e2 = 2 * err;
            if (e2 >= -dy) {
                err -= dy;
                a.x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                a.y += sy;
            }
        }
    }
    if (ring.empty() && n > 0) ring.push_back(vertices[0]);
    while (ring.size() > 1 && ring.front() == ring.back())
        ring.pop_back();
    return ring;
}

inline PointsArray ellipseVertices(double cx, double cy, double rx, double ry, int count,
                                   double phase = 0.0) {
    PointsArray v;
    for (int i = 0; i < count; ++i) {
        const double a = 2 * std::numbers::pi * i / count + phase;
        v.push_back({static_cast<int>(std::lround(cx + rx * std::cos(a))),
                     static_cast<int>(std::lround(cy + ry * std::sin(a)))});
    }
    return v;
}

inline PointsArray starVertices(double cx, double cy, double outer, double inner, int spikes) {
    PointsArray v;
    for (int i = 0; i < 2 * spikes; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const double a = std::numbers::pi * i / spikes;
        v.push_back({static_cast<int>(std::lround(cx + r * std::cos(a))),
                     static_cast<int>(std::lround(cy + r * std::sin(a)))});
    }
    return v;
}

// A rectangle width x height cells with quarter-circle corners of the given radius (a pill
// when the radius is half the height).
inline PointsArray roundedRectangle(int width, int height, int radius) {
    const double r = radius;
    const double w = width - 1, h = height - 1;
    PointsArray v;
    const int steps = std::max(2, radius);
    const double cx[4] = {w - r, r, r, w - r};
    const double cy[4] = {h - r, h - r, r, r};
    for (int corner = 0; corner < 4; ++corner)
        for (int i = 0; i <= steps; ++i) {
            const double a = std::numbers::pi / 2 * (corner + static_cast<double>(i) / steps);
            v.push_back({static_cast<int>(std::lround(cx[corner] + r * std::cos(a))),
                         static_cast<int>(std::lround(cy[corner] + r * std::sin(a)))});
        }
    return lineChain(v);
}

// A mix of shapes up to about maxSize cells across, reproducible from the seed.
inline std::vector<PointsArray> generatedOutlines(std::uint64_t seed, int count, int maxSize) {
    Lcg rng(seed);
    std::vector<PointsArray> out;
    for (int i = 0; i < count; ++i) {
        const int s = rng.uniform(3, maxSize);
        switch (i % 8) {
        case 0:
            out.push_back(lineChain(ellipseVertices(0, 0, s / 2.0, rng.uniform(1, s) / 2.0,
                                                    rng.uniform(8, 64), rng.unit())));
            break;
        case 1:
            out.push_back(
                lineChain({{0, 0}, {rng.uniform(2, s), 0}, {s, s}, {0, rng.uniform(2, s)}}));
            break;
        case 2:
            out.push_back(lineChain(starVertices(0, 0, s / 2.0, s / 6.0, rng.uniform(3, 8))));
            break;
        case 3: { // thin pill
            const int h = rng.uniform(2, 6);
            out.push_back(roundedRectangle(s + h, h, h / 2));
            break;
        }
        case 4: { // self-intersecting ring
            PointsArray v;
            for (int k = rng.uniform(4, 9); k > 0; --k)
                v.push_back({rng.uniform(0, s), rng.uniform(0, s)});
            out.push_back(lineChain(v));
            break;
        }
        case 5: { // raw polygon with long edges, not 8-connected
            PointsArray v;
            for (int k = rng.uniform(3, 10); k > 0; --k)
                v.push_back({rng.uniform(-s, s), rng.uniform(-s, s)});
            out.push_back(v);
            break;
        }
        case 6: { // very small, with repeated points (also non-consecutive)
            PointsArray v;
            for (int k = rng.uniform(1, 7); k > 0; --k) {
                const IntPoints p{rng.uniform(0, 4), rng.uniform(0, 4)};
                for (int r = rng.uniform(1, 3); r > 0; --r)
                    v.push_back(p);
            }
            out.push_back(v);
            break;
        }
        default:
            out.push_back(roundedRectangle(s + 2, rng.uniform(3, s + 2), rng.uniform(0, 3)));
            break;
        }
    }
    return out;
}

} // namespace plakett::testshapes
