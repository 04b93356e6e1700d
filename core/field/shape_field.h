// The shape field: a light-map coordinate for every double-scale cell inside the outline,
// the coverage raster derived from it, and the computer that builds them.
#pragma once

#include "image/image.h"
#include "common/matrix.h"

#include <atomic>
#include <functional>

namespace plakett {

// How a running field computation reports and is stopped. Both may be left empty.
struct FieldControl {
    // Called after every raster row of each pass with the progress 0..100.
    std::function<void(int progress)> onProgress;
    // Polled after every row and once before the distance pass.
    const std::atomic<bool>* cancelRequested = nullptr;
};

// Rim targets: one light-map coordinate per outline point, same order.
PointsArray ComputeRimTargets(const PointsArray& outline);

class MatrixComputer {
  public:
    void Prepare(const PointsArray& outline);
    void SetTargets(const PointsArray& targets);
    void Compute(const FieldControl& control = {});
    // Compute without its closing smoothing of the angle map; true when that smoothing is
    // still owed (not after an empty field or a cancel).
    bool ComputeUnsmoothed(const FieldControl& control = {});
    IntPoints Interpolate(int x, int y) const;

    PointsArray FOutline;
    PointsArray FTargets;
    Gray8Image FMask; // 0 inside, anything else outside
    int FProgress = 0;
    Matrix FCurrentMap;
    Matrix FAngleMap;
    Matrix FKorvanMap;
    std::function<void()> FOnComputeEnd; // called when a computation is cancelled
};

void SmoothMap(Matrix& map, int passes);
// SmoothMap(map, first) then SmoothMap(map, second), in one sweep with the same cells.
void SmoothMapTwice(Matrix& map, int first, int second);
Gray8Image BuildCoverage(const Matrix& map);

struct ShapeField {
    Matrix map;          // the map shading reads (both mapping-mode slots refer to it)
    Gray8Image coverage; // 0..4 per final pixel
    bool cancelled = false;
};

// Rim targets, Prepare, SetTargets, Compute, 18 smoothing passes, coverage: everything that
// entering render mode computes from the double-scale outline.
ShapeField ComputeShapeField(const PointsArray& outline, const FieldControl& control = {});

} // namespace plakett
