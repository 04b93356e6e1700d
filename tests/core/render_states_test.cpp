#include "render/render_pipeline.h"
#include "render/shading.h"
#include "render_fake_rasterizer.h"

#include <gtest/gtest.h>

#include <functional>

using namespace plakett;
using plakett::testing::FakeRasterizer;

namespace {

constexpr Bgr24 kWhite{255, 255, 255};

// A field whose inside cells all look up light-map cell (0, 0); the coverage counts the
// inside cells of each 2 x 2 block, as the field computation does.
ShapeField makeField(int columns, int rows, const std::function<bool(int, int)>& inside) {
    ShapeField field;
    field.map = Matrix(columns, rows, kOutsideCell);
    field.coverage.reset((columns - 1) / 2 + 1, (rows - 1) / 2 + 1);
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            if (!inside(x, y)) continue;
            field.map.at(x, y) = {0, 0};
            ++field.coverage.at(x / 2, y / 2);
        }
    }
    return field;
}

ShapeField fullField(int columns, int rows) {
    return makeField(columns, rows, [](int, int) { return true; });
}

Bgr24Image lightMapOf(Bgr24 colour) {
    return Bgr24Image(kLightMapSize, kLightMapSize, colour);
}

RenderSettings plainSettings() {
    RenderSettings s;
    s.glyph.useGlyph = false;
    s.shadow.enabled = false;
    return s;
}

} // namespace

TEST(RenderStates, ThreeImagesOfTheStateSizeOrNoneWithoutAField) {
    const ShapeField field = makeField(9, 7, [](int x, int y) { return x + y < 9; });
    const Gray8Image mask = BuildShadowMask(field.coverage, 5);
    const Bgr24Image light = lightMapOf({10, 20, 30});
    const StateImages images = RenderStates(field, mask, light, RenderSettings{}, nullptr);
    for (const Bgr24Image& image : images) {
        EXPECT_EQ(image.width(), 5 + 53);
        EXPECT_EQ(image.height(), 4 + 53);
    }

    auto isEmpty = [](const StateImages& states) {
        return states[0].empty() && states[1].empty() && states[2].empty();
    };
    const ShapeField nothing = makeField(9, 7, [](int, int) { return false; });
    EXPECT_TRUE(isEmpty(RenderStates(nothing, mask, light, RenderSettings{}, nullptr)));
    EXPECT_TRUE(isEmpty(RenderStates(field, mask, Bgr24Image(), RenderSettings{}, nullptr)));
    ShapeField cancelled = field;
    cancelled.cancelled = true;
    EXPECT_TRUE(isEmpty(RenderStates(cancelled, mask, light, RenderSettings{}, nullptr)));
    EXPECT_THROW(RenderStates(field, Gray8Image(58, 58), light, RenderSettings{}, nullptr),
                 std::invalid_argument);
}

TEST(RenderStates, CaptionlessButtonIsTheShadingThroughTheHalfSizePass) {
    const ShapeField field = fullField(8, 6); // 4 x 3 pixels, all of coverage 4
    const Gray8Image mask = BuildShadowMask(field.coverage, 5);
    RenderSettings settings = plainSettings();
    const StateImages images =
        RenderStates(field, mask, lightMapOf({50, 100, 200}), settings, nullptr);
    // Opacity 180 with nothing drawn: (c * 255) >> 8. The disabled shadow is painted in the
    // background colour and snapped back to it. Offsets: 315 degrees, heights 4, 4, 1.
    const int shift[kStateCount] = {3, 3, 1};
    for (int s = 0; s < kStateCount; ++s) {
        Bgr24Image expected(57, 56, kWhite);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                expected.at(26 - shift[s] + x, 26 - shift[s] + y) = Bgr24{49, 99, 199};
        EXPECT_EQ(images[s], expected) << "state " << s;
    }

    settings.text.opacity = 0;
    const StateImages clear =
        RenderStates(field, mask, lightMapOf({50, 100, 200}), settings, nullptr);
    EXPECT_EQ(clear[0].at(23, 23), (Bgr24{50, 100, 200}));
}

TEST(RenderStates, StatesDifferInCaptionColourAndShadowHeightOnly) {
    const ShapeField field = makeField(
        21, 17, [](int x, int y) { return (x - 10) * (x - 10) + (y - 8) * (y - 8) < 64; });
    const Gray8Image mask = BuildShadowMask(field.coverage, 5);
    const Bgr24Image light = lightMapOf({90, 160, 40});
    RenderSettings settings;
    settings.glyph.useGlyph = false;
    EXPECT_EQ(RenderStates(field, mask, light, settings, nullptr)[0],
              RenderStates(field, mask, light, settings, nullptr)[1]);

    FakeRasterizer fake;
    fake.extent = {0, 0};
    fake.shape.coverage.reset(2, 2, 255);
    settings.text.caption = std::string("A");
    settings.text.opacity = 0;
    settings.text.colors = {0x0000FF, 0x00FF00, 0xFF0000};
    const StateImages images = RenderStates(field, mask, light, settings, &fake);
    // The caption's one full pixel sits at the centre (5, 4), moved by the shadow offset.
    EXPECT_EQ(images[0].at(26 - 3 + 5, 26 - 3 + 4), (Bgr24{0, 0, 255}));
    EXPECT_EQ(images[1].at(26 - 3 + 5, 26 - 3 + 4), (Bgr24{0, 255, 0}));
    EXPECT_EQ(images[2].at(26 - 1 + 5, 26 - 1 + 4), (Bgr24{255, 0, 0}));
    EXPECT_EQ(images[0].at(26 - 3 + 4, 26 - 3 + 4), images[1].at(26 - 3 + 4, 26 - 3 + 4));
}

TEST(RenderStates, OffsetsAreClampedToHalfTheField) {
    RenderSettings settings;
    settings.text.x = 10;
    settings.text.y = -7;
    settings.glyph.x = -5;
    settings.glyph.y = 1;
    ClampOffsetsToField(settings, Gray8Image(9, 5));
    EXPECT_EQ(settings.text.x, 4);
    EXPECT_EQ(settings.text.y, -2);
    EXPECT_EQ(settings.glyph.x, -4);
    EXPECT_EQ(settings.glyph.y, 1);
}
