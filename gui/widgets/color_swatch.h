// A clickable colour patch that holds a 0x00BBGGRR colour and asks for a new one with the
// standard colour dialog.
#pragma once

#include "image/color.h"

#include <QColor>
#include <QFrame>

#include <functional>
#include <optional>

namespace plakett {

QColor toQColor(ColorRef c);
ColorRef toColorRef(const QColor& c);

class ColorSwatch : public QFrame {
    Q_OBJECT
  public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    ColorRef color() const { return m_color; }
    void setColor(ColorRef c); // emits nothing

    // Runs the colour dialog starting at the current colour; the colour when confirmed.
    // The swatch itself is not changed: the caller decides.
    std::optional<ColorRef> askColor();

    // Replaces the dialog, so that tests can answer it.
    using DialogHook = std::function<std::optional<ColorRef>(ColorRef current)>;
    static void setDialogHook(DialogHook hook);

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    ColorRef m_color = 0;
};

} // namespace plakett
