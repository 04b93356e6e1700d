// The small borderless window with a bar and "Cancel" that shows while the shape field is
// computed. The computation runs on this thread and lets events through on each shown step.
#pragma once

#include "field/shape_field.h"

#include <QWidget>

#include <atomic>

class QProgressBar;
class QPushButton;

namespace plakett {

class ProgressWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // Centres the window on `over`, clears the cancel flag and shows it.
    void start(QWidget* over);
    void finish();

    // A control whose progress goes to the bar and whose cancel flag is this window's.
    FieldControl fieldControl();
    // Shows `progress` when it moved by more than 2 since the last shown value, and lets
    // pending events (the Cancel click among them) run.
    void report(int progress);

    bool cancelRequested() const { return m_cancel.load(); }
    int shownProgress() const { return m_shown; }
    void requestCancel() { m_cancel.store(true); }

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancelButton = nullptr;
    std::atomic<bool> m_cancel{false};
    int m_shown = 0;
};

} // namespace plakett
