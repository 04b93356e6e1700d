#include "render/transparent_states.h"

#include "common/field_parallel.h"
#include "render/state_base.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace plakett {
namespace {

struct Channels {
    int c[3];
};

Channels channelsOf(Bgr24 p) {
    return {{p.r, p.g, p.b}};
}
Channels channelsOf(ColorRef c) {
    return {{redOf(c), greenOf(c), blueOf(c)}};
}

int clampByte(long v) {
    return static_cast<int>(std::clamp(v, 0L, 255L));
}

// Colour at alpha a (1..255) that, blended over the background, gives the seen value.
int unblend(int seen, int background, int a) {
    const long num = static_cast<long>(seen) * 255 - static_cast<long>(background) * (255 - a);
    return clampByte((2 * num + a) / (2 * a));
}

int blend(int colour, int background, int a) {
    return (colour * a + background * (255 - a) + 127) / 255;
}

bool reproduces(const Channels& seen, const Channels& bg, const Rgba8& px) {
    const int colour[3] = {px.r, px.g, px.b};
    for (int i = 0; i < 3; ++i)
        if (std::abs(blend(colour[i], bg.c[i], px.a) - seen.c[i]) > 1) return false;
    return true;
}

Rgba8 withAlpha(const Channels& seen, const Channels& bg, int a) {
    if (a == 0) return Rgba8{0, 0, 0, 0};
    return Rgba8{static_cast<std::uint8_t>(unblend(seen.c[0], bg.c[0], a)),
                 static_cast<std::uint8_t>(unblend(seen.c[1], bg.c[1], a)),
                 static_cast<std::uint8_t>(unblend(seen.c[2], bg.c[2], a)),
                 static_cast<std::uint8_t>(a)};
}

// The estimate comes from the channel whose backgrounds differ; rounding can leave it a
// little low, so raise it until the pixel over the first background is reproduced.
Rgba8 mattePixel(const Channels& seen, const Channels& seen2, const Channels& bg,
                 const Channels& bg2) {
    double alpha = 0.0;
    for (int i = 0; i < 3; ++i) {
        const int d = bg.c[i] - bg2.c[i];
        if (d == 0) continue;
        alpha = std::max(alpha, 1.0 - static_cast<double>(seen.c[i] - seen2.c[i]) / d);
    }
    int a = static_cast<int>(std::lround(std::clamp(alpha, 0.0, 1.0) * 255.0));
    for (;; ++a) {
        const Rgba8 px = withAlpha(seen, bg, a);
        if (a == 255 || reproduces(seen, bg, px)) return px;
    }
}

} // namespace

ColorRef contrastingBackground(ColorRef background) {
    auto far = [](int c) { return c < 128 ? 255 : 0; };
    return makeColorRef(far(redOf(background)), far(greenOf(background)), far(blueOf(background)));
}

Rgba8Image matteFromTwoBackgrounds(const Bgr24Image& overFirst, const Bgr24Image& overSecond,
                                   ColorRef first, ColorRef second) {
    if (overFirst.width() != overSecond.width() || overFirst.height() != overSecond.height())
        throw std::invalid_argument("the two renders differ in size");
    const Channels bg = channelsOf(first);
    const Channels bg2 = channelsOf(second);
    const Bgr24 firstPixel = bgrFromColorRef(first);
    const Bgr24 secondPixel = bgrFromColorRef(second);
    Rgba8Image out(overFirst.width(), overFirst.height());
    for (int y = 0; y < out.height(); ++y) {
        const Bgr24* a = overFirst.scanline(y);
        const Bgr24* b = overSecond.scanline(y);
        Rgba8* o = out.scanline(y);
        for (int x = 0; x < out.width(); ++x) {
            // Most pixels are plainly opaque or plainly background; mattePixel gives exactly
            // these for them.
            if (a[x] == b[x])
                o[x] = Rgba8{a[x].r, a[x].g, a[x].b, 255};
            else if (a[x] == firstPixel && b[x] == secondPixel)
                o[x] = Rgba8{0, 0, 0, 0};
            else
                o[x] = mattePixel(channelsOf(a[x]), channelsOf(b[x]), bg, bg2);
        }
    }
    return out;
}

TransparentStateImages RenderTransparentStates(ShapeField field, const Gray8Image& shadowMask,
                                               const Bgr24Image& lightMap,
                                               const RenderSettings& settings,
                                               CaptionRasterizer* captions) {
    const ColorRef first = makeColorRef(settings.background.backRed, settings.background.backGreen,
                                        settings.background.backBlue);
    const ColorRef second = contrastingBackground(first);
    RenderSettings other = settings;
    other.background.color = second;
    other.background.backRed = redOf(second);
    other.background.backGreen = greenOf(second);
    other.background.backBlue = blueOf(second);

    TransparentStateImages out;
    const StateBase overFirst = PrepareStateBase(field, shadowMask, lightMap, settings, captions);
    if (overFirst.picture.empty()) return out;
    const StateBase overSecond = PrepareStateBase(field, shadowMask, lightMap, other, captions);
    // Both bases are shaded: unless the caller still shares it, the map's memory goes now.
    field.map = Matrix();
    // The states share nothing but their inputs: each worker takes the next one, holding
    // only its two renders besides the results (the map's memory is free by now).
    std::atomic<int> next{0};
    runTeam(fieldThreadCount(static_cast<long long>(field.coverage.width()) *
                             field.coverage.height() * 4),
            [&](int, int) {
                for (int s; (s = next.fetch_add(1)) < kStateCount;)
                    out[s] = matteFromTwoBackgrounds(
                        RenderOneState(overFirst, field.coverage, shadowMask, settings, s),
                        RenderOneState(overSecond, field.coverage, shadowMask, other, s), first,
                        second);
            });
    return out;
}

} // namespace plakett
