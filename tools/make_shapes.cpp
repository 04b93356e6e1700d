// Writes the shipped library shapes (data/Buttons, data/Other) with the program's own shape
// writer. Not part of the main build:
//   cmake -S tools -B build-tools -G Ninja && cmake --build build-tools
//   build-tools/make_shapes data
// Every ring runs counter-clockwise on screen (right, top, left, bottom), like the default
// shape, so library shapes and drawn shapes face their light the same way.
#include "shape/shape_file.h"

#include <algorithm>
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

// One corner of a polygon outline, rounded with radius r (0: a sharp Corner point).
struct Vertex {
    int x, y;
    double r = 0;
};

// Screen rings run right, top, left, bottom: a negative shoelace sum with y downwards.
std::vector<Vertex> counterClockwise(std::vector<Vertex> v) {
    double sum = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Vertex& a = v[i];
        const Vertex& b = v[(i + 1) % v.size()];
        sum += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    if (sum > 0) std::reverse(v.begin(), v.end());
    return v;
}

std::vector<Vertex> mirrored(std::vector<Vertex> v, int centreX) {
    for (Vertex& p : v)
        p.x = 2 * centreX - p.x;
    return counterClockwise(std::move(v));
}

// A polygon whose rounded corners (r > 0) become two Anchor points at the ends of a circular
// fillet; tight corners stay sharp, as two points a few pixels apart are hard to pick in the
// editor. Straight sides keep their controls on the side, a third of its length long, so a
// user can bend them later without the corners changing.
std::vector<TMoveBox> roundedPolygon(const std::vector<Vertex>& input) {
    const std::vector<Vertex> v = counterClockwise(input);
    struct Node {
        double x, y, tx, ty;
        double in = -1, out = -1; // -1: straight side, filled in below
        bool sharp = false;
    };
    std::vector<Node> nodes;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex& p = v[(i + n - 1) % n];
        const Vertex& c = v[i];
        const Vertex& q = v[(i + 1) % n];
        if (c.r <= 0) {
            nodes.push_back({double(c.x), double(c.y), 0, 0, 0, 0, true});
            continue;
        }
        const double li = std::hypot(c.x - p.x, c.y - p.y);
        const double lo = std::hypot(q.x - c.x, q.y - c.y);
        const double ix = (c.x - p.x) / li, iy = (c.y - p.y) / li;
        const double ox = (q.x - c.x) / lo, oy = (q.y - c.y) / lo;
        const double turn = std::acos(std::clamp(ix * ox + iy * oy, -1.0, 1.0));
        const double cut = c.r * std::tan(turn / 2);
        const double k = 4.0 / 3.0 * std::tan(turn / 4) * c.r;
        nodes.push_back({c.x - ix * cut, c.y - iy * cut, ix, iy, -1, k});
        nodes.push_back({c.x + ox * cut, c.y + oy * cut, ox, oy, k, -1});
    }
    std::vector<TMoveBox> ring;
    const std::size_t m = nodes.size();
    for (std::size_t i = 0; i < m; ++i) {
        const Node& a = nodes[i];
        const int x = static_cast<int>(std::lround(a.x));
        const int y = static_cast<int>(std::lround(a.y));
        if (a.sharp) {
            ring.push_back(corner(x, y));
            continue;
        }
        const Node& prev = nodes[(i + m - 1) % m];
        const Node& next = nodes[(i + 1) % m];
        const double in = a.in >= 0 ? a.in : std::hypot(a.x - prev.x, a.y - prev.y) / 3;
        const double out = a.out >= 0 ? a.out : std::hypot(next.x - a.x, next.y - a.y) / 3;
        ring.push_back(smooth(x, y, a.tx, a.ty, in, out));
    }
    return ring;
}

// Buttons with one pointed end: an arrow pointing right, mirrored for the left one.
std::vector<Vertex> arrowButton() {
    return {{292, 150}, {258, 120}, {112, 120, 10}, {112, 180, 10}, {258, 180}};
}

// A price tag: the left corners cut off at 45 degrees, the right ones well rounded.
std::vector<Vertex> tagButton() {
    return {{285, 178, 14}, {285, 122, 14}, {140, 122}, {118, 144}, {118, 156}, {140, 178}};
}

