// "Background": the background colour and the texture blended over the button face.
// Every control writes Session::settings().background and has the states rendered again.
#pragma once

#include <QWidget>

#include <filesystem>

class QCheckBox;

namespace plakett {

class ColorSwatch;
class PictureBox;
class Session;
class TrackBar;

// JPEG by name, as the texture loader always decided: a file name holding ".j" or ".J".
bool isJpegTextureName(const std::filesystem::path& path);

class BackgroundWindow : public QWidget {
    Q_OBJECT
  public:
    explicit BackgroundWindow(Session& session, QWidget* parent = nullptr);

    // Shows settings().background in the controls without running their handlers.
    void refresh();
    // Loads a texture picture. Throws std::exception with the decoder's message and keeps
    // the previous texture on failure.
    void loadTextureFile(const std::filesystem::path& path);

  private:
    QWidget* buildTexture();
    QWidget* buildOrigin();
    void colorClicked();
    void pictureClicked();
    void showTexture();

    Session& m_session;
    ColorSwatch* m_color = nullptr;
    QCheckBox* m_useTexture = nullptr;
    PictureBox* m_texture = nullptr;
    TrackBar* m_opacity = nullptr;
    TrackBar* m_x = nullptr;
    TrackBar* m_y = nullptr;
};

} // namespace plakett
