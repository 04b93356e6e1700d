#include "shape/number_text.h"

#include "common/float_chars.h"
#include "common/text_encoding.h"
#include "shape/shape_error.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace plakett {

namespace {

constexpr std::size_t kRealFieldWidth = 23;

std::string rightAligned(std::string text) {
    if (text.size() < kRealFieldWidth) text.insert(0, kRealFieldWidth - text.size(), ' ');
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

} // namespace

std::string formatShapeReal(float value) {
    // Non-finite values have no place in a shape; they are written so that they read back as 0.
    if (std::isnan(value)) return rightAligned("NAN");
    if (std::isinf(value)) return rightAligned(value < 0 ? "-INF" : "INF");

    const double exact = value; // every float is exact in double
    const std::string scientific = scientificText(exact, 14);
    const std::string_view text(scientific);
    const std::size_t e = text.find('e');
    const bool negative = text.front() == '-'; // also for -0, so that its sign bit survives
    std::string_view mantissa = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
    const char expSign = text[e + 1];
    int exponent = 0;
    std::from_chars(text.data() + e + 2, text.data() + text.size(), exponent);

    std::string out(negative ? "-" : " ");
    out += mantissa;
    out += 'E';
    out += expSign;
    char digits[5];
    for (int i = 3; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + exponent % 10);
        exponent /= 10;
    }
    out.append(digits, 4);
    return out;
}

std::optional<std::int32_t> tryParseInteger(std::string_view text) {
    std::size_t i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t digitsEnd = skipDigits(text, i);
    if (digitsEnd == i || digitsEnd != text.size()) return std::nullopt;

    std::int64_t value = 0;
    const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < digitsEnd; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t parseInteger(std::string_view text) {
    if (const auto value = tryParseInteger(text)) return *value;
    throw ShapeError("'" + printableText(text) + "' is not a valid integer value");
}

float parseShapeReal(std::string_view text) {
    std::size_t i = skipBlanks(text);
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    const std::size_t intEnd = skipDigits(text, i);
    std::size_t fracEnd = intEnd;
    if (intEnd < text.size() && text[intEnd] == '.') fracEnd = skipDigits(text, intEnd + 1);
    const bool hasFraction = fracEnd > intEnd + 1;
    if (intEnd == i && !hasFraction) return 0.0f; // no digit at all

    // Rebuilt as "digits.digitsEdigits" so that "5." and ".5" need no leniency from from_chars.
    number.append(intEnd == i ? std::string_view("0") : text.substr(i, intEnd - i));
    if (hasFraction) number.append(text.substr(intEnd, fracEnd - intEnd));
    const std::size_t end = hasFraction ? fracEnd : intEnd + (fracEnd > intEnd ? 1 : 0);
    if (end < text.size() && (text[end] == 'E' || text[end] == 'e')) {
        std::size_t expStart = end + 1;
        if (expStart < text.size() && (text[expStart] == '+' || text[expStart] == '-')) ++expStart;
        const std::size_t expEnd = skipDigits(text, expStart);
        if (expEnd > expStart) {
            number += 'e';
            if (text[end + 1] == '-') number += '-';
            number.append(text.substr(expStart, expEnd - expStart));
        }
    }

    const std::optional<double> value = parseDoubleText(number);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return 0.0f;
    return static_cast<float>(*value);
}

} // namespace plakett
