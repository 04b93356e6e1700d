#include "render/shadow.h"

#include "common/arith.h"
#include "render/mul_table.h"
#include "render/render_pipeline.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace plakett {

namespace {

constexpr int kMaxBlur = 50;

template <class Value> void zeroRows(Image<Value>& mask, int first, int last) {
    for (int r = std::max(first, 0); r <= std::min(last, mask.height() - 1); ++r)
        std::fill_n(mask.scanline(r), mask.width(), Value{0});
}

template <class Value> void clearBorder(Image<Value>& mask, int scale) {
    const int w = mask.width();
    const int h = mask.height();
    const int side = 3 * scale;
    zeroRows(mask, 0, side - 1);
    zeroRows(mask, h - 4 * scale, h - 1);
    for (int r = 0; r < h; ++r) {
        Value* row = mask.scanline(r);
        for (int c = 0; c < std::min(side, w); ++c)
            row[c] = 0;
        for (int c = std::max(0, w - side); c < w; ++c)
            row[c] = 0;
    }
}

// The 3x3 pass on levels kept in 1/256 steps, rounded.
using FineMask = Image<std::uint32_t>;
constexpr int kFineBits = 8;

void fineBlurPass(const FineMask& mask, FineMask& target) {
    const int w = mask.width();
    for (int r = 1; r <= mask.height() - 3; ++r) {
        const std::uint32_t* above = mask.scanline(r - 1);
        const std::uint32_t* row = mask.scanline(r);
        const std::uint32_t* below = mask.scanline(r + 1);
        std::uint32_t* out = target.scanline(r);
        for (int c = 1; c <= w - 2; ++c) {
            const std::uint32_t sum = 4 * row[c] +
                                      2 * (row[c - 1] + row[c + 1] + above[c] + below[c]) +
                                      above[c - 1] + above[c + 1] + below[c - 1] + below[c + 1];
            out[c] = (sum + 8) >> 4;
        }
    }
}

// At density s every pass of the 1x blur becomes s * s finer passes (the spread of n
// passes grows with the square root of n), after which the level is cut to a whole one as
// the 1x pass cuts it. Cutting after each fine pass instead would lose about half a level
// s * s times as often, and the shadow would fade away at 3x.
Gray8Image denseBlur(const Gray8Image& start, int passes1x, int scale) {
    FineMask mask(start.width(), start.height());
    for (std::size_t i = 0; i < mask.pixels().size(); ++i)
        mask.pixels()[i] = std::uint32_t{start.pixels()[i]} << kFineBits;
    FineMask target(mask.width(), mask.height());
    constexpr std::uint32_t kWhole = ~((std::uint32_t{1} << kFineBits) - 1);
    for (int pass = 0; pass < passes1x; ++pass) {
        for (int fine = 0; fine < scale * scale; ++fine) {
            fineBlurPass(mask, target);
            std::swap(mask, target);
            clearBorder(mask, scale);
        }
        for (std::uint32_t& v : mask.pixels())
            v &= kWhole;
    }
    Gray8Image out(mask.width(), mask.height());
    for (std::size_t i = 0; i < mask.pixels().size(); ++i)
        out.pixels()[i] = static_cast<Gray8>(mask.pixels()[i] >> kFineBits);
    return out;
}

bool nearBackground(const Bgr24& p, const Bgr24& background) {
    return std::abs(p.b - background.b) < 3 && std::abs(p.g - background.g) < 3 &&
           std::abs(p.r - background.r) < 3;
}

std::array<Bgr24, 256> shadeTable(Bgr24 background, Bgr24 shadow) {
    const MulTable& mul = MulTable::instance();
    auto mix = [&](int b, int s, int i) {
        return static_cast<std::uint8_t>(mul(b, 255 - i) + mul(s, i));
    };
    std::array<Bgr24, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = Bgr24{mix(background.b, shadow.b, i), mix(background.g, shadow.g, i),
                         mix(background.r, shadow.r, i)};
    return table;
}

Bgr24 placePixel(const Bgr24& p, const Bgr24& q, int k, const Bgr24& background) {
    if (k == 4 || nearBackground(p, background)) return q;
    auto mix = [&](int a, int b) {
        if (k == 3) return static_cast<std::uint8_t>((a + b) >> 1);
        return static_cast<std::uint8_t>((3 * a + b) >> 2);
    };
    if (k == 3 || k == 2) return Bgr24{mix(p.b, q.b), mix(p.g, q.g), mix(p.r, q.r)};
    return p;
}

} // namespace

