// "Light Options": the light editor's window. It forwards every action to the core's
// LightEditor and then shows the editor's state again.
#pragma once

#include <QWidget>

#include <array>

class QAbstractButton;
class QCheckBox;
class QLineEdit;

namespace plakett {

class ColorSwatch;
class LightPad;
class Session;
class TrackBar;

class LightEditorWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LightEditorWindow(Session& session, QWidget* parent = nullptr);
    ~LightEditorWindow() override;

    // Shows the editor's state in the controls without running their handlers.
    void refresh();
    // Saves the current style under the name in the name field into the Styles folder of
    // the working directory. Throws std::exception with the user-facing text.
    void saveStyle();

  signals:
    // A style was written: its name and the file it went to.
    void styleSaved(const QString& name, const QString& file);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QWidget* buildLightSelector();
    QWidget* buildBars();
    QWidget* buildSaveRow();
    void connectEditor();
    void saveClicked();

    Session& m_session;
    std::array<QAbstractButton*, 4> m_lightButtons{};
    std::array<QCheckBox*, 4> m_lightOn{};
    TrackBar* m_power = nullptr;
    TrackBar* m_radius = nullptr;
    ColorSwatch* m_lightColor = nullptr;
    ColorSwatch* m_buttonColor = nullptr;
    LightPad* m_pad = nullptr;
    QLineEdit* m_styleName = nullptr;
};

} // namespace plakett
