// The view zoom levels shared by the shape editor and the render view: 10% to 800% in
// steps, and the level that fits a size into a view.
#pragma once

#include <QSize>
#include <QSizeF>

namespace plakett {

inline constexpr double kMinZoom = 0.1;
inline constexpr double kMaxZoom = 8.0;

// The next level up or down from `zoom` (which need not be a step itself).
double zoomStepIn(double zoom);
double zoomStepOut(double zoom);
// The largest level, at most 100%, at which `content` fits into `view`.
double fitZoom(QSizeF content, QSize view);

} // namespace plakett
