#include "gui/shape/contur_widget.h"

#include "gui/app/session.h"
#include "gui/widgets/error_box.h"

#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPolygon>

#include <cmath>
#include <exception>

namespace plakett {

namespace {

const QColor kHandleLine(170, 170, 170);
const QColor kSelectionBorder(0, 170, 255);

QPoint toQPoint(TPoint p) {
    return {p.X, p.Y};
}

// Widget coordinates as the core takes them: whole pixels, negative beyond the left or top.
std::int32_t pixel(double v) {
    return static_cast<std::int32_t>(std::floor(v));
}

void paintHandle(QPainter& painter, QPoint point, QPoint handle) {
    painter.setPen(kHandleLine);
    painter.drawLine(point, handle);
    painter.fillRect(handle.x() - 2, handle.y() - 2, 4, 4, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(handle.x() - 2, handle.y() - 2, 3, 3);
}

} // namespace

ConturWidget::ConturWidget(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
    setFocusPolicy(Qt::ClickFocus); // the Delete key works on the point just clicked
    hookCallbacks();
    connect(&m_session, &Session::shapeChanged, this, qOverload<>(&QWidget::update));
    connect(&m_session, &Session::documentReplaced, this, qOverload<>(&QWidget::update));
}

// The session's editor may already carry callbacks of the main window: keep them and call
// them first. The guard makes the chained callbacks harmless once this widget is gone.
void ConturWidget::hookCallbacks() {
    TContur& c = m_session.contour();
    QPointer<ConturWidget> self(this);
    c.FOnRepaint = [previous = c.FOnRepaint, self] {
        if (previous) previous();
        if (!self) return;
        if (self->m_inEdit) self->m_outlineChanged = true;
        self->update();
    };
    c.FOnBounds = [previous = c.FOnBounds, self] {
        if (previous) previous();
        if (self) emit self->boundsChanged();
    };
    c.FOnPointSelected = [previous = c.FOnPointSelected, self](std::int32_t index) {
        if (previous) previous(index);
        if (!self) return;
        const TContur& contur = self->m_session.contour();
        if (index >= 0 && static_cast<std::size_t>(index) < contur.FPoints.size())
            emit self->pointSelected(contur.FPoints[static_cast<std::size_t>(index)].FPointType);
    };
}

template <typename Edit> void ConturWidget::edit(Edit&& e) {
    m_outlineChanged = false;
    m_inEdit = true;
    QString error;
    try {
        e(m_session.contour());
    } catch (const std::exception& ex) {
        m_session.contour().leftRelease();
        error = errorText(ex);
    }
    m_inEdit = false;
    if (m_outlineChanged) m_session.shapeEdited();
    if (!error.isEmpty()) QMessageBox::critical(this, QStringLiteral("Error"), error);
}

void ConturWidget::paintEvent(QPaintEvent*) {
    TContur& c = m_session.contour();
    c.UpdateBounds();

    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setClipRect(0, 0, width() - 1, height() - 1);

    const TArrayPoint& outline = c.outline();
    QPolygon polyline(static_cast<int>(outline.size()));
    for (std::size_t i = 0; i < outline.size(); ++i)
        polyline[static_cast<int>(i)] = toQPoint(outline[i]);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPolyline(polyline);

    for (const TMoveBox& p : c.FPoints)
        painter.fillRect(p.FPos.X - 2, p.FPos.Y - 2, 5, 5, Qt::black);

    if (!c.FEditMode || !c.hasSelection()) return;
    const TMoveBox& selected = c.FPoints[static_cast<std::size_t>(c.FSelected)];
    const QPoint at = toQPoint(selected.FPos);
    if (selected.FPointType == ptBezier) {
        const HandlePair h = TContur::paintHandles(selected);
        paintHandle(painter, at, toQPoint(h.right));
        paintHandle(painter, at, toQPoint(h.left));
    }
    painter.fillRect(at.x() - 4, at.y() - 4, 9, 9, Qt::black);
    painter.setPen(kSelectionBorder);
    painter.drawRect(at.x() - 4, at.y() - 4, 8, 8);
}

void ConturWidget::mousePressEvent(QMouseEvent* event) {
    const std::int32_t x = pixel(event->position().x());
    const std::int32_t y = pixel(event->position().y());
    if (event->button() == Qt::LeftButton)
        edit([&](TContur& c) { c.leftPress(x, y); });
    else if (event->button() == Qt::RightButton)
        edit([&](TContur& c) { c.rightPress(x, y); });
}

// While a button is held Qt keeps sending moves here, also from outside the widget.
void ConturWidget::mouseMoveEvent(QMouseEvent* event) {
    const std::int32_t x = pixel(event->position().x());
    const std::int32_t y = pixel(event->position().y());
    edit([&](TContur& c) { c.mouseMove(x, y); });
}

void ConturWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_session.contour().leftRelease();
}

void ConturWidget::wheelEvent(QWheelEvent* event) {
    emit wheelTurned(event);
}

void ConturWidget::resizeEvent(QResizeEvent*) {
    const std::int32_t w = width();
    const std::int32_t h = height();
    edit([&](TContur& c) { c.resize(w, h); });
}

} // namespace plakett
