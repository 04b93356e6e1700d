#include "web/caption_names.h"

#include <algorithm>
#include <set>

namespace plakett {

namespace {

bool isAsciiAlnum(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char asciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
}

// ASCII spellings of the accented letters U+00C0..U+00FF (UTF-8 0xC3 0x80..0xBF), so
// that "Über" names a file "uber"; "" for the two signs among them.
constexpr const char* kLatin1Letters[64] = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y"};

} // namespace

std::string captionSlug(const std::string& caption) {
    std::string slug;
    bool gap = false;
    auto add = [&](const std::string& letters) {
        if (gap) slug += '-';
        gap = false;
        slug += letters;
    };
    for (std::size_t i = 0; i < caption.size() && slug.size() < kMaxSlugLength; ++i) {
        const auto c = static_cast<unsigned char>(caption[i]);
        const auto next = i + 1 < caption.size() ? static_cast<unsigned char>(caption[i + 1]) : 0;
        if (c == 0xC3 && next >= 0x80 && next <= 0xBF && *kLatin1Letters[next - 0x80] != 0) {
            add(kLatin1Letters[next - 0x80]);
            ++i;
        } else if (isAsciiAlnum(c)) {
            add(std::string(1, asciiLower(c)));
        } else {
            gap = !slug.empty();
        }
    }
    slug.resize(std::min(slug.size(), kMaxSlugLength));
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug;
}

std::vector<std::string> uniqueCaptionNames(const std::vector<std::string>& captions) {
    std::set<std::string> wanted;
    for (const std::string& c : captions)
        wanted.insert(captionSlug(c));
    std::set<std::string> taken;
    std::vector<std::string> names;
    for (const std::string& c : captions) {
        std::string base = captionSlug(c);
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
    const std::string slug = captionSlug(baseName);
    if (slug.empty()) return "button";
    if (slug[0] < 'a' || slug[0] > 'z') return "button-" + slug;
    return slug;
}

} // namespace plakett
