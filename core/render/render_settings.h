// The live settings the renderer reads: what the effect windows hold in their controls.
// Values here are already within the controls' ranges.
#pragma once

#include "image/color.h"
#include "image/image.h"
#include "image/rgba_image.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace plakett {

enum class ButtonState : int { Normal = 0, Hot = 1, Pushed = 2 };
inline constexpr int kStateCount = 3;

// Caption effects by combo index.
enum class TextEffect : int { Normal = 0, Raised = 1, Lowered = 2, Shadow = 3, Bordered = 4 };

struct BackgroundLive {
    ColorRef color = 0xFFFFFF;
    int backRed = 255; // 0..255, mirror the colour
    int backGreen = 255;
    int backBlue = 255;
    bool useTexture = false;
    Bgr24Image texture;       // empty when none
    int textureOpacity = 220; // 30..255
    int textureOriginX = 0;   // -255..255, not stored in projects
    int textureOriginY = 0;

    friend bool operator==(const BackgroundLive&, const BackgroundLive&) = default;
};

struct GlyphLive {
    bool useGlyph = true;
    Bgr24Image picture; // empty when none
    bool transparent = true;
    ColorRef transparentColor = 0xFFFFFF;
    int x = 0;        // clamped to +-(Wc div 2) at render-mode entry
    int y = 0;        // clamped to +-(Hc div 2)
    int opacity = 50; // 0..255
    // An SVG glyph in place of the picture: its source, the colour its currentColor paints,
    // and its rasters at densities 1, 2 and 3 as far as drawn (render/svg_glyph.h).
    std::string svgSource;
    ColorRef svgColor = 0;
    std::vector<Rgba8Image> svgRasters;

    friend bool operator==(const GlyphLive&, const GlyphLive&) = default;
};

// The text window's size box accepts -kMaxCaptionFontSize..kMaxCaptionFontSize; a project holding
// more is read as the nearer end.
inline constexpr int kMaxCaptionFontSize = 1000;

struct TextLive {
    std::string caption; // UTF-8
    std::string fontName = "Arial";
    int fontSize = 10; // point size as typed; the cell height is (size * 3) div 2
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int weight = 0; // 0 default, 700 bold, 400 after bold was switched off
    int angle = 0;  // degrees counter-clockwise, 0..360
    int x = 0;      // clamped to +-(Wc div 2) at render-mode entry
    int y = 0;      // clamped to +-(Hc div 2)
    std::array<ColorRef, kStateCount> colors{0, 0, 0};
    std::array<TextEffect, kStateCount> effects{TextEffect::Normal, TextEffect::Normal,
                                                TextEffect::Normal};
    ColorRef effectColor = 0;
    int opacity = 180; // 0..255

    friend bool operator==(const TextLive&, const TextLive&) = default;
};

struct ShadowLive {
    bool enabled = true;
    ColorRef color = 0;
    int blur = 5;                                  // 0..50
    std::array<int, kStateCount> heights{4, 4, 1}; // 0..16
    int angle = 315;                               // 0..360

    friend bool operator==(const ShadowLive&, const ShadowLive&) = default;
};

struct RenderSettings {
    BackgroundLive background;
    GlyphLive glyph;
    TextLive text;
    ShadowLive shadow;
    int mappingMode = 1; // 0 "Korvan correct", 1 "Angle correct"; both shade alike
    // Output density (1, 2 or 3): the pipeline's own fixed lengths (shadow margin, border
    // and offsets, blur spread, caption effect offsets) grow by it. The design's lengths
    // are scaled beforehand (web/density.h); 1 is the program's own rendering.
    int scale = 1;

    friend bool operator==(const RenderSettings&, const RenderSettings&) = default;
};

} // namespace plakett
