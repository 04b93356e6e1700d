// libFuzzer entry for one target, chosen at build time by PLAKETT_FUZZ_TARGET.
#include "fuzz_entries.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const plakett::fuzz::Entry entry = [] {
        for (const auto& t : plakett::fuzz::targets())
            if (t.name == PLAKETT_FUZZ_TARGET) return t.run;
        std::abort();
    }();
    entry({data, size});
    return 0;
}
