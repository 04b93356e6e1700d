// The light editor's 64x64 placement pad: shows the sphere preview and reports the pointer
// in pad pixels.
#pragma once

#include <QFrame>
#include <QImage>

namespace plakett {

class LightPad : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kSize = 64;

    explicit LightPad(QWidget* parent = nullptr);
    void setPicture(const QImage& picture);

  signals:
    void pressed(int x, int y, bool leftButton);
    void moved(int x, int y);
    void released(int x, int y, bool leftButton);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPoint padPoint(const QMouseEvent* event) const;
    QImage m_picture;
};

} // namespace plakett
