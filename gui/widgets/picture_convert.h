// Between the core's 24-bit pictures and Qt's, and picture files a user picks.
#pragma once

#include "image/image.h"

#include <QImage>

#include <filesystem>

namespace plakett {

QImage toQImage(const Bgr24Image& image);
// Alpha is dropped; the picture is taken as it shows over black.
Bgr24Image toBgr24Image(const QImage& image);

// A picture file in any format: BMP files (they start with "BM") go through the core's own
// codec, everything else through Qt's image readers. Throws std::runtime_error with the
// reader's message when the file cannot be decoded.
Bgr24Image readPictureFile(const std::filesystem::path& path);

} // namespace plakett
