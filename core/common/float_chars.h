// Floating-point text conversions through <charconv>, with the C library's correctly
// rounded printf and strtod in their place where the C++ library lacks them (emscripten's).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plakett {

// value in scientific notation with `precision` digits after the point ("1.5000e+01").
std::string scientificText(double value, int precision);

// The shortest text that reads back as the same float, as std::to_chars(float) writes it:
// "%f" or "%e" style, whichever is shorter, "%f" on a tie.
std::string shortestText(float value);
// The same built from printf and strtof alone (what shortestText uses where the C++
// library lacks floating-point to_chars); exposed so tests can hold it to to_chars.
std::string shortestTextByPrintf(float value);

// The whole of text ("-12.5e3" style, no blanks) as the nearest double; nullopt when it is
// not a number or lies outside the range of double.
std::optional<double> parseDoubleText(std::string_view text);

} // namespace plakett
