#include "gui/shape/shape_thumbnail.h"

#include "common/arith.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace plakett {

namespace {

constexpr int kSide = kThumbnailSize;
constexpr int kBlurStrength = 30;

// Bounds and scale of an outline in the thumbnail. The bounds start from the first point,
// so shapes lying beyond +-10000 still map into the square.
struct Fit {
    double minX = 0;
    double minY = 0;
    double s = 1;
};

Fit fitOf(const TArrayPoint& outline) {
    std::int64_t minX = outline.front().X, maxX = minX;
    std::int64_t minY = outline.front().Y, maxY = minY;
    for (const TPoint& p : outline) {
        minX = std::min<std::int64_t>(minX, p.X);
        maxX = std::max<std::int64_t>(maxX, p.X);
        minY = std::min<std::int64_t>(minY, p.Y);
        maxY = std::max<std::int64_t>(maxY, p.Y);
    }
    const double sx = 63.0 / (static_cast<double>(maxX - minX) + 0.01);
    const double sy = 63.0 / (static_cast<double>(maxY - minY) + 0.01);
    return {static_cast<double>(minX), static_cast<double>(minY), std::min(sx, sy)};
}

QImage whiteSquare() {
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

struct Vertex {
    double x = 0;
    double y = 0;
};

std::vector<Vertex> thumbnailVertices(const TArrayPoint& outline, const Fit& fit) {
    const auto place = [&](TPoint p) {
        return Vertex{(p.X - fit.minX) * fit.s, (p.Y - fit.minY) * fit.s};
    };
    // Repeated points are skipped, and vertices within 0.6 of their predecessor on both axes
    // are thinned out (the last one stays). Skipping on one equal axis alone would drop every
    // vertex of a straight horizontal or vertical edge and leave rectangles blank.
    std::vector<Vertex> v{place(outline.front())};
    for (std::size_t i = 1; i < outline.size(); ++i) {
        const TPoint p = outline[i];
        if (p == outline.front() || p == outline[i - 1]) continue;
        v.push_back(place(p));
    }
    std::size_t i = 1;
    while (i + 1 < v.size()) {
        if (std::abs(v[i].x - v[i - 1].x) < 0.6 && std::abs(v[i].y - v[i - 1].y) < 0.6)
            v.erase(v.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    return v;
}

using Gray = std::array<std::array<int, kSide>, kSide>; // [y][x]

void setGray(Gray& g, int y, std::int64_t x, int value) {
    if (x >= 0 && x < kSide) g[y][x] = value;
}

void fillRow(Gray& g, int y, const std::vector<Vertex>& v) {
    std::vector<double> xs;
    const double yy = y;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Vertex& a = v[i];
        const Vertex& b = v[i + 1 == v.size() ? 0 : i + 1];
        if ((yy < a.y) != (yy < b.y)) xs.push_back(a.x + (b.x - a.x) * (yy - a.y) / (b.y - a.y));
    }
    if (xs.size() < 2) return;
    std::sort(xs.begin(), xs.end());
    for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
        const double a = xs[k];
        const double b = xs[k + 1];
        const double fa = a - std::trunc(a);
        const double fb = b - std::trunc(b);
        const std::int64_t p = static_cast<std::int64_t>(std::trunc(a)) + (fa != 0 ? 1 : 0);
        const std::int64_t q = static_cast<std::int64_t>(std::trunc(b));
        setGray(g, y, p, std::min(roundEven(fa * 255), 255));
        for (std::int64_t x = std::max<std::int64_t>(p + 1, 0);
             x < std::min<std::int64_t>(q, kSide); ++x)
            g[y][x] = 0;
        setGray(g, y, q, roundEven((1 - fb) * 255));
    }
}

// BlurRect: the picture stretched to 65 x 65 (last row and column repeated), each pixel
// mixed with its existing neighbours; the top-left 64 x 64 of the result are kept.
Gray blurred(const Gray& g) {
    constexpr int kWork = kSide + 1;
    const auto at = [&](int x, int y) { return g[std::min(y, kSide - 1)][std::min(x, kSide - 1)]; };
    Gray out{};
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int d = (x == 0 && y == 0) ? 300 : (x == 0 || y == 0) ? 500 : 800;
            int sum = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny)
                for (int nx = x - 1; nx <= x + 1; ++nx)
                    if ((nx != x || ny != y) && nx >= 0 && ny >= 0 && nx < kWork && ny < kWork)
                        sum += at(nx, ny);
            const int c = at(x, y);
            out[y][x] =
                std::min((c * d * (100 - kBlurStrength) / 100 + kBlurStrength * sum) / d, 255);
        }
    }
    return out;
}

} // namespace

QImage loaderThumbnail(const TArrayPoint& outline) {
    QImage image = whiteSquare();
    if (outline.empty()) return image;
    const Fit fit = fitOf(outline);
    const auto place = [&](TPoint p) {
        return QPoint(roundEven((p.X - fit.minX) * fit.s), roundEven((p.Y - fit.minY) * fit.s));
    };
    QPolygon polygon{place(outline.front())};
    for (std::size_t i = 1; i < outline.size(); ++i)
        if (outline[i] != outline.front() && outline[i] != outline[i - 1])
            polygon << place(outline[i]);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawPolygon(polygon, Qt::OddEvenFill);
    return image;
}

QImage RenderThumbnail(const TArrayPoint& outline) {
    QImage image = whiteSquare();
    if (outline.empty()) return image;
    const std::vector<Vertex> v = thumbnailVertices(outline, fitOf(outline));
    Gray g;
    for (auto& row : g)
        row.fill(255);
    for (int y = 0; y < kSide; ++y)
        fillRow(g, y, v);
    const Gray soft = blurred(g);
    for (int y = 0; y < kSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSide; ++x)
            line[x] = qRgb(soft[y][x], soft[y][x], soft[y][x]);
    }
    return image;
}

} // namespace plakett
