// Plane geometry of SVG outlines in double precision: points, affine maps and cubic
// segments, with the conversions of quadratics and elliptical arcs into cubics.
#pragma once

#include <array>
#include <vector>

namespace plakett::svg {

struct Vec2 {
    double x = 0;
    double y = 0;
    friend Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
    friend Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
    friend Vec2 operator*(Vec2 a, double s) { return {a.x * s, a.y * s}; }
    friend bool operator==(Vec2, Vec2) = default;
};

double dot(Vec2 a, Vec2 b);
double cross(Vec2 a, Vec2 b);
double length(Vec2 a);

// x' = a x + c y + e, y' = b x + d y + f (the order of SVG's matrix()).
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    Vec2 apply(Vec2 p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // this after `inner`: apply(inner.apply(p)).
    Affine after(const Affine& inner) const;
};

// One segment from p0 to p3 with controls c1, c2. `line` marks segments drawn as straight
// lines (their controls lie on the chord).
struct Cubic {
    Vec2 p0, c1, c2, p3;
    bool line = false;
    Vec2 at(double t) const;
    std::array<Cubic, 2> split(double t) const;
    Cubic reversed() const { return {p3, c2, c1, p0, line}; }
    Cubic mapped(const Affine& m) const;
};

Cubic lineCubic(Vec2 a, Vec2 b);
Cubic quadraticCubic(Vec2 a, Vec2 control, Vec2 b); // exact

// The SVG elliptical arc from `from` to `to` as cubics, each spanning at most 90 degrees
// and as few as keep them within `tolerance` of the ellipse. Radii are made large enough
// as SVG prescribes; zero radii give a line, equal end points nothing.
std::vector<Cubic> arcCubics(Vec2 from, double rx, double ry, double xAxisRotationDeg,
                             bool largeArc, bool sweep, Vec2 to, double tolerance);

} // namespace plakett::svg
