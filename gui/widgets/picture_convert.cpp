#include "gui/widgets/picture_convert.h"

#include "image/bmp.h"

#include <QFile>
#include <QImageReader>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <vector>

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

namespace {

QImage readWithQt(const std::filesystem::path& path) {
    const QString name = QString::fromStdString(path.string());
    QImageReader reader(name);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels)
        throw std::runtime_error("Picture is too large: " + path.string());
    const QImage image = reader.read();
    if (image.isNull())
        throw std::runtime_error(reader.errorString().toStdString() + ": " + path.string());
    return image;
}

// The first of a few clear colours, then any colour, that no visible pixel has.
Bgr24 unusedColor(const QImage& argb) {
    std::vector<bool> used(1u << 24, false);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) >= 128) used[line[x] & 0xFFFFFFu] = true;
    }
    for (const QRgb c : {0xFF00FFu, 0x00FF00u, 0x00FFFFu})
        if (!used[c])
            return Bgr24{std::uint8_t(qBlue(c)), std::uint8_t(qGreen(c)), std::uint8_t(qRed(c))};
    for (std::uint32_t c = 0; c < used.size(); ++c)
        if (!used[c])
            return Bgr24{std::uint8_t(c & 0xFF), std::uint8_t((c >> 8) & 0xFF),
                         std::uint8_t(c >> 16)};
    return Bgr24{255, 0, 255}; // not reached: a picture has fewer pixels than colours
}

} // namespace

Bgr24Image readPictureFile(const std::filesystem::path& path) {
    const QString name = QString::fromStdString(path.string());
    if (startsWithBitmapMagic(name)) return readBmpFile(path);
    return toBgr24Image(readWithQt(path));
}

GlyphPicture keyedGlyph(const QImage& image) {
    if (!image.hasAlphaChannel()) return {toBgr24Image(image), std::nullopt};
    // Straight (not premultiplied) colours: a visible pixel keeps its own colour.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const Bgr24 key = unusedColor(argb);
    Bgr24Image out(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        Bgr24* o = out.scanline(y);
        for (int x = 0; x < argb.width(); ++x)
            o[x] = qAlpha(in[x]) < 128
                       ? key
                       : Bgr24{std::uint8_t(qBlue(in[x])), std::uint8_t(qGreen(in[x])),
                               std::uint8_t(qRed(in[x]))};
    }
    return {std::move(out), key};
}

GlyphPicture readGlyphFile(const std::filesystem::path& path) {
    const QString name = QString::fromStdString(path.string());
    if (startsWithBitmapMagic(name)) return {readBmpFile(path), std::nullopt};
    return keyedGlyph(readWithQt(path));
}

} // namespace plakett
