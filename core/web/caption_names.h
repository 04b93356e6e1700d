// File-safe names for a set of captions: "Contact us!" becomes "contact-us".
#pragma once

#include <string>
#include <vector>

namespace plakett {

inline constexpr std::size_t kMaxSlugLength = 40;

// Lower-case ASCII letters and digits, with Latin letters spelled in ASCII ("Ł" "l",
// "œ" "oe", "ﬁ" "fi"); every run of anything else becomes one "-", with none at either
// end; at most `maxLength` characters. "" when nothing is left.
std::string captionSlug(const std::string& caption, std::size_t maxLength = kMaxSlugLength);

// A caption line of a caption set: the caption, then optionally a TAB and the name of its
// button ("Startseite<TAB>home"). A line without a TAB has no name of its own.
struct CaptionLine {
    std::string caption;
    std::string name; // as written; "" when the line names none
};
CaptionLine splitCaptionLine(const std::string& line);

// One name per caption line, in order. A line's own name (made file-safe like a caption)
// is kept as it is and never numbered; otherwise the caption's slug, "caption" when the
// slug is empty, with "-2", "-3", ... added to names already taken or named by a line.
// Throws std::invalid_argument when two lines name the same name or a name has no letter
// or digit.
std::vector<std::string> uniqueCaptionNames(const std::vector<std::string>& lines);

// A CSS class name from a file's base name: its whole slug, prefixed with "button-" when
// it would not start with a letter. The names of one caption set's files give distinct
// class names.
std::string cssClassName(const std::string& baseName);

} // namespace plakett
