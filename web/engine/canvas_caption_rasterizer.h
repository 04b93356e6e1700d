// Captions in the browser: measured and drawn by the browser's Canvas 2D text (an
// OffscreenCanvas, so it works in a worker), handed to the core as coverage.
#pragma once

#include "render/caption_rasterizer.h"

namespace plakett::web {

class CanvasCaptionRasterizer : public CaptionRasterizer {
  public:
    CaptionExtent measure(const std::string& text, const CaptionFont& font) override;
    CaptionCoverage rasterize(const std::string& text, const CaptionFont& font,
                              const CaptionRect& clip) override;
};

} // namespace plakett::web
