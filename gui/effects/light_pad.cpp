#include "gui/effects/light_pad.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace plakett {

LightPad::LightPad(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedSize(kSize * kScale + 2, kSize * kScale + 2);
    setToolTip(QStringLiteral("Drag to place the selected light"));
}

void LightPad::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void LightPad::setMarkers(std::vector<PadMarker> markers) {
    m_markers = std::move(markers);
    update();
}

void LightPad::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, Qt::black);
    if (!m_picture.isNull())
        painter.drawImage(QRect(area.topLeft(), m_picture.size() * kScale), m_picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // The selected light last, so that it stays on top of the others.
    for (const PadMarker& m : m_markers)
        if (!m.selected) paintMarker(painter, m);
    for (const PadMarker& m : m_markers)
        if (m.selected) paintMarker(painter, m);
}

void LightPad::paintMarker(QPainter& painter, const PadMarker& m) const {
    const QPointF centre = QPointF(contentsRect().topLeft()) + QPointF(m.at) * kScale +
                           QPointF(kScale / 2.0, kScale / 2.0);
    const double radius = m.selected ? 9 : 7;
    painter.setPen(QPen(m.selected ? Qt::white : Qt::black, m.selected ? 2.5 : 1));
    painter.setBrush(m.color);
    painter.drawEllipse(centre, radius, radius);
    // The number in black or white, whichever reads on the light's colour.
    painter.setPen(m.color.lightness() > 140 ? Qt::black : Qt::white);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                     Qt::AlignCenter, QString::number(m.number));
}

QPoint LightPad::padPoint(const QMouseEvent* event) const {
    const QPointF p = event->position() - QPointF(contentsRect().topLeft());
    return {static_cast<int>(std::floor(p.x() / kScale)),
            static_cast<int>(std::floor(p.y() / kScale))};
}

void LightPad::mousePressEvent(QMouseEvent* event) {
    const QPoint p = padPoint(event);
    emit pressed(p.x(), p.y(), event->button() == Qt::LeftButton);
}

void LightPad::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = padPoint(event);
    emit moved(p.x(), p.y());
}

void LightPad::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = padPoint(event);
    emit released(p.x(), p.y(), event->button() == Qt::LeftButton);
}

} // namespace plakett
