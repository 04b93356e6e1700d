#include "shape/svg_curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace plakett::svg {

double dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}

double cross(Vec2 a, Vec2 b) {
    return a.x * b.y - a.y * b.x;
}

double length(Vec2 a) {
    return std::hypot(a.x, a.y);
}

Affine Affine::after(const Affine& m) const {
    return {a * m.a + c * m.b,     b * m.a + d * m.b,     a * m.c + c * m.d,
            b * m.c + d * m.d,     a * m.e + c * m.f + e, b * m.e + d * m.f + f};
}

Vec2 Cubic::at(double t) const {
    const double u = 1 - t;
    const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    return {p0.x * w0 + c1.x * w1 + c2.x * w2 + p3.x * w3,
            p0.y * w0 + c1.y * w1 + c2.y * w2 + p3.y * w3};
}

std::array<Cubic, 2> Cubic::split(double t) const {
    auto mix = [t](Vec2 a, Vec2 b) { return a + (b - a) * t; };
    const Vec2 a = mix(p0, c1), b = mix(c1, c2), c = mix(c2, p3);
    const Vec2 ab = mix(a, b), bc = mix(b, c);
    const Vec2 m = mix(ab, bc);
    return {Cubic{p0, a, ab, m, line}, Cubic{m, bc, c, p3, line}};
}

Cubic Cubic::mapped(const Affine& m) const {
    return {m.apply(p0), m.apply(c1), m.apply(c2), m.apply(p3), line};
}

Cubic lineCubic(Vec2 a, Vec2 b) {
    return {a, a + (b - a) * (1.0 / 3), a + (b - a) * (2.0 / 3), b, true};
}

Cubic quadraticCubic(Vec2 a, Vec2 q, Vec2 b) {
    return {a, a + (q - a) * (2.0 / 3), b + (q - b) * (2.0 / 3), b, false};
}

namespace {

constexpr double kPi = std::numbers::pi;

double angleBetween(Vec2 u, Vec2 v) {
    return std::atan2(cross(u, v), dot(u, v));
}

} // namespace

std::vector<Cubic> arcCubics(Vec2 from, double rx, double ry, double rotationDeg, bool largeArc,
                             bool sweep, Vec2 to, double tolerance) {
    if (from == to) return {};
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0) return {lineCubic(from, to)};
    const double phi = std::fmod(rotationDeg, 360.0) * kPi / 180;
    const double cp = std::cos(phi), sp = std::sin(phi);
    // Endpoint to centre parameterisation.
    const Vec2 h = (from - to) * 0.5;
    const Vec2 p{cp * h.x + sp * h.y, -sp * h.x + cp * h.y};
    const double lambda = (p.x * p.x) / (rx * rx) + (p.y * p.y) / (ry * ry);
    if (lambda > 1) {
        const double s = std::sqrt(lambda);
        rx *= s;
        ry *= s;
    }
    const double num = rx * rx * ry * ry - rx * rx * p.y * p.y - ry * ry * p.x * p.x;
    const double den = rx * rx * p.y * p.y + ry * ry * p.x * p.x;
    double k = den > 0 ? std::sqrt(std::max(0.0, num / den)) : 0;
    if (largeArc == sweep) k = -k;
    const Vec2 cPrime{k * rx * p.y / ry, -k * ry * p.x / rx};
    const Vec2 mid = (from + to) * 0.5;
    const Vec2 centre{cp * cPrime.x - sp * cPrime.y + mid.x, sp * cPrime.x + cp * cPrime.y + mid.y};
    const Vec2 u{(p.x - cPrime.x) / rx, (p.y - cPrime.y) / ry};
    const Vec2 v{(-p.x - cPrime.x) / rx, (-p.y - cPrime.y) / ry};
    const double theta1 = angleBetween({1, 0}, u);
    double delta = angleBetween(u, v);
    if (!sweep && delta > 0) delta -= 2 * kPi;
    if (sweep && delta < 0) delta += 2 * kPi;
    if (!std::isfinite(delta) || !std::isfinite(theta1)) return {lineCubic(from, to)};

    // A quarter of a circle drawn as one cubic strays 0.027 % of its radius from it, and the
    // error falls with the sixth power of the angle.
    const double radius = std::max(rx, ry);
    const double quarterError = 2.7e-4 * radius;
    double span = kPi / 2;
    if (quarterError > tolerance && tolerance > 0)
        span *= std::pow(tolerance / quarterError, 1.0 / 6);
    const int pieces =
        std::clamp(static_cast<int>(std::ceil(std::fabs(delta) / span - 1e-9)), 1, 64);
    const double step = delta / pieces;
    const double kappa = 4.0 / 3.0 * std::tan(step / 4);
    auto point = [&](double t) {
        const double x = rx * std::cos(t), y = ry * std::sin(t);
        return Vec2{cp * x - sp * y + centre.x, sp * x + cp * y + centre.y};
    };
    auto derivative = [&](double t) {
        const double x = -rx * std::sin(t), y = ry * std::cos(t);
        return Vec2{cp * x - sp * y, sp * x + cp * y};
    };
    std::vector<Cubic> out;
    Vec2 start = from;
    for (int i = 0; i < pieces; ++i) {
        const double t0 = theta1 + step * i, t1 = t0 + step;
        // The last end point is the one the path names, not a recomputed one.
        const Vec2 end = i + 1 == pieces ? to : point(t1);
        out.push_back({start, start + derivative(t0) * kappa, end - derivative(t1) * kappa, end});
        start = end;
    }
    return out;
}

} // namespace plakett::svg
