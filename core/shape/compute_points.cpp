#include "shape/compute_points.h"

#include "common/arith.h"
#include "shape/shape_arith.h"
#include "shape/shape_error.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace plakett {

namespace {

constexpr double kPi = std::numbers::pi;

TPoint scaled(TPoint p, std::int32_t scale) {
    return {wrap32(std::int64_t{p.X} * scale), wrap32(std::int64_t{p.Y} * scale)};
}

TPoint position(const TBezierNode& n) {
    return {n.X, n.Y};
}

} // namespace

float VectorAngle(float dx, float dy) {
    if (dx == 0.0f) {
        if (dy == 0.0f) return 0.0f;
        return dy > 0.0f ? 1.5707964f : 4.712389f;
    }
    const double ax = std::fabs(static_cast<double>(dx) + 0.01);
    const float f = static_cast<float>(std::atan(std::fabs(static_cast<double>(dy)) / ax));
    if (dy >= 0.0f) return dx > 0.0f ? f : static_cast<float>(kPi - f);
    return dx > 0.0f ? static_cast<float>(2.0 * kPi - f) : static_cast<float>(kPi + f);
}

AutoControlSet AutoControls(TPoint previous, TPoint current, TPoint next) {
    const float px = static_cast<float>(wrap32(std::int64_t{previous.X} - current.X));
    const float py = static_cast<float>(wrap32(std::int64_t{previous.Y} - current.Y));
    const float nx = static_cast<float>(wrap32(std::int64_t{next.X} - current.X));
    const float ny = static_cast<float>(wrap32(std::int64_t{next.Y} - current.Y));
    const float a1 = VectorAngle(px, py);
    const float a2 = VectorAngle(nx, ny);

    AutoControlSet s;
    s.L1 = static_cast<float>(
        std::sqrt(static_cast<double>(px) * px + static_cast<double>(py) * py) * AutoTension / 100);
    s.L2 = static_cast<float>(
        std::sqrt(static_cast<double>(nx) * nx + static_cast<double>(ny) * ny) * AutoTension / 100);
    const float m = static_cast<float>((static_cast<double>(a1) + a2) / 2);
    s.d = a1 > a2 ? static_cast<float>(m + kPi / 2) : static_cast<float>(m - kPi / 2);
    s.InX = static_cast<float>(current.X + s.L1 * std::cos(static_cast<double>(s.d)));
    s.InY = static_cast<float>(current.Y + s.L1 * std::sin(static_cast<double>(s.d)));
    s.OutX = static_cast<float>(current.X + s.L2 * std::cos(s.d + kPi));
    s.OutY = static_cast<float>(current.Y + s.L2 * std::sin(s.d + kPi));
    return s;
}

TPoint BezierPoint(const TBezierNode& a, const TBezierNode& b, float t) {
    const double td = t;
    const float t2 = static_cast<float>(td * td);
    const float t3 = static_cast<float>(td * t2);
    const float w0 = static_cast<float>(1.0 - 3.0 * td + 3.0 * t2 - t3);
    const float w1 = static_cast<float>(3.0 * td - 6.0 * t2 + 3.0 * t3);
    const float w2 = static_cast<float>(3.0 * t2 - 3.0 * t3);
    const float w3 = t3;
    const double x = static_cast<double>(a.X) * w0 + static_cast<double>(a.OutX) * w1 +
                     static_cast<double>(b.InX) * w2 + static_cast<double>(b.X) * w3;
    const double y = static_cast<double>(a.Y) * w0 + static_cast<double>(a.OutY) * w1 +
                     static_cast<double>(b.InY) * w2 + static_cast<double>(b.Y) * w3;
    return {roundToInt32(x), roundToInt32(y)};
}

float SegmentLength(TPoint a, TPoint b) {
    const std::int32_t dx = wrap32(std::int64_t{a.X} - b.X);
    const std::int32_t dy = wrap32(std::int64_t{a.Y} - b.Y);
    const std::int32_t sum = wrap32(std::int64_t{dx} * dx + std::int64_t{dy} * dy);
    const std::int64_t magnitude = sum < 0 ? -std::int64_t{sum} : std::int64_t{sum};
    return static_cast<float>(std::sqrt(static_cast<double>(magnitude)));
}

std::int32_t EditorSteps(float dist) {
    const std::int32_t t = truncToInt(dist);
    return t / 2 + t / 4 + 2;
}

std::int32_t DoubleSteps(float dist) {
    return truncToInt(3.0 * dist) + 3;
}

void RemoveRingDuplicates(TArrayPoint& outline) {
    // The ring is kept as a gap buffer, current list = [0, w) followed by [r, n), so that each
    // removal near the walking index costs O(1) while the walk itself stays literal.
    TArrayPoint& a = outline;
    const std::size_t n = a.size();
    std::size_t w = 0;
    std::size_t r = 0;
    const auto size = [&] { return w + (n - r); };
    const auto at = [&](std::size_t k) -> const TPoint& { return k < w ? a[k] : a[r + (k - w)]; };
    const auto moveGap = [&](std::size_t k) {
        while (w > k)
            a[--r] = a[--w];
        while (w < k)
            a[w++] = a[r++];
    };

    std::size_t i = 0;
    while (size() > 0 && i <= size() - 1) {
        const std::size_t last = size() - 1;
        const std::size_t j = i == last ? 0 : i + 1;
        if (at(i) == at(j)) {
            moveGap(i == last ? i : j);
            ++r;
            i = i >= 2 ? i - 2 : 0;
        }
        ++i;
    }
    moveGap(size());
    a.resize(w);
}

