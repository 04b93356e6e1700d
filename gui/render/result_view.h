// The three rendered states side by side, "Mouse Off", "Mouse Over", "Mouse Down", on the
// background colour. It only shows: nothing in it can be selected or edited.
#pragma once

#include <QImage>
#include <QWidget>

#include <array>

namespace plakett {

class Session;

class ResultView : public QWidget {
    Q_OBJECT
  public:
    explicit ResultView(Session& session, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Where state `index` is drawn (empty before the first render).
    QRect imageRect(int index) const;
    // The view zoom: the states are shown at this scale; their pixels are not touched.
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    // The states side by side, or one below the other (for wide buttons beside the panels).
    bool stacked() const { return m_stacked; }
    void setStacked(bool stacked);
    // The level (at most 100%) and the arrangement at which the three states and their
    // captions fit `view` best.
    struct Fit {
        double zoom = 1.0;
        bool stacked = false;
    };
    Fit fitFor(QSize view) const;
    QColor backgroundColor() const;

  signals:
    void zoomChanged(double zoom);
    // Ctrl+wheel: zoom one step in (> 0) or out at `position` (widget coordinates).
    void zoomWheel(int steps, QPointF position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void takeStates();
    int captionHeight() const;

    Session& m_session;
    std::array<QImage, 3> m_images;
    double m_zoom = 1.0;
    bool m_stacked = false;
};

} // namespace plakett
