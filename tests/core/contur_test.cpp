#include "shape/contur.h"
#include "shape/shape_error.h"

#include "shape_test_points.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

using namespace plakett;

namespace {

std::vector<TMoveBox> square() {
    return {point(100, 100, ptAngle), point(200, 100, ptAngle), point(200, 200, ptAngle),
            point(100, 200, ptAngle)};
}

class ConturEditing : public ::testing::Test {
  protected:
    ConturEditing() : c(400, 300) {
        c.EnterEditMode();
        c.FOnPointSelected = [this](std::int32_t i) { selections.push_back(i); };
        c.setPoints(square());
    }
    TContur c;
    std::vector<std::int32_t> selections;
};

} // namespace

TEST(ConturCreation, DefaultShapeAndFirstBounds) {
    TContur c(400, 301);
    EXPECT_EQ(c.FCenterX, 200);
    EXPECT_EQ(c.FCenterY, 150);
    ASSERT_EQ(c.FPoints.size(), 2u);
    EXPECT_EQ(c.FPoints[0].FPos, (TPoint{260, 150}));
    EXPECT_EQ(c.FPoints[1].FPos, (TPoint{140, 150}));
    EXPECT_EQ(c.FSelected, -1);
    EXPECT_EQ(c.outline().size(), 187u);
    // Not painted yet: the initial bounds stay until the outline is next updated.
    EXPECT_EQ(c.FMinX, -40);
    EXPECT_EQ(c.FMaxY, 40);
    EXPECT_EQ(c.FOutlineChanged, 1);

    int reports = 0;
    c.FOnBounds = [&] { ++reports; };
    c.Changed();
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(c.FOutlineChanged, 0);
    EXPECT_EQ((std::array{c.FMinX, c.FMaxX, c.FMinY, c.FMaxY}), (std::array{140, 260, 123, 177}));

    c.resize(500, 401);
    EXPECT_EQ(c.FPoints[0].FPos, (TPoint{310, 200}));
    EXPECT_EQ(c.FMinX, 190);
}

TEST_F(ConturEditing, PointWindowsAndSelection) {
    c.setPoints({point(100, 100), point(102, 101), point(300, 100)});
    EXPECT_EQ(c.PointAt(101, 100), 0); // in both windows: the earlier point
    EXPECT_EQ(c.PointAt(104, 103), 1);
    EXPECT_EQ(c.PointAt(105, 103), -1);

    c.leftPress(104, 103);
    EXPECT_EQ(c.FSelected, 1);
    EXPECT_EQ(c.FDragPoint, 1);
    c.mouseMove(-5, 7); // the point jumps to the mouse, even outside the control
    EXPECT_EQ(c.FPoints[1].FPos, (TPoint{-5, 7}));
    c.leftRelease();
    c.mouseMove(50, 50);
    EXPECT_EQ(c.FPoints[1].FPos, (TPoint{-5, 7}));
    c.leftPress(-5, 7); // already selected: no second notice
    EXPECT_EQ(selections, (std::vector<std::int32_t>{1}));
}

TEST_F(ConturEditing, InsertsOnlyWithinSquaredDistanceFour) {
    const TArrayPoint outline = c.outline(); // top edge: elements 0..77
    const TPoint near = outline[38];
    ASSERT_EQ(near.Y, 100);
    std::int32_t gapX = -1; // an x between two samples 2 apart on the top edge
    for (int k = 20; k < 60 && gapX < 0; ++k)
        if (outline[k + 1].X - outline[k].X == 2) gapX = outline[k].X + 1;
    ASSERT_GE(gapX, 0);

    c.leftPress(gapX, 102); // 1 across, 2 along: squared distance 5
    EXPECT_EQ(c.FPoints.size(), 4u);
    c.leftPress(near.X, 102); // squared distance 4
    ASSERT_EQ(c.FPoints.size(), 5u);
    EXPECT_EQ(c.FPoints[1].FPos, near);
    EXPECT_EQ(c.FPoints[1].FPointType, ptAuto);
    EXPECT_EQ(c.FSelected, 1);
    EXPECT_EQ(c.FDragPoint, 1);
    EXPECT_TRUE(selections.empty()); // inserting selects silently
}

