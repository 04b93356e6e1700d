#include "shape/rotate.h"
#include "shape/scale_dialog.h"
#include "shape/transforms.h"

#include "shape_test_points.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

using namespace plakett;

namespace {

TMoveBox bezier(int x, int y, float right, float left, float rx, float ry) {
    TMoveBox b = point(x, y, ptBezier);
    b.FRightLength = right;
    b.FLeftLength = left;
    b.FRx = rx;
    b.FRy = ry;
    return b;
}

std::vector<TMoveBox> mixedRing() {
    return {point(100, 100, ptAngle), bezier(200, 120, 30.0f, 10.0f, 0.6f, -0.8f), point(180, 200),
            bezier(90, 170, 5.0f, 25.0f, -1.0f, 0.0f)};
}

std::vector<TMoveBox> square() {
    return {point(100, 100, ptAngle), point(200, 100, ptAngle), point(200, 200, ptAngle),
            point(100, 200, ptAngle)};
}

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// Same ring up to one shift of all positions, Bezier data to the bit.
void expectSameUpToShift(const std::vector<TMoveBox>& a, const std::vector<TMoveBox>& b) {
    ASSERT_EQ(a.size(), b.size());
    const int dx = b[0].FPos.X - a[0].FPos.X;
    const int dy = b[0].FPos.Y - a[0].FPos.Y;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(b[i].FPos, (TPoint{a[i].FPos.X + dx, a[i].FPos.Y + dy})) << i;
        EXPECT_EQ(b[i].FPointType, a[i].FPointType);
        EXPECT_TRUE(sameBits(b[i].FRx, a[i].FRx) && sameBits(b[i].FRy, a[i].FRy) &&
                    sameBits(b[i].FLeftLength, a[i].FLeftLength) &&
                    sameBits(b[i].FRightLength, a[i].FRightLength))
            << i;
    }
}

class ShapeTransform : public ::testing::Test {
  protected:
    ShapeTransform() : c(400, 300) { c.setPoints(square()); }
    TContur c;
};

} // namespace

TEST_F(ShapeTransform, CenterMovesBoundsToTheMiddle) {
    Center(c);
    EXPECT_EQ((std::array{c.FMinX, c.FMaxX, c.FMinY, c.FMaxY}), (std::array{150, 250, 100, 200}));
}

TEST_F(ShapeTransform, FlipsMirrorAndTwiceRestore) {
    c.setPoints(mixedRing());
    Center(c);
    const auto before = c.FPoints;
    c.leftPress(before[1].FPos.X, before[1].FPos.Y);
    FlipRightToLeft(c);
    EXPECT_EQ(c.FSelected, -1);
    const std::size_t n = before.size();
    const int sum = c.FPoints[0].FPos.X + before[n - 1].FPos.X;
    for (std::size_t i = 0; i < n; ++i) { // reversed, mirrored, sides exchanged
        const TMoveBox& old = before[n - 1 - i];
        EXPECT_EQ(c.FPoints[i].FPos.X, sum - old.FPos.X);
        EXPECT_EQ(c.FPoints[i].FPos.Y, old.FPos.Y);
        EXPECT_EQ(c.FPoints[i].FRy, -old.FRy);
        EXPECT_EQ(c.FPoints[i].FLeftLength, old.FRightLength);
    }
    FlipRightToLeft(c);
    expectSameUpToShift(before, c.FPoints);
    FlipTopToBottom(c);
    FlipTopToBottom(c);
    expectSameUpToShift(before, c.FPoints);
}

TEST_F(ShapeTransform, RotationBookkeeping) {
    EXPECT_EQ(RotateFieldValue(0), 360);
    EXPECT_EQ(RotateFieldValue(360), 360);
    EXPECT_EQ(RotateFieldValue(361), 1);
    EXPECT_EQ(RotateFieldValue(-90), 270);
    EXPECT_EQ(RotationDegrees({10, 350}), -340); // remainder takes the dividend's sign
    EXPECT_EQ(RotationDegrees({350, 10}), 340);

    // Opening and pressing "OK" without touching the angle turns by 0, also the first time.
    c.setPoints(mixedRing());
    const auto before = c.FPoints;
    RotateState state;
    OpenRotateDialog(state);
    ApplyRotation(c, state);
    EXPECT_EQ(state.RotateBase, 360);
    SetRotateAngle(state, 360);
    ApplyRotation(c, state);
    expectSameUpToShift(before, c.FPoints);
    EXPECT_EQ(c.FPoints[0].FPos, before[0].FPos);
}

