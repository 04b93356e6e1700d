// Scanline fill: an edge counts on row y when y lies in [its lower end, its upper end), the
// crossing is computed in double, and crossings pair up to fill ceil(xa)..floor(xb). The
// edges themselves are drawn as 8-connected integer lines.
#include "render/polygon_mask.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace plakett {

namespace {

void fillSpan(Gray8Image& mask, int y, double xa, double xb) {
    const int first = std::max(0, static_cast<int>(std::ceil(xa)));
    const int last = std::min(mask.width() - 1, static_cast<int>(std::floor(xb)));
    if (first > last) return;
    Gray8* row = mask.scanline(y);
    std::fill(row + first, row + last + 1, kMaskInside);
}

void fillInterior(Gray8Image& mask, const PointsArray& p) {
    const std::size_t n = p.size();
    int minY = p[0].y;
    int maxY = p[0].y;
    for (const IntPoints& q : p) {
        minY = std::min(minY, q.y);
        maxY = std::max(maxY, q.y);
    }
    minY = std::max(minY, 0);
    maxY = std::min(maxY, mask.height() - 1);
    std::vector<double> crossings;
    for (int y = minY; y <= maxY; ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const IntPoints& a = p[i];
            const IntPoints& b = p[i + 1 < n ? i + 1 : 0];
            if (a.y == b.y || y < std::min(a.y, b.y) || y >= std::max(a.y, b.y)) continue;
            const double num = static_cast<double>(y - a.y) * static_cast<double>(b.x - a.x);
            crossings.push_back(a.x + num / static_cast<double>(b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2)
            fillSpan(mask, y, crossings[k], crossings[k + 1]);
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
    if (points.empty()) return;
    fillInterior(mask, points);
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i)
        drawLine(mask, points[i], points[i + 1 < n ? i + 1 : 0]);
}

} // namespace plakett
