// The three row passes of MatrixComputer::Compute, rows shared among threads, progress and
// cancel handled row by row on the calling thread.
#pragma once

#include "image/image.h"
#include "render/field_nearest_sample.h"
#include "render/matrix.h"
#include "render/shape_field.h"

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
    // go to, `mask` the prepared mask of the same size.
    FieldPasses(const Gray8Image& mask, const PointsArray& outline, const PointsArray& targets,
                Matrix& working);
    ~FieldPasses();

    bool interpolationPass(RowReporter& reporter);
    bool distancePass(RowReporter& reporter);
    // Writes every cell of `angleMap` except those on samples, which keep their value.
    bool anglePass(RowReporter& reporter, Matrix& angleMap);

  private:
    std::int32_t* nearestRow(int y) {
        return m_nearest.data() + static_cast<std::size_t>(y) * m_columns;
    }

    const Gray8Image& m_mask;
    const PointsArray& m_outline;
    const PointsArray& m_targets;
    Matrix& m_working;
    int m_columns;
    int m_rows;
    int m_threads;
    PointsArray m_samples;
    std::optional<NearestSamples> m_finder;
    std::vector<std::int32_t> m_nearest; // row-major, the chosen sample per inside cell
    std::int64_t m_largestD2 = -1;       // over inside cells with a sample
};

} // namespace plakett