TArrayBezierPoint ComputePoints::buildNodes(std::int32_t scale) const {
    const BoxesArray& boxes = *FBoxes;
    const std::size_t count = boxes.size();
    TArrayBezierPoint nodes(count);
    for (std::size_t j = 0; j < count; ++j) {
        const TPoint p = scaled(FInput[j], scale);
        nodes[j].X = p.X;
        nodes[j].Y = p.Y;
    }
    for (std::size_t j = 0; j < count; ++j) {
        const TMoveBox& box = boxes[j];
        TBezierNode& node = nodes[j];
        if (box.FPointType == ptAngle) {
            node.InX = node.OutX = static_cast<float>(node.X);
            node.InY = node.OutY = static_cast<float>(node.Y);
        } else if (box.FPointType == ptBezier) {
            const TPoint p = scaled(box.FPos, scale);
            const double right = box.FRightLength * static_cast<float>(scale);
            const double left = box.FLeftLength * static_cast<float>(scale);
            node.InX = static_cast<float>(p.X + static_cast<double>(box.FRx) * right * 1.5);
            node.InY = static_cast<float>(p.Y + static_cast<double>(box.FRy) * right * 1.5);
            node.OutX = static_cast<float>(p.X - static_cast<double>(box.FRx) * left * 1.5);
            node.OutY = static_cast<float>(p.Y - static_cast<double>(box.FRy) * left * 1.5);
        } else {
            const std::size_t prev = j == 0 ? count - 1 : j - 1;
            const std::size_t next = j + 1 == count ? 0 : j + 1;
            const AutoControlSet c =
                AutoControls(position(nodes[prev]), position(node), position(nodes[next]));
            node.InX = c.InX;
            node.InY = c.InY;
            node.OutX = c.OutX;
            node.OutY = c.OutY;
        }
    }
    return nodes;
}

void ComputePoints::BuildSegments() {
    const TArrayBezierPoint nodes = buildNodes(FDoubleRes ? 2 : 1);
    const std::size_t count = nodes.size();
    const auto nextOf = [count](std::size_t j) { return j + 1 == count ? 0 : j + 1; };

    std::int64_t total = 1;
    for (std::size_t j = 0; j < count; ++j) {
        const float dist = SegmentLength(position(nodes[j]), position(nodes[nextOf(j)]));
        total += (FDoubleRes ? DoubleSteps(dist) : EditorSteps(dist)) + 1;
        if (total > kMaxOutlinePoints) throw ShapeError("The shape is too large");
    }
    FOutline.reserve(static_cast<std::size_t>(total));
    for (std::size_t j = 0; j < count; ++j)
        AddSegment(nodes[j], nodes[nextOf(j)]);
}

void ComputePoints::AddSegment(const TBezierNode& a, const TBezierNode& b) {
    const float dist = SegmentLength(position(a), position(b));
    const std::int32_t n = FDoubleRes ? DoubleSteps(dist) : EditorSteps(dist);
    FOutline.push_back(position(a));
    for (std::int32_t k = 1; k < n; ++k)
        FOutline.push_back(BezierPoint(a, b, static_cast<float>(static_cast<double>(k) / n)));
    FOutline.push_back(position(b));
    FCount += n + 1;
}

void ComputePoints::Compute() {
    if (FBoxes == nullptr || FBoxes->size() != FInput.size())
        throw std::logic_error("ComputePoints: positions and control points differ in count");
    TArrayPoint previous = std::move(FOutline);
    FOutline.clear();
    FCount = 0;
    try {
        if (FBoxes->size() == 1) {
            FOutline.push_back(scaled(FInput[0], FDoubleRes ? 2 : 1));
            FCount = 1;
        } else {
            BuildSegments();
        }
        if (FDoubleRes == 0 && !FOutline.empty()) FOutline.push_back(FOutline.front());
        if (FDoubleRes != 0 && FOutline.size() >= 2) RemoveRingDuplicates(FOutline);
    } catch (...) {
        FOutline = std::move(previous);
        throw;
    }
    if (FDoubleRes == 0 && FOnComputed) FOnComputed();
}

namespace {

TArrayPoint outlineOf(const std::vector<TMoveBox>& points, std::uint8_t doubleRes) {
    ComputePoints computer;
    computer.FBoxes = &points;
    computer.FInput.reserve(points.size());
    for (const TMoveBox& p : points)
        computer.FInput.push_back(p.FPos);
    computer.FDoubleRes = doubleRes;
    computer.Compute();
    return std::move(computer.FOutline);
}

} // namespace

TArrayPoint ComputeRenderOutline(const std::vector<TMoveBox>& points) {
    return outlineOf(points, 1);
}

TArrayPoint ComputeEditorOutline(const std::vector<TMoveBox>& points) {
    return outlineOf(points, 0);
}

TArrayBezierPoint EditorBezierNodes(const std::vector<TMoveBox>& points) {
    ComputePoints computer;
    computer.FBoxes = &points;
    for (const TMoveBox& p : points)
        computer.FInput.push_back(p.FPos);
    return computer.buildNodes(1);
}

} // namespace plakett
