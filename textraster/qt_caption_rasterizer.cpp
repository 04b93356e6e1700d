#include "textraster/qt_caption_rasterizer.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace plakett {

namespace {

// Pixel size at which the face's height ratio is measured; large enough to hide rounding.
constexpr int kReferencePixelSize = 1000;

QFont::Weight qtWeight(int weight) {
    if (weight <= 0) return QFont::Normal;
    return static_cast<QFont::Weight>(std::clamp(weight, 1, 1000));
}

// The box within which the coverage is found.
struct Bounds {
    int left = 0;
    int top = 0;
    int right = 0; // exclusive
    int bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

Bounds textBounds(const QFontMetrics& metrics, const QString& text, int angle) {
    // Room around the advance box for bearings, italic slant and underline.
    const int margin = metrics.height();
    const QRectF box(-margin, -margin, metrics.horizontalAdvance(text) + 2 * margin,
                     metrics.height() + 2 * margin);
    QTransform rotation;
    rotation.rotate(-angle);
    const QRect r = rotation.mapRect(box).toAlignedRect();
    return Bounds{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Bounds intersect(const Bounds& a, const CaptionRect& clip) {
    return Bounds{std::max(a.left, clip.left), std::max(a.top, clip.top),
                  std::min(a.right, clip.left + clip.width),
                  std::min(a.bottom, clip.top + clip.height)};
}

// The smallest part of the coverage holding every non-zero pixel.
CaptionCoverage trimmed(const QImage& image, int left, int top) {
    int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
        }
    }
    CaptionCoverage result;
    if (x1 < 0) return result;
    result.left = left + x0;
    result.top = top + y0;
    result.coverage.reset(x1 - x0 + 1, y1 - y0 + 1);
    for (int y = y0; y <= y1; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        Gray8* out = result.coverage.scanline(y - y0);
        for (int x = x0; x <= x1; ++x)
            out[x - x0] = static_cast<Gray8>(qAlpha(row[x]));
    }
    return result;
}

// Whether the font, with the fallbacks the font engine picks, has a glyph for every
// character of text: a missing one is drawn as glyph 0, the empty box.
bool drawsAll(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns())
        for (const quint32 glyph : run.glyphIndexes())
            if (glyph == 0) return false;
    return true;
}

QtMessageHandler previousHandler = nullptr;

// Notes that say nothing is wrong: without a session (a headless run) Qt picks a runtime
// folder of its own on every start, and it names each face it tries for a script the face
// has no shaping tables for. Captions whose characters no font draws are warned about in
// the program's own words (web/caption_check.h).
void withoutFontNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
        message.trimmed().startsWith(QLatin1String("OpenType support missing for")))
        return;
    previousHandler(type, context, message);
}

} // namespace

GuiApplicationScope::GuiApplicationScope() {
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(withoutFontNotes);
    m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
}

GuiApplicationScope::~GuiApplicationScope() {
    if (m_app == nullptr) return;
    m_app.reset();
    qInstallMessageHandler(previousHandler);
}

QFont QtCaptionRasterizer::makeFont(const CaptionFont& font) {
    QFont qfont(QString::fromStdString(font.faceName));
    qfont.setWeight(qtWeight(font.weight));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStyleStrategy(QFont::PreferAntialias);
    // Text output without kerning, measured the same way.
    qfont.setKerning(false);
    qfont.setPixelSize(kReferencePixelSize);
    const double ratio = QFontMetricsF(qfont).height() / kReferencePixelSize;
    const double pixels = ratio > 0 ? font.cellHeight / ratio : font.cellHeight;
    qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    return qfont;
}

std::string QtCaptionRasterizer::resolvedFamily(const std::string& faceName) {
    return QFontInfo(QFont(QString::fromStdString(faceName))).family().toStdString();
}

CaptionExtent QtCaptionRasterizer::measure(const std::string& text, const CaptionFont& font) {
    const QFontMetrics metrics(makeFont(font));
    return CaptionExtent{metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

CaptionCoverage QtCaptionRasterizer::rasterize(const std::string& text, const CaptionFont& font,
                                               const CaptionRect& clip) {
    const QFont qfont = makeFont(font);
    const QFontMetrics metrics(qfont);
    const QString qtext = QString::fromStdString(text);
    const Bounds area = intersect(textBounds(metrics, qtext, font.angle), clip);
    if (qtext.isEmpty() || area.empty()) return {};
    QImage image(area.right - area.left, area.bottom - area.top,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(-area.left, -area.top);
        // Counter-clockwise on screen; Qt's y axis points down.
        painter.rotate(-font.angle);
        painter.setFont(qfont);
        painter.setPen(QColor(255, 255, 255));
        painter.drawText(QPointF(0, metrics.ascent()), qtext);
    }
    return trimmed(image, area.left, area.top);
}

double QtCaptionRasterizer::emPixels(const CaptionFont& font) {
    return makeFont(font).pixelSize();
}

std::string QtCaptionRasterizer::missingCharacters(const std::string& text,
                                                   const CaptionFont& font) {
    const QFont qfont = makeFont(font);
    const QString qtext = QString::fromStdString(text);
    QList<char32_t> seen;
    QString missing;
    for (const char32_t c : qtext.toUcs4()) {
        if (seen.contains(c)) continue;
        seen.push_back(c);
        const QString one = QString::fromUcs4(&c, 1);
        // Spaces and invisible format characters have no glyph to miss.
        if (one.at(0).isSpace() || QChar::category(c) == QChar::Other_Format) continue;
        if (drawsAll(one, qfont)) continue;
        if (!missing.isEmpty()) missing += QLatin1Char(' ');
        missing += one;
    }
    return missing.toStdString();
}

} // namespace plakett