TEST_F(ShapeTransform, RotationTurnsPointsAndDirections) {
    // A square keeps its bounds' centre (150, 150) when turned; its Bezier corner has no
    // lengths, so only its direction shows the turn.
    std::vector<TMoveBox> ring = square();
    ring[1] = bezier(200, 100, 0.0f, 0.0f, 1.0f, 0.0f);
    c.setPoints(ring);
    TContur once(400, 300);
    once.setPoints(ring);
    RotateShape(c, 45);
    RotateShape(c, 45);
    RotateShape(once, 90);
    EXPECT_NEAR(c.FPoints[1].FRx, 0.0f, 1e-6);
    EXPECT_NEAR(c.FPoints[1].FRy, -1.0f, 1e-6); // counter-clockwise on screen
    EXPECT_EQ(once.FPoints[1].FPos, (TPoint{100, 100}));
    for (std::size_t i = 0; i < ring.size(); ++i) {
        EXPECT_LE(std::abs(c.FPoints[i].FPos.X - once.FPoints[i].FPos.X), 1);
        EXPECT_LE(std::abs(c.FPoints[i].FPos.Y - once.FPoints[i].FPos.Y), 1);
    }
    const TArrayPoint preview = RotatePreview(once, 0, 300, 200);
    ASSERT_EQ(preview.size(), once.outline().size());
    EXPECT_EQ(preview[0], (TPoint{100, 150})); // corner (100, 200) about (150, 150), smoothed
}

TEST(ShapeRotateDial, AnglesFromDialPositions) {
    EXPECT_EQ(DialAngle(100, 50), 1); // the 0.01 keeps the cosine just below 1
    EXPECT_EQ(DialAngle(50, 0), 90);
    EXPECT_EQ(DialAngle(0, 50), 179);
    EXPECT_EQ(DialAngle(50, 99), 270);
    EXPECT_EQ(DialAngle(50, 100), 270);
    EXPECT_EQ(DialAngle(85, 15), 45);
    EXPECT_EQ(DialAngle(50, 50), 90); // the centre has no direction
    EXPECT_EQ(DialNeedleEnd(0), (TPoint{199, 100}));
    EXPECT_EQ(DialNeedleEnd(90), (TPoint{100, 1}));
}

TEST(ShapeScaleDialog, AspectHelpers) {
    ScaleDialogState s{50, 30, 50, 30, 1000, 1000, true, false};
    EXPECT_TRUE(WidthFieldChanged(s, "99"));
    EXPECT_EQ(s.Height, 60); // 100 x 30 div 50
    EXPECT_TRUE(HeightFieldChanged(s, "59"));
    EXPECT_EQ(s.Width, 100);
    EXPECT_FALSE(WidthFieldChanged(s, "9x"));
    EXPECT_FALSE(WidthFieldChanged(s, ""));
    EXPECT_EQ(s.Width, 100);
    s.ResizeUpdating = true;
    EXPECT_FALSE(WidthFieldChanged(s, "10"));
    s.ResizeUpdating = false;
    WidthFieldChanged(s, "5000");
    EXPECT_EQ(s.Width, 1000); // the stepper's range
    WidthFieldChanged(s, "-5");
    EXPECT_EQ(s.Width, 0);

    s.keepAspect = false;
    s.Width = 100;
    s.Height = 30;
    HeightFieldChanged(s, "44");
    EXPECT_EQ(s.Width, 100);
    s.Height = 30;
    s.keepAspect = true;
    AspectBoxClicked(s); // factors 2 and 1 average to 1.5
    EXPECT_EQ(s.Width, 75);
    EXPECT_EQ(s.Height, 45);

    ScaleDialogState flat{50, 0, 50, 0, 1000, 1000, true, false};
    AspectBoxClicked(flat);
    WidthFieldChanged(flat, "80");
    EXPECT_EQ(flat.Height, 0);
    HeightFieldChanged(flat, "10");
    EXPECT_EQ(flat.Width, 80);
}

