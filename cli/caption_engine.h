// The font engine that draws captions, started only when a run has a caption to draw.
#pragma once

#include "render/caption_rasterizer.h"

#include <memory>

namespace plakett::cli {

class CaptionEngine {
  public:
    virtual ~CaptionEngine() = default;
    // One rasterizer per thread that draws.
    virtual std::unique_ptr<CaptionRasterizer> rasterizer() = 0;
};

// Throws with a user-facing message where captions cannot be drawn.
std::unique_ptr<CaptionEngine> startCaptionEngine();

} // namespace plakett::cli
