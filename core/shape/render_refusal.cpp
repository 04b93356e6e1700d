#include "shape/render_refusal.h"

#include "shape/compute_points.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>

namespace plakett {
namespace {

// Doubling stays far inside 32 bits, and the field (about 20 bytes a cell while it is
// computed) stays within a few hundred megabytes.
constexpr std::int64_t kMaxCoordinate = 1'000'000;

// The peak resident memory of a render, measured (plakett-render on 2 cores, docs/
// reliability.md) and rounded up: a base, bytes per cell of the largest density's field,
// and bytes per editor pixel of outline, which the field's line lists and nearest-edge
// search cost for every density that computes an outline of its own.
constexpr double kBaseBytes = 15.0 * (1 << 20);
constexpr double kBytesPerCellOneTimes = 16;
constexpr double kBytesPerCellDense = 30; // the 1x field, the dense field and two jobs
constexpr double kBytesPerOutlinePixel = 300;
constexpr double kMiB = 1 << 20;

// Handles longer than this are never drawn: far beyond any coordinate a shape may have.
constexpr double kMaxHandleLength = 10.0 * kMaxCoordinate;

struct Outline {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t length = 0; // editor outline points
};

Outline outlineOf(const std::vector<TMoveBox>& points) {
    const TArrayPoint outline = ComputeEditorOutline(points);
    if (outline.empty()) return {};
    const auto length = static_cast<std::int64_t>(outline.size());
    std::int64_t minX = outline[0].X, maxX = minX, minY = outline[0].Y, maxY = minY;
    for (const TPoint& p : outline) {
        minX = std::min<std::int64_t>(minX, p.X);
        maxX = std::max<std::int64_t>(maxX, p.X);
        minY = std::min<std::int64_t>(minY, p.Y);
        maxY = std::max<std::int64_t>(maxY, p.Y);
    }
    return {maxX - minX, maxY - minY, length};
}

std::string densityName(int scale) {
    return scale <= 1 ? std::string() : " at @" + std::to_string(scale) + "x";
}

std::string handleProblem(const std::vector<TMoveBox>& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TMoveBox& p = points[i];
        // Only a Bezier point's handle is drawn; the other types ignore what it holds.
        if (p.FPointType != ptBezier) continue;
        for (const float v : {p.FLeftLength, p.FRightLength, p.FRx, p.FRy})
            if (!std::isfinite(v))
                return "Shape has a Bezier handle that is not a number (point " +
                       std::to_string(i + 1) + ")";
        const double longest = std::max(std::fabs(p.FLeftLength), std::fabs(p.FRightLength)) *
                               std::max(1.0f, std::hypot(p.FRx, p.FRy));
        if (longest > kMaxHandleLength)
            return "Shape is too large: the Bezier handle of point " + std::to_string(i + 1) +
                   " reaches " + std::to_string(static_cast<long long>(std::min(longest, 9e18))) +
                   " pixels, more than " +
                   std::to_string(static_cast<long long>(kMaxHandleLength));
    }
    return {};
}

} // namespace

double renderPeakEstimate(long long cells, long long outlinePixels, int maxScale) {
    const double perCell = maxScale <= 1 ? kBytesPerCellOneTimes : kBytesPerCellDense;
    return kBaseBytes + perCell * static_cast<double>(cells) +
           kBytesPerOutlinePixel * static_cast<double>(outlinePixels) * std::max(maxScale, 1);
}

std::string renderRefusal(const std::vector<TMoveBox>& points, int maxScale) {
    maxScale = std::clamp(maxScale, 1, 3);
    for (const TMoveBox& p : points)
        if (std::llabs(p.FPos.X) > kMaxCoordinate || std::llabs(p.FPos.Y) > kMaxCoordinate)
            return "Shape is too large";
    if (const std::string problem = handleProblem(points); !problem.empty()) return problem;
    if (points.empty()) return "Shape is too small";
    const Outline one = outlineOf(points);
    if (one.width < 2 || one.height < 2) return "Shape is too small";
    const std::int64_t width = one.width * maxScale;
    const std::int64_t height = one.height * maxScale;
    const std::string size = "Shape is too large: " + std::to_string(width) + " x " +
                             std::to_string(height) + " pixels" + densityName(maxScale);
    // The field of the largest density decides; each side first, so that the product
    // below cannot overflow.
    const std::int64_t columns = 2 * width + 3;
    const std::int64_t rows = 2 * height + 3;
    // The field's raster keeps each side within kMaxFieldSide cells, its border aside.
    if (columns - 2 > kMaxFieldSide || rows - 2 > kMaxFieldSide)
        return size + ", more than the " + std::to_string(kMaxFieldSide) +
               " cells a side of its field may have (" +
               std::to_string((kMaxFieldSide - 1) / 2) + " pixels)";
    if (columns * rows > kMaxFieldCells)
        return size + ", more than the " + std::to_string(kMaxFieldCells) +
               " cells its field may have";
    const double peak = renderPeakEstimate(columns * rows, one.length, maxScale);
    if (peak > kRenderBudgetBytes)
        return size + " and " + std::to_string(one.length) +
               " pixels of outline: the render would need about " +
               std::to_string(static_cast<long long>(peak / kMiB)) + " MB, more than the " +
               std::to_string(static_cast<long long>(kRenderBudgetBytes / kMiB)) +
               " MB it may use";
    return {};
}

} // namespace plakett
