// The style sheet of web/web_page.h.
#include "web/density.h"
#include "web/sprite.h"
#include "web/web_page.h"

#include <cmath>
#include <cstdio>
#include <set>

namespace plakett {

namespace {

std::string px(int v) {
    return v == 0 ? "0" : std::to_string(v) + "px";
}

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string pxf(double v) {
    const std::string n = number(v);
    return n == "0" ? n : n + "px";
}

std::string webpName(const std::string& file) {
    const auto dot = file.rfind('.');
    return (dot == std::string::npos ? file : file.substr(0, dot)) + ".webp";
}

std::string mimeType(const std::string& file) {
    const auto dot = file.rfind('.');
    const std::string ext = dot == std::string::npos ? "" : file.substr(dot + 1);
    if (ext == "webp") return "image/webp";
    if (ext == "jpg") return "image/jpeg";
    if (ext == "bmp") return "image/bmp";
    return "image/png";
}

// The encoded name holds no quote, backslash or space, so it stands in quotes as it is.
std::string cssUrl(const std::string& file) {
    return "url(\"" + urlPathSegment(file) + "\")";
}

std::string imageSetEntries(const std::string& file, int maxScale, bool typed) {
    std::string set;
    for (int s = 1; s <= maxScale; ++s) {
        if (s > 1) set += ", ";
        set += cssUrl(denseFileName(file, s));
        if (typed) set += " type(\"" + mimeType(file) + "\")";
        set += " " + std::to_string(s) + "x";
    }
    return set;
}

// The picture's declarations: a plain url() for every browser, then image-set() for those
// that pick a density, then the typed set that offers WebP first.
std::string pictureDeclarations(const SpriteButton& b, const SpriteSheet& sheet) {
    std::string css = "  background-image: " + cssUrl(b.file) + ";\n";
    if (sheet.maxScale > 1) {
        const std::string set = imageSetEntries(b.file, sheet.maxScale, false);
        css += "  background-image: -webkit-image-set(" + set + ");\n";
        css += "  background-image: image-set(" + set + ");\n";
    }
    if (sheet.webpCopies)
        css += "  background-image: image-set(" +
               imageSetEntries(webpName(b.file), sheet.maxScale, true) + ", " +
               imageSetEntries(b.file, sheet.maxScale, true) + ");\n";
    return css;
}

std::string selectors(const std::vector<std::string>& classes, const std::string& suffix) {
    std::string s;
    for (const std::string& c : classes) {
        if (!s.empty()) s += ",\n";
        s += "." + c + suffix;
    }
    return s;
}

std::string sharedRules(const std::vector<std::string>& classes, const SpriteSheet& sheet) {
    const ButtonBox& box = sheet.box;
    std::string css = selectors(classes, "") + " {\n";
    css += "  -webkit-appearance: none;\n  appearance: none;\n  box-sizing: border-box;\n";
    css += "  display: inline-block;\n  position: relative;\n  z-index: 0;\n";
    css += "  vertical-align: top;\n";
    css += "  width: " + px(box.width) + ";\n  height: " + px(box.height) + ";\n";
    css += "  margin: 0;\n  padding: 0;\n  border: 0;\n  border-radius: 0;\n";
    css += "  background: none;\n  color: inherit;\n  font: inherit;\n";
    css += "  text-decoration: none;\n  cursor: pointer;\n";
    css += "  -webkit-tap-highlight-color: transparent;\n}\n";
    css += selectors(classes, "::before") + " {\n";
    css += "  content: \"\";\n  position: absolute;\n  z-index: -1;\n";
    css += "  left: " + px(-box.left) + ";\n  top: " + px(-box.top) + ";\n";
    css += "  width: " + px(sheet.width) + ";\n  height: " + px(sheet.height) + ";\n";
    css += "  background-size: " + px(sheet.pictureWidth) + " " + px(sheet.pictureHeight) + ";\n";
    css += "  background-repeat: no-repeat;\n";
    css += "  background-position: 0 var(--sprite-y, 0px);\n";
    css += "  pointer-events: none;\n}\n";
    return css;
}

std::string stateRules(const std::vector<std::string>& classes, const SpriteSheet& sheet) {
    auto row = [&](int state) {
        const int r = spriteRow(sheet.stateCount, state);
        return "  background-position: 0 calc(var(--sprite-y, 0px) - " + px(r * sheet.height) +
               ");\n";
    };
    std::string css;
    if (spriteRow(sheet.stateCount, 1) != 0)
        css += selectors(classes, ":hover::before") + " {\n" + row(1) + "}\n";
    if (spriteRow(sheet.stateCount, 2) != 0)
        css += selectors(classes, ":active::before") + ",\n" +
               selectors(classes, ".pressed::before") + " {\n" + row(2) + "}\n";
    css += selectors(classes, ":focus") + " {\n  outline: none;\n}\n";
    css += selectors(classes, ":focus-visible") +
           " {\n  outline: 2px solid #1a73e8;\n  outline-offset: 2px;\n}\n";
    css += selectors(classes, ":disabled") + ",\n" +
           selectors(classes, "[aria-disabled=\"true\"]") + " {\n  cursor: default;\n}\n";
    css += selectors(classes, ":disabled::before") + ",\n" +
           selectors(classes, "[aria-disabled=\"true\"]::before") +
           " {\n  background-position: 0 var(--sprite-y, 0px);\n  opacity: 0.5;\n}\n";
    return css;
}

std::string textColor(ColorRef c, int opacity) {
    if (opacity >= 255) return cssColor(c);
    char text[48];
    std::snprintf(text, sizeof text, "rgba(%u, %u, %u, %s)", static_cast<unsigned>(c & 0xFF),
                  static_cast<unsigned>((c >> 8) & 0xFF), static_cast<unsigned>((c >> 16) & 0xFF),
                  number(opacity / 255.0).c_str());
    return text;
}

// The caption effects as text shadows: the drawn copies' offsets are in double-size
// pixels, so half of them in CSS pixels.
std::string textShadow(TextEffect effect, ColorRef effectColor, int opacity) {
    const std::string light = textColor(0xC8C8C8, opacity), dark = textColor(0x828282, opacity);
    const std::string e = textColor(effectColor, opacity);
    switch (effect) {
    case TextEffect::Normal:
        return "none";
    case TextEffect::Raised:
        return "-1.5px -1.5px 0 " + light + ", 1.5px -1.5px 0 " + e + ", -1.5px 1.5px 0 " + dark;
    case TextEffect::Lowered:
        return "1.5px 1.5px 0 " + light + ", -1.5px 1.5px 0 " + e + ", 1.5px -1.5px 0 " + dark;
    case TextEffect::Shadow:
        return "2px 2px 0 " + e;
    case TextEffect::Bordered:
        return "1px 1px 0 " + e + ", -1px -1px 0 " + e + ", 1px -1px 0 " + e + ", -1px 1px 0 " + e;
    }
    return "none";
}

std::string liveTextRules(const std::vector<std::string>& classes, const SpriteSheet& sheet) {
    const LiveTextStyle& t = *sheet.liveText;
    auto state = [&](int s, int opacity) {
        return "  color: " + textColor(t.colors[s], opacity) +
               ";\n  text-shadow: " + textShadow(t.effects[s], t.effectColor, opacity) + ";\n";
    };
    // The text is centred on (centreX, centreY): the padding moves the middle of the
    // content box there, and the text, never wrapped, overflows it evenly on both sides.
    const double dx = t.centreX - sheet.box.width / 2.0;
    const double dy = t.centreY - sheet.box.height / 2.0;
    std::string css = selectors(classes, "") + " {\n";
    css += "  display: inline-flex;\n  align-items: center;\n  justify-content: center;\n";
    css += "  padding: " + pxf(std::max(0.0, 2 * dy)) + " " + pxf(std::max(0.0, -2 * dx)) + " " +
           pxf(std::max(0.0, -2 * dy)) + " " + pxf(std::max(0.0, 2 * dx)) + ";\n";
    css += "  white-space: nowrap;\n  line-height: 1;\n";
    css += "  font-family: " + t.fontFamily + ";\n";
    css += "  font-size: " + pxf(t.fontSize) + ";\n";
    css += "  font-weight: " + std::to_string(t.weight) + ";\n";
    css += std::string("  font-style: ") + (t.italic ? "italic" : "normal") + ";\n";
    css += std::string("  text-decoration: ") + (t.underline ? "underline" : "none") + ";\n";
    css += state(0, t.opacity) + "}\n";
    if (t.angle != 0)
        css += selectors(classes, " > span") +
               " {\n  display: inline-block;\n  transform: rotate(" + std::to_string(-t.angle) +
               "deg);\n}\n";
    css += selectors(classes, ":hover") + " {\n" + state(1, t.opacity) + "}\n";
    css += selectors(classes, ":active") + ",\n" + selectors(classes, ".pressed") + " {\n" +
           state(2, t.opacity) + "}\n";
    css += selectors(classes, ":disabled") + ",\n" +
           selectors(classes, "[aria-disabled=\"true\"]") + " {\n" + state(0, t.opacity / 2) +
           "}\n";
    return css;
}

} // namespace

std::string denseFileName(const std::string& file, int scale) {
    if (scale <= 1) return file;
    const std::string suffix = densitySuffix(scale);
    const auto dot = file.rfind('.');
    if (dot == std::string::npos) return file + suffix;
    return file.substr(0, dot) + suffix + file.substr(dot);
}

std::string spriteCss(const SpriteSheet& sheet) {
    std::vector<std::string> classes;
    std::set<std::string> seen;
    for (const SpriteButton& b : sheet.buttons)
        if (seen.insert(b.className).second) classes.push_back(b.className);
    if (classes.empty()) return {};
    std::string css = sharedRules(classes, sheet);
    seen.clear();
    for (const SpriteButton& b : sheet.buttons) {
        if (!seen.insert(b.className).second) continue;
        css += "." + b.className + " {\n  --sprite-y: " + std::to_string(-b.offsetY) + "px;\n}\n";
        css += "." + b.className + "::before {\n" + pictureDeclarations(b, sheet) + "}\n";
    }
    css += stateRules(classes, sheet);
    if (sheet.liveText) css += liveTextRules(classes, sheet);
    return css;
}

std::string cssColor(ColorRef c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(c & 0xFF),
                  static_cast<unsigned>((c >> 8) & 0xFF), static_cast<unsigned>((c >> 16) & 0xFF));
    return text;
}

} // namespace plakett