std::vector<Vertex> chevron() {
    return {{282, 150}, {250, 120}, {118, 120}, {148, 150}, {118, 180}, {250, 180}};
}

std::vector<Vertex> bottomTab() {
    return {{265, 180, 14}, {265, 120}, {135, 120}, {135, 180, 14}};
}

std::vector<Vertex> slopedTab() {
    return {{285, 180}, {255, 122, 14}, {145, 122, 14}, {115, 180}};
}

std::vector<Vertex> speechBubble() {
    return {{275, 180, 16}, {275, 95, 16}, {125, 95, 16}, {125, 180, 16},
            {158, 180},     {146, 212},    {186, 180}};
}

std::vector<Vertex> checkMark() {
    return {{118, 152}, {146, 124}, {178, 156}, {252, 82}, {280, 110}, {178, 212}};
}

std::vector<Vertex> plus() {
    constexpr int a = 19, b = 58; // half the bar width, half the overall size
    return {{200 + b, 150 - a}, {200 + a, 150 - a}, {200 + a, 150 - b}, {200 - a, 150 - b},
            {200 - a, 150 - a}, {200 - b, 150 - a}, {200 - b, 150 + a}, {200 - a, 150 + a},
            {200 - a, 150 + b}, {200 + a, 150 + b}, {200 + a, 150 + a}, {200 + b, 150 + a}};
}

// Flower-like rim of Auto points on two radii, as a user would click it in.
std::vector<TMoveBox> rosette() {
    std::vector<TMoveBox> ring;
    constexpr int kPoints = 24;
    for (int i = 0; i < kPoints; ++i) {
        const double a = 2 * std::numbers::pi * i / kPoints;
        const double r = i % 2 ? 68 : 80;
        TMoveBox b;
        b.Init(200 + static_cast<int>(std::lround(r * std::cos(a))),
               150 - static_cast<int>(std::lround(r * std::sin(a))));
        ring.push_back(b);
    }
    return ring;
}

// Puffs meet in Corner points; each puff is one Anchor point at its top.
std::vector<TMoveBox> cloud() {
    return {corner(268, 188), smooth(292, 164, 0, -1, 14, 14),
            corner(268, 138), smooth(236, 106, -1, 0, 20, 18),
            corner(214, 112), smooth(176, 88, -1, 0, 24, 26),
            corner(142, 128), smooth(112, 162, 0, 1, 18, 16),
            corner(138, 188)};
}

// A banner with swallow-tail ends whose long sides bow upwards.
std::vector<TMoveBox> ribbon() {
    return {corner(292, 172), corner(270, 142), corner(292, 112), smooth(200, 100, -1, 0, 42, 42),
            corner(108, 112), corner(130, 142), corner(108, 172), smooth(200, 160, 1, 0, 42, 42)};
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
        {"Buttons/WidePill.shp", roundedRect(100, 128, 300, 172, 22)},
        {"Buttons/SmallPill.shp", roundedRect(155, 134, 245, 166, 16)},
        {"Buttons/SoftSquare.shp", roundedRect(160, 110, 240, 190, 20)},
        {"Buttons/BottomTab.shp", roundedPolygon(bottomTab())},
        {"Buttons/SlopedTab.shp", roundedPolygon(slopedTab())},
        {"Buttons/ArrowRight.shp", roundedPolygon(arrowButton())},
        {"Buttons/ArrowLeft.shp", roundedPolygon(mirrored(arrowButton(), 200))},
        {"Buttons/Chevron.shp", roundedPolygon(chevron())},
        {"Buttons/Tag.shp", roundedPolygon(tagButton())},
        {"Other/Star.shp", star()},
        {"Other/Arrow.shp", arrow()},
        {"Other/Heart.shp", heart()},
        {"Other/Shield.shp", shield()},
        {"Other/SpeechBubble.shp", roundedPolygon(speechBubble())},
        {"Other/CheckMark.shp", roundedPolygon(checkMark())},
        {"Other/Plus.shp", roundedPolygon(plus())},
        {"Other/Cloud.shp", cloud()},
        {"Other/Rosette.shp", rosette()},
        {"Other/Ribbon.shp", ribbon()},
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
