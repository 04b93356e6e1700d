#include "render/half_size_blend.h"

#include <gtest/gtest.h>

#include <random>

using namespace plakett;

namespace {

constexpr ColorRef kKey = 0x700211; // red 0x11, green 0x02, blue 0x70
const Bgr24 kKeyPixel = bgrFromColorRef(kKey);

Bgr24 grey(int v) {
    const auto b = static_cast<std::uint8_t>(v);
    return Bgr24{b, b, b};
}

Argb32 argb(int a, Bgr24 c) {
    return (static_cast<Argb32>(a) << 24) | xrgbFromBgr(c);
}

} // namespace

TEST(RenderHalfSize, AveragesBlocksAndLetsTheKeyShowTheCanvas) {
    Bgr24Image canvas(2, 1, grey(200));
    canvas.at(1, 0) = Bgr24{1, 2, 3};
    Bgr24Image source(4, 2, kKeyPixel);
    HalfSizeBlend(0, 0, canvas, source, kKey, 0);
    EXPECT_EQ(canvas.at(0, 0), grey(200));
    EXPECT_EQ(canvas.at(1, 0), (Bgr24{1, 2, 3}));

    // Two key pixels take the canvas colour into the mean: (200 + 200 + 10 + 41) >> 2.
    source.at(0, 0) = grey(10);
    source.at(1, 1) = grey(41);
    // Three distinct values on one channel: (7 + 8 + 9 + 3) >> 2.
    source.at(2, 0) = Bgr24{7, 0, 0};
    source.at(3, 0) = Bgr24{8, 0, 0};
    source.at(2, 1) = Bgr24{9, 0, 0};
    HalfSizeBlend(0, 0, canvas, source, kKey, 0);
    EXPECT_EQ(canvas.at(0, 0), grey(112));
    EXPECT_EQ(canvas.at(1, 0).b, 6);
}

TEST(RenderHalfSize, BlendLevelMixesTheCanvasBackIn) {
    // Level 255 over white: (mean * 0 + 255 * 255) >> 8.
    Bgr24Image canvas(1, 1, grey(255));
    HalfSizeBlend(0, 0, canvas, Bgr24Image(2, 2, grey(0)), kKey, 255);
    EXPECT_EQ(canvas.at(0, 0), grey(254));
    // Level 100: (40 * 155 + 200 * 100) >> 8.
    canvas.at(0, 0) = grey(200);
    HalfSizeBlend(0, 0, canvas, Bgr24Image(2, 2, grey(40)), kKey, 100);
    EXPECT_EQ(canvas.at(0, 0), grey(102));
    // No level and extreme values never leave the byte range.
    for (int level : {0, 1, 128, 255}) {
        canvas.at(0, 0) = grey(255);
        HalfSizeBlend(0, 0, canvas, Bgr24Image(2, 2, grey(255)), kKey, level);
        EXPECT_EQ(canvas.at(0, 0), grey(level == 0 ? 255 : 254));
    }
}

TEST(RenderHalfSize, PlacesTheWorkPictureAndDropsWhatFallsOutside) {
    Bgr24Image canvas(2, 2, grey(9));
    Bgr24Image source(5, 5, grey(100)); // the odd last row and column are never read
    HalfSizeBlend(1, 1, canvas, source, kKey, 0);
    EXPECT_EQ(canvas.at(0, 0), grey(9));
    EXPECT_EQ(canvas.at(1, 0), grey(9));
    EXPECT_EQ(canvas.at(1, 1), grey(100));
    canvas.fill(grey(9));
    source.at(2, 2) = grey(0);
    HalfSizeBlend(-1, -1, canvas, source, kKey, 0);
    EXPECT_EQ(canvas.at(0, 0), grey(75)); // source block (2, 2)
    EXPECT_EQ(canvas.at(1, 1), grey(9));  // beyond the work picture
}

TEST(RenderHalfSize, EmptyCoverageLayerStillRunsTheBlend) {
    Bgr24Image canvas(3, 1);
    canvas.at(0, 0) = Bgr24{255, 100, 0};
    canvas.at(1, 0) = grey(1);
    canvas.at(2, 0) = grey(128);
    Bgr24Image unchanged = canvas;
    HalfSizeBlendCoverage(canvas, CoverageLayer{}, 180);
    EXPECT_EQ(canvas.at(0, 0), (Bgr24{254, 99, 0}));
    EXPECT_EQ(canvas.at(1, 0), grey(0));
    EXPECT_EQ(canvas.at(2, 0), grey(127));
    HalfSizeBlendCoverage(unchanged, CoverageLayer{}, 0);
    EXPECT_EQ(unchanged.at(0, 0), (Bgr24{255, 100, 0}));
}

TEST(RenderHalfSize, CoverageAlphaZeroIsTheKeyAndFullAlphaTheColour) {
    Bgr24Image canvas(2, 2, grey(200));
    CoverageLayer layer;
    layer.left = 1; // an odd offset splits canvas pixel 0's block
    layer.top = 0;
    layer.pixels.reset(3, 2, argb(255, Bgr24{0, 0, 0}));
    layer.pixels.at(2, 0) = argb(0, Bgr24{0, 0, 0});
    layer.pixels.at(2, 1) = argb(128, grey(255));
    HalfSizeBlendCoverage(canvas, layer, 0);
    EXPECT_EQ(canvas.at(0, 0), grey(100)); // two canvas, two black
    // Black, black, canvas (alpha 0), (255 * 128 + 200 * 127 + 127) / 255 = 228.
    EXPECT_EQ(canvas.at(1, 0), grey((0 + 0 + 200 + 228) >> 2));
    EXPECT_EQ(canvas.at(0, 1), grey(200)); // below the layer
}

TEST(RenderHalfSize, BinaryCoverageMatchesTheKeyColourBlend) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    const int w = 9, h = 7;
    Bgr24Image canvas(w, h);
    for (Bgr24& p : canvas.pixels())
        p = Bgr24{static_cast<std::uint8_t>(byte(rng)), 3, 250};
    Bgr24Image keyed(2 * w, 2 * h, kKeyPixel);
    CoverageLayer layer;
    layer.pixels.reset(2 * w, 2 * h, 0);
    for (int y = 0; y < 2 * h; ++y) {
        for (int x = 0; x < 2 * w; ++x) {
            if (byte(rng) < 128) continue;
            const Bgr24 c{static_cast<std::uint8_t>(byte(rng)), 77,
                          static_cast<std::uint8_t>(byte(rng))};
            keyed.at(x, y) = c;
            layer.pixels.at(x, y) = argb(255, c);
        }
    }
    for (int level : {0, 180, 255}) {
        Bgr24Image a = canvas;
        Bgr24Image b = canvas;
        HalfSizeBlend(0, 0, a, keyed, kKey, level);
        HalfSizeBlendCoverage(b, layer, level);
        EXPECT_EQ(a, b) << "level " << level;
    }
}
