// The text window's 327x71 preview: the caption in the chosen font, turned by the text
// angle about the box's centre.
#pragma once

#include "render/render_settings.h"

#include <QFont>
#include <QFrame>

namespace plakett {

// The preview and caption font: cell height (size * 3) div 2, weight, italic, underline.
QFont previewFont(const TextLive& text);

class TextPreview : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kWidth = 327;
    static constexpr int kHeight = 71;

    TextPreview(const TextLive& text, QWidget* parent = nullptr);

    // Where the caption's reference point goes so that the turned caption is centred:
    // (PW div 2 - ex / 2, PH div 2 - ey / 2) with the turned extent (ex, ey).
    static QPoint captionOrigin(int textWidth, int textHeight, int angle, int boxWidth,
                                int boxHeight);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const TextLive& m_text;
};

} // namespace plakett
