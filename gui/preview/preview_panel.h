// Beside the editor in shape mode: the normal state of the current design, re-rendered on a
// worker thread after every change of the shape. Each result carries the number of the edit
// it was made from and only a newer one than shown is taken; the editor never waits. When
// the newest edit has waited too long, the last image stays with a "rendering…" mark.
#pragma once

#include "gui/preview/preview_job.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <memory>
#include <utility>

namespace plakett {

class PreviewWorker;
class Session;

class PreviewPanel : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewPanel(Session& session, QWidget* parent = nullptr);
    ~PreviewPanel() override;

    QSize sizeHint() const override { return {320, 200}; }

    // Takes a finished result unless a newer edit is already shown; returns whether it did.
    bool applyResult(PreviewResult result);

    std::uint64_t latestEdit() const { return m_edit; }
    std::uint64_t shownEdit() const { return m_shownSerial; }
    const QImage& image() const { return m_image; }
    bool renderingMarkShown() const { return m_markShown; }
    int appliedCount() const { return m_applied; }

  public slots:
    // Something the preview shows has changed.
    void requestUpdate();

  signals:
    void resultApplied(quint64 serial);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void checkLag();

    Session& m_session;
    std::uint64_t m_edit = 0;
    std::uint64_t m_shownSerial = 0;
    QImage m_image;
    QString m_refusal;
    bool m_markShown = false;
    int m_applied = 0;
    bool m_log = false;
    QElapsedTimer m_clock;
    std::deque<std::pair<std::uint64_t, qint64>> m_waiting; // edits not shown yet, with times
    QTimer m_lagTimer;
    std::unique_ptr<PreviewWorker> m_worker; // last: stopped before the rest goes
};

} // namespace plakett
