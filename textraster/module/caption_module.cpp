// plakett-render's caption module: Qt's font engine behind the program's caption interface.
#include "cli/caption_engine.h"
#include "cli/caption_module.h"
#include "textraster/qt_caption_rasterizer.h"
#include "textraster/qt_glyph_rasterizer.h"

#include <exception>

namespace {

class QtCaptionEngine : public plakett::cli::CaptionEngine {
  public:
    std::unique_ptr<plakett::CaptionRasterizer> rasterizer() override {
        return std::make_unique<plakett::QtCaptionRasterizer>();
    }
    std::unique_ptr<plakett::GlyphRasterizer> glyphRasterizer() override {
        return std::make_unique<plakett::QtGlyphRasterizer>();
    }

  private:
    plakett::GuiApplicationScope m_app;
};

} // namespace

extern "C" __attribute__((visibility("default"))) plakett::cli::CaptionEngine*
plakett_start_caption_engine() {
    try {
        return new QtCaptionEngine;
    } catch (const std::exception&) {
        return nullptr;
    }
}
