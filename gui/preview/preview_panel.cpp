#include "gui/preview/preview_panel.h"

#include "gui/app/session.h"
#include "gui/preview/preview_worker.h"
#include "gui/widgets/picture_convert.h"

#include <QPainter>

#include <cstdio>

namespace plakett {
namespace {

// How long the newest edit may wait for its image before the mark shows.
constexpr qint64 kLagMs = 150;

} // namespace

PreviewPanel::PreviewPanel(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_log(qEnvironmentVariableIsSet("PLAKETT_PREVIEW_LOG")) {
    setObjectName(QStringLiteral("PreviewPanel"));
    setMinimumSize(80, 60);
    m_clock.start();
    m_lagTimer.setInterval(50);
    connect(&m_lagTimer, &QTimer::timeout, this, &PreviewPanel::checkLag);
    m_worker = std::make_unique<PreviewWorker>([this](PreviewResult r) {
        QMetaObject::invokeMethod(
            this, [this, r = std::move(r)]() mutable { applyResult(std::move(r)); },
            Qt::QueuedConnection);
    });
    connect(&session, &Session::shapeChanged, this, &PreviewPanel::requestUpdate);
    connect(&session, &Session::documentReplaced, this, &PreviewPanel::requestUpdate);
    connect(&session, &Session::lightsChanged, this, &PreviewPanel::requestUpdate);
}

PreviewPanel::~PreviewPanel() = default;

void PreviewPanel::requestUpdate() {
    ++m_edit;
    if (!isVisible()) return; // showing it asks again
    m_waiting.emplace_back(m_edit, m_clock.elapsed());
    m_worker->submit(snapshotForPreview(m_session, m_edit));
    if (!m_lagTimer.isActive()) m_lagTimer.start();
}

bool PreviewPanel::applyResult(PreviewResult result) {
    if (result.serial <= m_shownSerial) return false;
    m_shownSerial = result.serial;
    m_image = toQImage(result.normal);
    m_refusal = QString::fromStdString(result.refusal);
    ++m_applied;
    while (!m_waiting.empty() && m_waiting.front().first <= result.serial)
        m_waiting.pop_front();
    checkLag();
    if (m_log)
        std::fprintf(stderr, "preview: edit %llu shown at %lld ms\n",
                     static_cast<unsigned long long>(result.serial),
                     static_cast<long long>(m_clock.elapsed()));
    update();
    emit resultApplied(result.serial);
    return true;
}

void PreviewPanel::checkLag() {
    const bool lagging =
        !m_waiting.empty() && m_clock.elapsed() - m_waiting.front().second > kLagMs;
    if (m_waiting.empty()) m_lagTimer.stop();
    if (lagging == m_markShown) return;
    m_markShown = lagging;
    update();
}

void PreviewPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Lights and effects may have changed in render mode without a signal reaching here.
    requestUpdate();
}

void PreviewPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Mid));
    if (!m_image.isNull()) {
        // At its own pixels when it fits; scaled down to fit otherwise.
        QSize size = m_image.size();
        if (size.width() > width() || size.height() > height())
            size.scale(this->size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2),
                           size);
        p.setRenderHint(QPainter::SmoothPixmapTransform, size != m_image.size());
        p.drawImage(target, m_image);
    } else if (!m_refusal.isEmpty()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_refusal);
    }
    if (m_markShown) {
        const QString mark = QStringLiteral("rendering…");
        const QRect box = p.fontMetrics().boundingRect(mark).adjusted(-6, -3, 6, 3);
        const QRect at = box.translated(8 - box.left(), 8 - box.top());
        p.fillRect(at, QColor(0, 0, 0, 150));
        p.setPen(Qt::white);
        p.drawText(at, Qt::AlignCenter, mark);
    }
}

} // namespace plakett
