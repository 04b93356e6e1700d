// Between the core's 24-bit pictures and Qt's, and picture files a user picks.
#pragma once

#include "image/image.h"

#include <QImage>

#include <filesystem>
#include <optional>

namespace plakett {

QImage toQImage(const Bgr24Image& image);
// Alpha is dropped; the picture is taken as it shows over black.
Bgr24Image toBgr24Image(const QImage& image);

// A picture file in any format: BMP files (they start with "BM") go through the core's own
// codec, everything else through Qt's image readers. Throws std::runtime_error with the
// reader's message when the file cannot be decoded.
Bgr24Image readPictureFile(const std::filesystem::path& path);

// A glyph picture: a picture with transparency (PNG) gets one colour that none of its
// visible pixels has for every pixel more than half transparent; `key` says which, and is
// empty for a picture without transparency.
struct GlyphPicture {
    Bgr24Image picture;
    std::optional<Bgr24> key;
};
GlyphPicture keyedGlyph(const QImage& image);
GlyphPicture readGlyphFile(const std::filesystem::path& path);

} // namespace plakett
