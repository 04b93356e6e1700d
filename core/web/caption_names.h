// File-safe names for a set of captions: "Contact us!" becomes "contact-us".
#pragma once

#include <string>
#include <vector>

namespace plakett {

inline constexpr std::size_t kMaxSlugLength = 40;

// Lower-case ASCII letters and digits; every run of anything else becomes one "-", with
// none at either end; at most kMaxSlugLength characters. "" when nothing is left.
std::string captionSlug(const std::string& caption);

// One name per caption, in order: its slug, "caption" when the slug is empty, and
// "-2", "-3", ... added to names already taken.
std::vector<std::string> uniqueCaptionNames(const std::vector<std::string>& captions);

// A CSS class name from a file's base name: its slug, prefixed with "button-" when it
// would not start with a letter.
std::string cssClassName(const std::string& baseName);

} // namespace plakett
