#include "web/caption_names.h"

#include <set>

namespace plakett {

namespace {

bool isAsciiAlnum(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char asciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
}

} // namespace

std::string captionSlug(const std::string& caption) {
    std::string slug;
    bool gap = false;
    for (const unsigned char c : caption) {
        if (!isAsciiAlnum(c)) {
            gap = !slug.empty();
            continue;
        }
        if (gap) slug += '-';
        gap = false;
        slug += asciiLower(c);
        if (slug.size() >= kMaxSlugLength) break;
    }
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
