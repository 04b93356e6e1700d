#include "gui/effects/angle_dial.h"

#include "common/arith.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace plakett {

int dialBearing(int x, int y) {
    const int dx = x - 31;
    const int dy = y - 31;
    const float r = static_cast<float>(
        std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy) + 0.1);
    const double toDegrees = 180.0 / std::numbers::pi;
    if (y > 30) return roundEven(std::asin(-dx / static_cast<double>(r)) * toDegrees) + 180;
    return roundEven(std::asin(dx / static_cast<double>(r)) * toDegrees);
}

int shadowAngleFromDial(int x, int y) {
    const int angle = (90 - dialBearing(x, y)) % 360;
    return angle < 0 ? angle + 360 : angle;
}

AngleDial::AngleDial(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(kSize + 2, kSize + 2);
    setCursor(Qt::CrossCursor);
}

void AngleDial::setAngle(int degrees) {
    if (degrees == m_angle) return;
    m_angle = degrees;
    update();
}

void AngleDial::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, Qt::white);
    painter.translate(area.topLeft());
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(31.5, 31.5);
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    painter.drawEllipse(centre, 30.0, 30.0);
    for (int k = 0; k < 360; k += 30) {
        const double t = k * std::numbers::pi / 180.0;
        const QPointF dir(std::cos(t), -std::sin(t));
        painter.drawLine(centre + dir * 26.0, centre + dir * 30.0);
    }
    const double theta = m_angle * std::numbers::pi / 180.0;
    const QPointF end(std::cos(theta) * 32 + 31.5, -std::sin(theta) * 32 + 31.5);
    painter.setPen(QPen(Qt::black, 1.2));
    painter.drawLine(centre, end);
    painter.setBrush(Qt::black);
    painter.drawEllipse(centre, 2.0, 2.0);
}

void AngleDial::pick(const QMouseEvent* event) {
    const QPoint p = event->position().toPoint() - contentsRect().topLeft();
    const int angle = shadowAngleFromDial(p.x(), p.y());
    setAngle(angle);
    emit angleChosen(angle);
}

void AngleDial::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_dragging = true;
    pick(event);
}

void AngleDial::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) pick(event);
}

void AngleDial::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging) return;
    m_dragging = false;
    pick(event);
}

} // namespace plakett
