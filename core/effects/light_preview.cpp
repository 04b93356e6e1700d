#include "effects/light_preview.h"

#include "common/arith.h"

#include <algorithm>
#include <cmath>

namespace plakett {

const ColorRamp& PreviewRamp() {
    static const ColorRamp ramp = BuildColorRamp(3, 3, 3);
    return ramp;
}

Bgr24Image RenderPadPreview(int padPosX, int padPosY, int prevPadX, int prevPadY, int radiusBar,
                            int powerBar) {
    const double a = static_cast<double>(padPosX) + prevPadX - 63;
    const double b = static_cast<double>(padPosY) + prevPadY - 63;
    const double c = std::trunc(2.0 * std::sqrt(std::max(4096.0 - a * a - b * b, 0.0)));
    const int length = (3 * (radiusBar - 40)) / 2 + 103;
    const double k = length / std::sqrt(a * a + b * b + c * c + 0.1);
    const int lx = roundEven(a * k) + 63;
    const int ly = roundEven(b * k) + 63;
    const int lz = roundEven(c * k);
    return RenderLightPreview(lx, ly, lz, powerBar + 30, 70, PreviewRamp(), HemisphereTable());
}

} // namespace plakett
