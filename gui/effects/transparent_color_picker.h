// "Set Transparent Color": the glyph enlarged by a whole factor; pointing into it picks
// the colour under the pointer, which at once becomes the glyph's transparent colour.
#pragma once

#include "image/color.h"
#include "image/image.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QScrollArea;

namespace plakett {

class ColorSwatch;

// The enlarged glyph; pixels of the transparent colour let the white frame show through.
class PickerView : public QWidget {
    Q_OBJECT
  public:
    PickerView(const Bgr24Image& picture, ColorRef transparent, QWidget* parent = nullptr);

    int zoom() const { return m_zoom; }
    void setZoom(int zoom);
    void setTransparentColor(ColorRef c);

  signals:
    void picked(ColorRef color);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void pick(const QPoint& at);
    void rebuild();

    const Bgr24Image& m_picture;
    ColorRef m_transparent;
    QImage m_shown;
    int m_zoom = 1;
    bool m_picking = false;
};

class TransparentColorPicker : public QDialog {
    Q_OBJECT
  public:
    // onPick runs for every colour picked, as it is picked.
    TransparentColorPicker(const Bgr24Image& picture, ColorRef current,
                           std::function<void(ColorRef)> onPick, QWidget* parent = nullptr);

    ColorRef color() const;
    PickerView* view() const { return m_view; }
    void zoomIn();
    void zoomOut();

  private:
    std::function<void(ColorRef)> m_onPick;
    ColorSwatch* m_swatch = nullptr;
    PickerView* m_view = nullptr;
};

} // namespace plakett
