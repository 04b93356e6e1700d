// Number texts of the shape file: the fixed 23-character real field and the strict
// integer and free-form real readers. Locale-independent throughout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plakett {

// " 3.00000000000000E+0001": 15 significant digits, four exponent digits, 23 characters.
std::string formatShapeReal(float value);

// Leading blanks, optional sign, digits only, within int32; nothing else.
std::optional<std::int32_t> tryParseInteger(std::string_view text);
// As above, but throws ShapeError "'<text>' is not a valid integer value".
std::int32_t parseInteger(std::string_view text);

// Leading blanks, sign, digits, "." digits, "E" sign digits. Reads the longest such prefix;
// a text without one, or outside the float range, reads as 0.
float parseShapeReal(std::string_view text);

} // namespace plakett
