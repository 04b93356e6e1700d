#include "gui/effects/light_pad.h"

#include <QMouseEvent>
#include <QPainter>

namespace plakett {

LightPad::LightPad(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedSize(kSize + 2, kSize + 2);
}

void LightPad::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void LightPad::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, Qt::black);
    if (!m_picture.isNull()) painter.drawImage(area.topLeft(), m_picture);
}

QPoint LightPad::padPoint(const QMouseEvent* event) const {
    return event->position().toPoint() - contentsRect().topLeft();
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
