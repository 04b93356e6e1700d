#include "render/transparent_states.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace plakett;

namespace {

// What a picture of colour c at alpha a looks like over background bg, rounded.
int over(int c, int a, int bg) {
    return static_cast<int>(std::lround((c * a + bg * (255.0 - a)) / 255.0));
}

Bgr24 seenOver(Bgr24 c, int a, ColorRef bg) {
    return Bgr24{static_cast<std::uint8_t>(over(c.b, a, blueOf(bg))),
                 static_cast<std::uint8_t>(over(c.g, a, greenOf(bg))),
                 static_cast<std::uint8_t>(over(c.r, a, redOf(bg)))};
}

} // namespace

TEST(TransparentStates, ContrastingBackgroundIsFarInEveryChannel) {
    EXPECT_EQ(contrastingBackground(0xFFFFFF), 0x000000u);
    EXPECT_EQ(contrastingBackground(0x000000), 0xFFFFFFu);
    EXPECT_EQ(contrastingBackground(makeColorRef(127, 128, 200)), makeColorRef(255, 0, 0));
}

TEST(TransparentStates, MatteRecoversAlphaAndReproducesTheFirstRender) {
    const ColorRef first = makeColorRef(255, 255, 255);
    const ColorRef second = contrastingBackground(first);
    const Bgr24 colours[] = {{0, 0, 0}, {40, 90, 200}, {255, 255, 255}, {10, 250, 128}};
    const int alphas[] = {0, 1, 51, 128, 204, 254, 255};
    Bgr24Image a(4, 7), b(4, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 4; ++x) {
            a.at(x, y) = seenOver(colours[x], alphas[y], first);
            b.at(x, y) = seenOver(colours[x], alphas[y], second);
        }
    const Rgba8Image m = matteFromTwoBackgrounds(a, b, first, second);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 4; ++x) {
            const Rgba8 p = m.at(x, y);
            EXPECT_NEAR(p.a, alphas[y], 3) << x << "," << y;
            const Bgr24 back = seenOver(Bgr24{p.b, p.g, p.r}, p.a, first);
            EXPECT_LE(std::abs(back.r - a.at(x, y).r), 1);
            EXPECT_LE(std::abs(back.g - a.at(x, y).g), 1);
            EXPECT_LE(std::abs(back.b - a.at(x, y).b), 1);
        }
    // Pixels that are plain background in both renders are fully transparent.
    EXPECT_EQ(m.at(0, 0).a, 0);
}

TEST(TransparentStates, NonLinearPixelsFallBackToOpaque) {
    // A pixel that does not change with the background at all is opaque, whatever it is.
    Bgr24Image a(1, 1, Bgr24{255, 255, 255}), b(1, 1, Bgr24{255, 255, 255});
    const Rgba8Image m = matteFromTwoBackgrounds(a, b, 0x000000, 0xFFFFFF);
    EXPECT_EQ(m.at(0, 0), (Rgba8{255, 255, 255, 255}));
    EXPECT_THROW(matteFromTwoBackgrounds(Bgr24Image(1, 1), Bgr24Image(2, 1), 0, 0xFFFFFF),
                 std::invalid_argument);
}
