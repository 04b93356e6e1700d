// The style sheet and the demonstration page of a set of button sprites.
//
// Each button is an element of its own size (the button's visible extent): the sprite,
// shadow included, is drawn by its ::before pseudo-element around it, behind its content
// and without taking space or pointer events, so buttons line up by their visible edges
// and only the button takes hover, focus and clicks. The rules reset what a browser gives
// <button> and <a>, so either element shows the image alone.
#pragma once

#include "image/color.h"
#include "render/render_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace plakett {

struct SpriteButton {
    std::string className; // CSS class of the button
    std::string caption;   // its accessible name, or its text with live text; may be empty
    std::string file;      // the 1x picture's file name, beside the style sheet; "@2x" etc.
                           // before its extension name the high-density ones
    int offsetY = 0;       // where the button's sprite starts in the picture (sheets), CSS px
};

// Where the button itself lies in one state image, CSS pixels.
struct ButtonBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The caption as page text, from the design's text settings.
struct LiveTextStyle {
    std::string fontFamily = "Arial";
    double fontSize = 0; // CSS px: the font's em size
    int weight = 400;
    bool italic = false;
    bool underline = false;
    std::array<ColorRef, kStateCount> colors{};
    std::array<TextEffect, kStateCount> effects{};
    ColorRef effectColor = 0;
    int opacity = 255;  // how much of the text and its effects shows, 0..255
    int angle = 0;      // degrees counter-clockwise
    double centreX = 0; // the caption's centre in the button's box, CSS px
    double centreY = 0;
};

struct SpriteSheet {
    std::vector<SpriteButton> buttons; // buttons of one class share its rules
    int stateCount = 3;                // rows per sprite: see spriteStates
    int maxScale = 1;                  // pictures exist for densities 1..maxScale
    int width = 0;                     // one state at 1x, CSS px, the same for every button
    int height = 0;
    ButtonBox box;
    int pictureWidth = 0; // the 1x picture: one sprite, or a sheet of them
    int pictureHeight = 0;
    // Each picture also as WebP (same name, ".webp"), offered before the original.
    bool webpCopies = false;
    std::optional<LiveTextStyle> liveText; // the caption is the button's text
};

// The sprite's file name for a density: "menu.png" -> "menu@2x.png".
std::string denseFileName(const std::string& file, int scale);

// The style sheet: a reset and the box for every class, the picture behind it (through
// image-set() when there are high-density or WebP pictures), its position moved on :hover,
// :active and the "pressed" class (which the page sets while Enter or Space is held), a
// focus ring round the box, and the normal state dimmed for :disabled and
// [aria-disabled="true"].
std::string spriteCss(const SpriteSheet& sheet);

// A page that links the style sheet and shows every button as <button type="button">
// twice, on the project's background colour and on a contrasting one, and a disabled one.
std::string spritePage(const SpriteSheet& sheet, const std::string& title,
                       const std::string& cssFile, ColorRef background, ColorRef contrast);

// A file name as one segment of a relative URL: every byte but ASCII letters, digits and
// "-._~@" percent-encoded ("nav#1.png" -> "nav%231.png"), so no "#", "?", "%", ":" or
// quote is read as anything but part of the name.
std::string urlPathSegment(const std::string& fileName);

// Text for HTML content and attribute values.
std::string htmlEscape(const std::string& text);

// "#rrggbb" of a 0x00BBGGRR colour.
std::string cssColor(ColorRef color);

} // namespace plakett
