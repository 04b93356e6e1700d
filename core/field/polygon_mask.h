// The inside/outside raster of the shape field: an even-odd filled polygon plus its
// one-pixel outline, so that every outline point's own pixel is inside.
#pragma once

#include "image/image.h"
#include "common/matrix.h"

namespace plakett {

inline constexpr Gray8 kMaskInside = 0;
inline constexpr Gray8 kMaskOutside = 255;

// Draws the closed polygon through `points` (the last joins the first) into `mask` with
// kMaskInside; pixels off the raster are skipped. Other pixels are left as they are.
void DrawPolygonMask(Gray8Image& mask, const PointsArray& points);

} // namespace plakett