TEST_F(ConturEditing, InsertOnClosingSegmentGoesFirst) {
    const TPoint onLeftEdge = c.outline()[3 * 78 + 39]; // segment from point 3 back to 0
    ASSERT_EQ(onLeftEdge.X, 100);
    c.PointStyleChange(1); // nothing selected: only the type of new points
    c.leftPress(98, onLeftEdge.Y);
    ASSERT_EQ(c.FPoints.size(), 5u);
    EXPECT_EQ(c.FPoints[0].FPos, onLeftEdge);
    EXPECT_EQ(c.FPoints[1].FPos, (TPoint{100, 100}));
    EXPECT_EQ(c.FPoints[4].FPos, (TPoint{100, 200}));
    // Anchor: lengths 20, incoming control toward the previous neighbour (point 4, below).
    EXPECT_EQ(c.FPoints[0].FPointType, ptBezier);
    EXPECT_EQ(c.FPoints[0].FRightLength, 20.0f);
    EXPECT_EQ(c.FPoints[0].FRx, 0.0f);
    EXPECT_EQ(c.FPoints[0].FRy, 1.0f);
}

TEST_F(ConturEditing, PressOnAJointSelectsInsteadOfInserting) {
    c.leftPress(200, 101);
    EXPECT_EQ(c.FPoints.size(), 4u);
    EXPECT_EQ(selections, (std::vector<std::int32_t>{1}));
}

TEST_F(ConturEditing, HandlesComeBeforePoints) {
    std::vector<TMoveBox> ring = square();
    ring[1].FPointType = ptBezier;
    ring[1].FLeftLength = ring[1].FRightLength = 1.0f;
    c.setPoints(ring);
    c.leftPress(200, 100);
    c.leftRelease();
    c.leftPress(200, 100); // on the point, but the right handle (201, 100) is tested first
    EXPECT_EQ(c.FDragRightHandle, 1);
    EXPECT_EQ(c.FDragPoint, 0);

    c.mouseMove(200, 100); // onto the point: length 0, no direction
    EXPECT_EQ(c.FPoints[1].FRightLength, 0.0f);
    EXPECT_EQ(c.FPoints[1].FRx, 0.0f);
    EXPECT_EQ(c.FPoints[1].FRy, 0.0f);
    c.mouseMove(203, 104);
    EXPECT_EQ(c.FPoints[1].FRightLength, 5.0f);
    EXPECT_EQ(c.FPoints[1].FRx, 0.6f);
    EXPECT_EQ(c.FPoints[1].FRy, 0.8f);
    c.leftRelease();

    c.leftPress(199, 99); // left handle at Round(200 - 0.6), Round(100 - 0.8)
    EXPECT_EQ(c.FDragLeftHandle, 1);
    c.mouseMove(197, 96);
    EXPECT_EQ(c.FPoints[1].FLeftLength, 5.0f);
    EXPECT_EQ(c.FPoints[1].FRx, 0.6f);
    EXPECT_EQ(c.FPoints[1].FRightLength, 5.0f);
}

TEST_F(ConturEditing, BoundsIncludeTheSelectedHandles) {
    std::vector<TMoveBox> ring = square();
    ring[1].FPointType = ptBezier;
    ring[1].FRx = 0.0f;
    ring[1].FRy = -1.0f;
    ring[1].FRightLength = 80.0f; // right handle at (200, 20), far above the outline
    c.setPoints(ring);
    const std::int32_t outlineTop = c.FMinY;
    c.leftPress(200, 100);
    EXPECT_EQ(c.FMinY, 20);
    c.rightPress(100, 200); // deleting deselects
    EXPECT_EQ(c.FSelected, -1);
    EXPECT_GE(c.FMinY, outlineTop);

    TMoveBox half = point(1, 0, ptBezier);
    half.FRightLength = 1.0f;
    half.FRx = 0.5f;
    EXPECT_EQ(TContur::pressHandles(half).right.X, 2); // Round(1.5)
    EXPECT_EQ(TContur::paintHandles(half).right.X, 1); // 1 + Round(0.5)
}

