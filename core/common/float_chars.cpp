#include "common/float_chars.h"

#include <charconv>
#include <system_error>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace plakett {

std::string scientificText(double value, int precision) {
    char buffer[64];
#if defined(__cpp_lib_to_chars)
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, precision);
    return std::string(buffer, result.ptr);
#else
    const int n = std::snprintf(buffer, sizeof buffer, "%.*e", precision, value);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
#endif
}

std::string shortestTextByPrintf(float value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buffer[64];
    // The fewest significant digits that read back as the same float.
    int digits = 1;
    for (; digits < 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, static_cast<double>(value));
        if (std::strtof(buffer, nullptr) == value) break;
    }
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, static_cast<double>(value));
    const std::string e(buffer);
    const bool negative = e[0] == '-';
    const std::size_t ePos = e.find('e');
    std::string mantissa;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i)
        if (e[i] != '.') mantissa += e[i];
    const int exponent = std::atoi(e.c_str() + ePos + 1);
    const std::string sign = negative ? "-" : "";
    // Scientific as to_chars writes it: no point for one digit, at least two exponent digits.
    std::string scientific = sign + mantissa.substr(0, 1);
    if (mantissa.size() > 1) scientific += "." + mantissa.substr(1);
    char exp[8];
    std::snprintf(exp, sizeof exp, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    scientific += exp;
    std::string fixed;
    const int n = static_cast<int>(mantissa.size());
    if (exponent >= n - 1) {
        // A whole number is written with all its digits, as the float holds it exactly.
        std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(static_cast<double>(value)));
        fixed = buffer;
    } else if (exponent >= 0) {
        fixed = mantissa.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
                mantissa.substr(static_cast<std::size_t>(exponent + 1));
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    }
    fixed = sign + fixed;
    return fixed.size() <= scientific.size() ? fixed : scientific;
}

std::string shortestText(float value) {
#if defined(__cpp_lib_to_chars)
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
#else
    return shortestTextByPrintf(value);
#endif
}

std::optional<double> parseDoubleText(std::string_view text) {
    double value = 0.0;
#if defined(__cpp_lib_to_chars)
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) return std::nullopt;
#else
    const std::string copy(text); // strtod needs the terminating zero
    char* end = nullptr;
    errno = 0;
    value = std::strtod(copy.c_str(), &end);
    if (errno == ERANGE || end != copy.c_str() + copy.size() || copy.empty()) return std::nullopt;
#endif
    return value;
}

} // namespace plakett
