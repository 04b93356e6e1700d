// High-density renders look like the 1x render, only sharper: reduced by 2x2 (3x3)
// averaging they come back to the 1x picture, with the shape's edge in the same place.
#include "effects/light_editor.h"
#include "render/button_renderer.h"
#include "render/overlays.h"
#include "render/shadow.h"
#include "shape/shape_file.h"
#include "web/density.h"
#include "web/field_upsample.h"
#include "web/sprite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

const fs::path kShipped = fs::path(PLAKETT_TEST_DATA) / ".." / ".." / "data";

Bgr24Image defaultLightMap() {
    LightEditor editor;
    editor.setRenderMode(true);
    editor.UpdateGradient();
    return editor.CopyLightMap();
}

struct Rendered {
    StateImages states;
    ShapeField field;
};

Rendered renderAt(const std::vector<TMoveBox>& points, const RenderSettings& settings, int scale,
                  const Bgr24Image& lightMap, const ShapeField* oneTimes = nullptr) {
    DesignCopy copy = scaleDesign(points, settings, scale);
    ButtonRenderer renderer;
    if (oneTimes == nullptr)
        renderer.enter(copy.points, copy.settings);
    else
        renderer.enter(upsampledField(*oneTimes, points, copy.points, scale), copy.settings);
    const Gray8Image& own = renderer.field().coverage;
    if (oneTimes != nullptr)
        centreOnOneTimes(copy.settings, scale, oneTimes->coverage.width(),
                         oneTimes->coverage.height(), own.width(), own.height());
    return {renderer.render(lightMap, copy.settings, nullptr), renderer.field()};
}

Bgr24Image reduce(const Bgr24Image& big, int s) {
    Bgr24Image out(big.width() / s, big.height() / s);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            int b = 0, g = 0, r = 0;
            for (int dy = 0; dy < s; ++dy)
                for (int dx = 0; dx < s; ++dx) {
                    const Bgr24& p = big.at(s * x + dx, s * y + dy);
                    b += p.b, g += p.g, r += p.r;
                }
            const int n = s * s;
            out.at(x, y) = Bgr24{static_cast<std::uint8_t>((b + n / 2) / n),
                                 static_cast<std::uint8_t>((g + n / 2) / n),
                                 static_cast<std::uint8_t>((r + n / 2) / n)};
        }
    return out;
}

struct Difference {
    double mean = 0;
    int p99 = 0;
};

// Channel differences over the pixels that are not background in either picture and
// that `counts`.
template <class Counts>
Difference compare(const Bgr24Image& a, const Bgr24Image& b, Bgr24 background, Counts counts) {
    std::vector<int> d;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const Bgr24 p = a.at(x, y), q = b.at(x, y);
            if ((p == background && q == background) || !counts(x, y)) continue;
            d.push_back(std::abs(p.b - q.b));
            d.push_back(std::abs(p.g - q.g));
            d.push_back(std::abs(p.r - q.r));
        }
    Difference out;
    if (d.empty()) return out;
    double sum = 0;
    for (int v : d)
        sum += v;
    out.mean = sum / static_cast<double>(d.size());
    std::sort(d.begin(), d.end());
    out.p99 = d[d.size() * 99 / 100];
    return out;
}

// Pixels where "at least half inside" differs between the 1x coverage and the
// high-density coverage reduced to 1x, away from the 1x edge (whose 3 x 3 neighbourhood
// is all inside or all outside). The edge is in the same place when there are none.
int mismatchesOffTheEdge(const Gray8Image& small, const Gray8Image& big, int s) {
    auto inside1 = [&](int x, int y) { return small.contains(x, y) && small.at(x, y) >= 2; };
    int count = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) {
            int sum = 0;
            for (int dy = 0; dy < s; ++dy)
                for (int dx = 0; dx < s; ++dx)
                    if (big.contains(s * x + dx, s * y + dy)) sum += big.at(s * x + dx, s * y + dy);
            if ((2 * sum >= 4 * s * s) == inside1(x, y)) continue;
            bool edge = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    edge = edge || inside1(x + dx, y + dy) != inside1(x, y);
            if (!edge) ++count;
        }
    return count;
}

// Fully inside the shape, at least `depth` pixels from its edge: the flat of the button,
// past the bevel.
bool deepInside(const Gray8Image& coverage, int x, int y, int depth) {
    for (int dy = -depth; dy <= depth; ++dy)
        for (int dx = -depth; dx <= depth; ++dx)
            if (!coverage.contains(x + dx, y + dy) || coverage.at(x + dx, y + dy) != 4)
                return false;
    return true;
}

} // namespace

