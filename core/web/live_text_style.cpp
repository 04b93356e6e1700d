#include "web/live_text_style.h"

#include "render/overlays.h"

#include <algorithm>

namespace plakett {

namespace {

std::string quotedFamily(const std::string& name) {
    std::string out = "\"";
    for (const char c : name) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n' || c == '\r') continue;
        out += c;
    }
    return out + "\"";
}

} // namespace

std::string cssFontFamily(const std::string& faceName) {
    const std::string tail = "Arial, \"Liberation Sans\", Helvetica, sans-serif";
    if (faceName.empty() || faceName == "Arial") return tail;
    return quotedFamily(faceName) + ", " + tail;
}

LiveTextStyle liveTextStyle(const TextLive& text, const Gray8Image& coverage, int boxLeft,
                            int boxTop, CaptionRasterizer* rasterizer) {
    LiveTextStyle style;
    style.fontFamily = cssFontFamily(text.fontName);
    const int cell = CaptionCellHeight(text.fontSize);
    const CaptionFont font = CaptionFontFor(text, cell);
    style.fontSize = rasterizer != nullptr ? rasterizer->emPixels(font) : cell / 1.15;
    style.weight = text.weight > 0 ? text.weight : 400;
    style.italic = text.italic;
    style.underline = text.underline;
    style.colors = text.colors;
    style.effects = text.effects;
    style.effectColor = text.effectColor;
    // The caption layer is blended over the button at the text opacity level: level 0
    // shows the text alone, level L lets L / 256 of the button through.
    style.opacity = 255 - std::clamp(text.opacity, 0, 255);
    style.angle = text.angle % 360;
    // The image centres the caption on the coverage centre moved by the offsets, which
    // render-mode entry holds within half the button.
    const int hw = coverage.width() / 2, hh = coverage.height() / 2;
    style.centreX = hw + std::clamp(text.x, -hw, hw) - boxLeft;
    style.centreY = hh + std::clamp(text.y, -hh, hh) - boxTop;
    return style;
}

} // namespace plakett
