#include "textraster/qt_glyph_rasterizer.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace plakett {

std::string withCurrentColor(std::string_view svg, ColorRef color) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", redOf(color), greenOf(color),
                  blueOf(color));
    static constexpr std::string_view kWord = "currentColor";
    std::string out;
    out.reserve(svg.size());
    std::size_t at = 0;
    for (std::size_t hit; (hit = svg.find(kWord, at)) != std::string_view::npos;
         at = hit + kWord.size()) {
        out.append(svg.substr(at, hit - at));
        out.append(hex);
    }
    out.append(svg.substr(at));
    return out;
}

Rgba8Image QtGlyphRasterizer::rasterize(std::string_view svg, int scale, ColorRef currentColor) {
    const std::string text = withCurrentColor(svg, currentColor);
    QSvgRenderer renderer(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    if (!renderer.isValid()) throw std::runtime_error("The glyph is not an SVG document it can draw");
    QSizeF size = renderer.defaultSize();
    if (size.isEmpty()) size = renderer.viewBoxF().size();
    const int w = static_cast<int>(std::lround(size.width()));
    const int h = static_cast<int>(std::lround(size.height()));
    if (w < 1 || h < 1 || w > kMaxSvgGlyphSide || h > kMaxSvgGlyphSide)
        throw std::runtime_error("The glyph's size must be 1 to " +
                                 std::to_string(kMaxSvgGlyphSide) + " pixels a side");
    QImage image(w * scale, h * scale, QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, image.width(), image.height()));
    }
    const QImage straight = image.convertToFormat(QImage::Format_RGBA8888);
    Rgba8Image out(straight.width(), straight.height());
    for (int y = 0; y < straight.height(); ++y) {
        const uchar* src = straight.constScanLine(y);
        Rgba8* dst = out.scanline(y);
        for (int x = 0; x < straight.width(); ++x)
            dst[x] = Rgba8{src[4 * x], src[4 * x + 1], src[4 * x + 2], src[4 * x + 3]};
    }
    return out;
}

} // namespace plakett
