// "Glyph Options": the glyph picture, its transparent colour, opacity and offset. Every
// control writes Session::settings().glyph and has the states rendered again.
#pragma once

#include <QWidget>

#include <filesystem>

class QSpinBox;
class QCheckBox;
class QLabel;
class QScrollArea;

namespace plakett {

class ColorSwatch;
class PictureBox;
class Session;
class TrackBar;

class GlyphWindow : public QWidget {
    Q_OBJECT
  public:
    explicit GlyphWindow(Session& session, QWidget* parent = nullptr);

    // Shows settings().glyph in the controls without running their handlers.
    void refresh();
    // Loads a glyph picture; its top-left pixel becomes the transparent colour. A ".svg"
    // file becomes an SVG glyph, drawn at every density from the vector. Throws
    // std::exception with the reader's message and keeps the previous glyph on failure.
    void loadGlyphFile(const std::filesystem::path& path);

  private:
    QWidget* buildPicture();
    QWidget* buildOrigin();
    void pictureClicked();
    void transparentColorClicked();
    void iconColorClicked();
    void loadSvgGlyph(const std::filesystem::path& path);
    void updateEnabled();
    void showPicture();
    void showOffsetLabels();
    void followCoverage();

    Session& m_session;
    QCheckBox* m_useGlyph = nullptr;
    QScrollArea* m_pictureFrame = nullptr;
    PictureBox* m_picture = nullptr;
    QCheckBox* m_transparent = nullptr;
    QLabel* m_trColorLabel = nullptr;
    ColorSwatch* m_trColor = nullptr;
    QLabel* m_iconColorLabel = nullptr; // what an SVG glyph's currentColor paints
    ColorSwatch* m_iconColor = nullptr;
    TrackBar* m_opacity = nullptr;
    TrackBar* m_x = nullptr;
    TrackBar* m_y = nullptr;
    QLabel* m_xCaption = nullptr;
    QLabel* m_yCaption = nullptr;
    QLabel* m_xLabel = nullptr;
    QLabel* m_yLabel = nullptr;
    QSpinBox* m_xField = nullptr; // number fields beside the origin bars
    QSpinBox* m_yField = nullptr;
};

} // namespace plakett
