#include "shape/scroll_rules.h"

#include "shape_test_points.h"

#include <gtest/gtest.h>

using namespace plakett;

namespace {

ScrollBarState bar(std::int32_t minimum, std::int32_t maximum, std::int32_t position,
                   bool visible) {
    return {minimum, maximum, position, visible};
}

void expectBar(const ScrollBarState& b, std::int32_t minimum, std::int32_t maximum,
               std::int32_t position, bool visible) {
    EXPECT_EQ(b.minimum, minimum);
    EXPECT_EQ(b.maximum, maximum);
    EXPECT_EQ(b.position, position);
    EXPECT_EQ(b.visible, visible);
}

} // namespace

TEST(ScrollRulesDerive, ShapeWellInsideHidesTheBar) {
    expectBar(deriveScrollBar(10, 90, 100, bar(-2, 40, 7, true)), 0, 40, 0, false);
    expectBar(deriveScrollBar(10, 90, 100, ScrollBarState{}), 0, 100, 0, false);
    // Near an edge but not past it: a visible bar stays, a hidden one stays hidden.
    expectBar(deriveScrollBar(2, 50, 100, bar(0, 100, 0, true)), -2, 100, 1, true);
    expectBar(deriveScrollBar(5, 97, 100, bar(0, 100, 0, true)), 0, 100, 0, false);
    expectBar(deriveScrollBar(5, 98, 100, bar(0, 100, 0, true)), 0, 4, 0, true);
    expectBar(deriveScrollBar(0, 100, 100, ScrollBarState{}), -2, 9, 3, false);
}

TEST(ScrollRulesDerive, ShapePastTheFarEdge) {
    // m = 0 + 120 - 100 + 3 = 23; the maximum takes m + 3 unless it already is m + 3.
    const ScrollBarState first = deriveScrollBar(10, 120, 100, ScrollBarState{});
    expectBar(first, 0, 26, 0, true);
    expectBar(deriveScrollBar(10, 120, 100, first), 0, 23, 0, true);
    expectBar(deriveScrollBar(10, 120, 100, bar(0, 23, 0, true)), 0, 26, 0, true);
    // Just past the inner margin: bottom 99 > 97 gives m = 2, the bar still hidden.
    expectBar(deriveScrollBar(10, 99, 100, ScrollBarState{}), 0, 5, 0, false);
}

TEST(ScrollRulesDerive, ShapePastTheNearEdge) {
    // top <= 2: offset |top - 3| and minimum -2.
    EXPECT_EQ(scrollOffset(3), 0);
    EXPECT_EQ(scrollOffset(2), 1);
    EXPECT_EQ(scrollOffset(-20), 23);
    expectBar(deriveScrollBar(-20, 50, 100, ScrollBarState{}), -2, 100, 23, true);
    // Past both edges: m = 13 + 150 - 100 + 3 = 66.
    expectBar(deriveScrollBar(-10, 150, 100, ScrollBarState{}), -2, 69, 13, true);
    // The maximum is raised to the offset, so that the bar can stand where the shape is.
    expectBar(deriveScrollBar(-200, 50, 100, ScrollBarState{}), -2, 203, 203, true);
}

TEST(ScrollRulesMove, ShiftsFollowTheBar) {
    EXPECT_EQ(horizontalScrollShift(10, 7), 7);
    EXPECT_EQ(horizontalScrollShift(3, 7), 7);
    EXPECT_EQ(horizontalScrollShift(2, 7), 6); // left <= 2: position + left - 3
    EXPECT_EQ(horizontalScrollShift(-20, 23), 0);
    EXPECT_EQ(horizontalScrollShift(-20, 13), -10);
    EXPECT_EQ(verticalScrollMove(23, 13), 10);
    EXPECT_EQ(verticalScrollMove(0, 15), -15);
}

TEST(ScrollRulesMove, ScrollingMovesEveryPointAndRederivesTheBar) {
    TContur c(200, 100);
    c.setPoints({point(-30, 10, ptAngle), point(150, 10, ptAngle), point(150, 80, ptAngle),
                 point(-30, 80, ptAngle)});
    c.Changed();
    ASSERT_EQ(c.FMinX, -30);
    const ScrollBarState h = deriveScrollBar(c.FMinX, c.FMaxX, c.width(), ScrollBarState{});
    ASSERT_EQ(h.position, 33);
    // Moving the bar 10 back shows 10 more on the left: the points move right by 10 and the
    // bar derived afterwards stands where it was moved to.
    const std::int32_t shift = horizontalScrollShift(c.FMinX, 23);
    scrollShape(c, -shift, 0);
    EXPECT_EQ(c.FPoints[0].FPos, (TPoint{-20, 10}));
    EXPECT_EQ(c.FPoints[2].FPos, (TPoint{160, 80}));
    EXPECT_EQ(c.FMinX, -20);
    EXPECT_EQ(deriveScrollBar(c.FMinX, c.FMaxX, c.width(), h).position, 23);

    scrollShape(c, 0, verticalScrollMove(0, 5));
    EXPECT_EQ(c.FPoints[1].FPos, (TPoint{160, 5}));
    EXPECT_EQ(c.FMinY, 5);
}
