#include "render/half_size_blend.h"

#include <algorithm>
#include <array>

namespace plakett {

namespace {

struct Sum {
    int b = 0;
    int g = 0;
    int r = 0;
};

std::uint8_t blendChannel(int sum, int canvas, int level) {
    int v = sum >> 2;
    if (level != 0) v = (v * (255 - level) + canvas * level) >> 8;
    return static_cast<std::uint8_t>(std::min(v, 255));
}

Bgr24 finish(const Sum& sum, const Bgr24& canvas, int level) {
    return Bgr24{blendChannel(sum.b, canvas.b, level), blendChannel(sum.g, canvas.g, level),
                 blendChannel(sum.r, canvas.r, level)};
}

int floorHalf(int v) {
    return v >> 1;
}

// Channel v of a canvas pixel that nothing covers, after the mean and the blend.
std::array<std::uint8_t, 256> uncoveredTable(int level) {
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[v] = blendChannel(4 * v, v, level);
    return table;
}

int overChannel(int colour, int alpha, int canvas) {
    return (colour * alpha + canvas * (255 - alpha) + 127) / 255;
}

void addLayerPixel(Sum& sum, Argb32 p, const Bgr24& canvas) {
    const int a = static_cast<int>(p >> 24);
    sum.r += overChannel(static_cast<int>((p >> 16) & 0xFF), a, canvas.r);
    sum.g += overChannel(static_cast<int>((p >> 8) & 0xFF), a, canvas.g);
    sum.b += overChannel(static_cast<int>(p & 0xFF), a, canvas.b);
}

} // namespace

void HalfSizeBlend(int x, int y, Bgr24Image& canvas, const Bgr24Image& source, ColorRef key,
                   int level) {
    const Bgr24 keyPixel = bgrFromColorRef(key);
    const int workW = source.width() / 2;
    const int workH = source.height() / 2;
    const int c0 = std::max(0, -x);
    const int c1 = std::min(workW, canvas.width() - x);
    const int r0 = std::max(0, -y);
    const int r1 = std::min(workH, canvas.height() - y);
    for (int r = r0; r < r1; ++r) {
        Bgr24* out = canvas.scanline(y + r) + x;
        const Bgr24* top = source.scanline(2 * r);
        const Bgr24* bottom = source.scanline(2 * r + 1);
        for (int c = c0; c < c1; ++c) {
            const Bgr24 work = out[c];
            Sum sum;
            for (const Bgr24& s : {top[2 * c], top[2 * c + 1], bottom[2 * c], bottom[2 * c + 1]}) {
                const Bgr24& p = s == keyPixel ? work : s;
                sum.b += p.b;
                sum.g += p.g;
                sum.r += p.r;
            }
            out[c] = finish(sum, work, level);
        }
    }
}

void HalfSizeBlendCoverage(Bgr24Image& canvas, const CoverageLayer& layer, int level) {
    const auto plain = uncoveredTable(level);
    auto plainPixel = [&](Bgr24& p) { p = Bgr24{plain[p.b], plain[p.g], plain[p.r]}; };
    const int lw = layer.pixels.width();
    const int lh = layer.pixels.height();
    // Canvas pixels whose 2x2 block meets the layer, inclusive; an empty range when none.
    int c0 = 0, c1 = -1, r0 = 0, r1 = -1;
    if (lw > 0 && lh > 0) {
        c0 = std::max(0, floorHalf(layer.left));
        c1 = std::min(canvas.width() - 1, floorHalf(layer.left + lw - 1));
        r0 = std::max(0, floorHalf(layer.top));
        r1 = std::min(canvas.height() - 1, floorHalf(layer.top + lh - 1));
    }
    auto layerPixel = [&](int sx, int sy) -> Argb32 {
        const int lx = sx - layer.left;
        const int ly = sy - layer.top;
        if (lx < 0 || ly < 0 || lx >= lw || ly >= lh) return 0;
        return layer.pixels.scanline(ly)[lx];
    };
    for (int r = 0; r < canvas.height(); ++r) {
        Bgr24* row = canvas.scanline(r);
        if (r < r0 || r > r1 || c0 > c1) {
            for (int c = 0; c < canvas.width(); ++c)
                plainPixel(row[c]);
            continue;
        }
        for (int c = 0; c < c0; ++c)
            plainPixel(row[c]);
        for (int c = c0; c <= c1; ++c) {
            const Bgr24 work = row[c];
            Sum sum;
            addLayerPixel(sum, layerPixel(2 * c, 2 * r), work);
            addLayerPixel(sum, layerPixel(2 * c + 1, 2 * r), work);
            addLayerPixel(sum, layerPixel(2 * c, 2 * r + 1), work);
            addLayerPixel(sum, layerPixel(2 * c + 1, 2 * r + 1), work);
            row[c] = finish(sum, work, level);
        }
        for (int c = c1 + 1; c < canvas.width(); ++c)
            plainPixel(row[c]);
    }
}

} // namespace plakett
