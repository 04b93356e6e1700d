#include "page_values.h"

#include "render_service.h"

#include <algorithm>
#include <array>
#include <string>

using emscripten::val;

namespace plakett::web {
namespace {

val colorArray(const std::array<ColorRef, kStateCount>& colors) {
    val a = val::array();
    for (ColorRef c : colors)
        a.call<void>("push", rgbOf(c));
    return a;
}

// A three-state array from the script: missing entries keep their values.
template <class T, class Convert>
void readStates(const val& a, std::array<T, kStateCount>& out, Convert convert) {
    const int n = std::min(a["length"].as<int>(), kStateCount);
    for (int i = 0; i < n; ++i)
        out[static_cast<std::size_t>(i)] = convert(a[i]);
}

} // namespace

val uint8Array(const std::vector<std::uint8_t>& bytes) {
    val out = val::global("Uint8Array").new_(bytes.size());
    out.call<void>("set", val(emscripten::typed_memory_view(bytes.size(), bytes.data())));
    return out;
}

val pictureValue(const Bgr24Image& image) {
    if (image.empty()) return val::null();
    val p = val::object();
    p.set("width", image.width());
    p.set("height", image.height());
    p.set("rgba", uint8Array(rgbaBytes(image)));
    return p;
}

namespace {

void putText(const TextLive& t, val& v) {
    v.set("caption", t.caption);
    v.set("fontName", t.fontName);
    v.set("fontSize", t.fontSize);
    v.set("bold", t.bold);
    v.set("italic", t.italic);
    v.set("underline", t.underline);
    v.set("textColor", rgbOf(t.colors[0]));
    v.set("textColors", colorArray(t.colors));
    val effects = val::array();
    for (TextEffect e : t.effects)
        effects.call<void>("push", static_cast<int>(e));
    v.set("textEffects", effects);
    v.set("effectColor", rgbOf(t.effectColor));
    v.set("textOpacity", t.opacity);
    v.set("textAngle", t.angle);
    v.set("textX", t.x);
    v.set("textY", t.y);
}

void takeText(const val& v, TextLive& t) {
    auto has = [&](const char* k) { return v.hasOwnProperty(k); };
    if (has("caption")) t.caption = v["caption"].as<std::string>();
    if (has("fontName")) t.fontName = v["fontName"].as<std::string>().substr(0, 50);
    if (has("fontSize"))
        t.fontSize = std::clamp(v["fontSize"].as<int>(), -kMaxCaptionFontSize, kMaxCaptionFontSize);
    if (has("bold")) {
        t.bold = v["bold"].as<bool>();
        t.weight = t.bold ? 700 : 400;
    }
    if (has("italic")) t.italic = v["italic"].as<bool>();
    if (has("underline")) t.underline = v["underline"].as<bool>();
    if (has("textColor")) t.colors.fill(colorRefOf(v["textColor"].as<int>()));
    if (has("textColors"))
        readStates(v["textColors"], t.colors, [](const val& c) { return colorRefOf(c.as<int>()); });
    if (has("textEffects"))
        readStates(v["textEffects"], t.effects, [](const val& e) {
            return static_cast<TextEffect>(std::clamp(e.as<int>(), 0, 4));
        });
    if (has("effectColor")) t.effectColor = colorRefOf(v["effectColor"].as<int>());
    if (has("textOpacity")) t.opacity = std::clamp(v["textOpacity"].as<int>(), 0, 255);
    // The angle field wraps around within 0..360.
    if (has("textAngle")) t.angle = ((v["textAngle"].as<int>() % 360) + 360) % 360;
    if (has("textX")) t.x = v["textX"].as<int>();
    if (has("textY")) t.y = v["textY"].as<int>();
}

void putShadowGlyphBackground(const RenderSettings& s, val& v) {
    v.set("shadow", s.shadow.enabled);
    v.set("shadowBlur", s.shadow.blur);
    v.set("shadowColor", rgbOf(s.shadow.color));
    val heights = val::array();
    for (int h : s.shadow.heights)
        heights.call<void>("push", h);
    v.set("shadowHeights", heights);
    v.set("shadowAngle", s.shadow.angle);
    v.set("background", rgbOf(s.background.color));
    v.set("glyph", s.glyph.useGlyph && !s.glyph.picture.empty());
    v.set("glyphOpacity", s.glyph.opacity);
    v.set("glyphTransparent", s.glyph.transparent);
    v.set("glyphTransparentColor", rgbOf(s.glyph.transparentColor));
    v.set("glyphX", s.glyph.x);
    v.set("glyphY", s.glyph.y);
    v.set("texture", s.background.useTexture && !s.background.texture.empty());
    v.set("textureOpacity", s.background.textureOpacity);
}

void takeShadowGlyphBackground(const val& v, RenderSettings& s) {
    auto has = [&](const char* k) { return v.hasOwnProperty(k); };
    if (has("shadow")) s.shadow.enabled = v["shadow"].as<bool>();
    if (has("shadowBlur")) s.shadow.blur = std::clamp(v["shadowBlur"].as<int>(), 0, 50);
    if (has("shadowColor")) s.shadow.color = colorRefOf(v["shadowColor"].as<int>());
    if (has("shadowHeights"))
        readStates(v["shadowHeights"], s.shadow.heights,
                   [](const val& h) { return std::clamp(h.as<int>(), 0, 16); });
    if (has("shadowAngle")) s.shadow.angle = std::clamp(v["shadowAngle"].as<int>(), 0, 360);
    if (has("background")) {
        const ColorRef c = colorRefOf(v["background"].as<int>());
        s.background.color = c;
        s.background.backRed = redOf(c);
        s.background.backGreen = greenOf(c);
        s.background.backBlue = blueOf(c);
    }
    if (has("glyph")) s.glyph.useGlyph = v["glyph"].as<bool>();
    if (has("glyphOpacity")) s.glyph.opacity = std::clamp(v["glyphOpacity"].as<int>(), 0, 255);
    if (has("glyphTransparent")) s.glyph.transparent = v["glyphTransparent"].as<bool>();
    if (has("glyphTransparentColor"))
        s.glyph.transparentColor = colorRefOf(v["glyphTransparentColor"].as<int>());
    if (has("glyphX")) s.glyph.x = v["glyphX"].as<int>();
    if (has("glyphY")) s.glyph.y = v["glyphY"].as<int>();
    if (has("texture")) s.background.useTexture = v["texture"].as<bool>();
    if (has("textureOpacity"))
        s.background.textureOpacity = std::clamp(v["textureOpacity"].as<int>(), 30, 255);
}

} // namespace

int rgbOf(ColorRef c) { return static_cast<int>(xrgbFromColorRef(c)); }

ColorRef colorRefOf(int rgb) { return makeColorRef(rgb >> 16, rgb >> 8, rgb); }

val settingsValue(const RenderSettings& s, const LightEditor& lights) {
    val v = val::object();
    putText(s.text, v);
    putShadowGlyphBackground(s, v);
    v.set("buttonColor", rgbOf(lights.state().ButtonColor));
    return v;
}

void applySettingsValue(const val& v, RenderSettings& s) {
    RenderSettings next = s;
    takeText(v, next.text);
    takeShadowGlyphBackground(v, next);
    s = std::move(next);
}

val lightsValue(const LightEditor& editor) {
    const LightEditorState& s = editor.state();
    val v = val::object();
    v.set("current", s.FCurrentLight);
    v.set("power", s.Power);
    v.set("radius", s.Radius);
    v.set("lightColor", rgbOf(s.LightColor));
    v.set("buttonColor", rgbOf(s.ButtonColor));
    v.set("dragging", s.LightDragging);
    val list = val::array();
    for (int i = 0; i < 4; ++i) {
        const TLightRec& light = s.FLightSet.FLights[static_cast<std::size_t>(i)];
        val l = val::object();
        l.set("x", light.PadX);
        l.set("y", light.PadY);
        l.set("color", rgbOf(light.Color));
        // Light 1 is always on; the others as their check boxes say.
        l.set("on", i == 0 || s.LightOn[static_cast<std::size_t>(i - 1)]);
        list.call<void>("push", l);
    }
    v.set("lights", list);
    v.set("preview", pictureValue(editor.padPreview()));
    return v;
}

} // namespace plakett::web