ShadowOffset ShadowOffsetFor(int angle, int height) {
    const double a = static_cast<double>(angle) / 180.0 * std::numbers::pi;
    return ShadowOffset{roundEven(std::cos(a) * height), roundEven(-std::sin(a) * height)};
}

// Reading of the 5-pixel pen: it covers the pixels within 2 of its line, so the closed
// border clears rows 0..2, rows H-3..H-1, columns 0..2 and columns W-3..W-1, and the line
// at row H-2 clears rows H-4..H-1.
void ClearShadowBorder(Gray8Image& mask, int scale) {
    clearBorder(mask, scale);
}

void BlurShadowPass(const Gray8Image& mask, Gray8Image& target) {
    const int w = mask.width();
    for (int r = 1; r <= mask.height() - 3; ++r) {
        const Gray8* above = mask.scanline(r - 1);
        const Gray8* row = mask.scanline(r);
        const Gray8* below = mask.scanline(r + 1);
        Gray8* out = target.scanline(r);
        for (int c = 1; c <= w - 2; ++c) {
            const int sum = 4 * row[c] + 2 * (row[c - 1] + row[c + 1] + above[c] + below[c]) +
                            above[c - 1] + above[c + 1] + below[c - 1] + below[c + 1];
            out[c] = static_cast<Gray8>(sum >> 4);
        }
    }
}

Gray8Image BuildShadowMask(const Gray8Image& coverage, int shadowBlur, int scale) {
    const int wc = coverage.width();
    const int hc = coverage.height();
    const int margin = kShadowMargin * scale;
    Gray8Image mask(shadowMaskSize(wc, scale), shadowMaskSize(hc, scale));
    for (int y = 0; y < hc; ++y) {
        const Gray8* in = coverage.scanline(y);
        Gray8* out = mask.scanline(y + margin) + margin;
        // Coverage is 0..4; anything larger saturates instead of wrapping.
        for (int x = 0; x < wc; ++x)
            out[x] = static_cast<Gray8>(std::min(in[x] * 51, 255));
    }
    ClearShadowBorder(mask, scale);
    const int passes = std::clamp(shadowBlur, 0, kMaxBlur) + 1;
    if (scale > 1) return denseBlur(mask, passes, scale);
    Gray8Image target(mask.width(), mask.height());
    for (int pass = 0; pass < passes; ++pass) {
        BlurShadowPass(mask, target);
        std::swap(mask, target);
        ClearShadowBorder(mask, scale);
    }
    return mask;
}

Bgr24Image ComposeWithShadow(const Bgr24Image& button, const Gray8Image& coverage,
                             const Gray8Image& mask, ShadowOffset offset, Bgr24 background,
                             Bgr24 shadow, int scale) {
    const int wc = coverage.width();
    const int hc = coverage.height();
    if (button.width() != wc || button.height() != hc ||
        mask.width() != shadowMaskSize(wc, scale) || mask.height() != shadowMaskSize(hc, scale))
        throw std::invalid_argument("button, coverage and shadow mask sizes disagree");
    // The canvas is the mask size; its last row and column are cut off, so never made.
    Bgr24Image canvas(mask.width() - 1, mask.height() - 1, background);
    const auto table = shadeTable(background, shadow);
    for (int r = 1; r < canvas.height(); ++r) {
        const Gray8* m = mask.scanline(r);
        Bgr24* out = canvas.scanline(r);
        for (int c = 2; c < canvas.width(); ++c)
            out[c] = table[m[c]];
    }
    const int left = kShadowMargin * scale - offset.dx;
    const int top = kShadowMargin * scale - offset.dy;
    const int bx0 = std::max(0, -left);
    const int bx1 = std::min(wc, canvas.width() - left);
    for (int by = std::max(0, -top); by < std::min(hc, canvas.height() - top); ++by) {
        const Bgr24* q = button.scanline(by);
        const Gray8* k = coverage.scanline(by);
        Bgr24* p = canvas.scanline(by + top) + left;
        for (int bx = bx0; bx < bx1; ++bx)
            p[bx] = placePixel(p[bx], q[bx], k[bx], background);
    }
    return canvas;
}

void SnapToBackground(Bgr24Image& image, Bgr24 background) {
    for (Bgr24& p : image.pixels())
        if (nearBackground(p, background)) p = background;
}

} // namespace plakett
