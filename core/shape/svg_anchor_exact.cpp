#include "shape/svg_anchor_exact.h"

#include <cmath>
#include <optional>

namespace plakett::svg {
namespace {

float step(float v, int k) {
    while (k > 0) {
        v = std::nextafter(v, INFINITY);
        --k;
    }
    while (k < 0) {
        v = std::nextafter(v, -INFINITY);
        ++k;
    }
    return v;
}

// As the outline computation forms a control: P + sign * d * (length * scale) * 1.5.
bool forms(TPoint pos, float rx, float ry, float len, double sign, Vec2 target) {
    for (int scale = 1; scale <= 2; ++scale) {
        const double l = len * static_cast<float>(scale);
        const float x = static_cast<float>(pos.X * scale + sign * rx * l * 1.5);
        const float y = static_cast<float>(pos.Y * scale + sign * ry * l * 1.5);
        if (x != static_cast<float>(target.x * scale) || y != static_cast<float>(target.y * scale))
            return false;
    }
    return true;
}

std::optional<float> lengthFor(TPoint pos, float rx, float ry, double sign, Vec2 target) {
    const double n2 = static_cast<double>(rx) * rx + static_cast<double>(ry) * ry;
    if (n2 == 0) return std::nullopt;
    const Vec2 v{target.x - pos.X, target.y - pos.Y};
    const float guess = static_cast<float>(sign * (v.x * rx + v.y * ry) / (1.5 * n2));
    if (guess < 0) return std::nullopt;
    for (int k : {0, -1, 1, -2, 2, -3, 3})
        if (const float len = step(guess, k); len >= 0 && forms(pos, rx, ry, len, sign, target))
            return len;
    return std::nullopt;
}

} // namespace

bool exactAnchor(TPoint pos, Vec2 inControl, Vec2 outControl, AnchorValues& start) {
    for (int i : {0, -1, 1, -2, 2})
        for (int j : {0, -1, 1, -2, 2}) {
            const float rx = step(start.rx, i), ry = step(start.ry, j);
            const auto right = lengthFor(pos, rx, ry, 1, inControl);
            if (!right) continue;
            const auto left = lengthFor(pos, rx, ry, -1, outControl);
            if (!left) continue;
            start = {rx, ry, *right, *left};
            return true;
        }
    return false;
}

} // namespace plakett::svg