// A smooth tile (its period wraps without a seam) and a glyph with a keyed border: where their
// enlarged copies land shows in the flat of the button.
RenderSettings withPictures() {
    RenderSettings s;
    s.background.useTexture = true;
    s.background.textureOpacity = 120;
    s.background.textureOriginX = 7;
    s.background.texture.reset(17, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 17; ++x)
            s.background.texture.at(x, y) =
                Bgr24{static_cast<std::uint8_t>(100 + 12 * std::min(x, 16 - x)),
                      static_cast<std::uint8_t>(60 + 20 * std::min(y, 12 - y)), 90};
    s.glyph.picture.reset(24, 14, Bgr24{255, 255, 255});
    for (int y = 3; y < 11; ++y)
        for (int x = 4; x < 20; ++x)
            s.glyph.picture.at(x, y) = Bgr24{20, 200, 240};
    s.glyph.x = -9;
    s.glyph.opacity = 60;
    return s;
}

TEST(WebDensity, ReducedHighDensityMatchesTheOneTimesRender) {
    const Bgr24Image lightMap = defaultLightMap();
    RenderSettings plain;
    plain.glyph.useGlyph = false;
    const struct {
        const char* name;
        RenderSettings settings;
    } cases[] = {{"Buttons/Pill.shp", plain},
                 {"Buttons/Circle.shp", plain},
                 {"Other/Star.shp", plain},
                 {"Buttons/RoundedRect.shp", plain},
                 {"Buttons/RoundedRect.shp", withPictures()}};
    for (const auto& [name, settings] : cases) {
        const Bgr24 background = BackgroundPixel(settings.background);
        std::vector<TMoveBox> points;
        LoadFromFile(kShipped / name, points);
        const Rendered one = renderAt(points, settings, 1, lightMap);
        for (int s : {2, 3}) {
            SCOPED_TRACE(std::string(name) + " @" + std::to_string(s) + "x");
            const Rendered big = renderAt(points, settings, s, lightMap, &one.field);
            EXPECT_EQ(mismatchesOffTheEdge(one.field.coverage, big.field.coverage, s), 0);
            for (int state = 0; state < kStateCount; ++state) {
                const Bgr24Image& a = one.states[state];
                const Bgr24Image reduced = reduce(
                    fitToSize(big.states[state], s * a.width(), s * a.height(), background), s);
                const ShadowOffset o =
                    ShadowOffsetFor(settings.shadow.angle, settings.shadow.heights[state]);
                const Difference all =
                    compare(a, reduced, background, [](int, int) { return true; });
                const Difference flat = compare(a, reduced, background, [&](int x, int y) {
                    return deepInside(one.field.coverage, x - kShadowMargin + o.dx,
                                      y - kShadowMargin + o.dy, 5);
                });
                std::cout << name << " @" << s << "x state " << state << ": button mean "
                          << all.mean << ", 99th percentile " << all.p99 << "; flat mean "
                          << flat.mean << ", 99th percentile " << flat.p99 << "\n";
                // The bevel follows the 1x map; what remains is the finer anti-aliased edge.
                EXPECT_LT(all.mean, 8.0);
                EXPECT_LE(all.p99, 52);
                EXPECT_LT(flat.mean, 1.0);
                EXPECT_LE(flat.p99, 4);
            }
        }
    }
}

// The shadow keeps its darkness and spreads s times as far: reduced by s, the whole
// picture (button and shadow, on the white background) comes back to the 1x one, at every
// blur. Cutting the levels to whole ones after each of the s * s times as many blur passes
// once made it fade at 2x and vanish at 3x.
TEST(WebDensity, ShadowKeepsItsDarknessAtEveryDensityAndBlur) {
    const Bgr24Image lightMap = defaultLightMap();
    std::vector<TMoveBox> points;
    LoadFromFile(kShipped / "Buttons/Circle.shp", points);
    for (int blur : {0, 10, 25, 50}) {
        RenderSettings settings = withPictures();
        settings.shadow.blur = blur;
        const Bgr24 white = BackgroundPixel(settings.background);
        ASSERT_EQ(white, (Bgr24{255, 255, 255}));
        const Rendered one = renderAt(points, settings, 1, lightMap);
        for (const auto& [s, limit] : {std::pair{2, 0.015}, std::pair{3, 0.02}}) {
            SCOPED_TRACE("blur " + std::to_string(blur) + " @" + std::to_string(s) + "x");
            const Rendered big = renderAt(points, settings, s, lightMap, &one.field);
            for (int state = 0; state < kStateCount; ++state) {
                const Bgr24Image& a = one.states[state];
                const Bgr24Image reduced =
                    reduce(fitToSize(big.states[state], s * a.width(), s * a.height(), white), s);
                const Difference d = compare(a, reduced, white, [](int, int) { return true; });
                std::cout << "shadow blur " << blur << " @" << s << "x state " << state << ": mean "
                          << d.mean / 2.55 << "% of full scale\n";
                EXPECT_LE(d.mean, limit * 255) << "state " << state;
            }
        }
    }
}

