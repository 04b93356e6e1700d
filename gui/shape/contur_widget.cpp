#include "gui/shape/contur_widget.h"

#include "gui/app/session.h"
#include "gui/widgets/error_box.h"
#include "gui/widgets/zoom_steps.h"
#include "shape/scroll_rules.h"
#include "shape/transforms.h"

#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <exception>

namespace plakett {

namespace {

const QColor kHandleLine(170, 170, 170);
const QColor kSelectionBorder(0, 170, 255);
const QColor kHover(255, 140, 0);

double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// An odd-sized square of whole pixels around a pixel.
QRect square(QPoint centre, int side) {
    return {centre.x() - side / 2, centre.y() - side / 2, side, side};
}

} // namespace

ConturWidget::ConturWidget(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
    setFocusPolicy(Qt::ClickFocus); // the Delete key works on the point just clicked
    setMouseTracking(true);         // the point under the pointer is highlighted
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

// Editor pixel p covers the screen square from p * zoom to (p + 1) * zoom; at 100% the
// centre of that square is p itself, as it always was.
QPointF ConturWidget::toScreen(TPoint p) const {
    return {(p.X + 0.5) * m_zoom - 0.5, (p.Y + 0.5) * m_zoom - 0.5};
}

TPoint ConturWidget::toEditor(QPointF position) const {
    return {static_cast<std::int32_t>(std::floor(position.x() / m_zoom)),
            static_cast<std::int32_t>(std::floor(position.y() / m_zoom))};
}

ConturWidget::Pick ConturWidget::pickAt(QPointF position) const {
    const TContur& c = m_session.contour();
    if (c.FEditMode && c.hasSelection() && c.FPoints[c.FSelected].FPointType == ptBezier) {
        const HandlePair h = TContur::pressHandles(c.FPoints[c.FSelected]);
        if (distance(toScreen(h.right), position) <= kPickRadius)
            return {Target::RightHandle, h.right, c.FSelected};
        if (distance(toScreen(h.left), position) <= kPickRadius)
            return {Target::LeftHandle, h.left, c.FSelected};
    }
    Pick best;
    double nearest = kPickRadius;
    for (std::size_t i = 0; i < c.FPoints.size(); ++i) {
        const double d = distance(toScreen(c.FPoints[i].FPos), position);
        if (d <= nearest) {
            nearest = d;
            best = {Target::Point, c.FPoints[i].FPos, static_cast<int>(i)};
        }
    }
    if (best.target != Target::None) return best;
    for (const TPoint& p : c.outline()) {
        const double d = distance(toScreen(p), position);
        if (d <= nearest) {
            nearest = d;
            best = {Target::Outline, p, -1};
        }
    }
    return best;
}

void ConturWidget::setZoom(double zoom, QPointF anchor) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == m_zoom) return;
    TContur& c = m_session.contour();
    const QPointF before = anchor / m_zoom; // in editor pixels
    const std::int32_t centerX = c.FCenterX;
    const std::int32_t centerY = c.FCenterY;
    m_zoom = zoom;
    resizeEditor(); // moves the points with the centre of the editor
    const QPointF after = anchor / m_zoom;
    const auto dx =
        static_cast<std::int32_t>(std::lround(after.x() - (before.x() + c.FCenterX - centerX)));
    const auto dy =
        static_cast<std::int32_t>(std::lround(after.y() - (before.y() + c.FCenterY - centerY)));
    if (dx != 0 || dy != 0) edit([&](TContur& t) { scrollShape(t, dx, dy); });
    m_hover = {};
    update();
    emit zoomChanged(m_zoom);
}

void ConturWidget::zoomToFit() {
    TContur& c = m_session.contour();
    c.UpdateBounds();
    const QSizeF shape(c.FMaxX - c.FMinX + 40, c.FMaxY - c.FMinY + 40); // a margin around it
    setZoom(fitZoom(shape, size()));
    m_session.centerView();
}

void ConturWidget::paintEvent(QPaintEvent*) {
    TContur& c = m_session.contour();
    c.UpdateBounds();

    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setClipRect(0, 0, width() - 1, height() - 1);

    const TArrayPoint& outline = c.outline();
    painter.setPen(QPen(Qt::black, 1));
    if (m_zoom == 1.0) {
        QPolygon polyline(static_cast<int>(outline.size()));
        for (std::size_t i = 0; i < outline.size(); ++i)
            polyline[static_cast<int>(i)] = QPoint(outline[i].X, outline[i].Y);
        painter.drawPolyline(polyline);
    } else {
        QPolygonF polyline(static_cast<int>(outline.size()));
        for (std::size_t i = 0; i < outline.size(); ++i)
            polyline[static_cast<int>(i)] = toScreen(outline[i]);
        painter.drawPolyline(polyline);
    }
    paintPoints(painter);
}

