// The printf road of the float text conversions, used where the C++ library has no
// floating-point to_chars (the WebAssembly build), must write what to_chars writes.
#include "common/float_chars.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>

namespace plakett {
namespace {

std::string viaToChars(float v) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

TEST(FloatChars, PrintfRoadWritesWhatToCharsWrites) {
    const float table[] = {100.f, 1000.f, 0.5f,  0.1f,        1e-5f,          1e10f,  123456.f,
                           1e7f,  1e16f,  1e-4f, -2.5f,       3.4e38f,        1e-45f, 65536.f,
                           30.f,  6.5f,   -0.f,  240823472.f, 1.17549435e-38f};
    for (const float v : table)
        EXPECT_EQ(shortestTextByPrintf(v), viaToChars(v)) << v;
    std::mt19937 random(20);
    int checked = 0;
    while (checked < 200000) {
        const std::uint32_t bits = random();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        ASSERT_EQ(shortestTextByPrintf(v), viaToChars(v)) << bits;
        ++checked;
    }
    std::uniform_real_distribution<float> editor(-5000.f, 5000.f);
    for (int i = 0; i < 100000; ++i) {
        const float v = editor(random);
        ASSERT_EQ(shortestTextByPrintf(v), viaToChars(v)) << v;
    }
}

TEST(FloatChars, ScientificAndParsingRoundTrip) {
    EXPECT_EQ(scientificText(15.0, 4), "1.5000e+01");
    EXPECT_EQ(parseDoubleText("-12.5e3"), -12500.0);
    EXPECT_FALSE(parseDoubleText("1e999"));
    EXPECT_FALSE(parseDoubleText("12x"));
}

} // namespace
} // namespace plakett
