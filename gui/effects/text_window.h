// "Text Options": the caption, its font, angle, effects, colours, opacity and offset.
// Every control writes Session::settings().text and has the states rendered again.
#pragma once

#include <QStringList>
#include <QWidget>

#include <array>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace plakett {

class ColorSwatch;
class Session;
class TextPreview;
class TrackBar;

// The installed font faces for the font selector: sorted without regard to case, exact
// duplicates dropped (names differing only in case both stay).
QStringList fontFaceList(QStringList faces);

class TextWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TextWindow(Session& session, QWidget* parent = nullptr);

    // Shows settings().text in the controls without running their handlers.
    void refresh();

  private:
    QWidget* buildFontRow();
    QWidget* buildStyle();
    QWidget* buildColors();
    QWidget* buildOrigin();
    void sizeEdited(const QString& text);
    void toggleClicked(int which);
    void captionChanged();
    void followCoverage();
    void showOffsetLabels();

    Session& m_session;
    QComboBox* m_font = nullptr;
    QComboBox* m_size = nullptr;
    std::array<QAbstractButton*, 3> m_toggles{};
    QLineEdit* m_caption = nullptr;
    TextPreview* m_preview = nullptr;
    QSpinBox* m_angle = nullptr;
    std::array<QComboBox*, 3> m_effects{};
    ColorSwatch* m_effectColor = nullptr;
    TrackBar* m_opacity = nullptr;
    std::array<ColorSwatch*, 3> m_colors{};
    TrackBar* m_x = nullptr;
    TrackBar* m_y = nullptr;
    QLabel* m_xLabel = nullptr;
    QLabel* m_yLabel = nullptr;
};

} // namespace plakett
