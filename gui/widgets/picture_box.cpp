#include "gui/widgets/picture_box.h"

#include <QMouseEvent>

namespace plakett {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace plakett