TEST_F(ConturEditing, DeletingStopsAtTwoPoints) {
    c.leftPress(100, 100);
    c.rightPress(100, 100);
    c.rightPress(200, 100);
    EXPECT_EQ(c.FPoints.size(), 2u);
    c.rightPress(200, 200);
    EXPECT_EQ(c.FPoints.size(), 2u);
    c.mouseMove(10, 10); // the dragged point is gone: nothing to move
    EXPECT_EQ(c.FPoints[0].FPos, (TPoint{200, 200}));
}

TEST_F(ConturEditing, AnchorDirections) {
    c.setPoints({point(0, 0), point(50, 10), point(30, 40)});
    c.leftPress(50, 10);
    c.PointStyleChange(1); // neighbours (0, 0) and (30, 40): -(0.6, 0.8)
    EXPECT_EQ(c.FPoints[1].FRx, -0.6f);
    EXPECT_EQ(c.FPoints[1].FRy, -0.8f);
    EXPECT_EQ(c.FNewPointType, ptBezier);

    c.setPoints({point(260, 150), point(140, 150)}); // neighbours coincide: perpendicular
    c.leftPress(260, 150);
    c.PointStyleChange(1);
    EXPECT_EQ(c.FPoints[0].FRx, 0.0f);
    EXPECT_EQ(c.FPoints[0].FRy, 1.0f);

    c.setPoints({point(5, 5)}); // nothing to lean on at all
    c.leftPress(5, 5);
    c.PointStyleChange(1);
    EXPECT_EQ(c.FPoints[0].FRx, -1.0f);
    EXPECT_EQ(c.FPoints[0].FRy, 0.0f);
    c.PointStyleChange(2);
    EXPECT_EQ(c.FPoints[0].FPointType, ptAngle);
    EXPECT_EQ(c.FNewPointType, ptAngle);
}

TEST_F(ConturEditing, LoadsReplaceOnlyOnSuccess) {
    const std::filesystem::path shapes = std::filesystem::path(PLAKETT_TEST_DATA) / "shapes";
    c.leftPress(200, 100);
    EXPECT_THROW(c.LoadFromFile(shapes / "bad_integer.shp"), ShapeError);
    EXPECT_EQ(c.FPoints, square());
    EXPECT_EQ(c.FSelected, 1);

    std::vector<TMoveBox> huge;
    for (int i = 0; i < 400; ++i)
        huge.push_back(point(i % 2 ? 40000 : 0, 0, ptAngle));
    EXPECT_THROW(c.setPoints(huge), ShapeError);
    EXPECT_EQ(c.FPoints, square());
    c.Changed(); // still consistent

    c.LoadFromFile(shapes / "mixed_lf.shp");
    EXPECT_EQ(c.FPoints.size(), 4u);
    EXPECT_EQ(c.FSelected, -1);
    EXPECT_EQ(c.outline().front(), (TPoint{100, -12}));
}

// Coordinates at the ends of int32 (possible in files) keep every step defined; this is
// what a sanitizer build checks.
TEST_F(ConturEditing, CoordinatesAtTheLimitsStayDefined) {
    TMoveBox far = point(2147483000, -2147483000, ptBezier);
    far.FRightLength = 3.0e9f;
    c.setPoints({far, point(-2147483000, 2147483000), point(0, 0, ptAngle)});
    c.leftPress(2147483000, -2147483000);
    c.leftPress(1, 1);
    c.resize(600, 500);
    EXPECT_EQ(c.FPoints.size(), 3u);
}
