// A caption file: one button caption per non-empty line of UTF-8 text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plakett {

inline constexpr std::size_t kMaxCaptionFileBytes = 256 * 1024;
inline constexpr std::size_t kMaxCaptions = 500;
inline constexpr std::size_t kMaxCaptionBytes = 200;

// A line may name its button: the caption, a TAB and the name ("Startseite<TAB>home",
// see splitCaptionLine); the lines are returned as they stand.
// The captions of a caption file's bytes: lines split at LF (a CR before it and a leading
// byte-order mark are dropped), spaces and tabs trimmed at both ends, empty lines skipped.
// Throws std::runtime_error naming `source` and the line when the text is not UTF-8, holds
// control characters, a line is longer than kMaxCaptionBytes, there are more than
// kMaxCaptions captions or none at all, or a line holds
// two TABs or a name without a letter or digit.
std::vector<std::string> parseCaptionList(std::span<const std::uint8_t> bytes,
                                          const std::string& source);

// The checks of one caption file line for a caption given on its own: throws
// std::runtime_error "<source>: <problem>" for text that is not UTF-8, holds control
// characters or is longer than kMaxCaptionBytes.
void checkCaption(std::string_view caption, const std::string& source);

// Reads and parses a caption file (a regular file only: a pipe could keep it waiting); anything longer than kMaxCaptionFileBytes is refused.
std::vector<std::string> readCaptionFile(const std::filesystem::path& path);

} // namespace plakett
