// The whole field computation: worked shapes, progress, cancel and degenerate outlines.
#include "field/shape_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

using namespace plakett;

namespace {

using Rows = std::vector<std::vector<IntPoints>>;

Rows rowsOf(const Matrix& map) {
    Rows rows(map.rows());
    for (int y = 0; y < map.rows(); ++y)
        for (int x = 0; x < map.columns(); ++x)
            rows[y].push_back(map.at(x, y));
    return rows;
}

bool allOutside(const Matrix& map) {
    for (int x = 0; x < map.columns(); ++x)
        for (int y = 0; y < map.rows(); ++y)
            if (map.at(x, y) != kOutsideCell) return false;
    return true;
}

bool allZero(const Gray8Image& image) {
    for (Gray8 v : image.pixels())
        if (v != 0) return false;
    return true;
}

// The 8-connected ring around a 6 x 5 rectangle, starting at its top-left corner.
PointsArray rectangleRing() {
    PointsArray ring;
    for (int x = 0; x < 5; ++x)
        ring.push_back({x, 0});
    for (int y = 0; y < 4; ++y)
        ring.push_back({5, y});
    for (int x = 5; x > 0; --x)
        ring.push_back({x, 4});
    for (int y = 4; y > 0; --y)
        ring.push_back({0, y});
    return ring;
}

// An ellipse-like ring big enough for all three passes to matter.
PointsArray roundRing(int cx, int cy, int r) {
    PointsArray ring;
    int x = r, y = 0;
    // Walk the circle boundary octant by octant with unit steps.
    std::vector<IntPoints> octant;
    while (y <= x) {
        octant.push_back({x, y});
        ++y;
        if (x * x + y * y > r * r + r) --x;
    }
    for (int q = 0; q < 8; ++q) {
        for (std::size_t i = 0; i < octant.size(); ++i) {
            const IntPoints p = octant[q % 2 == 0 ? i : octant.size() - 1 - i];
            IntPoints v = q % 2 == 0 ? p : IntPoints{p.y, p.x};
            if (q / 2 == 1) v = {-v.y, v.x};
            if (q / 2 == 2) v = {-v.x, -v.y};
            if (q / 2 == 3) v = {v.y, -v.x};
            const IntPoints c{cx + v.x, cy + v.y};
            if (ring.empty() || !(ring.back() == c)) ring.push_back(c);
        }
    }
    while (ring.size() > 1 && ring.front() == ring.back())
        ring.pop_back();
    return ring;
}

} // namespace

TEST(FieldCompute, WorkedRectangle) {
    const ShapeField field = ComputeShapeField(rectangleRing());
    const IntPoints o = kOutsideCell;
    const Rows expected{
        {{27, 56}, {58, 26}, {91, 10}, {124, 4}, {161, 8}, {202, 27}, o, o},
        {{8, 95}, {64, 68}, {96, 60}, {131, 57}, {168, 60}, {208, 69}, o, o},
        {{65, 95}, {68, 114}, {102, 110}, {137, 108}, {175, 109}, {214, 113}, o, o},
        {{15, 180}, {70, 166}, {107, 162}, {144, 159}, {181, 159}, {220, 159}, o, o},
        {{41, 217}, {78, 215}, {115, 213}, {152, 211}, {189, 209}, {226, 207}, o, o},
        {o, o, o, o, o, o, o, o},
        {o, o, o, o, o, o, o, o}};
    EXPECT_EQ(rowsOf(field.map), expected);
    EXPECT_FALSE(field.cancelled);
    ASSERT_EQ(field.coverage.width(), 4);
    ASSERT_EQ(field.coverage.height(), 4);
    EXPECT_EQ(field.coverage.pixels(),
              (std::vector<Gray8>{4, 4, 4, 0, 4, 4, 4, 0, 2, 2, 2, 0, 0, 0, 0, 0}));
}

TEST(FieldCompute, FourPointDiamondHasOneSample) {
    // Only point 0 (3, 0) is a sample: distances grow toward the bottom, and every cell at
    // least four sevenths of the largest distance away lands on the centre.
    const ShapeField field = ComputeShapeField({{3, 0}, {6, 3}, {3, 6}, {0, 3}});
    const IntPoints o = kOutsideCell;
    const IntPoints c{128, 128};
    const Rows expected{{o, o, o, {19, 185}, o, o, o, o, o},
                        {o, o, {9, 92}, {30, 134}, {9, 92}, o, o, o, o},
                        {o, {73, 104}, {53, 106}, {57, 121}, {51, 105}, {62, 104}, o, o, o},
                        {c, {102, 117}, {86, 116}, {84, 120}, {85, 115}, {98, 117}, c, o, o},
                        {o, c, {109, 122}, {106, 123}, {109, 122}, c, o, o, o},
                        {o, o, c, {119, 126}, c, o, o, o, o},
                        {o, o, o, c, o, o, o, o, o},
                        {o, o, o, o, o, o, o, o, o},
                        {o, o, o, o, o, o, o, o, o}};
    EXPECT_EQ(rowsOf(field.map), expected);
}

TEST(FieldCompute, AllSlotsShareTheResult) {
    MatrixComputer computer;
    const PointsArray ring = roundRing(20, 20, 12);
    computer.Prepare(ring);
    computer.SetTargets(ComputeRimTargets(ring));
    bool ended = false;
    computer.FOnComputeEnd = [&] { ended = true; };
    computer.Compute();
    EXPECT_FALSE(ended);
    EXPECT_TRUE(computer.FOutline.empty());
    EXPECT_TRUE(computer.FCurrentMap.sharesCellsWith(computer.FAngleMap));
    EXPECT_TRUE(computer.FKorvanMap.sharesCellsWith(computer.FAngleMap));
    EXPECT_EQ(computer.FCurrentMap.columns(), 27);
    EXPECT_EQ(computer.FCurrentMap.rows(), 27);
    EXPECT_EQ(computer.FProgress, 100);
}

