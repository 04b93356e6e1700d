// A caption rasterizer that returns fixed extents and a fixed coverage block.
#pragma once

#include "render/caption_rasterizer.h"

#include <vector>

namespace plakett::testing {

class FakeRasterizer : public CaptionRasterizer {
  public:
    CaptionExtent measure(const std::string&, const CaptionFont& font) override {
        measured.push_back(font);
        return extent;
    }
    CaptionCoverage rasterize(const std::string&, const CaptionFont& font,
                              const CaptionRect& clip) override {
        drawn.push_back(font);
        clips.push_back(clip);
        return shape;
    }

    CaptionExtent extent{20, 10};
    CaptionCoverage shape;
    std::vector<CaptionFont> measured;
    std::vector<CaptionFont> drawn;
    std::vector<CaptionRect> clips;
};

} // namespace plakett::testing
