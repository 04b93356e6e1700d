// The shadow window's 64x64 direction dial: shows the shadow angle as a needle from the
// centre and sets it from the pointer.
#pragma once

#include <QFrame>

namespace plakett {

// The pointer's bearing on the dial, clockwise from straight up (up 0, right about 90,
// down 180, left about 270, upper-left quarter -90..0), as the dial always measured it.
int dialBearing(int x, int y);

// The shadow angle whose needle points at the pointer. Angles run counter-clockwise from
// the right, as the renderer offsets the shadow (cos, -sin), so the bearing is turned
// into that sense and wrapped into 0..359.
int shadowAngleFromDial(int x, int y);

class AngleDial : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kSize = 64;

    explicit AngleDial(QWidget* parent = nullptr);
    int angle() const { return m_angle; }
    void setAngle(int degrees); // shows it; emits nothing

  signals:
    void angleChosen(int degrees);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void pick(const QMouseEvent* event);

    int m_angle = 0;
    bool m_dragging = false;
};

} // namespace plakett
