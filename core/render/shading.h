// The button's base image: every pixel is the mean of the light-map colours of its four
// double-scale cells, cells outside the shape counting as the background colour.
#pragma once

#include "image/image.h"
#include "common/matrix.h"

namespace plakett {

inline constexpr int kLightMapSize = 256;

// map: C columns x R rows of (u, v), u < 0 outside. lightMap: 256 x 256, read at row v,
// column u. Result: ((C - 1) div 2 + 1) x ((R - 1) div 2 + 1); empty for an empty map.
// Throws std::invalid_argument when the light map is not 256 x 256.
Bgr24Image ShadeBase(const Matrix& map, const Bgr24Image& lightMap, Bgr24 outside);

} // namespace plakett
