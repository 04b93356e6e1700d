// std::bit_cast, with a copy in its place where the C++ library lacks it (emscripten's).
#pragma once

#include <bit>
#include <cstring>
#include <type_traits>

namespace plakett {

template <class To, class From> To bitCast(const From& from) noexcept {
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<From> &&
                  std::is_trivially_copyable_v<To>);
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<To>(from);
#else
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
#endif
}

} // namespace plakett
