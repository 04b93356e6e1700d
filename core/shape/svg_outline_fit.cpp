#include "shape/svg_outline_fit.h"

#include "shape/shape_error.h"
#include "shape/shape_file.h"
#include "shape/svg_anchor_exact.h"

#include <algorithm>
#include <cmath>

namespace plakett::svg {
namespace {

constexpr double kOnPoint = 1e-6;    // a control this close to its end point lies on it
constexpr double kSmoothSine = 0.035; // tangents within about 2 degrees count as one line
constexpr int kMaxDepth = 16;

// What meets a point from one side: a straight line, a curve whose control lies on the
// point, or a curve leaving in a direction.
enum class Side { Line, OnPoint, Curve };

Side startSide(const Cubic& c) {
    if (c.line) return Side::Line;
    return length(c.c1 - c.p0) <= kOnPoint ? Side::OnPoint : Side::Curve;
}

Side endSide(const Cubic& c) {
    if (c.line) return Side::Line;
    return length(c.c2 - c.p3) <= kOnPoint ? Side::OnPoint : Side::Curve;
}

Vec2 unit(Vec2 v) {
    const double l = length(v);
    return l > 0 ? v * (1 / l) : Vec2{};
}

struct Node {
    TPoint pos;
    Vec2 offset;      // rounded position minus exact position
    double allowance; // how far the outline may stray here for the rounding of a path point
    bool anchor = false;
    Vec2 d;      // Anchor direction: toward the previous point
    float R = 0; // control length on the previous point's side
    float L = 0; // on the next point's side
    Vec2 inTarget, outTarget; // the controls the fitted segments asked for
};

Node makeNode(Vec2 exact) {
    Node n{};
    n.pos = {static_cast<std::int32_t>(std::nearbyint(exact.x)),
             static_cast<std::int32_t>(std::nearbyint(exact.y))};
    n.offset = Vec2{static_cast<double>(n.pos.X), static_cast<double>(n.pos.Y)} - exact;
    return n;
}

bool collinear(Vec2 a, Vec2 b) {
    return dot(a, b) > 0 && std::fabs(cross(a, b)) < kSmoothSine;
}

// The join of `in` (ending here) and `out` (starting here) decides the point's type. A
// curve meeting a straight line (or a curve whose control lies on the point) makes an
// Anchor point whose length on that other side is 0: both sides are then drawn exactly,
// the straight one running point to point as between Corner points. Two curves make an
// Anchor point when they join smoothly, a Corner point when they meet at an angle.
void classify(Node& n, const Cubic& in, const Cubic& out) {
    const Side a = endSide(in), b = startSide(out);
    const Vec2 tin = unit(in.p3 - in.c2);
    const Vec2 tout = unit(out.c1 - out.p0);
    Vec2 travel;
    if (a == Side::Curve && b == Side::Curve) {
        if (collinear(tin, tout)) travel = unit(tin + tout);
    } else if (a == Side::Curve) {
        travel = tin;
    } else if (b == Side::Curve) {
        travel = tout;
    }
    if (travel == Vec2{}) return; // Corner
    n.anchor = true;
    n.d = Vec2{static_cast<float>(-travel.x), static_cast<float>(-travel.y)};
}

// The segment moved with its end points to their rounded positions.
Cubic snapped(const Cubic& c, const Node& a, const Node& b) {
    return {c.p0 + a.offset, c.c1 + a.offset, c.c2 + b.offset, c.p3 + b.offset, c.line};
}

Vec2 at(TPoint p) {
    return {static_cast<double>(p.X), static_cast<double>(p.Y)};
}

// The controls as the outline computation forms them from the stored float32 values.
Vec2 inControl(const Node& n) {
    if (!n.anchor) return at(n.pos);
    return {static_cast<float>(n.pos.X + n.d.x * static_cast<double>(n.R) * 1.5),
            static_cast<float>(n.pos.Y + n.d.y * static_cast<double>(n.R) * 1.5)};
}

Vec2 outControl(const Node& n) {
    if (!n.anchor) return at(n.pos);
    return {static_cast<float>(n.pos.X - n.d.x * static_cast<double>(n.L) * 1.5),
            static_cast<float>(n.pos.Y - n.d.y * static_cast<double>(n.L) * 1.5)};
}

// Sets a's outgoing and b's incoming length for the segment and returns how far the drawn
// segment strays from the path.
double fitLengths(const Cubic& exact, Node& a, Node& b) {
    const Cubic ref = snapped(exact, a, b);
    const bool straight = exact.line;
    if (a.anchor)
        a.L = straight ? 0.0f : static_cast<float>(std::max(0.0, -dot(ref.c1 - ref.p0, a.d)) / 1.5);
    if (b.anchor)
        b.R = straight ? 0.0f : static_cast<float>(std::max(0.0, dot(ref.c2 - ref.p3, b.d)) / 1.5);
    a.outTarget = straight ? ref.p0 : ref.c1;
    b.inTarget = straight ? ref.p3 : ref.c2;
    const Cubic drawn{at(a.pos), outControl(a), inControl(b), at(b.pos)};
    return curveDistance(drawn, exact);
}

// A curve leaving a Corner point cannot keep its control there; the control length at its
// Anchor end, stretched or shortened, may still make up for it. True when one does.
bool fitFreeLength(const Cubic& exact, Node& a, Node& b, double allowed) {
    if (exact.line || a.anchor == b.anchor) return false;
    float& len = a.anchor ? a.L : b.R;
    const float base = len;
    for (const double f : {0.75, 1.25, 0.5, 1.5, 2.0, 0.25, 3.0}) {
        len = static_cast<float>(base * f);
        const Cubic drawn{at(a.pos), outControl(a), inControl(b), at(b.pos)};
        if (curveDistance(drawn, exact) <= allowed) {
            // The control asked for is now the one drawn, so that nothing undoes the change.
            (a.anchor ? a.outTarget : b.inTarget) = a.anchor ? drawn.c1 : drawn.c2;
            return true;
        }
    }
    len = base;
    return false;
}

// Where to split: near the middle, at the place closest to a whole pixel, so that the new
// point's rounding costs least.
double splitPlace(const Cubic& c) {
    double best = 0.5, bestOffset = INFINITY;
    for (int k = 0; k <= 20; ++k) {
        const double t = 0.5 + (k % 2 ? 1 : -1) * ((k + 1) / 2) * 0.0125;
        const Vec2 p = c.at(t);
        const double off = std::hypot(p.x - std::nearbyint(p.x), p.y - std::nearbyint(p.y));
        if (off < bestOffset - 1e-9) {
            best = t;
            bestOffset = off;
        }
    }
    return best;
}

// The points strictly between a and b that the segment needs, in order.
std::vector<Node> fitSegment(const Cubic& exact, Node& a, Node& b, int depth) {
    const double allowed = kFitTolerance + std::max(a.allowance, b.allowance);
    if (fitLengths(exact, a, b) <= allowed || fitFreeLength(exact, a, b, allowed) ||
        depth >= kMaxDepth || length(exact.p3 - exact.p0) < 1)
        return {};
    const auto halves = exact.split(splitPlace(exact));
    Node m = makeNode(halves[0].p3);
    classify(m, halves[0], halves[1]);
    std::vector<Node> out = fitSegment(halves[0], a, m, depth + 1);
    std::vector<Node> right = fitSegment(halves[1], m, b, depth + 1);
    out.push_back(m);
    out.insert(out.end(), right.begin(), right.end());
    return out;
}

// Segments whose ends round to one pixel are dropped; the next one starts where they did.
std::vector<Cubic> withoutSubpixelSegments(std::vector<Cubic> ring) {
    auto rounded = [](Vec2 p) { return Vec2{std::nearbyint(p.x), std::nearbyint(p.y)}; };
    std::vector<Cubic> out;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        Cubic c = ring[i];
        if (!out.empty()) {
            const Vec2 shift = out.back().p3 - c.p0;
            c.p0 = c.p0 + shift;
            c.c1 = c.c1 + shift;
        }
        if (rounded(c.p0) == rounded(c.p3) && i + 1 < ring.size()) {
            ring[i + 1].p0 = c.p0; // carried over
            continue;
        }
        out.push_back(c);
    }
    return out;
}

TMoveBox toBox(const Node& n) {
    TMoveBox box;
    box.Init(n.pos.X, n.pos.Y);
    box.FPointType = n.anchor ? ptBezier : ptAngle;
    if (n.anchor) {
        box.FRx = static_cast<float>(n.d.x);
        box.FRy = static_cast<float>(n.d.y);
        box.FRightLength = n.R;
        box.FLeftLength = n.L;
    }
    return box;
}

} // namespace

