#include "common/arith.h"
#include "effects/light_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace plakett;

namespace {

// Straightforward light map, step by step as the editor always built it.
Bgr24Image slowLightMap(const TGradientBox& set) {
    Bgr24Image map(256, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            std::int32_t r = redOf(set.FButtonColor);
            std::int32_t g = greenOf(set.FButtonColor);
            std::int32_t b = blueOf(set.FButtonColor);
            for (int j = 0; j < 4; ++j) {
                const TLightRec& l = set.FLights[j];
                if (j != 0 && l.Enabled == 0) continue;
                const std::int64_t rad = l.MapRadius;
                if (y < l.MapY - rad || y > l.MapY + rad || x < l.MapX - rad || x > l.MapX + rad)
                    continue;
                const std::int64_t r2 = rad * rad;
                const float rf = static_cast<float>(std::sqrt(static_cast<double>(r2)));
                const std::int64_t d2 = std::int64_t{l.MapX - x} * (l.MapX - x) +
                                        std::int64_t{l.MapY - y} * (l.MapY - y);
                if (!(d2 < r2)) continue;
                const int h = roundEven(std::sqrt(static_cast<double>(d2)) /
                                        (static_cast<double>(rf) + 3.0) * 256.0);
                const std::int32_t m = 256 - h;
                r += m * l.AddRed / 256;
                g += m * l.AddGreen / 256;
                b += m * l.AddBlue / 256;
            }
            map.at(x, y) = SaturatePixel(r, g, b);
        }
    }
    return map;
}

TGradientBox oneLight(int mapX, int mapY, int radius, int addRed, ColorRef button = 0) {
    TGradientBox set;
    set.FButtonColor = button;
    set.FLights[0].MapX = mapX;
    set.FLights[0].MapY = mapY;
    set.FLights[0].MapRadius = radius;
    set.FLights[0].AddRed = addRed;
    set.FLights[0].AddGreen = 0;
    set.FLights[0].AddBlue = 0;
    for (int j = 1; j < 4; ++j)
        set.FLights[j].MapRadius = 0;
    return set;
}

} // namespace

TEST(LightAmounts, WorkedCases) {
    // White at power 100: 76800 div 511 = 150, (150 * 255) shr 8 = 149.
    EXPECT_EQ(ComputeLightAmounts(100, 0xFFFFFF), (LightAmounts{149, 149, 149}));
    // The editor's default light: 38400 div 511 = 75 -> 74.
    EXPECT_EQ(ComputeLightAmounts(50, 0xFFFFFF), (LightAmounts{74, 74, 74}));
    // Green 0xF0 AND blue 0x0F is 0, so the divisor is 1 (a sum would give 256).
    EXPECT_EQ(ComputeLightAmounts(1, makeColorRef(0, 0xF0, 0x0F)), (LightAmounts{0, 720, 45}));
    // Pure red 200 at power 10: 7680 div 201 = 38, (38 * 200) shr 8 = 29.
    EXPECT_EQ(ComputeLightAmounts(10, makeColorRef(200, 0, 0)), (LightAmounts{29, 0, 0}));
    EXPECT_EQ(ComputeLightAmounts(0, 0xFFFFFF), (LightAmounts{0, 0, 0}));
    // A negative power from a damaged file: scale -15, -3825 shifted logically.
    EXPECT_EQ(ComputeLightAmounts(-5, makeColorRef(255, 0, 0)).AddRed, 0x00FFFFF1);
}

TEST(LightMapSaturation, Cases) {
    EXPECT_EQ(SaturatePixel(300, 100, 100), (Bgr24{122, 122, 255}));
    EXPECT_EQ(SaturatePixel(256, 256, 256), (Bgr24{255, 255, 255})); // sum 768
    EXPECT_EQ(SaturatePixel(-10, 5, 2), (Bgr24{0, 0, 0}));           // sum < 0
    // Repeated passes: 383, 383, 0 settles only after several rounds.
    EXPECT_EQ(SaturatePixel(383, 383, 0), (Bgr24{254, 255, 255}));
    EXPECT_EQ(SaturatePixel(10, 20, 30), (Bgr24{30, 20, 10}));

    std::int32_t c = 300, o1 = 1, o2 = 2;
    SaturateRGB(c, o1, o2);
    EXPECT_EQ(c, 255);
    EXPECT_EQ(o1, 23);
    EXPECT_EQ(o2, 24);
}