// A ramp over a 1x rectangle comes back as the ramp at each enlarged cell's centre, also on
// enlarged cells just beyond the 1x inside; outside cells stay outside.
TEST(WebDensity, UpsampledMapFollowsTheOneTimesMapToItsEdge) {
    const IntPoints origin{-6, 4};
    Matrix one(12, 10, kOutsideCell);
    for (int x = 1; x < 10; ++x)
        for (int y = 1; y < 8; ++y)
            one.at(x, y) = {20 + 10 * x, 200 - 12 * y};
    for (int s : {2, 3}) {
        SCOPED_TRACE(s);
        const IntPoints scaledOrigin{s * origin.x - 1, s * origin.y + 1};
        Matrix big(12 * s, 10 * s, kOutsideCell);
        for (int x = 0; x < big.columns(); ++x)
            for (int y = 0; y < big.rows(); ++y) {
                const float fx = (x + scaledOrigin.x + 0.5f) / s - origin.x - 0.5f;
                const float fy = (y + scaledOrigin.y + 0.5f) / s - origin.y - 0.5f;
                if (fx >= 0.2f && fx <= 9.8f && fy >= 0.2f && fy <= 7.8f) big.at(x, y) = {0, 0};
            }
        const Matrix out = upsampleMap(one, origin, big, scaledOrigin, s);
        for (int x = 0; x < big.columns(); ++x)
            for (int y = 0; y < big.rows(); ++y) {
                if (big.at(x, y).x < 0) {
                    EXPECT_EQ(out.at(x, y), kOutsideCell);
                    continue;
                }
                const float fx =
                    std::clamp((x + scaledOrigin.x + 0.5f) / s - origin.x - 0.5f, 1.f, 9.f);
                const float fy =
                    std::clamp((y + scaledOrigin.y + 0.5f) / s - origin.y - 0.5f, 1.f, 7.f);
                EXPECT_NEAR(out.at(x, y).x, 20 + 10 * fx, 0.51) << x << "," << y;
                EXPECT_NEAR(out.at(x, y).y, 200 - 12 * fy, 0.51) << x << "," << y;
            }
    }
}

// Enlarging only the part of the glyph and texture that is drawn gives the images that the
// whole enlargements give, byte for byte, at every density, wherever the pictures sit:
// larger and smaller than the button, offset, keyed or not, one column wide.
TEST(WebDensity, DrawnPartsOfPicturesRenderAsTheWholeEnlargements) {
    std::vector<TMoveBox> points;
    LoadFromFile(kShipped / "Buttons" / "Pill.shp", points);
    const Bgr24Image lightMap = defaultLightMap();
    auto picture = [](int w, int h, int seed) {
        Bgr24Image p(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int v = (x * 37 + y * 91 + seed * 13) % 251;
                p.scanline(y)[x] = (x + y + seed) % 7 == 0
                                       ? Bgr24{255, 255, 255}
                                       : Bgr24{std::uint8_t(v), std::uint8_t(255 - v),
                                               std::uint8_t(v * 3 % 256)};
            }
        return p;
    };
    const struct {
        int glyphW, glyphH, glyphX, glyphY;
        bool keyed;
        int textureW, textureH, originX, originY;
    } cases[] = {
        {600, 400, 0, 0, true, 500, 300, 0, 0},      // far larger than the button
        {600, 400, 37, -21, false, 501, 299, 200, -255},
        {20, 12, 30, 10, true, 17, 9, -40, 77},      // smaller: repeated, whole
        {1, 1, -500, 500, false, 1, 40, 255, 3},     // a one-column texture
        {3000, 5, 0, 0, true, 2, 2000, -7, 11},
    };
    for (const auto& c : cases)
        for (int s = 1; s <= 3; ++s) {
            SCOPED_TRACE(testing::Message() << "glyph " << c.glyphW << "x" << c.glyphH
                                            << " texture " << c.textureW << "x" << c.textureH
                                            << " @" << s << "x");
            RenderSettings settings;
            settings.glyph.picture = picture(c.glyphW, c.glyphH, 1);
            settings.glyph.transparent = c.keyed;
            settings.glyph.x = c.glyphX;
            settings.glyph.y = c.glyphY;
            settings.glyph.opacity = 200;
            settings.background.useTexture = true;
            settings.background.texture = picture(c.textureW, c.textureH, 2);
            settings.background.textureOriginX = c.originX;
            settings.background.textureOriginY = c.originY;

            DesignCopy whole = scaleDesign(points, settings, s);
            ButtonRenderer renderer;
            renderer.enter(whole.points, whole.settings);
            RenderSettings bare = settings;
            bare.glyph.picture = {};
            bare.background.texture = {};
            DesignCopy part = scaleDesign(points, bare, s);
            scaleDesignOrigins(part, settings, s);
            ButtonRenderer same;
            same.enter(part.points, part.settings);
            const Gray8Image& coverage = renderer.field().coverage;
            enlargeDrawnPictures(part.settings, settings, s, coverage.width(), coverage.height());
            EXPECT_LE(part.settings.glyph.picture.width(), coverage.width());
            EXPECT_LE(part.settings.background.texture.height(),
                      std::max(coverage.height(), c.textureH * s));
            const StateImages expected = renderer.render(lightMap, whole.settings, nullptr);
            const StateImages got = same.render(lightMap, part.settings, nullptr);
            for (int state = 0; state < kStateCount; ++state)
                EXPECT_TRUE(got[state] == expected[state]) << "state " << state;
        }
}
