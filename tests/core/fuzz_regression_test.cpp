// Every input that once crashed, hung, exhausted memory or tripped a sanitizer in a fuzz
// target is kept under data/fuzz/<target>/ and goes through that target again here.
#include "fuzz/fuzz_entries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

TEST(FuzzRegression, KeptInputsEndInOrderlyErrors) {
    int replayed = 0;
    for (const plakett::fuzz::Target& target : plakett::fuzz::targets()) {
        const fs::path folder = fs::path(PLAKETT_TEST_DATA) / "fuzz" / std::string(target.name);
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            EXPECT_NO_THROW(target.run(bytes)); // the target itself only lets crashes through
            ++replayed;
        }
    }
    EXPECT_GE(replayed, 4);
}
