// Texts in project files are Windows-1252 bytes; the program works in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace plakett {

std::string windows1252ToUtf8(std::string_view bytes);

// Characters Windows-1252 cannot hold, and malformed UTF-8 bytes, become '?'.
std::string utf8ToWindows1252(std::string_view utf8);

// Text from a file made safe for a message: control bytes become \xNN, so that nothing a
// file holds can drive the terminal.
std::string printableText(std::string_view bytes);

} // namespace plakett
