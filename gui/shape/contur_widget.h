// The contour editor's surface in shape mode: paints the session's TContur and forwards the
// mouse and resizes to it. All editing rules live in the core.
#pragma once

#include <QWidget>

#include <cstdint>

namespace plakett {

class Session;

class ConturWidget : public QWidget {
    Q_OBJECT
  public:
    explicit ConturWidget(Session& session, QWidget* parent = nullptr);

  signals:
    // A press selected a different point; `type` is its TPointType byte (the point-type
    // selector follows it). Emitted before the outline is recomputed.
    void pointSelected(int type);
    // The outline's bounds FMinX..FMaxY were recomputed (scroll bars follow them).
    void boundsChanged();
    // The wheel over the editor: the main window scrolls or zooms.
    void wheelTurned(QWheelEvent* event);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void hookCallbacks();
    // Runs one forwarded edit; reports a changed outline to the session, and an edit the core
    // refused (an outline too large to compute) in a message box.
    template <typename Edit> void edit(Edit&& e);

    Session& m_session;
    bool m_outlineChanged = false; // set by the core's repaint callback during an edit
    bool m_inEdit = false;
};

} // namespace plakett
