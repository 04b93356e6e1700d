// The 64 x 64 pictures of the shape library: hard-edged ones drawn by the loader, and the
// anti-aliased, softened ones of shapes added to the User tab.
#pragma once

#include "shape/compute_points.h"

#include <QImage>

namespace plakett {

inline constexpr int kThumbnailSize = 64;

// The outline filled black on white (even-odd), scaled into the square from its top-left.
QImage loaderThumbnail(const TArrayPoint& outline);

// The outline filled by scanline coverage and softened by the 3 x 3 blur of strength 30.
QImage RenderThumbnail(const TArrayPoint& outline);

} // namespace plakett
