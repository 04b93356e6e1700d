#include "shape/rotate.h"

#include "shape/shape_arith.h"

#include <cmath>
#include <numbers>

namespace plakett {

namespace {

constexpr double kPi = std::numbers::pi;

double radians(std::int32_t degrees) {
    return degrees * kPi / 180.0;
}

// The bounds' centre, x then y.
TPoint boundsCentre(const TContur& c) {
    return {wrap32(std::int64_t{c.FMaxX} - (std::int64_t{c.FMaxX} - c.FMinX) / 2),
            wrap32(std::int64_t{c.FMaxY} - (std::int64_t{c.FMaxY} - c.FMinY) / 2)};
}

std::int32_t absolute(std::int32_t v) {
    return v < 0 ? wrap32(-std::int64_t{v}) : v;
}

} // namespace

std::int32_t RotateFieldValue(std::int32_t angle) {
    const std::int64_t a = ((std::int64_t{angle} - 1) % 360 + 360) % 360;
    return static_cast<std::int32_t>(a + 1);
}

void OpenRotateDialog(RotateState& state) {
    state.RotateAngle = RotateFieldValue(state.RotateAngle);
}

void SetRotateAngle(RotateState& state, std::int32_t angle) {
    state.RotateAngle = RotateFieldValue(angle);
}

std::int32_t RotationDegrees(const RotateState& state) {
    return static_cast<std::int32_t>((std::int64_t{state.RotateAngle} - state.RotateBase) % 360);
}

void RotateShape(TContur& contur, std::int32_t degrees) {
    const double cs = std::cos(radians(degrees));
    const double sn = std::sin(radians(degrees));
    const TPoint centre = boundsCentre(contur);
    const std::int64_t cx = absolute(centre.X);
    const std::int64_t cy = absolute(centre.Y);
    for (TMoveBox& p : contur.FPoints) {
        if (p.FPointType == ptBezier) {
            const float xx = static_cast<float>(cs * p.FRx);
            const float xy = static_cast<float>(sn * p.FRy);
            const float yy = static_cast<float>(cs * p.FRy);
            const float yx = static_cast<float>(sn * p.FRx);
            p.FRx = static_cast<float>(static_cast<double>(xx) + xy);
            p.FRy = static_cast<float>(static_cast<double>(yy) - yx);
        }
        const double dx = static_cast<double>(p.FPos.X - cx);
        const double dy = static_cast<double>(p.FPos.Y - cy);
        p.FPos = {wrap32(cx + roundToInt32(cs * dx + sn * dy)),
                  wrap32(cy + roundToInt32(cs * dy - sn * dx))};
    }
    contur.Changed();
}

void ApplyRotation(TContur& contur, RotateState& state) {
    RotateShape(contur, RotationDegrees(state));
    state.RotateBase = RotateFieldValue(state.RotateAngle);
}

TArrayPoint RotatePreview(const TContur& contur, std::int32_t degrees, std::int32_t w,
                          std::int32_t h) {
    const double cs = std::cos(radians(degrees));
    const double sn = std::sin(radians(degrees));
    const TPoint centre = boundsCentre(contur);
    const TArrayPoint& outline = contur.outline();
    const std::size_t n = outline.size();
    TArrayPoint turned(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double qx = static_cast<double>(std::int64_t{outline[i].X} - centre.X);
        const double qy = static_cast<double>(std::int64_t{outline[i].Y} - centre.Y);
        turned[i] = {wrap32(std::int64_t{roundToInt32(qx * cs + qy * sn)} + w / 2),
                     wrap32(std::int64_t{roundToInt32(qy * cs - qx * sn)} + h / 2)};
    }
    TArrayPoint smoothed(n);
    for (std::size_t i = 0; i < n; ++i) {
        const TPoint& a = turned[i == 0 ? n - 1 : i - 1];
        const TPoint& b = turned[i];
        const TPoint& c = turned[i + 1 == n ? 0 : i + 1];
        smoothed[i] = {roundToInt32((static_cast<double>(a.X) + b.X + c.X) / 3.0),
                       roundToInt32((static_cast<double>(a.Y) + b.Y + c.Y) / 3.0)};
    }
    return smoothed;
}

std::int32_t DialAngle(std::int32_t x, std::int32_t y) {
    const double dx = static_cast<double>(x) - 50;
    const double dy = static_cast<double>(y) - 50;
    const double c = dx / (std::sqrt(dx * dx + dy * dy) + 0.01);
    std::int32_t a = roundToInt32(std::acos(c) * 180.0 / kPi);
    if (y > 50) a = 360 - a;
    return a;
}

TPoint DialNeedleEnd(std::int32_t angle) {
    const double a = radians(angle);
    return {100 + roundToInt32(99 * std::cos(a)), 100 - roundToInt32(99 * std::sin(a))};
}

} // namespace plakett
