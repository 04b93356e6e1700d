// The map computer: preparation of raster and mask, and the three passes that turn the
// outline and its rim targets into a light-map coordinate per cell.
#include "render/shape_field.h"

#include "common/arith.h"
#include "render/field_float.h"
#include "render/field_nearest_sample.h"
#include "render/field_parallel.h"
#include "render/field_row_interpolator.h"
#include "render/polygon_mask.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace plakett {

namespace {

constexpr int kAngleSmoothingPasses = 22;
constexpr int kFieldSmoothingPasses = 18;

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

// One computation: the three passes over the prepared raster, rows shared among threads.
class ComputeRun {
  public:
    ComputeRun(MatrixComputer& c, RowReporter& reporter)
        : m_c(c), m_reporter(reporter), m_columns(c.FCurrentMap.columns()),
          m_rows(c.FCurrentMap.rows()),
          m_threads(fieldThreadCount(static_cast<long long>(m_columns) * m_rows)) {}

    bool interpolationPass() {
        const OutlineIndex index(m_c.FOutline, m_columns, m_rows);
        std::vector<RowInterpolator> workers(m_threads, RowInterpolator(index, m_c.FTargets));
        return runRows(
            m_rows, m_threads,
            [&](int w, int y0, int y1) {
                for (int y = y0; y < y1; ++y)
                    workers[w].row(y, m_c.FMask.scanline(y), m_c.FCurrentMap);
            },
            [&](int y) { return m_reporter.rowDone(y * 50 / (m_rows - 1)); });
    }

    // Fills m_nearest and the largest distance m_largest.
    bool distancePass(const PointsArray& samples) {
        m_finder.emplace(samples, m_columns, m_rows);
        m_nearest.assign(static_cast<std::size_t>(m_columns) * m_rows, NearestSamples::kNone);
        std::vector<NearestSamples::Scratch> scratch;
        for (int w = 0; w < m_threads; ++w)
            scratch.push_back(m_finder->makeScratch());
        std::vector<float> largest(m_threads, 0.0f);
        const bool done = runRows(
            m_rows, m_threads,
            [&](int w, int y0, int y1) {
                float m = largest[w];
                for (int y = y0; y < y1; ++y) {
                    const Gray8* mask = m_c.FMask.scanline(y);
                    std::int32_t* nearest = nearestRow(y);
                    m_finder->row(y, scratch[w], mask, nearest);
                    for (int x = 0; x < m_columns; ++x) {
                        if (mask[x] != kMaskInside) continue;
                        const float dist = sampleVector(samples, nearest[x], x, y).dist;
                        if (dist > m) m = dist;
                    }
                }
                largest[w] = m;
            },
            [&](int y) { return m_reporter.rowDone(y * 25 / (m_rows - 1) + 50); });
        m_largest = 0.0f;
        for (float m : largest)
            if (m > m_largest) m_largest = m;
        return done;
    }

    bool anglePass() {
        const float r = keepF32(m_largest * 0.5714285714285714);
        const float k = r > 0.0f ? keepF32(126.0 / r) : 0.0f;
        const PointsArray& samples = m_finder->samples();
        return runRows(
            m_rows, m_threads,
            [&](int, int y0, int y1) {
                for (int y = y0; y < y1; ++y) {
                    const Gray8* mask = m_c.FMask.scanline(y);
                    const std::int32_t* nearest = nearestRow(y);
                    for (int x = 0; x < m_columns; ++x) {
                        IntPoints& out = m_c.FAngleMap.at(x, y);
                        if (mask[x] != kMaskInside) {
                            out = kOutsideCell;
                            continue;
                        }
                        const SampleVector v = sampleVector(samples, nearest[x], x, y);
                        out = angleCell(v, m_c.FCurrentMap.at(x, y), out, r, k);
                    }
                }
            },
            [&](int y) { return m_reporter.rowDone(y * 25 / (m_rows - 1) + 75); });
    }

    void release() {
        m_nearest = {};
        m_finder.reset();
    }

  private:
    std::int32_t* nearestRow(int y) {
        return m_nearest.data() + static_cast<std::size_t>(y) * m_columns;
    }

    static IntPoints angleCell(const SampleVector& v, IntPoints a, IntPoints kept, float r,
                               float k) {
        const float z = v.dist;
        const double dx = v.dx;
        const double dy = v.dy;
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

    MatrixComputer& m_c;
    RowReporter& m_reporter;
    int m_columns;
    int m_rows;
    int m_threads;
    std::optional<NearestSamples> m_finder;
    std::vector<std::int32_t> m_nearest; // row-major sample index per cell
    float m_largest = 0.0f;
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
    ComputeRun run(*this, reporter);
    if (!run.interpolationPass()) return cancel();

    FAngleMap = Matrix(columns, rows, IntPoints{0, 0});
    for (std::size_t k = 0; k < FOutline.size(); ++k)
        FAngleMap.at(FOutline[k].x, FOutline[k].y) = FTargets[k];
    PointsArray samples;
    const std::size_t sampleCount = (FOutline.size() - 1) / 2;
    for (std::size_t k = 0; k < sampleCount; ++k)
        samples.push_back(FOutline[2 * k]);
    FOutline.clear();
    if (reporter.cancelled()) return cancel();

    if (!run.distancePass(samples)) return cancel();
    if (!run.anglePass()) return cancel();
    run.release();

    SmoothMap(FAngleMap, kAngleSmoothingPasses);
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
