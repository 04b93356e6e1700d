#include "web/image_upscale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace plakett {

namespace {

int edgeIndex(int i, int size, UpscaleEdges edges) {
    if (edges == UpscaleEdges::Clamp) return std::clamp(i, 0, size - 1);
    const int r = i % size;
    return r < 0 ? r + size : r;
}

struct Tap {
    int i0 = 0;
    int i1 = 0;
    double w1 = 0; // weight of i1; i0 takes 1 - w1
};

Tap tapFor(int out, int factor, int size, UpscaleEdges edges) {
    const double at = (out + 0.5) / factor - 0.5;
    const double lo = std::floor(at);
    const int i = static_cast<int>(lo);
    return Tap{edgeIndex(i, size, edges), edgeIndex(i + 1, size, edges), at - lo};
}

Bgr24 blend(const std::array<Bgr24, 4>& p, const std::array<double, 4>& w,
            const std::optional<Bgr24>& key) {
    double sum = 0, b = 0, g = 0, r = 0;
    for (int k = 0; k < 4; ++k) {
        if (key && p[k] == *key) continue;
        sum += w[k];
        b += w[k] * p[k].b;
        g += w[k] * p[k].g;
        r += w[k] * p[k].r;
    }
    if (sum <= 0) return key.value_or(p[0]);
    auto channel = [&](double v) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(v / sum), 0L, 255L));
    };
    return Bgr24{channel(b), channel(g), channel(r)};
}

Bgr24Image upscaleSelected(const Bgr24Image& source, int usedWidth, int factor,
                           UpscaleEdges edges, std::optional<Bgr24> key,
                           const std::vector<int>& rows, const std::vector<int>& columns) {
    const int h = source.height();
    Bgr24Image out(static_cast<int>(columns.size()), static_cast<int>(rows.size()));
    for (int k = 0; k < out.height(); ++k) {
        const int y = rows[static_cast<std::size_t>(k)];
        const Tap ty = tapFor(y, factor, h, edges);
        const Bgr24* row0 = source.scanline(ty.i0);
        const Bgr24* row1 = source.scanline(ty.i1);
        const Bgr24* nearestRow = source.scanline(y / factor);
        Bgr24* o = out.scanline(k);
        for (int j = 0; j < out.width(); ++j) {
            const int x = columns[static_cast<std::size_t>(j)];
            if (key && nearestRow[x / factor] == *key) {
                o[j] = *key;
                continue;
            }
            const Tap tx = tapFor(x, factor, usedWidth, edges);
            const std::array<Bgr24, 4> p{row0[tx.i0], row0[tx.i1], row1[tx.i0], row1[tx.i1]};
            const std::array<double, 4> wt{(1 - tx.w1) * (1 - ty.w1), tx.w1 * (1 - ty.w1),
                                           (1 - tx.w1) * ty.w1, tx.w1 * ty.w1};
            o[j] = blend(p, wt, key);
        }
    }
    return out;
}

std::vector<int> allIndices(int count) {
    std::vector<int> v(static_cast<std::size_t>(count));
    std::iota(v.begin(), v.end(), 0);
    return v;
}

} // namespace

Bgr24Image upscaleSmooth(const Bgr24Image& source, int factor, UpscaleEdges edges,
                         std::optional<Bgr24> key) {
    if (factor <= 1 || source.empty()) return source;
    return upscaleSelected(source, source.width(), factor, edges, key,
                           allIndices(source.height() * factor),
                           allIndices(source.width() * factor));
}

Bgr24Image upscaleSmoothPart(const Bgr24Image& source, int factor, UpscaleEdges edges,
                             std::optional<Bgr24> key, const std::vector<int>& rows,
                             const std::vector<int>& columns) {
    if (source.empty()) return source;
    return upscaleSelected(source, source.width(), factor, edges, key, rows, columns);
}

Bgr24Image upscaleTexturePart(const Bgr24Image& texture, int factor, const std::vector<int>& rows,
                              std::vector<int> columns) {
    if (texture.empty()) return texture;
    const int period = std::max(texture.width() - 1, 1);
    // The enlarged texture's last column repeats its first.
    for (int& c : columns)
        if (c == period * factor) c = 0;
    return upscaleSelected(texture, period, factor, UpscaleEdges::Wrap, std::nullopt, rows,
                           columns);
}

Bgr24Image upscaleTexture(const Bgr24Image& texture, int factor) {
    if (factor <= 1 || texture.empty()) return texture;
    const int period = std::max(texture.width() - 1, 1);
    Bgr24Image tile(period, texture.height());
    for (int y = 0; y < tile.height(); ++y)
        std::copy_n(texture.scanline(y), period, tile.scanline(y));
    const Bgr24Image big = upscaleSmooth(tile, factor, UpscaleEdges::Wrap);
    Bgr24Image out(big.width() + 1, big.height());
    for (int y = 0; y < out.height(); ++y) {
        std::copy_n(big.scanline(y), big.width(), out.scanline(y));
        out.scanline(y)[big.width()] = big.scanline(y)[0];
    }
    return out;
}

} // namespace plakett
