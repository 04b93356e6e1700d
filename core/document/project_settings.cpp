#include "document/project_settings.h"

#include "common/text_encoding.h"

#include <algorithm>

namespace plakett {

namespace {

constexpr int kMaxTextEffect = 4;

// The font style string: "0" is plain; otherwise characters 2, 4 and 6 are the bold,
// italic and underline flags ("1" on, "0" or missing off, anything else unchanged).
void applyFontStyle(const std::string& style, TextLive& text) {
    if (style == "0") {
        text.bold = text.italic = text.underline = false;
        return;
    }
    bool* flags[3] = {&text.bold, &text.italic, &text.underline};
    for (std::size_t k = 0; k < 3; ++k) {
        const std::size_t at = 1 + 2 * k;
        const char c = at < style.size() ? style[at] : '0';
        if (c == '1')
            *flags[k] = true;
        else if (c == '0')
            *flags[k] = false;
    }
}

TextEffect effectFromIndex(std::int32_t index) {
    return index >= 0 && index <= kMaxTextEffect ? static_cast<TextEffect>(index)
                                                 : TextEffect::Normal;
}

void applyText(const TextSettings& t, TextLive& text) {
    text.fontName = windows1252ToUtf8(t.FontName.bytes());
    text.fontSize = std::clamp(t.FontSize, -kMaxCaptionFontSize, kMaxCaptionFontSize);
    applyFontStyle(t.FontStyle.bytes(), text);
    text.weight = text.bold ? 700 : 0;
    text.caption = windows1252ToUtf8(t.CaptionText.bytes());
    text.x = t.TextX;
    text.y = t.TextY;
    text.colors = {t.NormalTextColor, t.HotTextColor, t.PushTextColor};
    text.effects = {effectFromIndex(t.NormalTextEffect), effectFromIndex(t.HotTextEffect),
                    effectFromIndex(t.PushTextEffect)};
    text.effectColor = t.TextEffectColor;
    text.angle = std::clamp(t.TextAngle, 0, 360);
    text.opacity = t.TextOpacity;
}

void applyShadow(const ShadowSettings& s, ShadowLive& shadow) {
    shadow.enabled = s.ShadowEnabled != 0;
    shadow.color = s.ShadowColor;
    shadow.blur = std::clamp(s.ShadowBlur, 0, 50);
    shadow.heights = {std::clamp(s.NormalShadowHeight, 0, 16), std::clamp(s.HotShadowHeight, 0, 16),
                      std::clamp(s.PushShadowHeight, 0, 16)};
    shadow.angle = std::clamp(s.ShadowAngle, 0, 360);
}

void applyGlyph(const GlyphSettings& g, GlyphLive& glyph) {
    glyph.useGlyph = g.UseGlyph != 0;
    glyph.transparent = g.GlyphTransparent != 0;
    glyph.transparentColor = g.GlyphTransparentColor;
    glyph.x = g.GlyphX;
    glyph.y = g.GlyphY;
    glyph.opacity = g.GlyphOpacity;
}

// The last change handler rebuilds the swatch from the three hidden bars.
void applyBackground(const BackgroundSettings& b, BackgroundLive& back) {
    back.backRed = std::clamp(b.BackRed, 0, 255);
    back.backGreen = std::clamp(b.BackGreen, 0, 255);
    back.backBlue = std::clamp(b.BackBlue, 0, 255);
    back.color = makeColorRef(back.backRed, back.backGreen, back.backBlue);
    back.useTexture = b.UseTexture != 0;
    back.textureOpacity = std::clamp<int>(b.TextureOpacity, 30, 255);
}

std::uint8_t asByte(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

void gatherText(const TextLive& text, TextSettings& t) {
    t.FontName.assign(utf8ToWindows1252(text.fontName));
    t.FontSize = text.fontSize;
    t.FontStyle.assign(fontStyleString(text.bold, text.italic, text.underline));
    t.CaptionText.assign(utf8ToWindows1252(text.caption));
    t.TextX = text.x;
    t.TextY = text.y;
    t.NormalTextColor = text.colors[0];
    t.HotTextColor = text.colors[1];
    t.PushTextColor = text.colors[2];
    t.NormalTextEffect = static_cast<std::int32_t>(text.effects[0]);
    t.HotTextEffect = static_cast<std::int32_t>(text.effects[1]);
    t.PushTextEffect = static_cast<std::int32_t>(text.effects[2]);
    t.TextEffectColor = text.effectColor;
    t.TextAngle = text.angle;
    t.TextOpacity = asByte(text.opacity);
}

void gatherShadow(const ShadowLive& shadow, ShadowSettings& s) {
    s.ShadowEnabled = shadow.enabled ? 1 : 0;
    s.ShadowColor = shadow.color;
    s.ShadowBlur = shadow.blur;
    s.NormalShadowHeight = shadow.heights[0];
    s.HotShadowHeight = shadow.heights[1];
    s.PushShadowHeight = shadow.heights[2];
    s.ShadowAngle = shadow.angle;
}

void gatherGlyph(const GlyphLive& glyph, GlyphSettings& g) {
    g.UseGlyph = glyph.useGlyph ? 1 : 0;
    g.GlyphTransparent = glyph.transparent ? 1 : 0;
    if (glyph.picture.empty())
        g.GlyphBitmap = 0;
    else if (g.GlyphBitmap == 0)
        g.GlyphBitmap = 1;
    g.GlyphTransparentColor = glyph.transparentColor;
    g.GlyphX = glyph.x;
    g.GlyphY = glyph.y;
    g.GlyphOpacity = asByte(glyph.opacity);
}

void gatherBackground(const BackgroundLive& back, BackgroundSettings& b) {
    b.BackgroundColor = back.color;
    b.BackRed = back.backRed;
    b.BackGreen = back.backGreen;
    b.BackBlue = back.backBlue;
    b.TextureOpacity = asByte(back.textureOpacity);
    b.BackRedCopy = back.backRed;
    b.BackGreenCopy = back.backGreen;
    b.UseTexture = back.useTexture ? 1 : 0;
}

} // namespace

void applyRecordsToSettings(const SettingsRecords& records, RenderSettings& live) {
    applyText(records.text, live.text);
    applyShadow(records.shadow, live.shadow);
    applyGlyph(records.glyph, live.glyph);
    applyBackground(records.background, live.background);
}

RenderSettings settingsFromRecords(const SettingsRecords& records) {
    RenderSettings live;
    applyRecordsToSettings(records, live);
    return live;
}

void applyProjectToSettings(const ProjectDocument& doc, RenderSettings& live) {
    applyRecordsToSettings(doc.records, live);
    live.glyph.picture = doc.glyphPicture.value_or(Bgr24Image{});
    live.glyph.svgSource = doc.svgGlyph ? doc.svgGlyph->source : std::string();
    live.glyph.svgColor = doc.svgGlyph ? doc.svgGlyph->currentColor : 0;
    live.glyph.svgRasters.clear(); // drawn by whoever renders, through a GlyphRasterizer
    if (doc.texture) live.background.texture = *doc.texture;
}

RenderSettings settingsFromProject(const ProjectDocument& doc) {
    RenderSettings live;
    applyProjectToSettings(doc, live);
    return live;
}

void gatherSettings(const RenderSettings& live, SettingsRecords& records) {
    gatherText(live.text, records.text);
    gatherShadow(live.shadow, records.shadow);
    gatherGlyph(live.glyph, records.glyph);
    gatherBackground(live.background, records.background);
}

SettingsRecords recordsFromSettings(const RenderSettings& live) {
    SettingsRecords records;
    gatherSettings(live, records);
    return records;
}

void storeSettingsInProject(const RenderSettings& live, ProjectDocument& doc) {
    gatherSettings(live, doc.records);
    doc.glyphPicture.reset();
    if (!live.glyph.picture.empty()) doc.glyphPicture = live.glyph.picture;
    doc.svgGlyph.reset();
    if (!live.glyph.svgSource.empty())
        doc.svgGlyph = SvgGlyphRecord{live.glyph.svgSource, live.glyph.svgColor};
    doc.texture.reset();
    if (live.background.useTexture) doc.texture = live.background.texture;
}

} // namespace plakett
