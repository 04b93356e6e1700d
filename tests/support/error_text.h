// The message of the exception a call throws, or "no error".
#pragma once

#include <exception>
#include <string>

namespace plakett::testsupport {

template <class Fn> std::string errorText(Fn fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

} // namespace plakett::testsupport
