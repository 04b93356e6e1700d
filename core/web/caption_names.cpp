#include "web/caption_names.h"

#include <set>
#include <stdexcept>

namespace plakett {

namespace {

bool isAsciiAlnum(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// ASCII spellings of U+00C0..U+00FF; "" for the two signs among them.
constexpr const char* kLatin1[64] = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y"};

// ASCII spellings of U+0100..U+017F (Latin Extended-A).
constexpr const char* kLatinA[128] = {
    "a", "a", "a",  "a",  "a", "a", "c", "c", "c", "c", "c", "c", "c", "c", "d", "d",
    "d", "d", "e",  "e",  "e", "e", "e", "e", "e", "e", "e", "e", "g", "g", "g", "g",
    "g", "g", "g",  "g",  "h", "h", "h", "h", "i", "i", "i", "i", "i", "i", "i", "i",
    "i", "i", "ij", "ij", "j", "j", "k", "k", "k", "l", "l", "l", "l", "l", "l", "l",
    "l", "l", "l",  "n",  "n", "n", "n", "n", "n", "n", "n", "n", "o", "o", "o", "o",
    "o", "o", "oe", "oe", "r", "r", "r", "r", "r", "r", "s", "s", "s", "s", "s", "s",
    "s", "s", "t",  "t",  "t", "t", "t", "t", "u", "u", "u", "u", "u", "u", "u", "u",
    "u", "u", "u",  "u",  "w", "w", "y", "y", "y", "z", "z", "z", "z", "z", "z", "s"};

// The typographic ligatures U+FB00..U+FB06.
constexpr const char* kLigatures[7] = {"ff", "fi", "fl", "ffi", "ffl", "st", "st"};

// The ASCII letters a code point is spelled with, "" when it has none.
std::string spelling(char32_t c) {
    if (isAsciiAlnum(c))
        return std::string(1, static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    if (c >= 0xC0 && c <= 0xFF) return kLatin1[c - 0xC0];
    if (c >= 0x100 && c <= 0x17F) return kLatinA[c - 0x100];
    if (c >= 0x218 && c <= 0x219) return "s"; // comma-below forms
    if (c >= 0x21A && c <= 0x21B) return "t";
    if (c == 0x1E9E) return "ss";
    if (c >= 0xFB00 && c <= 0xFB06) return kLigatures[c - 0xFB00];
    return {};
}

// The code point at s[i] and its length in bytes; a byte that starts no well-formed
// sequence is read alone as U+FFFD.
char32_t decodeAt(const std::string& s, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    length = 1;
    if (c < 0x80) return c;
    const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (n == 0 || n > 4 || i + n > s.size()) return 0xFFFD;
    char32_t cp = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    length = n;
    return cp;
}

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string captionSlug(const std::string& caption, std::size_t maxLength) {
    std::string slug;
    bool gap = false;
    for (std::size_t i = 0, n = 1; i < caption.size() && slug.size() < maxLength; i += n) {
        const std::string letters = spelling(decodeAt(caption, i, n));
        if (letters.empty()) {
            gap = !slug.empty();
            continue;
        }
        if (gap) slug += '-';
        gap = false;
        slug += letters;
    }
    slug.resize(std::min(slug.size(), maxLength));
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug;
}

CaptionLine splitCaptionLine(const std::string& line) {
    const auto tab = line.find('\t');
    if (tab == std::string::npos) return {line, {}};
    return {trimmed(line.substr(0, tab)), trimmed(line.substr(tab + 1))};
}

std::vector<std::string> uniqueCaptionNames(const std::vector<std::string>& lines) {
    std::vector<CaptionLine> split;
    std::set<std::string> named;
    for (const std::string& l : lines) {
        split.push_back(splitCaptionLine(l));
        const CaptionLine& line = split.back();
        if (line.name.empty()) continue;
        const std::string name = captionSlug(line.name);
        if (name.empty())
            throw std::invalid_argument("the button name '" + line.name +
                                        "' holds no letter or digit");
        if (!named.insert(name).second)
            throw std::invalid_argument("two captions name their button '" + name + "'");
    }
    std::set<std::string> wanted = named;
    for (const CaptionLine& line : split)
        if (line.name.empty()) wanted.insert(captionSlug(line.caption));
    std::set<std::string> taken = named;
    std::vector<std::string> names;
    for (const CaptionLine& line : split) {
        if (!line.name.empty()) {
            names.push_back(captionSlug(line.name));
            continue;
        }
        std::string base = captionSlug(line.caption);
        if (base.empty()) base = "caption";
        std::string name = base;
        // A numbered name never takes the plain name of a later line.
        for (int n = 2; taken.count(name) != 0 || (name != base && wanted.count(name) != 0); ++n)
            name = base + "-" + std::to_string(n);
        taken.insert(name);
        names.push_back(name);
    }
    return names;
}

std::string cssClassName(const std::string& baseName) {
    const std::string slug = captionSlug(baseName, std::string::npos);
    if (slug.empty()) return "button";
    if (slug[0] < 'a' || slug[0] > 'z') return "button-" + slug;
    return slug;
}

} // namespace plakett
