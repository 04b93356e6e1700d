// "Shadow Options": on/off, colour, blur, the offset length per state and the direction.
// Every control writes Session::settings().shadow and has the states rendered again.
#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace plakett {

class AngleDial;
class ColorSwatch;
class Session;
class TrackBar;

class ShadowWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ShadowWindow(Session& session, QWidget* parent = nullptr);

    // Shows settings().shadow in the controls without running their handlers.
    void refresh();

  private:
    QWidget* buildHeights();
    QWidget* buildAngle();
    void angleChanged(int degrees);
    void showAnglePreset(int degrees);

    Session& m_session;
    QCheckBox* m_enable = nullptr;
    ColorSwatch* m_color = nullptr;
    TrackBar* m_blur = nullptr;
    QLabel* m_blurPercent = nullptr;
    std::array<TrackBar*, 3> m_heights{};
    QSpinBox* m_angle = nullptr;
    QComboBox* m_presets = nullptr;
    AngleDial* m_dial = nullptr;
};

} // namespace plakett
