#include "gui/widgets/color_swatch.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

namespace plakett {

namespace {

ColorSwatch::DialogHook& dialogHook() {
    static ColorSwatch::DialogHook hook;
    return hook;
}

} // namespace

QColor toQColor(ColorRef c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

ColorRef toColorRef(const QColor& c) {
    const QColor rgb = c.toRgb();
    return makeColorRef(rgb.red(), rgb.green(), rgb.blue());
}

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedSize(41, 21);
    setCursor(Qt::PointingHandCursor);
}

void ColorSwatch::setColor(ColorRef c) {
    if (c == m_color) return;
    m_color = c;
    update();
}

std::optional<ColorRef> ColorSwatch::askColor() {
    if (dialogHook()) return dialogHook()(m_color);
    const QColor chosen = QColorDialog::getColor(toQColor(m_color), this);
    if (!chosen.isValid()) return std::nullopt;
    return toColorRef(chosen);
}

void ColorSwatch::setDialogHook(DialogHook hook) {
    dialogHook() = std::move(hook);
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    QColor fill = toQColor(m_color);
    if (!isEnabled()) fill = palette().color(QPalette::Disabled, QPalette::Window);
    painter.fillRect(contentsRect(), fill);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}

} // namespace plakett
