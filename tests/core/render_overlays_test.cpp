#include "render/overlays.h"
#include "render_fake_rasterizer.h"

#include <gtest/gtest.h>

using namespace plakett;
using plakett::testing::FakeRasterizer;

namespace {

constexpr Bgr24 kWhite{255, 255, 255};
constexpr Bgr24 kBlack{0, 0, 0};
constexpr Bgr24 kRed{0, 0, 255};
constexpr Bgr24 kBlue{255, 0, 0};

Bgr24 grey(int v) {
    const auto b = static_cast<std::uint8_t>(v);
    return Bgr24{b, b, b};
}

CaptionCoverage block(int w, int h, Gray8 value = 255) {
    CaptionCoverage c;
    c.coverage.reset(w, h, value);
    return c;
}

} // namespace

TEST(RenderOverlays, TextureTilesEveryWidthMinusOneColumnsInsideTheShape) {
    Bgr24Image base(6, 2, grey(255));
    Gray8Image coverage(6, 2, 4);
    coverage.at(5, 1) = 0;
    BackgroundLive bg;
    bg.color = 0x0A141E;
    bg.backRed = 30;
    bg.backGreen = 20;
    bg.backBlue = 10;
    bg.useTexture = true;
    bg.texture.reset(3, 1);
    bg.texture.at(0, 0) = grey(255);
    bg.texture.at(1, 0) = grey(0);
    bg.texture.at(2, 0) = grey(77); // the last column is never used
    bg.textureOpacity = 0;
    DrawTexture(base, coverage, bg);
    // ox = 6 div 2 - 3 div 2 = 2: column (x - 2 + 256) mod 2, so x = 0 starts with column 0.
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(base.at(x, 0), grey(x % 2 == 0 ? 254 : 0)) << x;
    EXPECT_EQ(base.at(5, 1), (Bgr24{10, 20, 30}));

    // Opacity 255: the texture contributes nothing, 255 becomes 254.
    base.fill(grey(255));
    bg.textureOpacity = 255;
    DrawTexture(base, coverage, bg);
    EXPECT_EQ(base.at(1, 0), grey(254));

    // A one-column texture repeats that column.
    base.fill(grey(100));
    bg.texture.reset(1, 2, grey(50));
    bg.texture.at(0, 1) = grey(0);
    bg.textureOpacity = 128; // (127 * t + 128 * 100) >> 8
    DrawTexture(base, coverage, bg);
    // oy = 2 div 2 - 2 div 2 = 0, so row y reads texture row y.
    EXPECT_EQ(base.at(3, 0), grey((127 * 50 + 128 * 100) >> 8));
    EXPECT_EQ(base.at(3, 1), grey((127 * 0 + 128 * 100) >> 8));
}

TEST(RenderOverlays, GlyphKeyAndPlacement) {
    GlyphLive glyph;
    glyph.picture.reset(2, 2, kRed);
    glyph.picture.at(1, 1) = kBlue;
    glyph.transparentColor = 0x0000FF; // red as 0x00BBGGRR
    glyph.opacity = 0;
    const Gray8Image coverage(4, 4, 4);
    // gx = 4 div 2 + x - 2 div 2; x = -1 puts the glyph's first column at 0.
    glyph.x = -1;
    glyph.y = -1;
    Bgr24Image base(4, 4, grey(255));
    DrawGlyph(base, coverage, glyph, kWhite);
    EXPECT_EQ(base.at(0, 0), grey(255));          // red keyed out
    EXPECT_EQ(base.at(1, 1), (Bgr24{254, 0, 0})); // blue drawn: (255 * 255) >> 8
    EXPECT_EQ(base.at(2, 2), grey(255));

    glyph.transparent = false;
    base.fill(grey(255));
    DrawGlyph(base, coverage, glyph, kWhite);
    EXPECT_EQ(base.at(0, 0), (Bgr24{0, 0, 254})); // first row and column drawn
    EXPECT_EQ(base.at(1, 0), (Bgr24{0, 0, 254}));

    // A glyph hanging over the edge is clipped; outside pixels return to the background.
    glyph.x = 1; // gx = gy = 2
    glyph.y = 1;
    Gray8Image partial = coverage;
    partial.at(3, 3) = 0;
    base.fill(grey(9));
    DrawGlyph(base, partial, glyph, kWhite);
    EXPECT_EQ(base.at(3, 3), kWhite);
    EXPECT_EQ(base.at(3, 2), (Bgr24{0, 0, 254}));
    EXPECT_EQ(base.at(1, 1), grey(9));
}

