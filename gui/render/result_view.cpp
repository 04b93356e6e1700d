#include "gui/render/result_view.h"

#include "gui/app/session.h"

#include "gui/widgets/zoom_steps.h"

#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace plakett {
namespace {

constexpr int kMargin = 10;
constexpr int kCaptionGap = 4;
const char* const kCaptions[] = {"Mouse Off", "Mouse Over", "Mouse Down"};

} // namespace

ResultView::ResultView(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    // Focus here makes Escape go back to shape mode.
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_session, &Session::statesChanged, this, &ResultView::takeStates);
    takeStates();
}

void ResultView::takeStates() {
    for (int i = 0; i < 3; ++i)
        m_images[i] = m_session.stateImage(i);
    updateGeometry();
    update();
}

QColor ResultView::backgroundColor() const {
    const ColorRef c = m_session.settings().background.color;
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

QRect ResultView::imageRect(int index) const {
    if (index < 0 || index > 2 || m_images[index].isNull()) return {};
    // The three states share one size.
    // Rounded down, so that a fitted row never ends up a pixel wider than its view.
    const QSize size(std::max(1, int(std::floor(m_images[0].width() * m_zoom + 1e-9))),
                     std::max(1, int(std::floor(m_images[0].height() * m_zoom + 1e-9))));
    if (m_stacked)
        return QRect(QPoint(kMargin, kMargin + index * (size.height() + captionHeight() + kMargin)),
                     size);
    return QRect(QPoint(kMargin + index * (size.width() + kMargin), kMargin), size);
}

int ResultView::captionHeight() const {
    return kCaptionGap + fontMetrics().height();
}

QSize ResultView::sizeHint() const {
    if (m_images[0].isNull()) return {kMargin * 2, kMargin * 2};
    const QSize size = imageRect(0).size();
    if (m_stacked)
        return {kMargin + size.width() + kMargin,
                kMargin + 3 * (size.height() + captionHeight() + kMargin)};
    return {kMargin + 3 * (size.width() + kMargin),
            kMargin + size.height() + captionHeight() + kMargin};
}

void ResultView::setStacked(bool stacked) {
    if (stacked == m_stacked) return;
    m_stacked = stacked;
    updateGeometry();
    update();
}

void ResultView::setZoom(double zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    updateGeometry();
    update();
    emit zoomChanged(m_zoom);
}

ResultView::Fit ResultView::fitFor(QSize view) const {
    if (m_images[0].isNull()) return {};
    const QSizeF picture = m_images[0].size();
    // Margins and captions keep their size; only the pictures scale.
    const double row =
        fitZoom(QSizeF(3 * picture.width(), picture.height()),
                QSize(view.width() - 4 * kMargin, view.height() - 2 * kMargin - captionHeight()));
    const double column = fitZoom(
        QSizeF(picture.width(), 3 * picture.height()),
        QSize(view.width() - 2 * kMargin, view.height() - 4 * kMargin - 3 * captionHeight()));
    return column > row ? Fit{column, true} : Fit{row, false};
}

void ResultView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
        event->ignore(); // the scroll area scrolls
        return;
    }
    emit zoomWheel(event->angleDelta().y() > 0 ? 1 : -1, event->position());
    event->accept();
}

void ResultView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor back = backgroundColor();
    p.fillRect(rect(), back);
    p.setPen(back.lightness() < 110 ? Qt::white : Qt::black);
    for (int i = 0; i < 3; ++i) {
        const QRect r = imageRect(i);
        if (r.isEmpty()) continue;
        if (m_zoom == 1.0) {
            p.drawImage(r.topLeft(), m_images[i]);
        } else {
            // Smooth when smaller, whole pixels when larger.
            p.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 1.0);
            p.drawImage(r, m_images[i]);
        }
        const QRect caption(r.left() - kMargin / 2, r.bottom() + 1 + kCaptionGap,
                            r.width() + kMargin, fontMetrics().height());
        p.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, QString::fromLatin1(kCaptions[i]));
    }
}

} // namespace plakett
