// The map computer: preparation of raster and mask, and the three passes that turn the
// outline and its rim targets into a light-map coordinate per cell.
#include "render/shape_field.h"

#include "common/arith.h"
#include "render/field_float.h"
#include "render/polygon_mask.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace plakett {

namespace {

constexpr int kAngleSmoothingPasses = 22;
constexpr int kFieldSmoothingPasses = 18;

struct TDistanceCell {
    float Dist = 0.0f;
    float Dx = 0.0f;
    float Dy = 0.0f;
};

class RowReporter {
  public:
    RowReporter(int& progress, const FieldControl& control)
        : m_progress(progress), m_control(control) {}

    bool cancelled() const {
        return m_control.cancelRequested != nullptr && m_control.cancelRequested->load();
    }
    // After a row: records the progress and reports it; false when a cancel is pending.
    bool rowDone(int progress) {
        m_progress = progress;
        if (cancelled()) return false;
        if (m_control.onProgress) m_control.onProgress(progress);
        return true;
    }

  private:
    int& m_progress;
    const FieldControl& m_control;
};

} // namespace

void MatrixComputer::Prepare(const PointsArray& outline) {
    FOutline = outline;
    int minX = 10000, minY = 10000, maxX = -10000, maxY = -10000;
    for (const IntPoints& p : FOutline) {
        if (p.x < minX) minX = p.x;
        if (p.x > maxX) maxX = p.x;
        if (p.y < minY) minY = p.y;
        if (p.y > maxY) maxY = p.y;
    }
    if (FOutline.empty()) { // an empty raster frame
        minX = maxX + 1;
        minY = maxY + 1;
    }
    for (IntPoints& p : FOutline)
        p = {p.x - minX, p.y - minY};
    const int w = maxX - minX + 1;
    const int h = maxY - minY + 1;
    FCurrentMap = Matrix(w + 2, h + 2, kOutsideCell);
    FCurrentMap.width = w;
    FCurrentMap.height = h;
    FMask.reset(w + 2, h + 2, kMaskOutside);
    DrawPolygonMask(FMask, FOutline);
}

void MatrixComputer::SetTargets(const PointsArray& targets) {
    if (targets.size() != FOutline.size())
        throw std::invalid_argument("rim targets do not match the outline");
    FTargets = targets;
}

namespace {

// Everything Compute does after the interpolation pass, kept apart for readability.
struct ComputeRun {
    MatrixComputer& c;
    RowReporter& reporter;
    int columns;
    int rows;

    bool inside(int x, int y) const { return c.FMask.scanline(y)[x] == kMaskInside; }

    bool interpolationPass() {
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < columns; ++x)
                if (inside(x, y)) c.FCurrentMap.at(x, y) = c.Interpolate(x, y);
            if (!reporter.rowDone(y * 50 / (rows - 1))) return false;
        }
        return true;
    }

    bool distancePass(const PointsArray& samples, std::vector<TDistanceCell>& grid, float& m) {
        std::vector<long long> rowTerm(samples.size());
        for (int y = 0; y < rows; ++y) {
            for (std::size_t k = 0; k < samples.size(); ++k) {
                const long long d = y - samples[k].y;
                rowTerm[k] = d * d;
            }
            for (int x = 0; x < columns; ++x) {
                TDistanceCell& cell = grid[static_cast<std::size_t>(x) * rows + y];
                if (!inside(x, y)) {
                    cell.Dx = cell.Dy = 0.0f;
                    continue;
                }
                float best = 2147483648.0f;
                for (std::size_t k = 0; k < samples.size(); ++k) {
                    const long long ex = samples[k].x - x;
                    const float d2 = static_cast<float>(ex * ex + rowTerm[k]);
                    if (d2 <= best) {
                        cell.Dx = static_cast<float>(samples[k].x - x);
                        cell.Dy = static_cast<float>(samples[k].y - y);
                        best = d2;
                        cell.Dist = keepF32(d2 + 0.01);
                    }
                }
                cell.Dist = keepF32(std::sqrt(static_cast<double>(cell.Dist)));
                if (cell.Dist > m) m = cell.Dist;
            }
            if (!reporter.rowDone(y * 25 / (rows - 1) + 50)) return false;
        }
        return true;
    }

    IntPoints angleCell(const TDistanceCell& cell, IntPoints a, IntPoints kept, float r,
                        float k) const {
        const float z = cell.Dist;
        const double dx = cell.Dx;
        const double dy = cell.Dy;
        if (z > 4.0f && z >= r) return {128, 128};
        if (z > 4.0f)
            return {roundEven(126.0 * dx / z - dx * k) + 127,
                    roundEven(126.0 * dy / z - dy * k) + 127};
        if (z >= 2.0f)
            return {halve(roundEven(120.0 * dx / z - dx * k) + a.x + 127),
                    halve(roundEven(120.0 * dy / z - dy * k) + a.y + 127)};
        if (z >= 1.0f) return a;
        return kept;
    }

    bool anglePass(const std::vector<TDistanceCell>& grid, float m) {
        const float r = keepF32(m * 0.5714285714285714);
        const float k = r > 0.0f ? keepF32(126.0 / r) : 0.0f;
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < columns; ++x) {
                IntPoints& out = c.FAngleMap.at(x, y);
                if (!inside(x, y)) {
                    out = kOutsideCell;
                    continue;
                }
                const TDistanceCell& cell = grid[static_cast<std::size_t>(x) * rows + y];
                out = angleCell(cell, c.FCurrentMap.at(x, y), out, r, k);
            }
            if (!reporter.rowDone(y * 25 / (rows - 1) + 75)) return false;
        }
        return true;
    }
};

