// A picture that reacts to a click: the glyph and texture pictures of the effect windows.
#pragma once

#include <QLabel>

namespace plakett {

class PictureBox : public QLabel {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace plakett
