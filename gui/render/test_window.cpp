#include "gui/render/test_window.h"

#include "gui/app/session.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace plakett {
namespace {

constexpr int kExtraHeight = 27;

} // namespace

TestButtonView::TestButtonView(std::array<QImage, 3> states, QWidget* parent)
    : QWidget(parent), m_states(std::move(states)) {
    setMouseTracking(true);
    setAutoFillBackground(false);
    const QSize size = m_states[0].isNull() ? QSize(120, 60) : m_states[0].size();
    // As wide as the picture and 27 pixels higher.
    setMinimumSize(size + QSize(0, kExtraHeight));
}

QRect TestButtonView::pictureRect() const {
    const QSize size = m_states[0].size();
    return QRect(QPoint(width() / 2 - size.width() / 2, height() / 2 - size.height() / 2), size);
}

bool TestButtonView::onButton(QPoint p) const {
    const QImage& shown = m_states[m_shown];
    if (shown.isNull() || !shown.rect().contains(p)) return false;
    return (shown.pixel(p) & 0xFFFFFF) != 0xFFFFFF;
}

void TestButtonView::showState(int state) {
    m_shown = state;
    repaint();
}

void TestButtonView::pointerMoved(QPoint p) {
    const bool on = onButton(p);
    if (on && !m_pressed && !m_hot) {
        showState(1);
        m_hot = true;
    } else if (!m_pressed && m_hot && !on) {
        showState(0);
        m_hot = false;
    }
}

void TestButtonView::buttonPressed(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton) {
        if (!onButton(p)) {
            m_pressed = false;
            showState(0);
            return;
        }
        if (m_pressed) return;
        showState(2);
        m_pressed = true;
    }
    pointerMoved(p);
}

void TestButtonView::buttonReleased(Qt::MouseButton button, QPoint p) {
    if (button == Qt::LeftButton && m_pressed && !m_states[0].isNull()) {
        m_pressed = false;
        showState(0);
    }
    m_hot = false;
    pointerMoved(p);
}

void TestButtonView::pointerLeft() {
    // While pushed the picture stays, wherever the pointer goes.
    if (!m_hot || m_pressed) return;
    showState(0);
    m_hot = false;
}

void TestButtonView::dispatchMove(QPoint widgetPos) {
    const QRect r = pictureRect();
    if (r.contains(widgetPos))
        pointerMoved(widgetPos - r.topLeft());
    else
        pointerLeft();
}

void TestButtonView::mouseMoveEvent(QMouseEvent* event) {
    dispatchMove(event->position().toPoint());
}

void TestButtonView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QRect r = pictureRect();
    if (r.contains(pos)) buttonPressed(event->button(), pos - r.topLeft());
}

void TestButtonView::mouseReleaseEvent(QMouseEvent* event) {
    // The press captured the pointer, so a release off the picture still belongs to it.
    buttonReleased(event->button(), event->position().toPoint() - pictureRect().topLeft());
}

void TestButtonView::leaveEvent(QEvent*) {
    if (!m_pressed) pointerLeft();
}

void TestButtonView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    // Lowered outer and raised inner edge.
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(outer.topLeft(), outer.topRight());
    p.drawLine(outer.topLeft(), outer.bottomLeft());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(outer.bottomLeft(), outer.bottomRight());
    p.drawLine(outer.topRight(), outer.bottomRight());
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(inner.topLeft(), inner.topRight());
    p.drawLine(inner.topLeft(), inner.bottomLeft());
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(inner.bottomLeft(), inner.bottomRight());
    p.drawLine(inner.topRight(), inner.bottomRight());
    if (!m_states[m_shown].isNull()) p.drawImage(pictureRect().topLeft(), m_states[m_shown]);
}

TestWindow::TestWindow(Session& session, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Test"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_view = new TestButtonView(
        {session.stateImage(0), session.stateImage(1), session.stateImage(2)}, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFixedSize(m_view->minimumSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace plakett
