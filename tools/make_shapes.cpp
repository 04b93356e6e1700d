// Writes the shipped library shapes (data/Buttons, data/Other) with the program's own shape
// writer. Not part of the main build:
//   cmake -S tools -B build-tools -G Ninja && cmake --build build-tools
//   build-tools/make_shapes data
// Every ring runs counter-clockwise on screen (right, top, left, bottom), like the default
// shape, so library shapes and drawn shapes face their light the same way.
#include "shape/shape_file.h"

#include <cmath>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <vector>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

// Control distance of a quarter circle drawn as one cubic Bezier segment.
constexpr double kArc = 0.5523;

// Lengths to half pixels keep the written reals short and exact.
float halfPixels(double v) {
    return static_cast<float>(std::round(v * 2) / 2);
}

TMoveBox corner(int x, int y) {
    TMoveBox b;
    b.Init(x, y);
    b.FPointType = ptAngle;
    return b;
}

// A smooth point passed in direction (tx, ty), with its controls inDist toward the previous
// point and outDist toward the next one (in pixels, as the curve sees them).
TMoveBox smooth(int x, int y, double tx, double ty, double inDist, double outDist) {
    const double len = std::hypot(tx, ty);
    TMoveBox b;
    b.Init(x, y);
    b.FPointType = ptBezier;
    b.FRx = static_cast<float>(-tx / len) + 0.0f; // no "-0" in the files
    b.FRy = static_cast<float>(-ty / len) + 0.0f;
    b.FRightLength = halfPixels(inDist / 1.5);
    b.FLeftLength = halfPixels(outDist / 1.5);
    return b;
}

// Rectangle x0..x1, y0..y1 with corner radius r; sides of length 0 collapse to one point.
std::vector<TMoveBox> roundedRect(int x0, int y0, int x1, int y1, int r) {
    const double k = kArc * r;
    const double side = (y1 - y0 - 2 * r) / 3.0;
    const double top = (x1 - x0 - 2 * r) / 3.0;
    std::vector<TMoveBox> ring;
    const auto add = [&](int x, int y, double tx, double ty, double in, double out) {
        if (!ring.empty() && ring.back().FPos == TPoint{x, y}) {
            ring.back().FLeftLength = halfPixels(out / 1.5);
            return;
        }
        ring.push_back(smooth(x, y, tx, ty, in, out));
    };
    add(x1, y1 - r, 0, -1, k, side);
    add(x1, y0 + r, 0, -1, side, k);
    add(x1 - r, y0, -1, 0, k, top);
    add(x0 + r, y0, -1, 0, top, k);
    add(x0, y0 + r, 0, 1, k, side);
    add(x0, y1 - r, 0, 1, side, k);
    add(x0 + r, y1, 1, 0, k, top);
    add(x1 - r, y1, 1, 0, top, k);
    if (ring.size() > 1 && ring.back().FPos == ring.front().FPos) {
        ring.front().FRightLength = ring.back().FRightLength;
        ring.pop_back();
    }
    return ring;
}

std::vector<TMoveBox> ellipse(int cx, int cy, int rx, int ry) {
    const double kx = kArc * rx;
    const double ky = kArc * ry;
    return {smooth(cx + rx, cy, 0, -1, ky, ky), smooth(cx, cy - ry, -1, 0, kx, kx),
            smooth(cx - rx, cy, 0, 1, ky, ky), smooth(cx, cy + ry, 1, 0, kx, kx)};
}

std::vector<TMoveBox> tab() {
    const double k = kArc * 14;
    return {corner(265, 180),
            smooth(265, 134, 0, -1, 15, k),
            smooth(251, 120, -1, 0, k, 34),
            smooth(149, 120, -1, 0, 34, k),
            smooth(135, 134, 0, 1, k, 15),
            corner(135, 180)};
}

std::vector<TMoveBox> star() {
    std::vector<TMoveBox> ring;
    for (int i = 0; i < 10; ++i) {
        const double a = (90 + 36 * i) * std::numbers::pi / 180;
        const double r = i % 2 ? 34 : 80;
        ring.push_back(corner(200 + static_cast<int>(std::lround(r * std::cos(a))),
                              155 - static_cast<int>(std::lround(r * std::sin(a)))));
    }
    return ring;
}

std::vector<TMoveBox> arrow() {
    return {corner(280, 150), corner(225, 105), corner(225, 128), corner(120, 128),
            corner(120, 172), corner(225, 172), corner(225, 195)};
}

std::vector<TMoveBox> heart() {
    return {smooth(258, 128, 0, -1, 38, 24), smooth(229, 100, -1, 0, 24, 21), corner(200, 118),
            smooth(171, 100, -1, 0, 21, 24), smooth(142, 128, 0, 1, 24, 38),  corner(200, 200)};
}

std::vector<TMoveBox> shield() {
    return {smooth(260, 150, 0, -1, 45, 20), corner(260, 92), corner(140, 92),
            smooth(140, 150, 0, 1, 20, 45), corner(200, 230)};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_shapes DATA_FOLDER\n";
        return 2;
    }
    const fs::path data = argv[1];
    const struct {
        const char* path;
        std::vector<TMoveBox> ring;
    } shapes[] = {
        {"Buttons/Pill.shp", roundedRect(120, 122, 280, 178, 28)},
        {"Buttons/RoundedRect.shp", roundedRect(130, 115, 270, 185, 18)},
        {"Buttons/Circle.shp", ellipse(200, 150, 50, 50)},
        {"Buttons/Lozenge.shp",
         {corner(275, 150), corner(200, 110), corner(125, 150), corner(200, 190)}},
        {"Buttons/Tab.shp", tab()},
        {"Buttons/WideOval.shp", ellipse(200, 150, 100, 35)},
        {"Other/Star.shp", star()},
        {"Other/Arrow.shp", arrow()},
        {"Other/Heart.shp", heart()},
        {"Other/Shield.shp", shield()},
    };
    try {
        for (const auto& s : shapes) {
            fs::create_directories((data / s.path).parent_path());
            SaveToFile(s.ring, data / s.path);
        }
    } catch (const std::exception& e) {
        std::cerr << "make_shapes: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
