#include "gui/widgets/zoom_steps.h"

#include <algorithm>
#include <array>

namespace plakett {
namespace {

constexpr std::array<double, 15> kSteps = {0.1, 0.125, 1.0 / 6, 0.25, 1.0 / 3, 0.5, 2.0 / 3, 1.0,
                                           1.5, 2.0,   3.0,     4.0,  5.0,     6.0, 8.0};

} // namespace

double zoomStepIn(double zoom) {
    for (double step : kSteps)
        if (step > zoom * 1.001) return step;
    return kMaxZoom;
}

double zoomStepOut(double zoom) {
    for (auto it = kSteps.rbegin(); it != kSteps.rend(); ++it)
        if (*it < zoom / 1.001) return *it;
    return kMinZoom;
}

double fitZoom(QSizeF content, QSize view) {
    if (content.width() <= 0 || content.height() <= 0 || view.isEmpty()) return 1.0;
    const double fit = std::min(view.width() / content.width(), view.height() / content.height());
    return std::clamp(fit, kMinZoom, 1.0);
}

} // namespace plakett
