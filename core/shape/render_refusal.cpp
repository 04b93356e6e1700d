#include "shape/render_refusal.h"

#include "shape/compute_points.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace plakett {
namespace {

// Doubling stays far inside 32 bits, and the field (about 20 bytes a cell while it is
// computed) stays within a few hundred megabytes.
constexpr std::int64_t kMaxCoordinate = 1'000'000;

} // namespace

std::string renderRefusal(const std::vector<TMoveBox>& points) {
    for (const TMoveBox& p : points)
        if (std::llabs(p.FPos.X) > kMaxCoordinate || std::llabs(p.FPos.Y) > kMaxCoordinate)
            return "Shape is too large";
    if (points.empty()) return "Shape is too small";
    const TArrayPoint outline = ComputeEditorOutline(points);
    if (outline.empty()) return "Shape is too small";
    std::int64_t minX = outline[0].X, maxX = minX, minY = outline[0].Y, maxY = minY;
    for (const TPoint& p : outline) {
        minX = std::min<std::int64_t>(minX, p.X);
        maxX = std::max<std::int64_t>(maxX, p.X);
        minY = std::min<std::int64_t>(minY, p.Y);
        maxY = std::max<std::int64_t>(maxY, p.Y);
    }
    if (maxX - minX < 2 || maxY - minY < 2) return "Shape is too small";
    // Each side first, so that the product below cannot overflow even for the extents
    // that handles of enormous Bezier lengths give.
    const std::int64_t columns = 2 * (maxX - minX) + 3;
    const std::int64_t rows = 2 * (maxY - minY) + 3;
    if (columns > kMaxFieldCells || rows > kMaxFieldCells || columns * rows > kMaxFieldCells)
        return "Shape is too large: " + std::to_string(maxX - minX) + " x " +
               std::to_string(maxY - minY) + " pixels, more than the " +
               std::to_string(kMaxFieldCells) + " cells its field may have";
    return {};
}

} // namespace plakett