void ConturWidget::paintPoints(QPainter& painter) {
    const TContur& c = m_session.contour();
    const bool selection = c.FEditMode && c.hasSelection();
    if (selection && c.FPoints[c.FSelected].FPointType == ptBezier) {
        const QPointF at = toScreen(c.FPoints[c.FSelected].FPos);
        const HandlePair h = TContur::paintHandles(c.FPoints[c.FSelected]);
        const Target kinds[2] = {Target::RightHandle, Target::LeftHandle};
        const TPoint ends[2] = {h.right, h.left};
        for (int i = 0; i < 2; ++i) {
            const QPointF end = toScreen(ends[i]);
            painter.setPen(kHandleLine);
            painter.drawLine(at, end);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(Qt::black, 1.5));
            painter.setBrush(m_hover.target == kinds[i] ? kHover : QColor(Qt::white));
            painter.drawEllipse(end, kHandleSize / 2.0, kHandleSize / 2.0);
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
        painter.setBrush(Qt::NoBrush);
    }
    for (std::size_t i = 0; i < c.FPoints.size(); ++i) {
        const QPoint at = toScreen(c.FPoints[i].FPos).toPoint();
        const bool hovered = m_hover.target == Target::Point && m_hover.index == int(i);
        if (selection && int(i) == c.FSelected) {
            const QRect box = square(at, kPointSize + 4);
            painter.fillRect(box, kSelectionBorder);
            painter.fillRect(box.adjusted(2, 2, -2, -2), hovered ? kHover : QColor(Qt::black));
            continue;
        }
        // A white rim keeps the square apart from the outline through it.
        painter.fillRect(square(at, kPointSize + 2), Qt::white);
        painter.fillRect(square(at, kPointSize), hovered ? kHover : QColor(Qt::black));
    }
}

void ConturWidget::hover(QPointF position) {
    const Pick pick = pickAt(position);
    switch (pick.target) {
    case Target::None:
        unsetCursor();
        break;
    case Target::Outline:
        setCursor(Qt::CrossCursor); // a press inserts a point here
        break;
    default:
        setCursor(Qt::SizeAllCursor); // a press picks this up to move it
        break;
    }
    if (pick.target != m_hover.target || pick.index != m_hover.index) {
        m_hover = pick;
        update();
    }
}

void ConturWidget::mousePressEvent(QMouseEvent* event) {
    const Pick pick = pickAt(event->position());
    if (event->button() == Qt::LeftButton) {
        if (pick.target == Target::None) return;
        edit([&](TContur& c) { c.leftPress(pick.at.X, pick.at.Y); });
    } else if (event->button() == Qt::RightButton) {
        if (pick.target != Target::Point) return;
        if (m_session.contour().FPoints.size() < 3) {
            emit refused(QStringLiteral("A shape needs at least two points; this one stays."));
            return;
        }
        edit([&](TContur& c) { c.rightPress(pick.at.X, pick.at.Y); });
    }
    hover(event->position());
}

// While a button is held Qt keeps sending moves here, also from outside the widget.
void ConturWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        hover(event->position());
        return;
    }
    const TPoint at = toEditor(event->position());
    edit([&](TContur& c) { c.mouseMove(at.X, at.Y); });
}

void ConturWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_session.contour().leftRelease();
    hover(event->position());
}

void ConturWidget::leaveEvent(QEvent*) {
    m_hover = {};
    update();
}

void ConturWidget::wheelEvent(QWheelEvent* event) {
    emit wheelTurned(event);
}

// The core sees the editor pixels that fit the widget at the current zoom.
void ConturWidget::resizeEditor() {
    const auto w = static_cast<std::int32_t>(std::ceil(width() / m_zoom - 1e-9));
    const auto h = static_cast<std::int32_t>(std::ceil(height() / m_zoom - 1e-9));
    edit([&](TContur& c) { c.resize(std::max(w, 1), std::max(h, 1)); });
}

void ConturWidget::resizeEvent(QResizeEvent*) {
    resizeEditor();
}

} // namespace plakett
