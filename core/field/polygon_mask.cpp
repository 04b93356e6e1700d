// Scanline fill: an edge counts on row y when y lies in [its lower end, its upper end), the
// crossing is computed in double, and crossings pair up to fill ceil(xa)..floor(xb). Edges
// enter an active list at their first row and leave after their last. The edges
// themselves are then drawn as 8-connected integer lines.
#include "field/polygon_mask.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace plakett {

namespace {

struct Edge {
    IntPoints a; // ring order: a is p_i, b is p_i+1
    IntPoints b;
    int last; // last row the edge crosses
};

void fillSpan(Gray8* row, int width, double xa, double xb) {
    const double first = std::max(0.0, std::ceil(xa));
    const double last = std::min(static_cast<double>(width - 1), std::floor(xb));
    if (first > last) return;
    std::fill(row + static_cast<int>(first), row + static_cast<int>(last) + 1, kMaskInside);
}

void fillInterior(Gray8Image& mask, const PointsArray& p) {
    const int height = mask.height();
    const std::size_t n = p.size();
    // Edges bucketed by the first raster row they cross.
    std::vector<std::vector<Edge>> starting(height);
    for (std::size_t i = 0; i < n; ++i) {
        const IntPoints a = p[i];
        const IntPoints b = p[i + 1 < n ? i + 1 : 0];
        if (a.y == b.y) continue;
        const int first = std::max(0, std::min(a.y, b.y));
        const int last = std::min(height - 1, std::max(a.y, b.y) - 1);
        if (first <= last) starting[first].push_back({a, b, last});
    }
    std::vector<Edge> active;
    std::vector<double> crossings;
    for (int y = 0; y < height; ++y) {
        std::erase_if(active, [y](const Edge& e) { return e.last < y; });
        active.insert(active.end(), starting[y].begin(), starting[y].end());
        if (active.empty()) continue;
        crossings.clear();
        for (const Edge& e : active) {
            const double num = static_cast<double>(y - e.a.y) * static_cast<double>(e.b.x - e.a.x);
            crossings.push_back(e.a.x + num / static_cast<double>(e.b.y - e.a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        Gray8* row = mask.scanline(y);
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2)
            fillSpan(row, mask.width(), crossings[k], crossings[k + 1]);
    }
}

void plot(Gray8Image& mask, int x, int y) {
    if (mask.contains(x, y)) mask.scanline(y)[x] = kMaskInside;
}

void drawLine(Gray8Image& mask, IntPoints a, IntPoints b) {
    const int dx = std::abs(b.x - a.x);
    const int dy = std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    int err = dx - dy;
    int x = a.x;
    int y = a.y;
    for (;;) {
        plot(mask, x, y);
        if (x == b.x && y == b.y) break;
        const int e2 = 2 * err;
        if (e2 >= -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace

void DrawPolygonMask(Gray8Image& mask, const PointsArray& points) {
    if (points.empty() || mask.empty()) return;
    fillInterior(mask, points);
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i)
        drawLine(mask, points[i], points[i + 1 < n ? i + 1 : 0]);
}

} // namespace plakett
