// Decodes PNG bytes with libpng's own reader, always to RGBA, so that what the program
// wrote is checked independently of its writer.
#pragma once

#include "image/rgba_image.h"

#include <png.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace plakett::testsupport {

inline Rgba8Image decodePng(const std::vector<std::uint8_t>& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        throw std::runtime_error(image.message);
    image.format = PNG_FORMAT_RGBA;
    Rgba8Image out(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, out.pixels().data(), 0, nullptr))
        throw std::runtime_error(image.message);
    return out;
}

} // namespace plakett::testsupport
