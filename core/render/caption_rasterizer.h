// How the core gets caption text measured and drawn without knowing any font engine.
#pragma once

#include "image/image.h"

#include <string>

namespace plakett {

struct CaptionFont {
    std::string faceName = "Arial";
    int cellHeight = 0; // pixels: ascent + descent, as a positive font height asks for
    int weight = 0;     // 0 default (normal), 400 normal, 700 bold; 1..1000 in general
    bool italic = false;
    bool underline = false;
    int angle = 0; // degrees counter-clockwise about the top-left reference point
};

struct CaptionExtent {
    int width = 0;  // advance of the whole text along its baseline
    int height = 0; // font height, ascent + descent
};

// Anti-aliased coverage (0..255) of a drawn text. Coverage pixel (0, 0) lies at
// (left, top) relative to the text's top-left reference point.
struct CaptionCoverage {
    int left = 0;
    int top = 0;
    Gray8Image coverage;
};

// A rectangle relative to the text's reference point.
struct CaptionRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class CaptionRasterizer {
  public:
    virtual ~CaptionRasterizer() = default;
    // The unrotated extent of text (UTF-8) in font; font.angle is ignored.
    virtual CaptionExtent measure(const std::string& text, const CaptionFont& font) = 0;
    // text (UTF-8) with its top-left reference point at (0, 0), its baseline one ascent
    // below, rotated by font.angle about that point. Only coverage inside clip is needed;
    // a rasterizer may return more.
    virtual CaptionCoverage rasterize(const std::string& text, const CaptionFont& font,
                                      const CaptionRect& clip) = 0;
    // The em size, in pixels, of the font whose cell height (ascent + descent) is
    // font.cellHeight: the CSS font size of page text of the same size.
    virtual double emPixels(const CaptionFont& font) { return font.cellHeight / 1.15; }
    // The characters of text (UTF-8) that no installed font draws, each once, in the order
    // they first appear, separated by spaces; "" when every one is drawn.
    virtual std::string missingCharacters(const std::string& text, const CaptionFont& font) {
        (void)text, (void)font;
        return {};
    }
};

} // namespace plakett
