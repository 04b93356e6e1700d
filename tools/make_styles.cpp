// Writes the shipped styles (data/Styles/*.jpgs) and background textures (data/Backgrounds)
// through the program's own pipeline. Not part of the main build:
//   cmake -S tools -B build-tools -G Ninja && cmake --build build-tools
//   build-tools/make_styles data
// Each thumbnail is the normal state of the default pill (data/Buttons/Pill.shp) lit by the
// style, exactly as the light editor's Save writes it; the textures are generated, so the
// output is the same on every run.
#include "effects/light_editor.h"
#include "effects/style_file.h"
#include "image/jpeg.h"
#include "render/button_renderer.h"
#include "shape/compute_points.h"
#include "shape/shape_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

struct Light {
    int padX, padY; // 0..64 on the placement pad; 32, 32 faces the viewer
    ColorRef color;
    int radius; // 40..200
    int power;  // 0..100
};

struct Style {
    const char* name;
    ColorRef button;
    std::vector<Light> lights; // one to four; the first is always on
};

constexpr ColorRef rgb(int r, int g, int b) {
    return makeColorRef(r, g, b);
}

// A broad key light from above for the cushion, a small bright one for the highlight, and a
// coloured glow from below that the curved lower rim catches.
const std::vector<Style>& styles() {
    static const std::vector<Style> all = {
        {"Aqua",
         rgb(20, 92, 170),
         {{32, 16, rgb(200, 230, 255), 120, 45},
          {25, 11, rgb(255, 255, 255), 44, 50},
          {32, 58, rgb(70, 200, 255), 72, 40}}},
        {"Ruby",
         rgb(138, 12, 30),
         {{32, 16, rgb(255, 190, 190), 120, 42},
          {25, 11, rgb(255, 240, 240), 42, 52},
          {32, 58, rgb(255, 70, 80), 70, 36}}},
        {"Graphite",
         rgb(52, 56, 64),
         {{32, 15, rgb(215, 222, 235), 124, 50},
          {25, 11, rgb(255, 255, 255), 40, 46},
          {32, 59, rgb(130, 160, 210), 66, 26}}},
        {"Sunset",
         rgb(200, 72, 28),
         {{32, 15, rgb(255, 210, 120), 120, 40},
          {25, 11, rgb(255, 250, 225), 40, 42},
          {32, 58, rgb(255, 40, 120), 80, 40},
          {58, 34, rgb(255, 150, 40), 56, 24}}},
        {"Mint",
         rgb(36, 150, 112),
         {{32, 16, rgb(220, 255, 235), 116, 38},
          {25, 11, rgb(255, 255, 255), 40, 44},
          {32, 58, rgb(150, 255, 210), 64, 28}}},
        {"Gold",
         rgb(150, 100, 16),
         {{32, 15, rgb(255, 225, 140), 120, 46},
          {25, 11, rgb(255, 250, 215), 42, 48},
          {32, 58, rgb(255, 190, 60), 70, 34}}},
    };
    return all;
}

StyleData styleData(const Style& s) {
    StyleData d;
    d.buttonColor = s.button;
    for (std::size_t i = 0; i < s.lights.size() && i < d.lights.size(); ++i) {
        const Light& l = s.lights[i];
        d.lights[i] = StyleLight{1, l.padX, l.padY, l.color, l.radius, l.power};
    }
    return d;
}

PointsArray renderOutline(const fs::path& shape) {
    std::vector<TMoveBox> points;
    LoadFromFile(shape, points);
    PointsArray outline;
    for (const TPoint& p : ComputeRenderOutline(points))
        outline.push_back({p.X, p.Y});
    return outline;
}

void writeStyles(const fs::path& data) {
    RenderSettings settings;
    ButtonRenderer renderer;
    renderer.enter(renderOutline(data / "Buttons" / "Pill.shp"), settings);
    fs::create_directories(data / kStylesFolderName);
    for (const Style& s : styles()) {
        LightEditor editor;
        editor.setRenderMode(true);
        const Bgr24Image lightMap = editor.applyStyle(styleData(s));
        const StateImages states = renderer.render(lightMap, settings, nullptr);
        writeStyleFile(styleFilePath(data / kStylesFolderName, s.name), editor.state().FLightSet,
                       editor.state().ButtonColor, states[0], settings.text.fontName);
    }
}

// Textures are drawn with a period of width - 1 columns (the last column is never used), so
// the patterns repeat every 63 columns and 64 rows, and column 63 repeats column 0.
constexpr int kTextureSize = 64;
constexpr int kPeriodX = kTextureSize - 1;
constexpr int kPeriodY = kTextureSize;

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

template <class Shade> Bgr24Image texture(Shade shade) {
    Bgr24Image img(kTextureSize, kTextureSize);
    for (int y = 0; y < kTextureSize; ++y)
        for (int x = 0; x < kTextureSize; ++x) {
            double r = 0, g = 0, b = 0;
            shade(x % kPeriodX, y % kPeriodY, r, g, b);
            img.at(x, y) = Bgr24{level(b), level(g), level(r)};
        }
    return img;
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

void writeBackgrounds(const fs::path& data) {
    const fs::path folder = data / "Backgrounds";
    fs::create_directories(folder);
    writeJpegFile(folder / "Linen.jpg", linen(), 92);
    writeJpegFile(folder / "BrushedMetal.jpg", brushedMetal(), 92);
    writeJpegFile(folder / "Dots.jpg", dots(), 92);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_styles DATA_FOLDER\n";
        return 2;
    }
    try {
        writeStyles(argv[1]);
        writeBackgrounds(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "make_styles: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