void assignAll(MatrixComputer& c, const Matrix& map) {
    c.FAngleMap = map;
    c.FCurrentMap = c.FAngleMap;
    c.FKorvanMap = c.FCurrentMap;
}

} // namespace

void MatrixComputer::Compute(const FieldControl& control) {
    const int columns = FCurrentMap.columns();
    const int rows = FCurrentMap.rows();
    RowReporter reporter(FProgress, control);
    FTargets.resize(FOutline.size());
    const bool prepared = FMask.width() == columns && FMask.height() == rows && rows > 1;
    if (FOutline.size() < 3 || !prepared) {
        // Nothing to measure distances to: the field is empty.
        FOutline.clear();
        assignAll(*this, Matrix(columns, rows, kOutsideCell));
        reporter.rowDone(100);
        return;
    }
    auto cancel = [&] {
        assignAll(*this, Matrix(columns, rows, kOutsideCell));
        if (FOnComputeEnd) FOnComputeEnd();
    };

    for (std::size_t k = 0; k < FOutline.size(); ++k)
        FCurrentMap.at(FOutline[k].x, FOutline[k].y) = FTargets[k];
    ComputeRun run{*this, reporter, columns, rows};
    if (!run.interpolationPass()) return cancel();

    FAngleMap = Matrix(columns, rows, IntPoints{0, 0});
    std::vector<TDistanceCell> grid(static_cast<std::size_t>(columns) * rows);
    for (std::size_t k = 0; k < FOutline.size(); ++k)
        FAngleMap.at(FOutline[k].x, FOutline[k].y) = FTargets[k];
    PointsArray samples;
    const std::size_t sampleCount = (FOutline.size() - 1) / 2;
    for (std::size_t k = 0; k < sampleCount; ++k)
        samples.push_back(FOutline[2 * k]);
    FOutline.clear();
    if (reporter.cancelled()) return cancel();

    float m = 0.0f;
    if (!run.distancePass(samples, grid, m)) return cancel();
    if (!run.anglePass(grid, m)) return cancel();

    SmoothMap(FAngleMap, kAngleSmoothingPasses);
    grid = {};
    FCurrentMap = FAngleMap;
    FKorvanMap = FCurrentMap;
}

ShapeField ComputeShapeField(const PointsArray& outline, const FieldControl& control) {
    const PointsArray targets = ComputeRimTargets(outline);
    MatrixComputer computer;
    ShapeField field;
    computer.FOnComputeEnd = [&field] { field.cancelled = true; };
    computer.Prepare(outline);
    computer.SetTargets(targets);
    computer.Compute(control);
    SmoothMap(computer.FCurrentMap, kFieldSmoothingPasses);
    field.map = computer.FCurrentMap;
    field.coverage = BuildCoverage(field.map);
    return field;
}

} // namespace plakett
