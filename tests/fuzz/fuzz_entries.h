// What each fuzz target does with one input. Shared by the libFuzzer programs and by the
// test that replays every input that once failed.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace plakett::fuzz {

using Entry = void (*)(std::span<const std::uint8_t> data);

struct Target {
    std::string_view name; // also the folder of its kept inputs under tests/data/fuzz
    Entry run;
};

// Every target; an input may only end in the formats' own errors (std::exception).
std::span<const Target> targets();

} // namespace plakett::fuzz
