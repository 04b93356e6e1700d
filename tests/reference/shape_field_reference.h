// The shape field computed the plain way, cell by cell with full scans of the outline and
// the samples. Tests and benchmarks hold the optimised core version against it.
#pragma once

#include "common/arith.h"
#include "field/shape_field.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace plakett::reference {

inline float keep(double v) {
    return static_cast<float>(v);
}

inline PointsArray ComputeRimTargets(const PointsArray& outline) {
    const std::size_t n = outline.size();
    PointsArray t(n);
    for (std::size_t i = 0; i < n; ++i) {
        const IntPoints c = outline[i];
        const IntPoints p = outline[i == 0 ? n - 1 : i - 1];
        const double ex = static_cast<double>(p.x) - c.x;
        const double ey = static_cast<double>(p.y) - c.y;
        const float f = keep(std::sqrt(ex * ex + ey * ey) + 0.1);
        t[i].x = std::abs(roundEven(static_cast<double>(c.y - p.y) / f * 126.0 + 127.5));
        t[i].y = std::abs(roundEven(static_cast<double>(p.x - c.x) / f * 126.0 + 127.5));
    }
    for (int pass = 0; pass < 7 && n > 0; ++pass) {
        const IntPoints oldFirst = t[0];
        for (std::size_t i = 0; i < n; ++i) {
            const IntPoints prev = t[i == 0 ? n - 1 : i - 1];
            const IntPoints next = i + 1 < n ? t[i + 1] : oldFirst;
            t[i] = {(t[i].x + next.x + prev.x) / 3, (t[i].y + next.y + prev.y) / 3};
        }
    }
    for (IntPoints& q : t) {
        const int sq = (q.x - 128) * (q.x - 128) + (q.y - 128) * (q.y - 128);
        if (sq == 0) continue;
        const float s = keep(125.0 / std::sqrt(static_cast<double>(sq)));
        q = {roundEven((q.x - 127.5) * s + 128.0), roundEven((q.y - 127.5) * s + 128.0)};
    }
    return t;
}

