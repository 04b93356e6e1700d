// Equal images share one encoding, distinct ones are each encoded once, failures surface.
#include "cli/state_encoding.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

using namespace plakett::cli;

namespace {

struct Case {
    std::vector<int> image; // image i's content; equal numbers are equal images
    int failing;            // content whose encoder throws, or -1
    int expectedEncodes;
};

} // namespace

TEST(StateEncoding, EncodesEachDistinctImageOnceAndReportsFailures) {
    const Case cases[] = {
        {{}, -1, 0},        {{7}, -1, 1},       {{1, 1, 2}, -1, 2}, {{1, 2, 1}, -1, 2},
        {{3, 3, 3}, -1, 1}, {{1, 2, 3}, -1, 3}, {{1, 2, 3}, 3, 3},  {{1, 2, 3}, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.image) + " failing " + std::to_string(c.failing));
        std::atomic<int> encodes{0};
        auto same = [&](std::size_t a, std::size_t b) { return c.image[a] == c.image[b]; };
        auto encode = [&](std::size_t i) {
            ++encodes;
            if (c.image[i] == c.failing) throw std::runtime_error("encoder failed");
            return EncodedBytes{static_cast<std::uint8_t>(c.image[i]), 0xAB};
        };
        if (c.failing >= 0) {
            EXPECT_THROW(encodeDistinct(c.image.size(), same, encode), std::runtime_error);
        } else {
            const std::vector<EncodedBytes> out = encodeDistinct(c.image.size(), same, encode);
            ASSERT_EQ(out.size(), c.image.size());
            for (std::size_t i = 0; i < out.size(); ++i)
                EXPECT_EQ(out[i], (EncodedBytes{static_cast<std::uint8_t>(c.image[i]), 0xAB}));
        }
        EXPECT_EQ(encodes.load(), c.expectedEncodes);
    }
}
