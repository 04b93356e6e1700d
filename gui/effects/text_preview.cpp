#include "gui/effects/text_preview.h"

#include "common/arith.h"
#include "textraster/qt_caption_rasterizer.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace plakett {

QFont previewFont(const TextLive& text) {
    CaptionFont font;
    font.faceName = text.fontName;
    font.cellHeight = (text.fontSize * 3) / 2;
    font.weight = text.weight;
    font.italic = text.italic;
    font.underline = text.underline;
    font.angle = text.angle;
    return QtCaptionRasterizer::makeFont(font);
}

TextPreview::TextPreview(const TextLive& text, QWidget* parent) : QFrame(parent), m_text(text) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedSize(kWidth + 2, kHeight + 2);
}

QPoint TextPreview::captionOrigin(int textWidth, int textHeight, int angle, int boxWidth,
                                  int boxHeight) {
    const double a = -angle * std::numbers::pi / 180.0;
    const double w = textWidth;
    const double h = textHeight;
    const int ex = roundEven(w * std::cos(a) - h * std::sin(a));
    const int ey = roundEven(h * std::cos(a) + w * std::sin(a));
    return QPoint(boxWidth / 2 - ex / 2, boxHeight / 2 - ey / 2);
}

void TextPreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, palette().color(QPalette::Base));
    if (m_text.caption.empty() || (m_text.fontSize * 3) / 2 <= 0) return;
    const QFont font = previewFont(m_text);
    const QFontMetrics metrics(font);
    const QString caption = QString::fromStdString(m_text.caption);
    const QPoint origin = captionOrigin(metrics.horizontalAdvance(caption), metrics.height(),
                                        m_text.angle, area.width(), area.height());
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(area.topLeft() + origin);
    painter.rotate(-m_text.angle);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(0, metrics.ascent(), caption);
}

} // namespace plakett
