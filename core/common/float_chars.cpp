#include "common/float_chars.h"

#include <charconv>
#include <system_error>

#if !defined(__cpp_lib_to_chars)
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#endif

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
