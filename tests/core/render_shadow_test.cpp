#include "render/render_pipeline.h"
#include "render/shadow.h"

#include <gtest/gtest.h>

using namespace plakett;

namespace {

constexpr Bgr24 kWhite{255, 255, 255};

Bgr24 grey(int v) {
    const auto b = static_cast<std::uint8_t>(v);
    return Bgr24{b, b, b};
}

} // namespace

TEST(RenderShadow, OffsetsFollowAngleAndHeight) {
    auto offset = [](int angle, int height) {
        const ShadowOffset o = ShadowOffsetFor(angle, height);
        return std::pair{o.dx, o.dy};
    };
    EXPECT_EQ(offset(315, 4), std::pair(3, 3));
    EXPECT_EQ(offset(0, 4), std::pair(4, 0));
    EXPECT_EQ(offset(90, 4), std::pair(0, -4));
    EXPECT_EQ(offset(180, 16), std::pair(-16, 0));
    EXPECT_EQ(offset(315, 1), std::pair(1, 1)); // 0.707 rounds up
    EXPECT_EQ(offset(30, 1), std::pair(1, 0));  // -0.5 rounds to even
    EXPECT_EQ(offset(123, 0), std::pair(0, 0));
}

TEST(RenderShadow, BorderClearingCoversTheFivePixelPenLines) {
    Gray8Image mask(10, 10, 255);
    ClearShadowBorder(mask);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            // Rows 0..2 and 6..9 (the bottom edge and the line at row 8), columns 0..2, 7..9.
            const bool kept = y >= 3 && y <= 5 && x >= 3 && x <= 6;
            EXPECT_EQ(mask.at(x, y), kept ? 255 : 0) << x << "," << y;
        }
    }
}

TEST(RenderShadow, BlurPassWritesOnlyItsRowsAndColumns) {
    Gray8Image mask(5, 5, 0);
    mask.at(2, 2) = 160;
    Gray8Image target(5, 5, 7);
    BlurShadowPass(mask, target);
    EXPECT_EQ(target.at(2, 2), 40); // 4 * 160 >> 4
    EXPECT_EQ(target.at(1, 2), 20); // 2 * 160 >> 4
    EXPECT_EQ(target.at(2, 1), 20);
    EXPECT_EQ(target.at(1, 1), 10);
    EXPECT_EQ(target.at(3, 1), 10);
    // Rows 1..H-3 and columns 1..W-2 only: row 3 and the outer ring keep their value.
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(target.at(x, 0), 7);
        EXPECT_EQ(target.at(x, 3), 7);
        EXPECT_EQ(target.at(x, 4), 7);
    }
    EXPECT_EQ(target.at(0, 2), 7);
    EXPECT_EQ(target.at(4, 2), 7);
}

TEST(RenderShadow, MaskIsCoverageTimes51BlurredAtLeastOnce) {
    Gray8Image coverage(1, 1, 4);
    const Gray8Image once = BuildShadowMask(coverage, 0);
    ASSERT_EQ(once.width(), 55);
    ASSERT_EQ(once.height(), 55);
    EXPECT_EQ(once.at(26, 26), 51); // 204 * 4 >> 4
    EXPECT_EQ(once.at(25, 26), 25);
    EXPECT_EQ(once.at(27, 27), 12);
    EXPECT_EQ(once.at(24, 26), 0);

    const Gray8Image twice = BuildShadowMask(coverage, 1);
    EXPECT_EQ(twice.at(26, 26), 28); // (4 * 51 + 2 * 4 * 25 + 4 * 12) >> 4

    // Spreading stops at the cleared border, and the blur setting is capped at 50.
    Gray8Image wide(40, 40, 4);
    const Gray8Image most = BuildShadowMask(wide, 50);
    EXPECT_EQ(most, BuildShadowMask(wide, 90));
    for (int y = 0; y < most.height(); ++y) {
        EXPECT_EQ(most.at(2, y), 0);
        EXPECT_EQ(most.at(most.width() - 3, y), 0);
    }
    EXPECT_EQ(most.at(30, most.height() - 4), 0);
    EXPECT_GT(most.at(21, 46), 0); // five pixels left of the shape
}

TEST(RenderShadow, ComposePlacesTheButtonByCoverageOverTheShadow) {
    // Coverage 4 x 1 with k = 4, 3, 2, 1; the mask full under the button.
    Gray8Image coverage(4, 1);
    for (int x = 0; x < 4; ++x)
        coverage.at(x, 0) = static_cast<Gray8>(4 - x);
    Gray8Image mask(58, 55, 0);
    for (int x = 26; x < 30; ++x)
        mask.at(x, 26) = 255;
    const Bgr24Image button(4, 1, grey(20));
    const Bgr24 shadow = grey(100); // 255 in the mask gives (100 * 255) >> 8 = 99

    const Bgr24Image out = ComposeWithShadow(button, coverage, mask, {0, 0}, kWhite, shadow);
    ASSERT_EQ(out.width(), 57);
    ASSERT_EQ(out.height(), 54);
    EXPECT_EQ(out.at(26, 26), grey(20));                 // k = 4
    EXPECT_EQ(out.at(27, 26), grey((99 + 20) >> 1));     // k = 3
    EXPECT_EQ(out.at(28, 26), grey((3 * 99 + 20) >> 2)); // k = 2
    EXPECT_EQ(out.at(29, 26), grey(99));                 // k = 1
    // Row 0 and columns 0..1 are the background itself; elsewhere mask 0 gives 254.
    EXPECT_EQ(out.at(5, 0), kWhite);
    EXPECT_EQ(out.at(1, 5), kWhite);
    EXPECT_EQ(out.at(2, 5), grey(254));
    EXPECT_EQ(out.at(56, 53), grey(254));

    // Offset (3, 3): the button moves up-left; where no shadow lies even k = 1 shows.
    const Bgr24Image moved = ComposeWithShadow(button, coverage, mask, {3, 3}, kWhite, shadow);
    EXPECT_EQ(moved.at(23, 23), grey(20));
    EXPECT_EQ(moved.at(26, 23), grey(20)); // k = 1 over near-background 254
    EXPECT_EQ(moved.at(26, 26), grey(99));

    EXPECT_THROW(ComposeWithShadow(button, coverage, Gray8Image(57, 55), {0, 0}, kWhite, shadow),
                 std::invalid_argument);
}

TEST(RenderShadow, SnapMakesNearBackgroundExact) {
    const Bgr24 back{100, 150, 200};
    Bgr24Image image(4, 1);
    image.at(0, 0) = Bgr24{98, 152, 201};
    image.at(1, 0) = Bgr24{97, 150, 200};
    image.at(2, 0) = Bgr24{100, 150, 203};
    image.at(3, 0) = back;
    SnapToBackground(image, back);
    EXPECT_EQ(image.at(0, 0), back);
    EXPECT_EQ(image.at(1, 0), (Bgr24{97, 150, 200}));
    EXPECT_EQ(image.at(2, 0), (Bgr24{100, 150, 203}));
    EXPECT_EQ(image.at(3, 0), back);
}
