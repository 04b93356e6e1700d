// WebP through libwebp: 32-bit RGBA, lossless or lossy colour with lossless alpha.
#pragma once

#include "image/rgba_image.h"

#include <cstdint>
#include <span>
#include <vector>

namespace plakett {

// quality 0: lossless, every pixel kept exactly (colour under full transparency too);
// 1..100: lossy colour at that quality, the alpha channel still lossless. Throws
// std::runtime_error when libwebp refuses the picture.
std::vector<std::uint8_t> encodeWebp(const Rgba8Image& image, int quality = 0);

// Throws std::runtime_error when the bytes are not a WebP picture.
Rgba8Image decodeWebp(std::span<const std::uint8_t> bytes);

} // namespace plakett
