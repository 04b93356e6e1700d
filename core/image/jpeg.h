// JPEG pictures through the IJG codec (libjpeg-turbo). Codec failures come back as
// std::runtime_error; the codec can never end the process.
#pragma once

#include "image/image.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace plakett {

inline constexpr int kMinJpegQuality = 30;
inline constexpr int kMaxJpegQuality = 100;
// Pictures beyond this are refused before the codec allocates anything for them: a
// texture or glyph larger than 4096 x 4096 cannot be seen on any button, and a
// progressive picture costs the codec several bytes a pixel on top of the result.
inline constexpr std::int64_t kMaxJpegPixels = std::int64_t{1} << 24;

struct JpegSize {
    int width = 0;
    int height = 0;
};

// Reads only the picture's header; throws like decodeJpeg when the data is not a JPEG.
JpegSize readJpegSize(std::span<const std::uint8_t> data, const std::string& sourceName = {});

// Decodes with the codec's own scaling (1/2, 1/4 or 1/8) so that neither side exceeds
// `fitSide` where that is possible; pictures declaring more than `maxSide` on either side
// are refused before decoding.
Bgr24Image decodeJpegThumbnail(std::span<const std::uint8_t> data, const std::string& sourceName,
                               int fitSide, int maxSide);

// Decodes one JPEG stream (SOI..EOI); bytes after EOI, such as a style trailer, are not read.
// Colour, grayscale and CMYK/YCCK pictures all come back as 24-bit BGR. Data that ends
// before the picture is complete is an error, not a padded picture. `sourceName` (a file
// name, or empty) is put into error texts.
Bgr24Image decodeJpeg(std::span<const std::uint8_t> data, const std::string& sourceName = {});

// Reads and decodes a JPEG file; error texts name the file.
Bgr24Image readJpegFile(const std::filesystem::path& path);

// Baseline 24-bit JPEG at `quality` (kMinJpegQuality..kMaxJpegQuality), the codec's default
// chroma subsampling.
std::vector<std::uint8_t> encodeJpeg(const Bgr24Image& image, int quality);

// Encodes and writes atomically (the previous file survives a failure).
void writeJpegFile(const std::filesystem::path& path, const Bgr24Image& image, int quality);

} // namespace plakett
