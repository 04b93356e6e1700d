// Boundary interpolation, map smoothing and the coverage raster on small worked cases.
#include "field/shape_field.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plakett;

namespace {

MatrixComputer computerWith(PointsArray outline, PointsArray targets) {
    MatrixComputer computer;
    computer.FOutline = std::move(outline);
    computer.FTargets = std::move(targets);
    return computer;
}

// Builds a map from columns written top to bottom.
Matrix mapOf(const std::vector<std::vector<IntPoints>>& columns) {
    Matrix map(static_cast<int>(columns.size()), static_cast<int>(columns[0].size()), {});
    for (int x = 0; x < map.columns(); ++x)
        for (int y = 0; y < map.rows(); ++y)
            map.at(x, y) = columns[x][y];
    return map;
}

std::vector<IntPoints> column(const Matrix& map, int x) {
    return {map.column(x), map.column(x) + map.rows()};
}

constexpr IntPoints kOut = kOutsideCell;

} // namespace

TEST(FieldInterpolate, AxisNeighboursWithoutDiagonals) {
    // Row and column bests at distance 2: g = 0.25, the axis half is (20, 25). No diagonal
    // point: all four take distance 2000 and point 0's target (10, 20), a quarter each of
    // the other half.
    const MatrixComputer c =
        computerWith({{0, 2}, {4, 2}, {2, 0}, {2, 4}}, {{10, 20}, {30, 40}, {50, 60}, {70, 80}});
    EXPECT_EQ(c.Interpolate(2, 2), (IntPoints{25, 35}));
}

TEST(FieldInterpolate, MissingDirectionsPullTowardTheirStartValues) {
    // No column neighbours: up at -3500 and down at 3500 with target (0, 0) lower the axis
    // half to (20, 25); the diagonals all fall back to point 0's target (200, 200).
    const MatrixComputer c =
        computerWith({{7, 9}, {0, 2}, {4, 2}}, {{200, 200}, {30, 40}, {50, 60}});
    EXPECT_EQ(c.Interpolate(2, 2), (IntPoints{120, 125}));
}

TEST(FieldInterpolate, NearestPointsFirstInRingWins) {
    // Two points share the best left position (2, 5): the first one's target counts. Of the
    // two up-left diagonal points only the nearer (3, 3) counts.
    const MatrixComputer c = computerWith(
        {{1, 5}, {2, 5}, {2, 5}, {9, 5}, {5, 0}, {5, 8}, {3, 3}, {1, 1}, {8, 2}, {4, 6}, {6, 6}},
        {{10, 100},
         {20, 110},
         {25, 115},
         {30, 120},
         {40, 130},
         {50, 140},
         {60, 150},
         {65, 155},
         {70, 160},
         {80, 170},
         {90, 180}});
    EXPECT_EQ(c.Interpolate(5, 5), (IntPoints{56, 146}));
}

TEST(FieldInterpolate, PointOnTheCellReturnsTheFirstSuchTarget) {
    const MatrixComputer c = computerWith({{0, 0}, {2, 2}, {2, 2}}, {{9, 9}, {1, 2}, {3, 4}});
    EXPECT_EQ(c.Interpolate(2, 2), (IntPoints{1, 2}));
}

TEST(FieldInterpolate, BeyondTheFarPositionOnlyTheNearSideCounts) {
    // In a raster wider than 3500 cells a right neighbour at x >= 3500 is never better than
    // the start position 3500, which lies behind the cell: it weighs nothing instead of
    // dividing by zero or pulling with a negative weight.
    const MatrixComputer c =
        computerWith({{3590, 5}, {3605, 5}, {0, 0}}, {{100, 50}, {200, 60}, {10, 10}});
    EXPECT_EQ(c.Interpolate(3600, 5), (IntPoints{100, 50}));
    // On x = 3500 the start position sits on the cell and nothing lies left of it: the axis
    // half blends only start targets (0, 0), the diagonal half is half of point 0's target.
    EXPECT_EQ(c.Interpolate(3500, 5), (IntPoints{50, 25}));
}