TEST_F(ShapeTransform, ScaleDialogOpensFromBoundsAndPreviews) {
    ScaleDialogState s = OpenScaleDialog(c, false);
    EXPECT_EQ((std::array{s.w0, s.h0, s.Width, s.Height}), (std::array{100, 100, 100, 100}));
    EXPECT_EQ(s.maxWidth, 1600);
    EXPECT_EQ(s.maxHeight, 1200);
    s.Width = 200;
    const ScalePreview p = ComputeScalePreview(c, s);
    EXPECT_EQ(p.width, 242);
    EXPECT_EQ(p.height, 142);
    ASSERT_EQ(p.polyline.size(), c.outline().size() + 1);
    EXPECT_EQ(p.polyline.front(), p.polyline.back());
    EXPECT_EQ(p.polyline[0], (TPoint{20, 20})); // the corner (100, 100) and its neighbours
    ApplyScaleDialog(c, s);
    EXPECT_EQ(c.FPoints[2].FPos, (TPoint{400, 200}));
}

TEST_F(ShapeTransform, ProportionalScale) {
    c.setPoints(mixedRing());
    EXPECT_TRUE(ScaleProportional(c, 200, 100));
    EXPECT_EQ(c.FPoints[1].FPos, (TPoint{400, 240}));
    EXPECT_EQ(c.FPoints[1].FRightLength, 60.0f);
    EXPECT_EQ(c.FPoints[2].FLeftLength, 30.0f); // Auto points carry no lengths of their own
    const auto before = c.FPoints;
    EXPECT_FALSE(ScaleProportional(c, 200, 0));
    EXPECT_EQ(c.FPoints, before);
}

TEST_F(ShapeTransform, FreeScaleFreezesAutoPoints) {
    c.setPoints({point(250, 150), point(200, 100), point(150, 150), point(200, 210)});
    const TArrayPoint before = c.outline();
    ScaleFree(c, 100, 100, 100, 100);
    for (const TMoveBox& p : c.FPoints)
        EXPECT_EQ(p.FPointType, ptBezier);
    ASSERT_EQ(c.outline().size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_LE(std::abs(c.outline()[i].X - before[i].X), 1) << i;
        EXPECT_LE(std::abs(c.outline()[i].Y - before[i].Y), 1) << i;
    }

    c.setPoints({point(100, 100, ptAngle), bezier(200, 100, 7.0f, 9.0f, 0.0f, 0.0f),
                 bezier(150, 200, 10.0f, 10.0f, 0.6f, 0.8f)});
    ScaleFree(c, 200, 300, 100, 100);
    EXPECT_EQ(c.FPoints[0].FPos, (TPoint{200, 300}));
    EXPECT_EQ(c.FPoints[1].FRx, 0.0f); // no direction to scale: kept as it was
    EXPECT_EQ(c.FPoints[1].FRightLength, 7.0f);
    EXPECT_FLOAT_EQ(c.FPoints[2].FRightLength, static_cast<float>(10 * std::hypot(1.2, 2.4)));
    EXPECT_FLOAT_EQ(c.FPoints[2].FRx, static_cast<float>(1.2 / std::hypot(1.2, 2.4)));

    ScaleFree(c, 100, 999, 50, 0); // no height to scale from: y stays
    EXPECT_EQ(c.FPoints[0].FPos, (TPoint{400, 300}));
}

TEST_F(ShapeTransform, ZoomInAndBack) {
    ZoomState zoom;
    EXPECT_FALSE(ActualSize(c, zoom));
    EXPECT_TRUE(Enlarge(c, zoom));
    EXPECT_FALSE(zoom.FActualSize);
    EXPECT_EQ(c.FMaxX - c.FMinX, 300);
    EXPECT_EQ(c.FMinX + c.FMaxX, 400); // centred
    EXPECT_FALSE(Enlarge(c, zoom));
    EXPECT_TRUE(ActualSize(c, zoom));
    EXPECT_EQ(c.FMaxX - c.FMinX, 100);

    c.setPoints({point(70, 80), point(70, 80)}); // no width: nothing to zoom
    EXPECT_FALSE(Enlarge(c, zoom));
    EXPECT_TRUE(zoom.FActualSize);
    zoom.FActualSize = false;
    EXPECT_TRUE(ActualSize(c, zoom));
    EXPECT_TRUE(zoom.FActualSize);
    EXPECT_EQ(c.FPoints[0].FPos, (TPoint{70, 80}));
}