double curveDistance(const Cubic& a, const Cubic& b) {
    const double span = std::max(length(a.c1 - a.p0) + length(a.c2 - a.c1) + length(a.p3 - a.c2),
                                 length(b.c1 - b.p0) + length(b.c2 - b.c1) + length(b.p3 - b.c2));
    const int n = std::clamp(static_cast<int>(std::ceil(span * 2)), 8, 512);
    std::vector<Vec2> pa(n + 1), pb(n + 1);
    for (int i = 0; i <= n; ++i) {
        pa[i] = a.at(static_cast<double>(i) / n);
        pb[i] = b.at(static_cast<double>(i) / n);
    }
    auto toPolyline = [](Vec2 p, const std::vector<Vec2>& line) {
        double best = length(p - line[0]);
        for (std::size_t k = 1; k < line.size(); ++k) {
            const Vec2 s = line[k] - line[k - 1];
            const double l2 = dot(s, s);
            const double t = l2 > 0 ? std::clamp(dot(p - line[k - 1], s) / l2, 0.0, 1.0) : 0.0;
            best = std::min(best, length(p - (line[k - 1] + s * t)));
        }
        return best;
    };
    double worst = 0;
    for (const Vec2& p : pa)
        worst = std::max(worst, toPolyline(p, pb));
    for (const Vec2& p : pb)
        worst = std::max(worst, toPolyline(p, pa));
    return worst;
}