TEST(FieldSmoothMap, RepairRunsInPlaceDownTheColumn) {
    // A 2 x 2 block with u = 300 between valid vertical neighbours. The lower cell of each
    // column is repaired from the already repaired upper one, not from the original.
    Matrix map = mapOf({{kOut, kOut, kOut, kOut},
                        {{100, 50}, {300, 300}, {300, 300}, {140, 70}},
                        {{120, 60}, {300, 300}, {300, 300}, {160, 80}},
                        {kOut, kOut, kOut, kOut}});
    SmoothMap(map, 0);
    EXPECT_EQ(column(map, 1),
              (std::vector<IntPoints>{{100, 50}, {200, 175}, {170, 122}, {140, 70}}));
    EXPECT_EQ(column(map, 2),
              (std::vector<IntPoints>{{120, 60}, {210, 180}, {185, 130}, {160, 80}}));
}

TEST(FieldSmoothMap, HorizontalPassTestsUAndUsesNewLeftNeighbour) {
    Matrix map = mapOf({{kOut, {9, 9}, kOut},
                        {kOut, {30, 30}, kOut},
                        {kOut, {60, 90}, kOut},
                        {kOut, {90, 30}, kOut},
                        {kOut, {3, 3}, kOut},
                        {kOut, kOut, kOut}});
    SmoothMap(map, 1);
    // (33, 43) feeds (61, 54), which feeds (51, 29); (3, 3) has an outside right neighbour.
    const std::vector<IntPoints> row{map.at(1, 1), map.at(2, 1), map.at(3, 1), map.at(4, 1)};
    EXPECT_EQ(row, (std::vector<IntPoints>{{33, 43}, {61, 54}, {51, 29}, {3, 3}}));

    Matrix zeroU = mapOf({{kOut, {9, 9}, kOut}, {kOut, {0, 30}, kOut}, {kOut, {60, 90}, kOut}});
    SmoothMap(zeroU, 1);
    EXPECT_EQ(zeroU.at(1, 1), (IntPoints{0, 30}));
}

TEST(FieldSmoothMap, VerticalPassTestsV) {
    // One interior column: the first (horizontal) pass finds no valid horizontal neighbours.
    Matrix map = mapOf({{kOut, kOut, kOut, kOut, kOut},
                        {{10, 9}, {20, 30}, {33, 60}, {40, 0}, {50, 90}},
                        {kOut, kOut, kOut, kOut, kOut}});
    SmoothMap(map, 2);
    // (21, 33); then (33, 60) stays, its lower neighbour has v = 0; (40, 0) itself has v = 0.
    EXPECT_EQ(column(map, 1),
              (std::vector<IntPoints>{{10, 9}, {21, 33}, {33, 60}, {40, 0}, {50, 90}}));
}

TEST(FieldSmoothMap, TinyMapsHaveNoInterior) {
    Matrix map(2, 5, {300, 300});
    SmoothMap(map, 18);
    EXPECT_EQ(map.at(1, 2), (IntPoints{300, 300}));
    Matrix empty;
    SmoothMap(empty, 18);
    EXPECT_TRUE(empty.empty());
}

TEST(FieldCoverage, SizesAndCounts) {
    // 5 x 3 cells: the last column and row of pixels have only one or two cells.
    Matrix map(5, 3, kOutsideCell);
    map.at(0, 0) = {1, 1};
    map.at(1, 1) = {0, 0};
    map.at(1, 0) = {-1, 7}; // only u decides
    map.at(4, 2) = {5, -1};
    map.at(3, 2) = {2, 2};
    const Gray8Image coverage = BuildCoverage(map);
    ASSERT_EQ(coverage.width(), 3);
    ASSERT_EQ(coverage.height(), 2);
    EXPECT_EQ(coverage.pixels(), (std::vector<Gray8>{2, 0, 0, 0, 1, 1}));

    EXPECT_EQ(BuildCoverage(Matrix(102, 62, kOutsideCell)).width(), 51);
    EXPECT_EQ(BuildCoverage(Matrix(102, 62, kOutsideCell)).height(), 31);
}
