// The light editor's 64x64 placement pad, shown at twice its size: the sphere preview with a
// numbered marker in its colour for each enabled light; reports the pointer in pad pixels.
#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>

#include <vector>

namespace plakett {

struct PadMarker {
    QPoint at; // pad pixels
    QColor color;
    int number = 1;
    bool selected = false;
};

class LightPad : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kSize = 64;
    static constexpr int kScale = 2;

    explicit LightPad(QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    void setMarkers(std::vector<PadMarker> markers);
    const std::vector<PadMarker>& markers() const { return m_markers; }

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
    void paintMarker(QPainter& painter, const PadMarker& marker) const;
    QImage m_picture;
    std::vector<PadMarker> m_markers;
};

} // namespace plakett
