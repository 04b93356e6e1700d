// The map computer: preparation of raster and mask, and the three passes that turn the
// outline and its rim targets into a light-map coordinate per cell.
#include "field/shape_field.h"

#include "common/field_parallel.h"
#include "field/field_passes.h"
#include "field/polygon_mask.h"

#include <exception>
#include <stdexcept>

namespace plakett {

namespace {

constexpr int kAngleSmoothingPasses = 22;
constexpr int kFieldSmoothingPasses = 18;
// Far beyond the +-10000 editor range doubled; keeps every raster index in 32 bits.
constexpr long long kMaxRasterSide = 32768;
constexpr std::size_t kOutlineForTwoThreads = 1000;

void assignAll(MatrixComputer& c, const Matrix& map) {
    c.FAngleMap = map;
    c.FCurrentMap = c.FAngleMap;
    c.FKorvanMap = c.FCurrentMap;
}

} // namespace

void MatrixComputer::Prepare(const PointsArray& outline) {
    // From the first point rather than from +-10000: the same frame for every outline
    // within that range, and a tight one for outlines beyond it, which a search from
    // +-10000 would stretch back to the range's edge.
    int minX = 10000, minY = 10000, maxX = -10000, maxY = -10000;
    if (!outline.empty()) {
        minX = maxX = outline.front().x;
        minY = maxY = outline.front().y;
    }
    for (const IntPoints& p : outline) {
        if (p.x < minX) minX = p.x;
        if (p.x > maxX) maxX = p.x;
        if (p.y < minY) minY = p.y;
        if (p.y > maxY) maxY = p.y;
    }
    if (outline.empty()) { // an empty raster frame
        minX = maxX + 1;
        minY = maxY + 1;
    }
    // Checked before anything changes, in 64 bits so that wild coordinates cannot wrap.
    const long long w = static_cast<long long>(maxX) - minX + 1;
    const long long h = static_cast<long long>(maxY) - minY + 1;
    if (w > kMaxRasterSide || h > kMaxRasterSide)
        throw std::invalid_argument("outline too large for the shape field");

    FOutline = outline;
    for (IntPoints& p : FOutline)
        p = {p.x - minX, p.y - minY};
    FCurrentMap = Matrix(static_cast<int>(w) + 2, static_cast<int>(h) + 2, kOutsideCell);
    FCurrentMap.width = static_cast<int>(w);
    FCurrentMap.height = static_cast<int>(h);
    FMask.reset(static_cast<int>(w) + 2, static_cast<int>(h) + 2, kMaskOutside);
    DrawPolygonMask(FMask, FOutline);
}

void MatrixComputer::SetTargets(const PointsArray& targets) {
    if (targets.size() != FOutline.size())
        throw std::invalid_argument("rim targets do not match the outline");
    FTargets = targets;
}

void MatrixComputer::Compute(const FieldControl& control) {
    if (!ComputeUnsmoothed(control)) return;
    SmoothMap(FAngleMap, kAngleSmoothingPasses);
    FCurrentMap = FAngleMap;
    FKorvanMap = FCurrentMap;
}

bool MatrixComputer::ComputeUnsmoothed(const FieldControl& control) {
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
        return false;
    }
    auto cancel = [&] {
        assignAll(*this, Matrix(columns, rows, kOutsideCell));
        if (FOnComputeEnd) FOnComputeEnd();
        return false;
    };

    for (std::size_t k = 0; k < FOutline.size(); ++k)
        FCurrentMap.at(FOutline[k].x, FOutline[k].y) = FTargets[k];
    // FOutline is emptied after the first pass; the passes work from their own copy.
    const PointsArray outline = FOutline;
    FieldPasses passes(FMask, outline, FTargets, FCurrentMap);
    FMask = Gray8Image(); // the passes carry what they need of it, in less memory
    if (!passes.interpolationPass(reporter)) return cancel();

    // The angle map is built in the working map's cells: a second full map would double the
    // memory the field needs.
    FOutline.clear();
    if (reporter.cancelled()) return cancel();

    if (!passes.distancePass(reporter)) return cancel();
    if (!passes.anglePass(reporter)) return cancel();
    FAngleMap = FCurrentMap;
    FKorvanMap = FCurrentMap;
    return true;
}

ShapeField ComputeShapeField(const PointsArray& outline, const FieldControl& control) {
    MatrixComputer computer;
    ShapeField field;
    computer.FOnComputeEnd = [&field] { field.cancelled = true; };
    // The rim targets need only the outline: they are worked out beside the mask.
    PointsArray targets;
    std::exception_ptr failures[2];
    runTeam(outline.size() >= kOutlineForTwoThreads ? 2 : 1, [&](int worker, int workers) {
        try {
            if (worker == 1 || workers == 1) targets = ComputeRimTargets(outline);
            if (worker == 0) computer.Prepare(outline);
        } catch (...) {
            failures[worker] = std::current_exception();
        }
    });
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
    computer.SetTargets(targets);
    // An empty or cancelled field is all outside cells, which smoothing leaves alone.
    if (computer.ComputeUnsmoothed(control))
        SmoothMapTwice(computer.FCurrentMap, kAngleSmoothingPasses, kFieldSmoothingPasses);
    field.map = computer.FCurrentMap;
    field.coverage = BuildCoverage(field.map);
    return field;
}

} // namespace plakett
