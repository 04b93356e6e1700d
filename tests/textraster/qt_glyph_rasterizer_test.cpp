#include "textraster/qt_glyph_rasterizer.h"
#include "web/image_upscale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

using namespace plakett;

namespace {

// A block whose left edge falls between pixels at 1x (x = 6.25) and at 2x (12.5).
const char* const kBlock = "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='10'>"
                           "<rect x='6.25' y='0' width='20' height='10' fill='currentColor'/>"
                           "</svg>";

// The glyph black on white, as it shows on a button at full opacity.
Bgr24Image onWhite(const Rgba8Image& glyph) {
    Bgr24Image out(glyph.width(), glyph.height(), Bgr24{255, 255, 255});
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x) {
            const int v = 255 - glyph.at(x, y).a;
            out.at(x, y) = Bgr24{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)};
        }
    return out;
}

// Pixels of a row neither white nor black: the width of the drawn edge.
int edgeWidth(const Bgr24Image& image, int row) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += image.at(x, row).g > 8 && image.at(x, row).g < 247;
    return n;
}

} // namespace

TEST(QtGlyphRasterizer, DrawsEachDensityFromTheVector) {
    QtGlyphRasterizer r;
    const ColorRef orange = makeColorRef(250, 120, 10);
    const Rgba8Image one = r.rasterize(kBlock, 1, orange);
    const Rgba8Image two = r.rasterize(kBlock, 2, orange);
    const Rgba8Image three = r.rasterize(kBlock, 3, orange);
    ASSERT_EQ(one.width(), 20);
    ASSERT_EQ(one.height(), 10);
    ASSERT_EQ(two.width(), 40);
    ASSERT_EQ(three.width(), 60);
    EXPECT_EQ(one.at(15, 5), (Rgba8{250, 120, 10, 255})); // currentColor, straight alpha
    EXPECT_EQ(one.at(2, 5).a, 0);

    // The 2x glyph reduced by 2 x 2 averaging is the 1x glyph.
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            const int sum = two.at(2 * x, 2 * y).a + two.at(2 * x + 1, 2 * y).a +
                            two.at(2 * x, 2 * y + 1).a + two.at(2 * x + 1, 2 * y + 1).a;
            EXPECT_LE(std::abs((sum + 2) / 4 - one.at(x, y).a), 2) << x << "," << y;
        }

    // Sharper than the enlarged 1x: the 2x and 3x edges are one pixel wide, the 1x glyph
    // enlarged smoothly spreads its edge over more.
    const Bgr24Image enlarged = upscaleSmooth(onWhite(one), 2, UpscaleEdges::Clamp, std::nullopt);
    EXPECT_EQ(edgeWidth(onWhite(two), 5), 1);
    EXPECT_EQ(edgeWidth(onWhite(three), 5), 1);
    EXPECT_GE(edgeWidth(enlarged, 5), 2);
}

TEST(QtGlyphRasterizer, RefusesWhatItCannotDraw) {
    QtGlyphRasterizer r;
    EXPECT_THROW(r.rasterize("not svg", 1, 0), std::runtime_error);
    EXPECT_THROW(r.rasterize("<svg xmlns='http://www.w3.org/2000/svg' width='9000' "
                             "height='10'/>",
                             1, 0),
                 std::runtime_error);
    EXPECT_EQ(withCurrentColor("a currentColor b currentColor", makeColorRef(1, 2, 255)),
              "a #0102ff b #0102ff");
}
