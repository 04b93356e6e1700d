// The style sheet and the demonstration page of a set of button sprites.
#pragma once

#include "image/color.h"

#include <string>
#include <vector>

namespace plakett {

struct SpriteButton {
    std::string className; // CSS class of the button
    std::string caption;   // shown as its accessible name; may be empty
    std::string file;      // the 1x sprite's file name, beside the style sheet; "@2x" etc. before
                           // its extension names the high-density ones
    int width = 0;         // one state at 1x, CSS pixels
    int height = 0;
};

struct SpriteSheet {
    std::vector<SpriteButton> buttons;
    int stateCount = 3; // rows per sprite: see spriteStates
    int maxScale = 1;   // sprites exist for densities 1..maxScale
};

// The sprite's file name for a density: "menu.png" -> "menu@2x.png".
std::string denseFileName(const std::string& file, int scale);

// One rule per button: a state's size, the sprite as background (through image-set() when
// there are high-density sprites, with background-size holding it to CSS pixels), and the
// position moved on :hover and :active.
std::string spriteCss(const SpriteSheet& sheet);

// A page that links the style sheet and shows every button twice: on the project's
// background colour and on a contrasting one.
std::string spritePage(const SpriteSheet& sheet, const std::string& title,
                       const std::string& cssFile, ColorRef background, ColorRef contrast);

// Text for HTML content and attribute values.
std::string htmlEscape(const std::string& text);

} // namespace plakett
