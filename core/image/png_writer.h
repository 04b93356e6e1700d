// PNG output through libpng: 32-bit RGBA (straight alpha) or 24-bit RGB, 8 bits a channel.
#pragma once

#include "image/image.h"
#include "image/rgba_image.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace plakett {

std::vector<std::uint8_t> encodePng(const Rgba8Image& image);
std::vector<std::uint8_t> encodePng(const Bgr24Image& image);

// Encode, then write atomically; error texts name the file and the previous file survives.
void writePngFile(const std::filesystem::path& path, const Rgba8Image& image);
void writePngFile(const std::filesystem::path& path, const Bgr24Image& image);

} // namespace plakett
