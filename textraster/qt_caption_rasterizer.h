// Caption measuring and drawing with Qt's font engine, headless-capable.
#pragma once

#include "render/caption_rasterizer.h"

#include <memory>
#include <string>

class QFont;
class QGuiApplication;

namespace plakett {

// Keeps a QGuiApplication alive for its own lifetime when none exists yet (the
// command-line renderer, tests); does nothing when the program already has one. Without
// QT_QPA_PLATFORM set it picks the "offscreen" platform, so no display is needed.
class GuiApplicationScope {
  public:
    GuiApplicationScope();
    ~GuiApplicationScope();
    GuiApplicationScope(const GuiApplicationScope&) = delete;
    GuiApplicationScope& operator=(const GuiApplicationScope&) = delete;

    bool createdApplication() const { return m_app != nullptr; }

  private:
    int m_argc = 1;
    char m_name[16] = "plakett";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};

// Needs a QGuiApplication while it is used.
class QtCaptionRasterizer : public CaptionRasterizer {
  public:
    CaptionExtent measure(const std::string& text, const CaptionFont& font) override;
    CaptionCoverage rasterize(const std::string& text, const CaptionFont& font,
                              const CaptionRect& clip) override;
    std::string missingCharacters(const std::string& text, const CaptionFont& font) override;
    double emPixels(const CaptionFont& font) override;

    // The Qt font for a caption font: the face as fontconfig resolves it, sized so that
    // ascent + descent is about the cell height.
    static QFont makeFont(const CaptionFont& font);
    // The family the font engine really uses for a face name ("Arial" -> a metric twin).
    static std::string resolvedFamily(const std::string& faceName);
};

} // namespace plakett
