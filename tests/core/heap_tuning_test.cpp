// After the heap set-up, a block the size of a field's map lies wholly in memory the kernel
// may back with 2 MB pages, so that a fresh process faults it in a few large pages.
#include "common/heap_tuning.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

bool largePagesOnAdvice() {
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    std::getline(in, modes);
    return modes.find("[madvise]") != std::string::npos ||
           modes.find("[always]") != std::string::npos;
}

// Kilobytes of [from, to) that lie in mappings the kernel counts as eligible for large
// pages, from /proc/self/smaps.
std::uintptr_t eligibleKb(std::uintptr_t from, std::uintptr_t to) {
    std::ifstream smaps("/proc/self/smaps");
    std::uintptr_t lo = 0, hi = 0, total = 0;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t a = 0, b = 0;
        char dash = 0;
        std::istringstream head(line);
        if (head >> std::hex >> a >> dash >> b && dash == '-') {
            lo = a;
            hi = b;
        } else if (line.rfind("THPeligible:", 0) == 0 && line.find('1') != std::string::npos) {
            const std::uintptr_t s = std::max(lo, from), e = std::min(hi, to);
            if (e > s) total += (e - s) / 1024;
        }
    }
    return total;
}

} // namespace

TEST(HeapTuning, LargeBlocksLieInLargePageMemory) {
#if !defined(__GLIBC__) || !defined(__linux__)
    GTEST_SKIP() << "heap tuning applies to the GNU C library on Linux";
#else
    if (!largePagesOnAdvice()) GTEST_SKIP() << "the kernel gives no large pages on advice";
    plakett::keepLargeBlocksInHeap();
    // Sizes of a small button's map up to a large one's, each allocated fresh; only the
    // 2 MB pages wholly inside a block can be large ones.
    for (const std::size_t mb : {5, 8, 20}) {
        SCOPED_TRACE(std::to_string(mb) + " MB");
        const std::size_t bytes = mb << 20;
        std::unique_ptr<char, decltype(&std::free)> block(static_cast<char*>(std::malloc(bytes)),
                                                          &std::free);
        ASSERT_NE(block, nullptr);
        const auto start = reinterpret_cast<std::uintptr_t>(block.get());
        constexpr std::uintptr_t kLarge = 2 << 20;
        const std::uintptr_t lo = (start + kLarge - 1) & ~(kLarge - 1);
        const std::uintptr_t hi = (start + bytes) & ~(kLarge - 1);
        ASSERT_GT(hi, lo);
        EXPECT_EQ(eligibleKb(lo, hi), (hi - lo) / 1024);
    }
#endif
}