// Every row against every edge, then every edge as an 8-connected line. 0 = inside.
inline void DrawPolygonMask(Gray8Image& mask, const PointsArray& p) {
    const std::size_t n = p.size();
    for (int y = 0; y < mask.height(); ++y) {
        std::vector<double> xs;
        for (std::size_t i = 0; i < n; ++i) {
            const IntPoints a = p[i];
            const IntPoints b = p[(i + 1) % n];
            if (a.y == b.y || y < std::min(a.y, b.y) || y >= std::max(a.y, b.y)) continue;
            xs.push_back(a.x + static_cast<double>(y - a.y) * static_cast<double>(b.x - a.x) /
                                   static_cast<double>(b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2)
            for (int x = static_cast<int>(std::ceil(xs[k])); x <= std::floor(xs[k + 1]); ++x)
                if (mask.contains(x, y)) mask.at(x, y) = 0;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const IntPoints a = p[i];
        const IntPoints b = p[(i + 1) % n];
        const int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
        int err = dx - dy, x = a.x, y = a.y;
        for (;;) {
            if (mask.contains(x, y)) mask.at(x, y) = 0;
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
}

inline void SmoothMap(Matrix& map, int passes) {
    const int cols = map.columns(), rows = map.rows();
    auto each = [&](auto visit) {
        for (int x = 1; x < cols - 1; ++x)
            for (int y = 1; y < rows - 1; ++y)
                visit(map.at(x, y), x, y);
    };
    auto repair = [](IntPoints& c, IntPoints a, IntPoints b) {
        if (a.x > 0 && b.x > 0 && (c.x > 255 || c.y > 255))
            c = {halve(a.x + b.x), halve(a.y + b.y)};
    };
    auto mean = [](IntPoints& c, IntPoints a, IntPoints b) {
        c = {(c.x + a.x + b.x) / 3, (c.y + a.y + b.y) / 3};
    };
    each([&](IntPoints& c, int x, int y) { repair(c, map.at(x, y - 1), map.at(x, y + 1)); });
    each([&](IntPoints& c, int x, int y) { repair(c, map.at(x - 1, y), map.at(x + 1, y)); });
    for (int pass = 0; pass < passes; ++pass) {
        if (pass % 2 == 0) {
            each([&](IntPoints& c, int x, int y) {
                const IntPoints a = map.at(x - 1, y), b = map.at(x + 1, y);
                if (c.x > 0 && a.x > 0 && b.x > 0) mean(c, a, b);
            });
        } else {
            each([&](IntPoints& c, int x, int y) {
                const IntPoints a = map.at(x, y - 1), b = map.at(x, y + 1);
                if (c.y > 0 && a.y > 0 && b.y > 0) mean(c, a, b);
            });
        }
    }
}

inline Gray8Image BuildCoverage(const Matrix& map) {
    const int cols = map.columns(), rows = map.rows();
    Gray8Image coverage((cols - 1) / 2 + 1, (rows - 1) / 2 + 1, 0);
    for (int py = 0; py < coverage.height(); ++py)
        for (int px = 0; px < coverage.width(); ++px) {
            int count = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const int x = 2 * px + dx, y = 2 * py + dy;
                    if (x < cols && y < rows && map.at(x, y).x != -1) ++count;
                }
            coverage.at(px, py) = static_cast<Gray8>(count);
        }
    return coverage;
}

class MatrixComputer {
  public:
    PointsArray FOutline;
    PointsArray FTargets;
    Gray8Image FMask;
    int FProgress = 0;
    Matrix FCurrentMap;
    Matrix FAngleMap;
    Matrix FKorvanMap;
    std::function<void()> FOnComputeEnd;

    void Prepare(const PointsArray& outline) {
        FOutline = outline;
        int minX = 10000, minY = 10000, maxX = -10000, maxY = -10000;
        for (const IntPoints& p : FOutline) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        if (FOutline.empty()) {
            minX = maxX + 1;
            minY = maxY + 1;
        }
        for (IntPoints& p : FOutline)
            p = {p.x - minX, p.y - minY};
        const int w = maxX - minX + 1, h = maxY - minY + 1;
        FCurrentMap = Matrix(w + 2, h + 2, kOutsideCell);
        FCurrentMap.width = w;
        FCurrentMap.height = h;
        FMask.reset(w + 2, h + 2, 255);
        reference::DrawPolygonMask(FMask, FOutline);
    }

    void SetTargets(const PointsArray& targets) {
        if (targets.size() != FOutline.size()) throw std::invalid_argument("targets");
        FTargets = targets;
    }

    IntPoints Interpolate(int x, int y) const {
        int left = -3500, right = 3500, up = -3500, down = 3500;
        IntPoints tL{}, tR{}, tU{}, tD{};
        const IntPoints t0 = FTargets.empty() ? IntPoints{} : FTargets[0];
        float dUL = 2000.0f, dUR = 2000.0f, dDL = 2000.0f, dDR = 2000.0f;
        IntPoints tUL = t0, tUR = t0, tDL = t0, tDR = t0;
        for (std::size_t k = 0; k < FOutline.size(); ++k) {
            const IntPoints p = FOutline[k];
            const IntPoints t = k < FTargets.size() ? FTargets[k] : IntPoints{};
            if (p.x == x && p.y == y) return t;
            if (p.y == y) {
                if (p.x <= x && p.x > left) left = p.x, tL = t;
                if (p.x >= x && p.x < right) right = p.x, tR = t;
            }
            if (p.x == x) {
                if (p.y <= y && p.y > up) up = p.y, tU = t;
                if (p.y >= y && p.y < down) down = p.y, tD = t;
            }
            if (std::abs(p.x - x) != std::abs(p.y - y)) continue;
            const float d = keep(std::abs(p.x - x) * 1.41421356);
            if (p.x < x && p.y < y && d < dUL) dUL = d, tUL = t;
            if (p.x > x && p.y < y && d < dUR) dUR = d, tUR = t;
            if (p.x < x && p.y > y && d < dDL) dDL = d, tDL = t;
            if (p.x > x && p.y > y && d < dDR) dDR = d, tDR = t;
        }
        auto w = [](int dist) { return dist > 0 ? keep(1.0 / dist) : 0.0f; };
        const float wL = w(x - left), wR = w(right - x), wU = w(y - up), wD = w(down - y);
        const float g = keep(0.5 / (static_cast<double>(wL) + wU + wR + wD));
        const int ax = roundEven((static_cast<double>(tL.x) * wL + static_cast<double>(tR.x) * wR +
                                  static_cast<double>(tU.x) * wU + static_cast<double>(tD.x) * wD) *
                                 g);
        const int ay = roundEven((static_cast<double>(tL.y) * wL + static_cast<double>(tR.y) * wR +
                                  static_cast<double>(tU.y) * wU + static_cast<double>(tD.y) * wD) *
                                 g);
        float qUR = keep(1.0 / dUR), qUL = keep(1.0 / dUL), qDR = keep(1.0 / dDR),
              qDL = keep(1.0 / dDL);
        const float h = keep(0.5 / (static_cast<double>(qUR) + qUL + qDR + qDL));
        qUR = keep(static_cast<double>(qUR) * h);
        qUL = keep(static_cast<double>(qUL) * h);
        qDR = keep(static_cast<double>(qDR) * h);
        qDL = keep(static_cast<double>(qDL) * h);
        return {
            roundEven(ax + (static_cast<double>(tUR.x) * qUR + static_cast<double>(tUL.x) * qUL +
                            static_cast<double>(tDL.x) * qDL + static_cast<double>(tDR.x) * qDR)),
            roundEven(ay + (static_cast<double>(tUR.y) * qUR + static_cast<double>(tUL.y) * qUL +
                            static_cast<double>(tDL.y) * qDL + static_cast<double>(tDR.y) * qDR))};
    }

    void Compute(const FieldControl& control = {}) {
        const int cols = FCurrentMap.columns(), rows = FCurrentMap.rows();
        auto cancelled = [&] { return control.cancelRequested && control.cancelRequested->load(); };
        auto rowDone = [&](int progress) {
            FProgress = progress;
            if (cancelled()) return false;
            if (control.onProgress) control.onProgress(progress);
            return true;
        };
        auto setAll = [&](const Matrix& m) {
            FAngleMap = m;
            FCurrentMap = FAngleMap;
            FKorvanMap = FCurrentMap;
        };
        auto cancel = [&] {
            setAll(Matrix(cols, rows, kOutsideCell));
            if (FOnComputeEnd) FOnComputeEnd();
        };
        FTargets.resize(FOutline.size());
        if (FOutline.size() < 3 || FMask.width() != cols || FMask.height() != rows || rows < 2) {
            FOutline.clear();
            setAll(Matrix(cols, rows, kOutsideCell));
            rowDone(100);
            return;
        }
        auto inside = [&](int x, int y) { return FMask.at(x, y) == 0; };

        for (std::size_t k = 0; k < FOutline.size(); ++k)
            FCurrentMap.at(FOutline[k].x, FOutline[k].y) = FTargets[k];
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < cols; ++x)
                if (inside(x, y)) FCurrentMap.at(x, y) = Interpolate(x, y);
            if (!rowDone(y * 50 / (rows - 1))) return cancel();
        }

        FAngleMap = Matrix(cols, rows, IntPoints{0, 0});
        struct Cell {
            float Dist = 0, Dx = 0, Dy = 0;
        };
        std::vector<Cell> grid(static_cast<std::size_t>(cols) * rows);
        for (std::size_t k = 0; k < FOutline.size(); ++k)
            FAngleMap.at(FOutline[k].x, FOutline[k].y) = FTargets[k];
        PointsArray s;
        for (std::size_t k = 0; k < (FOutline.size() - 1) / 2; ++k)
            s.push_back(FOutline[2 * k]);
        FOutline.clear();
        if (cancelled()) return cancel();

        float m = 0.0f;
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < cols; ++x) {
                Cell& c = grid[static_cast<std::size_t>(x) * rows + y];
                if (!inside(x, y)) continue;
                float best = 2147483648.0f;
                for (const IntPoints& q : s) {
                    const long long ex = q.x - x, ey = y - q.y;
                    const float d2 = static_cast<float>(ex * ex + ey * ey);
                    if (d2 <= best) {
                        c.Dx = static_cast<float>(q.x - x);
                        c.Dy = static_cast<float>(q.y - y);
                        best = d2;
                        c.Dist = keep(d2 + 0.01);
                    }
                }
                c.Dist = keep(std::sqrt(static_cast<double>(c.Dist)));
                if (c.Dist > m) m = c.Dist;
            }
            if (!rowDone(y * 25 / (rows - 1) + 50)) return cancel();
        }

        const float r = keep(m * 0.5714285714285714);
        const float kk = r > 0.0f ? keep(126.0 / r) : 0.0f;
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < cols; ++x) {
                IntPoints& out = FAngleMap.at(x, y);
                if (!inside(x, y)) {
                    out = kOutsideCell;
                    continue;
                }
                const Cell& c = grid[static_cast<std::size_t>(x) * rows + y];
                const IntPoints a = FCurrentMap.at(x, y);
                const float z = c.Dist;
                const double dx = c.Dx, dy = c.Dy;
                if (z > 4.0f && z >= r) {
                    out = {128, 128};
                } else if (z > 4.0f) {
                    out = {roundEven(126.0 * dx / z - dx * kk) + 127,
                           roundEven(126.0 * dy / z - dy * kk) + 127};
                } else if (z >= 2.0f) {
                    out = {halve(roundEven(120.0 * dx / z - dx * kk) + a.x + 127),
                           halve(roundEven(120.0 * dy / z - dy * kk) + a.y + 127)};
                } else if (z >= 1.0f) {
                    out = a;
                }
            }
            if (!rowDone(y * 25 / (rows - 1) + 75)) return cancel();
        }
        reference::SmoothMap(FAngleMap, 22);
        FCurrentMap = FAngleMap;
        FKorvanMap = FCurrentMap;
    }
};

inline ShapeField ComputeShapeField(const PointsArray& outline, const FieldControl& control = {}) {
    MatrixComputer c;
    ShapeField field;
    c.FOnComputeEnd = [&field] { field.cancelled = true; };
    c.Prepare(outline);
    c.SetTargets(reference::ComputeRimTargets(outline));
    c.Compute(control);
    reference::SmoothMap(c.FCurrentMap, 18);
    field.map = c.FCurrentMap;
    field.coverage = reference::BuildCoverage(field.map);
    return field;
}

} // namespace plakett::reference