std::vector<TMoveBox> fitRing(const std::vector<Cubic>& input) {
    std::vector<Cubic> ring = withoutSubpixelSegments(input);
    if (ring.size() == 1) {
        const auto halves = ring[0].split(0.5);
        ring = {halves[0], halves[1]};
    }
    const std::size_t count = ring.size();
    std::vector<Node> nodes(count);
    for (std::size_t i = 0; i < count; ++i) {
        nodes[i] = makeNode(ring[i].p0);
        nodes[i].allowance = length(nodes[i].offset);
        classify(nodes[i], ring[(i + count - 1) % count], ring[i]);
    }
    std::vector<Node> all;
    for (std::size_t i = 0; i < count; ++i) {
        Node& next = nodes[(i + 1) % count];
        std::vector<Node> between = fitSegment(ring[i], nodes[i], next, 0);
        all.push_back(nodes[i]); // its outgoing length is now set
        all.insert(all.end(), between.begin(), between.end());
        if (all.size() > static_cast<std::size_t>(kMaxShapePoints))
            throw ShapeError("it holds more points than a shape may hold");
    }
    // The first point's incoming length was set by the last segment, after it was copied.
    if (!all.empty()) {
        all.front().R = nodes[0].R;
        all.front().inTarget = nodes[0].inTarget;
    }
    for (Node& n : all) {
        if (!n.anchor) continue;
        AnchorValues v{static_cast<float>(n.d.x), static_cast<float>(n.d.y), n.R, n.L};
        if (!exactAnchor(n.pos, n.inTarget, n.outTarget, v)) continue;
        n.d = {v.rx, v.ry};
        n.R = v.right;
        n.L = v.left;
    }
    if (std::all_of(all.begin(), all.end(), [&](const Node& n) { return n.pos == all[0].pos; }))
        return {}; // smaller than a pixel
    std::vector<TMoveBox> boxes;
    boxes.reserve(all.size());
    for (const Node& n : all)
        boxes.push_back(toBox(n));
    return boxes;
}

} // namespace plakett::svg
