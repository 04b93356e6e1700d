#include "textures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace plakett::tools {

namespace {

// The first textures repeat every 63 columns and 64 rows; the later ones every 64 both ways,
// which lets diagonal and grid patterns close.
constexpr int kTextureSize = 64;
constexpr int kPeriodX = kTextureSize - 1;
constexpr int kPeriodY = kTextureSize;
constexpr int kSquare = 64;

// Deterministic noise in [0, 1) from integer coordinates.
double noise(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u ^ static_cast<std::uint32_t>(x) * 0x85EBCA6Bu ^
                      static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / 16777216.0;
}

std::uint8_t level(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

template <class Shade>
Bgr24Image texture(Shade shade, int periodX = kPeriodX, int periodY = kPeriodY) {
    Bgr24Image img(periodX + 1, periodY);
    for (int y = 0; y < periodY; ++y)
        for (int x = 0; x <= periodX; ++x) {
            double r = 0, g = 0, b = 0;
            shade(x % periodX, y, r, g, b);
            img.at(x, y) = Bgr24{level(b), level(g), level(r)};
        }
    return img;
}

// Smooth noise over a lattice of `cell` pixels that wraps every kSquare pixels.
double smoothNoise(double x, double y, int cell, std::uint32_t seed) {
    const int n = kSquare / cell;
    const double fx = x / cell, fy = y / cell;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const auto ease = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = ease(fx - ix), ty = ease(fy - iy);
    const auto at = [&](int i, int j) { return noise(((i % n) + n) % n, ((j % n) + n) % n, seed); };
    const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
    const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

// Plain weave of uneven threads: each pixel shows the vertical or the horizontal thread in
// turn, and every thread varies in brightness along its length (slubs).
Bgr24Image linen() {
    return texture([](int x, int y, double& r, double& g, double& b) {
        const double warp = noise(x, 0, 11) - 0.5 + 0.6 * (noise(x, y / 8, 12) - 0.5);
        const double weft = noise(0, y, 13) - 0.5 + 0.6 * (noise(x / 7, y, 14) - 0.5);
        const bool warpOnTop = (x + y) % 2 == 0;
        const double v = (warpOnTop ? 4 + 22 * warp : -4 + 22 * weft) + 6 * (noise(x, y, 15) - 0.5);
        r = 214 + v;
        g = 204 + v;
        b = 184 + v;
    });
}

// Fine horizontal streaks of uneven brightness, as left by a brush.
Bgr24Image brushedMetal() {
    return texture([](int x, int y, double& r, double& g, double& b) {
        const double row = 26 * (noise(0, y, 21) - 0.5) + 12 * (noise(0, y / 2, 22) - 0.5);
        const double phase = 2 * std::numbers::pi * noise(0, y, 23);
        const double wave = 6 * std::sin(2 * std::numbers::pi * x / kPeriodX + phase);
        const double v = 178 + row + wave + 8 * (noise(x, y, 24) - 0.5);
        r = v;
        g = v + 2;
        b = v + 6;
    });
}

// Staggered soft dots, 9 x 8 pixels apart (7 across the period, 8 down).
Bgr24Image dots() {
    return texture([](int x, int y, double& r, double& g, double& b) {
        constexpr int kSamples = 4;
        double cover = 0;
        for (int sy = 0; sy < kSamples; ++sy)
            for (int sx = 0; sx < kSamples; ++sx) {
                const double px = x + (sx + 0.5) / kSamples;
                const double py = y + (sy + 0.5) / kSamples;
                const int rowIndex = static_cast<int>(std::floor(py / 8));
                const double cy = rowIndex * 8 + 4;
                const double shift = (rowIndex % 2) * 4.5;
                double dx = std::fmod(px - shift + 2 * kPeriodX, 9.0) - 4.5;
                const double dy = py - cy;
                cover += dx * dx + dy * dy <= 2.1 * 2.1 ? 1 : 0;
            }
        cover /= kSamples * kSamples;
        r = 238 - cover * 44;
        g = 236 - cover * 38;
        b = 230 - cover * 22;
    });
}

// Carbon fibre twill: 4 x 4 blocks of fibres that turn every block, shifted one block a row,
// each block shaded across its fibres.
Bgr24Image carbon() {
    return texture(
        [](int x, int y, double& r, double& g, double& b) {
            constexpr int kBlock = 4;
            const bool across = ((x / kBlock + y / kBlock) / 2) % 2 == 0;
            const int t = across ? y % kBlock : x % kBlock;
            const double sheen = std::sin((t + 0.5) / kBlock * std::numbers::pi);
            const double v = 34 + (across ? 38 : 20) * sheen + 6 * (noise(x, y, 31) - 0.5);
            r = v;
            g = v + 1;
            b = v + 4;
        },
        kSquare, kSquare);
}

// Thin light stripes running down to the left, 8 pixels apart.
Bgr24Image pinstripe() {
    return texture(
        [](int x, int y, double& r, double& g, double& b) {
            constexpr int kSamples = 4;
            double cover = 0;
            for (int s = 0; s < kSamples; ++s) {
                const double d = std::fmod(x + y + (s + 0.5) / kSamples, 8.0);
                cover += d < 1.5 ? 1 : 0;
            }
            cover /= kSamples;
            r = 92 + cover * 120;
            g = 100 + cover * 118;
            b = 122 + cover * 110;
        },
        kSquare, kSquare);
}

// Cream paper: soft clouds with a fine grain.
Bgr24Image paper() {
    return texture(
        [](int x, int y, double& r, double& g, double& b) {
            const double v = 18 * (smoothNoise(x, y, 16, 41) - 0.5) +
                             10 * (smoothNoise(x, y, 4, 42) - 0.5) + 8 * (noise(x, y, 43) - 0.5);
            r = 236 + v;
            g = 228 + v;
            b = 206 + v;
        },
        kSquare, kSquare);
}

// Graph paper: a fine grid every 8 pixels and a stronger line every 32.
Bgr24Image grid() {
    return texture(
        [](int x, int y, double& r, double& g, double& b) {
            // Lines clear of the edges, where JPEG blocks would blur the repeated column.
            const bool major = x % 32 == 4 || y % 32 == 4;
            const bool minor = x % 8 == 4 || y % 8 == 4;
            const double ink = major ? 1.0 : minor ? 0.45 : 0;
            r = 246 - ink * 120;
            g = 248 - ink * 70;
            b = 250 - ink * 30;
        },
        kSquare, kSquare);
}

// Wood grain: long, slightly wavy dark lines along the texture over fine fibre streaks.
Bgr24Image wood() {
    return texture(
        [](int x, int y, double& r, double& g, double& b) {
            const double warp = 1.2 * smoothNoise(x, y, 32, 51) + 0.3 * smoothNoise(x, y, 16, 52);
            const double phase = 2 * std::numbers::pi * (6.0 * y / kSquare + warp);
            const double line = std::pow(0.5 + 0.5 * std::sin(phase), 4);
            const double fibre = 0.5 * (noise(x / 16, y, 53) - 0.5) + 0.5 * (noise(0, y, 54) - 0.5);
            const double v = std::clamp(0.75 * line + 0.25 * fibre + 0.1, 0.0, 1.0);
            r = 204 - 90 * v;
            g = 148 - 74 * v;
            b = 92 - 52 * v;
        },
        kSquare, kSquare);
}

} // namespace

std::vector<NamedTexture> libraryTextures() {
    return {{"Linen.jpg", linen()},         {"BrushedMetal.jpg", brushedMetal()},
            {"Dots.jpg", dots()},           {"Carbon.jpg", carbon()},
            {"Pinstripe.jpg", pinstripe()}, {"Paper.jpg", paper()},
            {"Grid.jpg", grid()},           {"Wood.jpg", wood()}};
}

} // namespace plakett::tools
