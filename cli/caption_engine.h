// The font engine that draws captions (and the SVG renderer that draws SVG glyphs), started
// only when a run has a caption or an SVG glyph to draw.
#pragma once

#include "render/caption_rasterizer.h"
#include "render/glyph_rasterizer.h"

#include <memory>

namespace plakett::cli {

class CaptionEngine {
  public:
    virtual ~CaptionEngine() = default;
    // One rasterizer per thread that draws.
    virtual std::unique_ptr<CaptionRasterizer> rasterizer() = 0;
    // SVG glyphs are drawn by the same module (Qt SVG); used before the engine goes. Null
    // where this program has no SVG renderer.
    virtual std::unique_ptr<GlyphRasterizer> glyphRasterizer() { return nullptr; }
};

// Throws with a user-facing message where captions cannot be drawn.
std::unique_ptr<CaptionEngine> startCaptionEngine();

} // namespace plakett::cli
