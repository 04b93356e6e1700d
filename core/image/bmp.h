// The core's own BMP codec. Project files embed BMP file images back to back, so the
// reader takes exactly the bytes the file header's total size gives.
#pragma once

#include "common/le_bytes.h"
#include "image/image.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace plakett {

inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";

class InvalidBitmapError : public std::runtime_error {
  public:
    InvalidBitmapError() : std::runtime_error(kBitmapNotValid) {}
    explicit InvalidBitmapError(const std::string& where)
        : std::runtime_error(std::string(kBitmapNotValid) + " " + where) {}
};

// Larger pictures are refused as not valid rather than allocated.
inline constexpr std::int64_t kMaxBmpDimension = 32768;
// A glyph or texture beyond 4096 x 4096 pixels is larger than any button it could go on.
inline constexpr std::int64_t kMaxBmpPixels = std::int64_t{1} << 24;

struct BmpImage {
    Bgr24Image image;
    std::size_t bytesUsed = 0; // the file header's total size
};

// One BMP file image at the start of data; bytes after it are left alone.
// Throws StreamReadError when the data ends before the image does and
// InvalidBitmapError for a damaged or unsupported header.
BmpImage readBmp(std::span<const std::uint8_t> data);
// The same from a reader, which moves past the image.
Bgr24Image readBmp(ByteReader& reader);

// A picture file on its own: the whole file is the image, whatever its size field says.
Bgr24Image decodeBmpFile(std::span<const std::uint8_t> file);
Bgr24Image readBmpFile(const std::filesystem::path& path);

// 24-bit, bottom-up, uncompressed, rows padded to 4 bytes.
std::vector<std::uint8_t> encodeBmp(const Bgr24Image& image);
void appendBmp(std::vector<std::uint8_t>& out, const Bgr24Image& image);
void writeBmpFile(const std::filesystem::path& path, const Bgr24Image& image);

} // namespace plakett
