#include "web/caption_check.h"

#include "render/overlays.h"

namespace plakett {

namespace {

// Whether any drawn pixel of the caption lies outside the double-scale base image, where
// drawing cuts it off.
bool clipped(const PreparedCaption& caption, int baseWidth, int baseHeight) {
    const Gray8Image& c = caption.shape.coverage;
    if (c.empty()) return false;
    const int left = caption.x + caption.shape.left;
    const int top = caption.y + caption.shape.top;
    return left < 0 || top < 0 || left + c.width() > 2 * baseWidth ||
           top + c.height() > 2 * baseHeight;
}

} // namespace

std::vector<std::string> captionWarnings(const TextLive& text, int baseWidth, int baseHeight,
                                         CaptionRasterizer* rasterizer) {
    std::vector<std::string> warnings;
    if (rasterizer == nullptr || text.caption.empty()) return warnings;
    const std::string name = "caption \"" + text.caption + "\"";
    if (clipped(PrepareCaption(text, baseWidth, baseHeight, rasterizer), baseWidth, baseHeight))
        warnings.push_back(name + " does not fit: the image cuts it off");
    const CaptionFont font = CaptionFontFor(text, DoubleCaptionCellHeight(text.fontSize));
    if (const std::string missing = rasterizer->missingCharacters(text.caption, font);
        !missing.empty())
        warnings.push_back(name + " has characters no installed font draws: \"" + missing + "\"");
    return warnings;
}

} // namespace plakett
