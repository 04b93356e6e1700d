#include "web/web_page.h"

#include <algorithm>
#include <set>

namespace plakett {

namespace {

bool isDark(ColorRef color) {
    return ((color & 0xFF) + ((color >> 8) & 0xFF) + ((color >> 16) & 0xFF)) < 384;
}

std::string buttonElement(const SpriteButton& b, const SpriteSheet& sheet, bool disabled) {
    std::string html = "<button type=\"button\" class=\"" + b.className + "\"";
    if (disabled) html += " disabled";
    if (sheet.liveText) {
        const std::string text = htmlEscape(b.caption);
        return html + ">" + (sheet.liveText->angle != 0 ? "<span>" + text + "</span>" : text) +
               "</button>\n";
    }
    if (!b.caption.empty()) html += " aria-label=\"" + htmlEscape(b.caption) + "\"";
    return html + "></button>\n";
}

std::string panel(const SpriteSheet& sheet, ColorRef color, const std::string& label,
                  bool withDisabled) {
    const std::string hex = cssColor(color);
    std::string html = "<section style=\"background: " + hex +
                       "; color: " + (isDark(color) ? "#ffffff" : "#000000") + "\">\n";
    html += "<p>" + htmlEscape(label) + " (" + hex + ")</p>\n<div class=\"row\">\n";
    for (const SpriteButton& b : sheet.buttons)
        html += buttonElement(b, sheet, false);
    html += "</div>\n";
    if (withDisabled && !sheet.buttons.empty())
        html += "<p>Disabled</p>\n<div class=\"row\">\n" +
                buttonElement(sheet.buttons.front(), sheet, true) + "</div>\n";
    return html + "</section>\n";
}

// Enter and Space show the pushed state while they are held, on buttons and links alike.
constexpr const char* kPressScript = R"(<script>
for (const el of document.querySelectorAll('.row > *')) {
  const off = () => el.classList.remove('pressed');
  el.addEventListener('keydown', (e) => {
    if (e.key !== 'Enter' && e.key !== ' ') return;
    if (el.disabled || el.getAttribute('aria-disabled') === 'true') return;
    if (e.key === ' ' && el.tagName === 'A') e.preventDefault();
    el.classList.add('pressed');
  });
  el.addEventListener('keyup', off);
  el.addEventListener('blur', off);
}
</script>
)";

} // namespace

std::string spritePage(const SpriteSheet& sheet, const std::string& title,
                       const std::string& cssFile, ColorRef background, ColorRef contrast) {
    // The shadow draws outside the boxes without taking space: the gaps leave it room.
    const ButtonBox& box = sheet.box;
    const int across = std::max({box.left, sheet.width - box.left - box.width, 8});
    const int down = std::max({box.top, sheet.height - box.top - box.height, 8});
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>" + htmlEscape(title) + "</title>\n";
    html += "<link rel=\"stylesheet\" href=\"" + htmlEscape(urlPathSegment(cssFile)) + "\">\n";
    html += "<style>\nbody { margin: 0; font: 13px sans-serif; }\n"
            "section { padding: 12px " +
            std::to_string(across + 8) + "px " + std::to_string(down + 8) +
            "px; }\n"
            ".row { display: flex; flex-wrap: wrap; align-items: flex-start; gap: " +
            std::to_string(down) + "px " + std::to_string(across) +
            "px; padding: " + std::to_string(down) + "px 0; }\n</style>\n</head>\n<body>\n";
    html += panel(sheet, background, "On the project's background", true);
    html += panel(sheet, contrast, "On a contrasting background", false);
    return html + kPressScript + "</body>\n</html>\n";
}

std::string urlPathSegment(const std::string& fileName) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : fileName) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '@';
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
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
