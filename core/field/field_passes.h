// The three row passes of MatrixComputer::Compute, rows shared among threads, progress and
// cancel handled row by row on the calling thread.
#pragma once

#include "image/image.h"
#include "field/field_nearest_sample.h"
#include "common/matrix.h"
#include "field/shape_field.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace plakett {

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

// The interpolated values only matter where the angle pass reads them, at distances 1 to 4
// from the nearest sample; so the first pass also finds every cell's nearest sample and
// interpolates just those cells, and the second has nothing left but its progress rows.
// The maps that come out, the progress values and the cancel points are those of the
// pass-by-pass description.
class FieldPasses {
  public:
    // outline and targets in the raster frame; `working` is the map the interpolated values
    // go to, `mask` the prepared mask of the same size, read only here.
    // The per-cell sample numbers take 16 bits while there are fewer samples than
    // compactLimit (at most 0xFFFE), 32 bits otherwise.
    FieldPasses(const Gray8Image& mask, const PointsArray& outline, const PointsArray& targets,
                Matrix& working, std::size_t compactLimit = kInsideNoSample16);
    ~FieldPasses();

    bool interpolationPass(RowReporter& reporter);
    bool distancePass(RowReporter& reporter);
    // Turns the working map into the angle map in place: each cell's new value depends only
    // on its own old one. Cells the angle pass leaves alone come out as a fresh angle map
    // would hold them: their rim target on outline points, (0, 0) elsewhere inside.
    bool anglePass(RowReporter& reporter);

  private:
    // What the angle pass needs of a cell besides its map value, so that it can run after
    // the mask is gone: outside, inside without a sample, or the chosen sample.
    static constexpr std::int32_t kOutside = -1;
    static constexpr std::int32_t kInsideNoSample = -2;
    std::int32_t nearestAt(int x, int y) const {
        const std::size_t i = static_cast<std::size_t>(y) * m_columns + x;
        if (m_nearest16.empty()) return m_nearest[i];
        const std::uint16_t s = m_nearest16[i];
        return s >= kInsideNoSample16 ? (s == kOutside16 ? kOutside : kInsideNoSample) : s;
    }
    // Row y of the mask, from the codes.
    void insideRow(int y, Gray8* mask) const;
    void storeNearestRow(int y, const Gray8* mask, const std::int32_t* row);
    static constexpr std::uint16_t kOutside16 = 0xFFFF;
    static constexpr std::uint16_t kInsideNoSample16 = 0xFFFE;

    const PointsArray& m_outline;
    const PointsArray& m_targets;
    Matrix& m_working;
    int m_columns;
    int m_rows;
    int m_threads;
    PointsArray m_samples;
    std::optional<NearestSamples> m_finder;
    // Row-major, the chosen sample per inside cell: 16 bits while the sample numbers fit,
    // which is every button of ordinary size; 32 bits otherwise.
    std::vector<std::uint16_t> m_nearest16;
    std::vector<std::int32_t> m_nearest;
    std::int64_t m_largestD2 = -1; // over inside cells with a sample
};

} // namespace plakett