TEST(RenderOverlays, CaptionIsCentredByItsRotatedExtent) {
    FakeRasterizer fake;
    TextLive text;
    text.caption = "Go";
    text.fontSize = 10;
    text.x = 3;
    text.y = -2;
    // Angle 0: eX = 20, eY = 10; X = 40 div 2 + 3 - 10, Y = 30 div 2 - 2 - 5.
    PreparedCaption c = PrepareCaption(text, 40, 30, &fake);
    EXPECT_EQ(c.x, 2 * 13);
    EXPECT_EQ(c.y, 2 * 8);
    ASSERT_EQ(fake.measured.size(), 1u);
    EXPECT_EQ(fake.measured[0].cellHeight, 15);
    ASSERT_EQ(fake.drawn.size(), 1u);
    EXPECT_EQ(fake.drawn[0].cellHeight, 30);
    EXPECT_EQ(fake.clips[0].left, -26 - 4);
    EXPECT_EQ(fake.clips[0].width, 80 + 8);

    // Angle 180: eX = -20, eY = -10 move the origin right and down by the half extents.
    text.angle = 180;
    c = PrepareCaption(text, 40, 30, &fake);
    EXPECT_EQ(c.x, 2 * 33);
    EXPECT_EQ(c.y, 2 * 18);
    EXPECT_EQ(fake.drawn.back().angle, 180);

    // Angle 90 with an odd extent: halve floors, eX = 10, eY = -21.
    text.angle = 90;
    fake.extent = {21, 10};
    c = PrepareCaption(text, 40, 30, &fake);
    EXPECT_EQ(c.x, 2 * (20 + 3 - 5));
    EXPECT_EQ(c.y, 2 * (15 - 2 + 11));

    // Size 9 measures with a 13-pixel cell and draws with 27.
    text.fontSize = 9;
    PrepareCaption(text, 40, 30, &fake);
    EXPECT_EQ(fake.measured.back().cellHeight, 13);
    EXPECT_EQ(fake.drawn.back().cellHeight, 27);

    // Nothing is measured or drawn for an empty caption, no rasterizer or a zero size.
    const std::size_t calls = fake.measured.size();
    text.caption.clear();
    EXPECT_TRUE(PrepareCaption(text, 40, 30, &fake).shape.coverage.empty());
    text.caption = std::string("x");
    text.fontSize = 0;
    EXPECT_TRUE(PrepareCaption(text, 40, 30, &fake).shape.coverage.empty());
    EXPECT_TRUE(PrepareCaption(text, 40, 30, nullptr).shape.coverage.empty());
    EXPECT_EQ(fake.measured.size(), calls);
}

TEST(RenderOverlays, CaptionCopiesAreComposedInOrder) {
    TextLive text;
    text.colors = {0x0000FF, 0x00FF00, 0xFF0000}; // red, green, blue
    text.effectColor = 0x000000;
    text.effects = {TextEffect::Normal, TextEffect::Shadow, TextEffect::Raised};
    text.opacity = 0;
    PreparedCaption caption;
    caption.x = 8;
    caption.y = 8;
    caption.shape = block(2, 2);

    Bgr24Image base(10, 10, grey(200));
    DrawCaption(base, caption, text, ButtonState::Normal);
    EXPECT_EQ(base.at(4, 4), kRed);
    EXPECT_EQ(base.at(6, 6), grey(200));

    base.fill(grey(200));
    DrawCaption(base, caption, text, ButtonState::Hot); // black copy at (+4, +4)
    EXPECT_EQ(base.at(4, 4), (Bgr24{0, 255, 0}));
    EXPECT_EQ(base.at(6, 6), kBlack);

    // Raised with a 6 x 6 block: the later copy wins where two overlap.
    caption.shape = block(6, 6);
    const CoverageLayer raised = BuildCaptionLayer(caption, text, ButtonState::Pushed, 10, 10);
    auto at = [&](int x, int y) { return raised.pixels.at(x - raised.left, y - raised.top); };
    EXPECT_EQ(at(5, 5), 0xFFC8C8C8u);  // light copy alone
    EXPECT_EQ(at(11, 5), 0xFF000000u); // effect colour over the light copy
    EXPECT_EQ(at(5, 13), 0xFF828282u); // dark copy alone
    EXPECT_EQ(at(9, 9), 0xFF0000FFu);  // the text last, blue as 0x00RRGGBB

    // Half coverage over half coverage: alpha 128 + 128 * 127 / 255 = 192, and the earlier
    // white weighs half as much as the later black: 255 * 64 / 192 = 85.
    text.effects[0] = TextEffect::Shadow;
    text.effectColor = 0xFFFFFF;
    text.colors[0] = 0x000000;
    caption.shape = block(6, 6, 128);
    CoverageLayer layer = BuildCaptionLayer(caption, text, ButtonState::Normal, 10, 10);
    EXPECT_EQ(layer.pixels.at(12 - layer.left, 12 - layer.top), 0xC0555555u);
    EXPECT_EQ(layer.pixels.at(8 - layer.left, 8 - layer.top), 0x80000000u);
}

TEST(RenderOverlays, EmptyCaptionStillRunsTheHalfSizePass) {
    TextLive text;
    text.opacity = 180;
    Bgr24Image base(2, 1);
    base.at(0, 0) = grey(255);
    base.at(1, 0) = Bgr24{100, 0, 7};
    DrawCaption(base, PreparedCaption{}, text, ButtonState::Normal);
    EXPECT_EQ(base.at(0, 0), grey(254));
    EXPECT_EQ(base.at(1, 0), (Bgr24{99, 0, 6}));
    text.opacity = 0;
    DrawCaption(base, PreparedCaption{}, text, ButtonState::Normal);
    EXPECT_EQ(base.at(1, 0), (Bgr24{99, 0, 6}));

    // A caption beyond the image is dropped without touching memory outside it.
    PreparedCaption far;
    far.x = -50;
    far.y = 30;
    far.shape = block(8, 8);
    EXPECT_NO_THROW(DrawCaption(base, far, text, ButtonState::Normal));
    EXPECT_EQ(base.at(0, 0), grey(254));
}
