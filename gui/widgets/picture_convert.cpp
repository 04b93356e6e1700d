#include "gui/widgets/picture_convert.h"

#include "image/bmp.h"

#include <QFile>
#include <QImageReader>
#include <QString>

#include <stdexcept>

namespace plakett {

namespace {

// Larger pictures are refused rather than allocated; the same limit as the BMP codec.
constexpr qint64 kMaxPicturePixels = kMaxBmpPixels;

bool startsWithBitmapMagic(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return file.read(2) == "BM";
}

} // namespace

QImage toQImage(const Bgr24Image& image) {
    QImage out(image.width(), image.height(), QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        const Bgr24* in = image.scanline(y);
        uchar* o = out.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            o[3 * x] = in[x].r;
            o[3 * x + 1] = in[x].g;
            o[3 * x + 2] = in[x].b;
        }
    }
    return out;
}

Bgr24Image toBgr24Image(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Bgr24Image out(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* in = rgb.constScanLine(y);
        Bgr24* o = out.scanline(y);
        for (int x = 0; x < rgb.width(); ++x)
            o[x] = Bgr24{in[3 * x + 2], in[3 * x + 1], in[3 * x]};
    }
    return out;
}

Bgr24Image readPictureFile(const std::filesystem::path& path) {
    const QString name = QString::fromStdString(path.string());
    if (startsWithBitmapMagic(name)) return readBmpFile(path);
    QImageReader reader(name);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels)
        throw std::runtime_error("Picture is too large: " + path.string());
    const QImage image = reader.read();
    if (image.isNull())
        throw std::runtime_error(reader.errorString().toStdString() + ": " + path.string());
    return toBgr24Image(image);
}

} // namespace plakett
