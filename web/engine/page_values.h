// The design's settings and lights as the page's script sees them: plain objects of numbers,
// flags and 0xRRGGBB colours, read from and written into the core's records.
#pragma once

#include "effects/light_editor.h"
#include "image/color.h"
#include "render/render_settings.h"

#include <emscripten/val.h>

#include <cstdint>
#include <vector>

namespace plakett::web {

int rgbOf(ColorRef c);
ColorRef colorRefOf(int rgb);

emscripten::val settingsValue(const RenderSettings& s, const LightEditor& lights);
// Takes the keys `v` has; the others keep their values. Values are held to the ranges of
// the desktop's controls. Throws on a value of the wrong kind; `s` is then unchanged.
void applySettingsValue(const emscripten::val& v, RenderSettings& s);

// The light editor's state: the selected light, its bars and colours, every light's place on
// the pad, and the pad's sphere preview as RGBA bytes.
emscripten::val lightsValue(const LightEditor& lights);
// A copy of the bytes as a script Uint8Array.
emscripten::val uint8Array(const std::vector<std::uint8_t>& bytes);
// {width, height, rgba} of a picture, or null when it is empty.
emscripten::val pictureValue(const Bgr24Image& image);

} // namespace plakett::web
