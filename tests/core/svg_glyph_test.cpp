#include "document/project_file.h"
#include "document/project_settings.h"
#include "render/overlays.h"
#include "render/svg_glyph.h"

#include <gtest/gtest.h>

using namespace plakett;

namespace {

// Draws every density as a solid square of the document's length in characters, so that
// the tests see which raster was used.
class SquareGlyphs : public GlyphRasterizer {
  public:
    Rgba8Image rasterize(std::string_view svg, int scale, ColorRef color) override {
        ++calls;
        const int side = static_cast<int>(svg.size()) * scale;
        return Rgba8Image(side, side, Rgba8{redOf(color), greenOf(color), blueOf(color), 255});
    }
    int calls = 0;
};

} // namespace

// The blend by alpha, for every alpha and a few opacities and colours, against the
// formula worked out here; alpha 255 must match a picture glyph's pixel exactly.
TEST(SvgGlyph, BlendsByAlpha) {
    const Gray8Image coverage(1, 1, 4);
    for (int opacity : {0, 50, 128, 255})
        for (int a = 0; a <= 255; ++a)
            for (int g : {0, 90, 255}) {
                const int under = 200;
                Bgr24Image base(1, 1, Bgr24{static_cast<std::uint8_t>(under), 10, 0});
                Rgba8Image raster(1, 1, Rgba8{0, 30, static_cast<std::uint8_t>(g),
                                              static_cast<std::uint8_t>(a)});
                blendSvgGlyph(base, raster, 0, 0, opacity);
                const int level = 255 - a * (255 - opacity) / 255;
                const int expected = a == 0 ? under : ((255 - level) * g + level * under) >> 8;
                ASSERT_EQ(base.at(0, 0).b, expected) << opacity << " " << a << " " << g;
                if (a == 255) {
                    GlyphLive picture;
                    picture.transparent = false;
                    picture.opacity = opacity;
                    picture.picture.reset(1, 1, Bgr24{static_cast<std::uint8_t>(g), 30, 0});
                    Bgr24Image viaPicture(1, 1, Bgr24{static_cast<std::uint8_t>(under), 10, 0});
                    DrawGlyph(viaPicture, coverage, picture, Bgr24{});
                    ASSERT_EQ(viaPicture.at(0, 0), base.at(0, 0));
                }
            }
}

// DrawGlyph takes the raster of the render's density, centred like a picture glyph.
TEST(SvgGlyph, DrawsTheRasterOfEachDensity) {
    GlyphLive glyph;
    glyph.svgSource = "<svg/>"; // 6 characters: 6 x 6 at 1x, 12 x 12 at 2x
    glyph.svgColor = makeColorRef(0, 0, 255);
    glyph.opacity = 0;
    SquareGlyphs fake;
    rasterizeSvgGlyph(glyph, fake, 3);
    EXPECT_EQ(fake.calls, 3);
    ASSERT_EQ(glyph.svgRasters.size(), 3u);
    for (int scale = 1; scale <= 3; ++scale) {
        const int size = 20 * scale;
        Bgr24Image base(size, size, Bgr24{255, 255, 255});
        DrawGlyph(base, Gray8Image(size, size, 4), glyph, Bgr24{}, scale);
        const int side = 6 * scale, from = size / 2 - side / 2;
        int blue = 0;
        for (const Bgr24& p : base.pixels())
            blue += p == Bgr24{254, 0, 0};
        EXPECT_EQ(blue, side * side) << scale;
        EXPECT_EQ(base.at(from, from), (Bgr24{254, 0, 0}));
        EXPECT_EQ(base.at(from - 1, from), (Bgr24{255, 255, 255}));
    }
}

// A project keeps the SVG source in a trailing record: read back whole, skipped by a
// reader that stops after the pictures, and absent (bytes unchanged) without one.
TEST(SvgGlyph, ProjectKeepsTheSourceInATrailingRecord) {
    ProjectDocument doc;
    doc.points.resize(2);
    const std::vector<std::uint8_t> plain = projectBytes(doc);

    RenderSettings live = settingsFromProject(doc);
    live.glyph.svgSource = "<svg xmlns='http://www.w3.org/2000/svg' width='8' height='8'/>";
    live.glyph.svgColor = 0x123456;
    ProjectDocument withSvg = doc;
    storeSettingsInProject(live, withSvg);
    const std::vector<std::uint8_t> bytes = projectBytes(withSvg);
    ASSERT_EQ(bytes.size(), plain.size() + 12 + live.glyph.svgSource.size());
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), bytes.begin()));

    const ProjectDocument back = readProject(bytes);
    ASSERT_TRUE(back.svgGlyph);
    EXPECT_EQ(back.svgGlyph->source, live.glyph.svgSource);
    EXPECT_EQ(back.svgGlyph->currentColor, 0x123456u);
    const RenderSettings again = settingsFromProject(back);
    EXPECT_EQ(again.glyph.svgSource, live.glyph.svgSource);
    EXPECT_EQ(again.glyph.svgColor, 0x123456u);

    // Re-saved without the glyph: the bytes of the plain project again.
    RenderSettings cleared = again;
    cleared.glyph.svgSource.clear();
    ProjectDocument resaved = back;
    storeSettingsInProject(cleared, resaved);
    EXPECT_EQ(projectBytes(resaved), plain);

    // Unknown records are skipped; a record cut short is a damaged file.
    std::vector<std::uint8_t> unknown = plain;
    const std::uint8_t next[] = {'N', 'E', 'X', 'T', 2, 0, 0, 0, 7, 7};
    unknown.insert(unknown.end(), std::begin(next), std::end(next));
    EXPECT_EQ(readProject(unknown), doc);
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 1);
    EXPECT_THROW(readProject(cut), std::exception);
}
