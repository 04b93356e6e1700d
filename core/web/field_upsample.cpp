#include "web/field_upsample.h"

#include "shape/compute_points.h"

#include <algorithm>
#include <cmath>

namespace plakett {

namespace {

// Rings of outside cells given the mean of their inside neighbours, so that enlarging
// near the edge never mixes in the outside marker and the outermost cells of the enlarged
// outline, which may fall a little beyond the 1x outline, still find values.
constexpr int kExtensionRings = 3;

struct Plane {
    int columns = 0;
    int rows = 0;
    std::vector<float> u, v;
    std::vector<char> valid;
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(columns) +
               static_cast<std::size_t>(x);
    }
};

Plane toPlane(const Matrix& map) {
    Plane p{map.columns(), map.rows(), {}, {}, {}};
    const std::size_t n = static_cast<std::size_t>(p.columns) * static_cast<std::size_t>(p.rows);
    p.u.assign(n, 0.f);
    p.v.assign(n, 0.f);
    p.valid.assign(n, 0);
    for (int x = 0; x < p.columns; ++x) {
        const IntPoints* column = map.column(x);
        for (int y = 0; y < p.rows; ++y) {
            if (column[y].x < 0) continue;
            const std::size_t i = p.index(x, y);
            p.u[i] = static_cast<float>(column[y].x);
            p.v[i] = static_cast<float>(column[y].y);
            p.valid[i] = 1;
        }
    }
    return p;
}

// A cell takes the mean of its valid side neighbours, or of its corner neighbours when no
// side neighbour is valid: along a straight edge that holds the edge's values unchanged.
void extendOneRing(Plane& p) {
    const std::vector<char> before = p.valid;
    static constexpr int kSides[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    static constexpr int kCorners[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    auto meanOf = [&](int x, int y, const int(&steps)[4][2], std::size_t i) {
        float su = 0, sv = 0;
        int n = 0;
        for (const auto& d : steps) {
            const int nx = x + d[0], ny = y + d[1];
            if (nx < 0 || ny < 0 || nx >= p.columns || ny >= p.rows) continue;
            const std::size_t j = p.index(nx, ny);
            if (!before[j]) continue;
            su += p.u[j];
            sv += p.v[j];
            ++n;
        }
        if (n == 0) return false;
        p.u[i] = su / static_cast<float>(n);
        p.v[i] = sv / static_cast<float>(n);
        p.valid[i] = 1;
        return true;
    };
    for (int y = 0; y < p.rows; ++y)
        for (int x = 0; x < p.columns; ++x) {
            const std::size_t i = p.index(x, y);
            if (!before[i] && !meanOf(x, y, kSides, i)) meanOf(x, y, kCorners, i);
        }
}

int roundToCell(float value) {
    return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
}

// Bilinear among the valid corners only; false when none is valid.
bool sample(const Plane& p, float fx, float fy, IntPoints& out) {
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const float tx = fx - static_cast<float>(x0), ty = fy - static_cast<float>(y0);
    float su = 0, sv = 0, sw = 0;
    for (int dy = 0; dy <= 1; ++dy)
        for (int dx = 0; dx <= 1; ++dx) {
            const int x = x0 + dx, y = y0 + dy;
            if (x < 0 || y < 0 || x >= p.columns || y >= p.rows) continue;
            const std::size_t i = p.index(x, y);
            if (!p.valid[i]) continue;
            const float w = (dx ? tx : 1 - tx) * (dy ? ty : 1 - ty);
            su += w * p.u[i];
            sv += w * p.v[i];
            sw += w;
        }
    if (sw <= 1e-6f) return false;
    out = {roundToCell(su / sw), roundToCell(sv / sw)};
    return true;
}

PointsArray ringOf(const std::vector<TMoveBox>& points, IntPoints& origin) {
    const TArrayPoint outline = ComputeRenderOutline(points);
    PointsArray ring;
    ring.reserve(outline.size());
    origin = {10000, 10000};
    for (const TPoint& p : outline) {
        ring.push_back({p.X, p.Y});
        origin = {std::min(origin.x, p.X), std::min(origin.y, p.Y)};
    }
    return ring;
}

} // namespace

Matrix upsampleMap(const Matrix& oneTimes, IntPoints origin, const Matrix& scaled,
                   IntPoints scaledOrigin, int scale) {
    Plane plane = toPlane(oneTimes);
    for (int r = 0; r < kExtensionRings; ++r)
        extendOneRing(plane);
    Matrix out(scaled.columns(), scaled.rows(), kOutsideCell);
    const float s = static_cast<float>(scale);
    // Cell centres map onto cell centres: the enlarged cell X covers outline positions
    // [X + origin, X + origin + 1), s times those of the 1x cells.
    for (int x = 0; x < scaled.columns(); ++x) {
        const IntPoints* own = scaled.column(x);
        IntPoints* target = out.column(x);
        const float fx = (static_cast<float>(x + scaledOrigin.x) + 0.5f) / s -
                         static_cast<float>(origin.x) - 0.5f;
        for (int y = 0; y < scaled.rows(); ++y) {
            if (own[y].x < 0) continue;
            const float fy = (static_cast<float>(y + scaledOrigin.y) + 0.5f) / s -
                             static_cast<float>(origin.y) - 0.5f;
            if (!sample(plane, fx, fy, target[y])) target[y] = own[y];
        }
    }
    return out;
}

ShapeField upsampledField(const ShapeField& oneTimes, const std::vector<TMoveBox>& points,
                          const std::vector<TMoveBox>& scaledPoints, int scale,
                          const FieldControl& control) {
    IntPoints origin, scaledOrigin;
    ringOf(points, origin);
    ShapeField field = ComputeShapeField(ringOf(scaledPoints, scaledOrigin), control);
    if (scale <= 1 || field.cancelled || oneTimes.cancelled || oneTimes.map.empty()) return field;
    field.map = upsampleMap(oneTimes.map, origin, field.map, scaledOrigin, scale);
    return field;
}

} // namespace plakett
