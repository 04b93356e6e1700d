// The page's export runs the command line's job: its captions come from the canvas.
#include "canvas_caption_rasterizer.h"
#include "caption_engine.h"

namespace plakett::cli {
namespace {

class CanvasCaptionEngine : public CaptionEngine {
  public:
    std::unique_ptr<CaptionRasterizer> rasterizer() override {
        return std::make_unique<web::CanvasCaptionRasterizer>();
    }
};

} // namespace

std::unique_ptr<CaptionEngine> startCaptionEngine() {
    return std::make_unique<CanvasCaptionEngine>();
}

} // namespace plakett::cli
