#include "shape/transforms.h"

#include "shape/compute_points.h"
#include "shape/shape_arith.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace plakett {

namespace {

std::int64_t boundsWidth(const TContur& c) {
    return std::int64_t{c.FMaxX} - c.FMinX;
}
std::int64_t boundsHeight(const TContur& c) {
    return std::int64_t{c.FMaxY} - c.FMinY;
}

void moveAll(TContur& contur, std::int32_t dx, std::int32_t dy) {
    for (TMoveBox& p : contur.FPoints)
        p.FPos = {wrap32(std::int64_t{p.FPos.X} + dx), wrap32(std::int64_t{p.FPos.Y} + dy)};
}

// Mirroring swaps the incoming and outgoing sides; reversing the ring and exchanging the
// lengths puts them back. The centring still sees the bounds from before the mirror.
void finishFlip(TContur& contur) {
    for (TMoveBox& p : contur.FPoints)
        std::swap(p.FLeftLength, p.FRightLength);
    std::reverse(contur.FPoints.begin(), contur.FPoints.end());
    contur.FSelected = -1;
    Center(contur);
}

double axisFactor(std::int32_t size, std::int32_t base) {
    return base > 0 ? static_cast<double>(size) / base : 1.0;
}

void scaleBy(TContur& contur, double f) {
    for (TMoveBox& p : contur.FPoints) {
        p.FPos = {roundToInt32(f * p.FPos.X), roundToInt32(f * p.FPos.Y)};
        if (p.FPointType == ptBezier) {
            p.FLeftLength = static_cast<float>(p.FLeftLength * f);
            p.FRightLength = static_cast<float>(p.FRightLength * f);
        }
    }
    contur.Changed();
}

} // namespace

void Center(TContur& contur) {
    const std::int64_t dx = contur.width() / 2 - boundsWidth(contur) / 2 - contur.FMinX;
    const std::int64_t dy = contur.height() / 2 - boundsHeight(contur) / 2 - contur.FMinY;
    moveAll(contur, wrap32(dx), wrap32(dy));
    contur.Changed();
}

void FlipRightToLeft(TContur& contur) {
    const std::int64_t c = contur.FMaxX - boundsWidth(contur) / 2;
    for (TMoveBox& p : contur.FPoints) {
        p.FPos.X = wrap32(2 * c - p.FPos.X);
        p.FRy = -p.FRy;
    }
    finishFlip(contur);
}

void FlipTopToBottom(TContur& contur) {
    const std::int64_t c = contur.FMaxY - boundsHeight(contur) / 2;
    for (TMoveBox& p : contur.FPoints) {
        p.FPos.Y = wrap32(2 * c - p.FPos.Y);
        p.FRx = -p.FRx;
    }
    finishFlip(contur);
}

bool ScaleProportional(TContur& contur, std::int32_t width, std::int32_t w0) {
    if (w0 <= 0) return false;
    scaleBy(contur, static_cast<double>(width) / w0);
    return true;
}

void FreezeAutoPoints(std::vector<TMoveBox>& points) {
    const std::size_t n = points.size();
    for (std::size_t j = 0; j < n; ++j) {
        TMoveBox& p = points[j];
        if (p.FPointType != ptAuto) continue;
        const TPoint prev = points[j == 0 ? n - 1 : j - 1].FPos;
        const TPoint next = points[j + 1 == n ? 0 : j + 1].FPos;
        const AutoControlSet c = AutoControls(prev, p.FPos, next);
        p.FRx = static_cast<float>(std::cos(static_cast<double>(c.d)));
        p.FRy = static_cast<float>(std::sin(static_cast<double>(c.d)));
        p.FRightLength = static_cast<float>(c.L1 / 1.5);
        p.FLeftLength = static_cast<float>(c.L2 / 1.5);
        p.FPointType = ptBezier;
    }
}

void ScaleFree(TContur& contur, std::int32_t width, std::int32_t height, std::int32_t w0,
               std::int32_t h0) {
    FreezeAutoPoints(contur.FPoints);
    const double fx = axisFactor(width, w0);
    const double fy = axisFactor(height, h0);
    for (TMoveBox& p : contur.FPoints) {
        p.FPos = {roundToInt32(p.FPos.X * fx), roundToInt32(p.FPos.Y * fy)};
        if (p.FPointType != ptBezier) continue;
        const double a = fx * p.FRx;
        const double b = fy * p.FRy;
        const double g = std::sqrt(a * a + b * b);
        if (g == 0.0) continue;
        p.FLeftLength = static_cast<float>(p.FLeftLength * g);
        p.FRightLength = static_cast<float>(p.FRightLength * g);
        p.FRx = static_cast<float>(a / g);
        p.FRy = static_cast<float>(b / g);
    }
    contur.Changed();
}

bool Enlarge(TContur& contur, ZoomState& zoom) {
    if (!zoom.FActualSize || boundsWidth(contur) <= 0) return false;
    scaleBy(contur, 3.0); // Width = 3 w0, so f is exactly 3
    Center(contur);
    zoom.FActualSize = false;
    return true;
}

bool ActualSize(TContur& contur, ZoomState& zoom) {
    if (zoom.FActualSize) return false;
    const std::int64_t w0 = boundsWidth(contur);
    if (w0 > 0) {
        scaleBy(contur, static_cast<double>(w0 / 3) / static_cast<double>(w0));
        Center(contur);
    }
    zoom.FActualSize = true;
    return true;
}

} // namespace plakett
