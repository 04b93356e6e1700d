#include "gui/render/result_view.h"

#include "gui/app/session.h"

#include <QPainter>

namespace plakett {
namespace {

constexpr int kMargin = 10;
constexpr int kCaptionGap = 4;
const char* const kCaptions[] = {"Mouse Off", "Mouse Over", "Mouse Down"};

} // namespace

ResultView::ResultView(Session& session, QWidget* parent) : QWidget(parent), m_session(session) {
    setFocusPolicy(Qt::NoFocus);
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
    const QSize size = m_images[0].size(); // the three states share one size
    return QRect(QPoint(kMargin + index * (size.width() + kMargin), kMargin), size);
}

QSize ResultView::sizeHint() const {
    if (m_images[0].isNull()) return {kMargin * 2, kMargin * 2};
    const QSize size = m_images[0].size();
    return {kMargin + 3 * (size.width() + kMargin),
            kMargin + size.height() + kCaptionGap + fontMetrics().height() + kMargin};
}

void ResultView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor back = backgroundColor();
    p.fillRect(rect(), back);
    p.setPen(back.lightness() < 110 ? Qt::white : Qt::black);
    for (int i = 0; i < 3; ++i) {
        const QRect r = imageRect(i);
        if (r.isEmpty()) continue;
        p.drawImage(r.topLeft(), m_images[i]);
        const QRect caption(r.left() - kMargin / 2, r.bottom() + 1 + kCaptionGap,
                            r.width() + kMargin, fontMetrics().height());
        p.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, QString::fromLatin1(kCaptions[i]));
    }
}

} // namespace plakett
