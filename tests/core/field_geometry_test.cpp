// Rim targets and the inside/outside mask of the shape field.
#include "field/polygon_mask.h"
#include "field/shape_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plakett;

namespace {

// Rows of the mask as text: '#' inside, '.' outside.
std::vector<std::string> maskRows(const Gray8Image& mask) {
    std::vector<std::string> rows;
    for (int y = 0; y < mask.height(); ++y) {
        std::string row;
        for (int x = 0; x < mask.width(); ++x)
            row += mask.at(x, y) == kMaskInside ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

Gray8Image preparedMask(const PointsArray& outline) {
    MatrixComputer computer;
    computer.Prepare(outline);
    return computer.FMask;
}

} // namespace

TEST(FieldRimTargets, SquareRingAfterSmoothingAndRenormalisation) {
    // A 4 x 4 ring, clockwise on screen. Point 0's raw target faces left, (13, 128): its
    // incoming edge runs up from (0, 1). The smoothing passes use point 0's value
    // from before the pass as the last point's next neighbour; with the just-smoothed value
    // point 0 would end at (37, 45) instead.
    const PointsArray ring{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2},
                           {3, 3}, {2, 3}, {1, 3}, {0, 3}, {0, 2}, {0, 1}};
    const PointsArray expected{{28, 56},   {72, 18},   {135, 5},  {200, 26}, {244, 79}, {253, 150},
                               {220, 216}, {158, 251}, {87, 247}, {33, 209}, {7, 155},  {8, 101}};
    EXPECT_EQ(ComputeRimTargets(ring), expected);
}

TEST(FieldRimTargets, DegenerateRings) {
    EXPECT_TRUE(ComputeRimTargets({}).empty());
    // One point: no edge, the target is the rounded centre and stays there.
    EXPECT_EQ(ComputeRimTargets({{5, 7}}), (PointsArray{{128, 128}}));
    // Repeated points have zero-length edges; f = 0.1 keeps the division finite.
    const PointsArray repeated = ComputeRimTargets({{3, 3}, {3, 3}, {3, 3}, {3, 3}});
    EXPECT_EQ(repeated, (PointsArray(4, {128, 128})));
    for (const IntPoints& t : ComputeRimTargets({{0, 0}, {40, 0}})) {
        EXPECT_GE(t.x, 0);
        EXPECT_LE(t.x, 255);
        EXPECT_GE(t.y, 0);
        EXPECT_LE(t.y, 255);
    }
}

TEST(FieldMask, TriangleSlantedEdgesFollowFillAndLines) {
    // Rows 0..5 are filled between the half-open crossings; below the apex the Bresenham
    // lines add (5, 4), (3, 5) and (1, 6), which the fill leaves out.
    const std::vector<std::string> expected{"#........", "###......", "#####....",
                                            "#######..", "######...", "####.....",
                                            "##.......", ".........", "........."};
    EXPECT_EQ(maskRows(preparedMask({{0, 0}, {6, 3}, {0, 6}})), expected);
}

TEST(FieldMask, EvenOddRuleForSelfIntersectingRings) {
    // A pentagram: the centre pentagon is crossed twice, so it is outside.
    const Gray8Image star = preparedMask({{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}});
    EXPECT_EQ(star.at(10, 10), kMaskOutside);
    EXPECT_EQ(star.at(5, 10), kMaskInside);
    EXPECT_EQ(star.at(15, 10), kMaskInside);
    EXPECT_EQ(star.at(10, 3), kMaskInside);

    // A square traced twice: every row has its crossings twice, the interior is empty and
    // only the drawn edges remain.
    const Gray8Image twice =
        preparedMask({{0, 0}, {6, 0}, {6, 6}, {0, 6}, {0, 0}, {6, 0}, {6, 6}, {0, 6}});
    EXPECT_EQ(twice.at(3, 3), kMaskOutside);
    EXPECT_EQ(twice.at(0, 3), kMaskInside);
    EXPECT_EQ(twice.at(6, 3), kMaskInside);
    EXPECT_EQ(twice.at(3, 6), kMaskInside);
}

TEST(FieldMask, EveryOutlinePixelIsInside) {
    // Long straight edges and a spike only one pixel wide.
    const PointsArray ring{{0, 0}, {30, 1}, {31, 20}, {29, 20}, {15, 8}, {2, 25}, {1, 3}};
    const Gray8Image mask = preparedMask(ring);
    EXPECT_EQ(mask.width(), 34);
    EXPECT_EQ(mask.height(), 28);
    for (const IntPoints& p : ring)
        EXPECT_EQ(mask.at(p.x, p.y), kMaskInside);
    // The two right-most columns and two bottom rows are always outside.
    for (int y = 0; y < mask.height(); ++y)
        EXPECT_EQ(mask.at(32, y), kMaskOutside) << y;
    for (int x = 0; x < mask.width(); ++x)
        EXPECT_EQ(mask.at(x, 27), kMaskOutside) << x;
}

TEST(FieldMask, PrepareShiftsIntoTheRasterFrame) {
    MatrixComputer computer;
    const PointsArray outline{{137, -12}, {236, -12}, {236, 47}, {137, 47}};
    computer.Prepare(outline);
    EXPECT_EQ(computer.FOutline, (PointsArray{{0, 0}, {99, 0}, {99, 59}, {0, 59}}));
    EXPECT_EQ(computer.FCurrentMap.width, 100);
    EXPECT_EQ(computer.FCurrentMap.height, 60);
    EXPECT_EQ(computer.FCurrentMap.columns(), 102);
    EXPECT_EQ(computer.FCurrentMap.rows(), 62);
    EXPECT_EQ(computer.FCurrentMap.at(50, 30), kOutsideCell);
    EXPECT_EQ(computer.FMask.width(), 102);
    EXPECT_EQ(computer.FMask.height(), 62);
    EXPECT_EQ(computer.FMask.at(50, 30), kMaskInside);
    EXPECT_THROW(computer.SetTargets({{1, 1}}), std::invalid_argument);

    // Coordinates far outside any editor: refused, the prepared state stays.
    EXPECT_THROW(computer.Prepare({{-2000000000, 0}, {2000000000, 5}, {0, 9}}),
                 std::invalid_argument);
    EXPECT_EQ(computer.FOutline.size(), 4u);
    EXPECT_EQ(computer.FCurrentMap.columns(), 102);
}
