// The contour editor's surface in shape mode: paints the session's TContur and forwards the
// mouse and resizes to it. All editing rules live in the core. The view zoom only scales what
// is shown: the core works on the editor pixels under the widget, so points still land on
// whole pixels; points and handles are drawn and picked at a fixed size on screen.
#pragma once

#include "shape/move_box.h"

#include <QPointF>
#include <QWidget>

#include <cstdint>

namespace plakett {

class Session;

class ConturWidget : public QWidget {
    Q_OBJECT
  public:
    static constexpr double kPickRadius = 6.0; // screen pixels
    static constexpr int kPointSize = 7;       // screen pixels, a square
    static constexpr int kHandleSize = 9;      // screen pixels, a circle

    explicit ConturWidget(Session& session, QWidget* parent = nullptr);

    // What a left press at a widget position would act on.
    enum class Target { None, Point, RightHandle, LeftHandle, Outline };
    struct Pick {
        Target target = Target::None;
        TPoint at{};    // the editor pixel the press goes to
        int index = -1; // the point (Point, handles)
    };
    Pick pickAt(QPointF position) const;

    double zoom() const { return m_zoom; }
    // Keeps the editor pixel under `anchor` (widget coordinates) where it is.
    void setZoom(double zoom, QPointF anchor);
    void setZoom(double zoom) { setZoom(zoom, QRectF(rect()).center()); }
    // The level at which the whole outline fits, at most 100%, and centred.
    void zoomToFit();
    QPointF toScreen(TPoint p) const;
    TPoint toEditor(QPointF position) const;

  signals:
    // A press selected a different point; `type` is its TPointType byte (the point-type
    // selector follows it). Emitted before the outline is recomputed.
    void pointSelected(int type);
    // The outline's bounds FMinX..FMaxY were recomputed (scroll bars follow them).
    void boundsChanged();
    // The wheel over the editor: the main window scrolls or zooms.
    void wheelTurned(QWheelEvent* event);
    void zoomChanged(double zoom);
    // Why an action did nothing, for the status bar.
    void refused(const QString& why);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void hookCallbacks();
    // Runs one forwarded edit; reports a changed outline to the session, and an edit the core
    // refused (an outline too large to compute) in a message box.
    template <typename Edit> void edit(Edit&& e);
    void resizeEditor();
    void hover(QPointF position);
    void paintPoints(class QPainter& painter);

    Session& m_session;
    double m_zoom = 1.0;
    Pick m_hover;
    bool m_outlineChanged = false; // set by the core's repaint callback during an edit
    bool m_inEdit = false;
};

} // namespace plakett
