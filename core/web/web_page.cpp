#include "web/web_page.h"

#include "web/density.h"
#include "web/sprite.h"

#include <cstdio>

namespace plakett {

namespace {

std::string px(int v) {
    return v == 0 ? "0" : std::to_string(v) + "px";
}

std::string cssUrl(const std::string& file) {
    std::string out = "url(\"";
    for (const char c : file) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\")";
}

std::string imageSet(const SpriteButton& b, int maxScale, const char* function) {
    std::string set = std::string(function) + "(";
    for (int s = 1; s <= maxScale; ++s) {
        if (s > 1) set += ", ";
        set += cssUrl(denseFileName(b.file, s)) + " " + std::to_string(s) + "x";
    }
    return set + ")";
}

std::string buttonRule(const SpriteButton& b, const SpriteSheet& sheet) {
    const int rows = static_cast<int>(spriteStates(sheet.stateCount).size());
    const std::string sel = "." + b.className;
    std::string css = sel + " {\n";
    css += "  display: inline-block;\n";
    css += "  width: " + px(b.width) + ";\n";
    css += "  height: " + px(b.height) + ";\n";
    css += "  background-image: " + cssUrl(b.file) + ";\n";
    if (sheet.maxScale > 1) {
        css += "  background-image: " + imageSet(b, sheet.maxScale, "-webkit-image-set") + ";\n";
        css += "  background-image: " + imageSet(b, sheet.maxScale, "image-set") + ";\n";
    }
    css += "  background-size: " + px(b.width) + " " + px(b.height * rows) + ";\n";
    css += "  background-repeat: no-repeat;\n";
    css += "  background-position: 0 0;\n";
    css += "}\n";
    const int hot = spriteRow(sheet.stateCount, 1);
    const int pushed = spriteRow(sheet.stateCount, 2);
    if (hot != 0) css += sel + ":hover { background-position: 0 " + px(-hot * b.height) + "; }\n";
    if (pushed != 0)
        css += sel + ":active { background-position: 0 " + px(-pushed * b.height) + "; }\n";
    return css;
}

std::string hexColor(ColorRef c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(c & 0xFF),
                  static_cast<unsigned>((c >> 8) & 0xFF), static_cast<unsigned>((c >> 16) & 0xFF));
    return text;
}

std::string panel(const SpriteSheet& sheet, ColorRef color, const std::string& label) {
    const std::string hex = hexColor(color);
    const bool dark = ((color & 0xFF) + ((color >> 8) & 0xFF) + ((color >> 16) & 0xFF)) < 384;
    std::string html = "<section style=\"background: " + hex +
                       "; color: " + (dark ? "#ffffff" : "#000000") + "\">\n";
    html += "<p>" + htmlEscape(label) + " (" + hex + ")</p>\n<div class=\"row\">\n";
    for (const SpriteButton& b : sheet.buttons) {
        html += "<span class=\"" + b.className + "\" role=\"button\" tabindex=\"0\"";
        if (!b.caption.empty())
            html += " title=\"" + htmlEscape(b.caption) + "\" aria-label=\"" +
                    htmlEscape(b.caption) + "\"";
        html += "></span>\n";
    }
    return html + "</div>\n</section>\n";
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
    std::string css;
    for (const SpriteButton& b : sheet.buttons) {
        if (!css.empty()) css += "\n";
        css += buttonRule(b, sheet);
    }
    return css;
}

std::string spritePage(const SpriteSheet& sheet, const std::string& title,
                       const std::string& cssFile, ColorRef background, ColorRef contrast) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>" + htmlEscape(title) + "</title>\n";
    html += "<link rel=\"stylesheet\" href=\"" + htmlEscape(cssFile) + "\">\n";
    html += "<style>\nbody { margin: 0; font: 13px sans-serif; }\n"
            "section { padding: 12px 24px 24px; }\n"
            ".row { display: flex; flex-wrap: wrap; gap: 8px; align-items: flex-start; }\n"
            "[role=button] { cursor: pointer; }\n</style>\n</head>\n<body>\n";
    html += panel(sheet, background, "On the project's background");
    html += panel(sheet, contrast, "On a contrasting background");
    return html + "</body>\n</html>\n";
}

std::string htmlEscape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace plakett