TEST(FieldCompute, ProgressClimbsRowByRow) {
    std::vector<int> seen;
    FieldControl control;
    control.onProgress = [&](int p) { seen.push_back(p); };
    const PointsArray ring = roundRing(0, 0, 15);
    const ShapeField field = ComputeShapeField(ring, control);
    const int rows = field.map.rows();
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(3 * rows));
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen[rows - 1], 50);
    EXPECT_EQ(seen[rows], 50);
    EXPECT_EQ(seen[2 * rows - 1], 75);
    EXPECT_EQ(seen[2 * rows], 75);
    EXPECT_EQ(seen.back(), 100);
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_LE(seen[i - 1], seen[i]);
}

TEST(FieldCompute, CancelLeavesOneFullSizeOutsideMap) {
    const PointsArray ring = roundRing(50, 30, 14);
    // Cancel already set, in the interpolation pass, right before the distance pass (set
    // while the last interpolation row reports), in the distance pass, in the angle pass.
    for (int cancelAt : {-1, 20, 50, 60, 90}) {
        SCOPED_TRACE(cancelAt);
        std::atomic<bool> cancel{cancelAt < 0};
        std::vector<int> seen;
        FieldControl control;
        control.cancelRequested = &cancel;
        control.onProgress = [&](int p) {
            seen.push_back(p);
            if (p >= cancelAt) cancel = true;
        };
        MatrixComputer computer;
        int ends = 0;
        computer.FOnComputeEnd = [&] { ++ends; };
        computer.Prepare(ring);
        computer.SetTargets(ComputeRimTargets(ring));
        computer.Compute(control);
        EXPECT_EQ(ends, 1);
        EXPECT_TRUE(computer.FCurrentMap.sharesCellsWith(computer.FAngleMap));
        EXPECT_TRUE(computer.FKorvanMap.sharesCellsWith(computer.FAngleMap));
        EXPECT_EQ(computer.FCurrentMap.columns(), 31);
        EXPECT_EQ(computer.FCurrentMap.rows(), 31);
        EXPECT_TRUE(allOutside(computer.FCurrentMap));
        // The row that raised the flag is the last one reported.
        const auto late =
            std::count_if(seen.begin(), seen.end(), [&](int p) { return p >= cancelAt; });
        EXPECT_EQ(late, cancelAt < 0 ? 0 : 1);
        if (cancelAt < 0) {
            EXPECT_EQ(computer.FProgress, 0);
        }

        const ShapeField field = ComputeShapeField(ring, control);
        EXPECT_TRUE(field.cancelled);
        EXPECT_TRUE(allOutside(field.map));
        EXPECT_EQ(field.coverage.width(), 16);
        EXPECT_TRUE(allZero(field.coverage));
    }
}

TEST(FieldCompute, OutlineOfHundredBySixtyCells) {
    const ShapeField field = ComputeShapeField({{10, 10}, {109, 10}, {109, 69}, {10, 69}});
    EXPECT_EQ(field.map.columns(), 102);
    EXPECT_EQ(field.map.rows(), 62);
    EXPECT_EQ(field.coverage.width(), 51);
    EXPECT_EQ(field.coverage.height(), 31);
    EXPECT_EQ(field.coverage.at(25, 15), 4);
    EXPECT_EQ(field.coverage.at(50, 30), 0);
}

TEST(FieldCompute, DegenerateOutlinesGiveSoundFields) {
    struct Case {
        PointsArray outline;
        int columns;
        int rows;
        bool empty;
    };
    const std::vector<Case> cases{
        {{}, 2, 2, true},
        {{{4, 4}}, 3, 3, true},
        {{{0, 0}, {9, 0}}, 12, 3, true},
        {{{0, 0}, {5, 0}, {9, 0}}, 12, 3, false},                        // one row
        {{{0, 0}, {0, 4}, {0, 9}, {0, 2}}, 3, 12, false},                // one column
        {{{2, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2}}, 3, 3, false},         // one pixel
        {{{0, 0}, {0, 0}, {3, 3}, {3, 3}, {0, 3}, {0, 3}}, 6, 6, false}, // repeats
        {{{0, 0}, {8, 8}, {8, 0}, {0, 8}}, 11, 11, false},               // bow tie
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outline.size());
        std::vector<int> seen;
        FieldControl control;
        control.onProgress = [&](int p) { seen.push_back(p); };
        const ShapeField field = ComputeShapeField(c.outline, control);
        EXPECT_FALSE(field.cancelled);
        EXPECT_EQ(field.map.columns(), c.columns);
        EXPECT_EQ(field.map.rows(), c.rows);
        EXPECT_EQ(allOutside(field.map), c.empty);
        EXPECT_EQ(allZero(field.coverage), c.empty);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), 100);
        for (int x = 0; x < field.map.columns(); ++x)
            for (int y = 0; y < field.map.rows(); ++y) {
                const IntPoints v = field.map.at(x, y);
                if (v == kOutsideCell) continue;
                EXPECT_GE(v.x, 0);
                EXPECT_LE(v.x, 255);
                EXPECT_GE(v.y, 0);
                EXPECT_LE(v.y, 255);
            }
    }
}

TEST(FieldCompute, ComputeWithoutPrepareIsEmpty) {
    MatrixComputer computer;
    computer.Compute();
    EXPECT_TRUE(computer.FCurrentMap.empty());
    SmoothMap(computer.FCurrentMap, 18);
    EXPECT_NO_THROW(BuildCoverage(computer.FCurrentMap));
}