TEST(LightMapCells, RadiusFalloffAndRounding) {
    const Bgr24Image map = RenderLightMap(oneLight(128, 128, 10, 100));
    EXPECT_EQ(map.width(), 256);
    EXPECT_EQ(map.height(), 256);
    EXPECT_EQ(map.at(128, 128).r, 100); // m = 256
    // d2 = 81: h = Round(9 / 13 * 256) = 177, m = 79, 7900 div 256 = 30.
    EXPECT_EQ(map.at(137, 128).r, 30);
    EXPECT_EQ(map.at(128, 119).r, 30);
    // Exactly at the radius: strict test, nothing added.
    EXPECT_EQ(map.at(138, 128).r, 0);
    EXPECT_EQ(map.at(128, 118).r, 0);
    EXPECT_EQ(map.at(0, 0), (Bgr24{0, 0, 0}));

    // rf + 3 = 512 puts h exactly on halves: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2 (half to even).
    const Bgr24Image halves = RenderLightMap(oneLight(0, 0, 509, 200));
    EXPECT_EQ(halves.at(1, 0).r, 200); // m 256
    EXPECT_EQ(halves.at(3, 0).r, 198); // m 254
    EXPECT_EQ(halves.at(5, 0).r, 198); // m 254, not 253

    // Negative amounts subtract, each quotient truncated toward zero: -7900 div 256 = -30.
    const Bgr24Image dark = RenderLightMap(oneLight(128, 128, 10, -100, makeColorRef(200, 0, 0)));
    EXPECT_EQ(dark.at(128, 128).r, 100);
    EXPECT_EQ(dark.at(137, 128).r, 170);

    EXPECT_EQ(RenderLightMap(oneLight(128, 128, 0, 100)).at(128, 128).r, 0);
    EXPECT_EQ(RenderLightMap(oneLight(128, 128, -20, 100)).at(128, 128).r, 0);
}

TEST(LightMapCells, WhichLightsShine) {
    TGradientBox set = oneLight(64, 64, 30, 50);
    set.FLights[0].Enabled = 0; // light 1 shines regardless
    set.FLights[1].MapX = 192;
    set.FLights[1].MapY = 192;
    set.FLights[1].MapRadius = 30;
    set.FLights[1].AddBlue = 80;
    set.FLights[1].Enabled = 0;
    Bgr24Image map = RenderLightMap(set);
    EXPECT_EQ(map.at(64, 64).r, 50);
    EXPECT_EQ(map.at(192, 192).b, 0);
    set.FLights[1].Enabled = 7;
    map = RenderLightMap(set);
    EXPECT_EQ(map.at(192, 192).b, 80);

    // A light button colour under a strong light reaches white once the sum is 768.
    TGradientBox bright = oneLight(128, 128, 100, 149, makeColorRef(250, 250, 250));
    bright.FLights[0].AddGreen = 149;
    bright.FLights[0].AddBlue = 149;
    map = RenderLightMap(bright);
    EXPECT_EQ(map.at(128, 128), (Bgr24{255, 255, 255}));
}

TEST(LightMapCells, FastBuildMatchesStepByStep) {
    std::mt19937 rng(1234);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 25; ++round) {
        TGradientBox set;
        set.FButtonColor = static_cast<ColorRef>(pick(0, 0xFFFFFF));
        for (TLightRec& l : set.FLights) {
            l.MapX = pick(-60, 320);
            l.MapY = pick(-60, 320);
            l.MapRadius = pick(-5, 300);
            l.AddRed = pick(-200, 300);
            l.AddGreen = pick(-50, 300);
            l.AddBlue = pick(0, 300);
            l.Enabled = static_cast<std::uint8_t>(pick(0, 2));
        }
        ASSERT_EQ(RenderLightMap(set), slowLightMap(set)) << "round " << round;
    }
    // A far light with a huge radius takes the formula path instead of a table.
    TGradientBox far = oneLight(100000, 128, 99950, 120);
    EXPECT_EQ(RenderLightMap(far), slowLightMap(far));
}

TEST(LightPreview, RampHemisphereAndSphere) {
    // d = (i * 0x6000) div 9 loses a third, so only multiples of 3 come out as i itself.
    const ColorRamp grey = BuildColorRamp(3, 3, 3);
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i % 3 == 0 ? i : i - 1);
        ASSERT_EQ(grey[i], (Bgr24{v, v, v})) << i;
    }
    const ColorRamp red = BuildColorRamp(1, 0, 0);
    EXPECT_EQ(red[85], (Bgr24{0, 0, 255}));      // e = 255 exactly
    EXPECT_EQ(red[86], (Bgr24{1, 1, 255}));      // e = 258: 3 over, 1 each to the others
    EXPECT_EQ(red[200], (Bgr24{172, 172, 255})); // e = 600
    EXPECT_EQ(red[255], (Bgr24{255, 255, 255})); // e = 765

    const HemisphereTableData& t = HemisphereTable();
    auto cell = [&t](int x, int y) { return t[y * 128 + x]; };
    EXPECT_EQ(cell(63, 63), 63);
    EXPECT_EQ(cell(64, 64), 63);
    EXPECT_EQ(cell(0, 0), 255);
    EXPECT_EQ(cell(63, 0), 0);
    EXPECT_EQ(cell(0, 63), 0);
    EXPECT_EQ(cell(127, 127), 255);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            ASSERT_EQ(cell(x, y), cell(127 - x, 127 - y));

    // Light straight above the centre: the four centre pixels all get v = 70 + 78, which
    // the ramp shows as 147.
    const Bgr24Image sphere = RenderLightPreview(63, 63, 200, 80, 70, grey, t);
    EXPECT_EQ(sphere.width(), 64);
    EXPECT_EQ(sphere.height(), 63);
    EXPECT_EQ(sphere.at(31, 31), (Bgr24{147, 147, 147}));
    EXPECT_EQ(sphere.at(0, 0), (Bgr24{0, 0, 0}));
    // The product wraps as an unsigned 32-bit value: k = 1042 leaves only the ambient 70.
    EXPECT_EQ(RenderLightPreview(63, 63, 200, 1042, 70, grey, t).at(31, 31), (Bgr24{69, 69, 69}));
}
