#include "common/heap_tuning.h"

#include <cstdint>
#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace plakett {

namespace {
constexpr std::size_t kMiB = 1024 * 1024;
}

void keepLargeBlocksInHeap() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB (a 1000 x 500 button's field is 16 MB) come from the heap, and the
    // heap gives memory back only when 64 MB lie free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 * kMiB);
    mallopt(M_TRIM_THRESHOLD, 64 * kMiB);
#endif
}

void adviseLargePages(void* block, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLargePage = 2 * kMiB;
    if (block == nullptr || bytes < 2 * kLargePage) return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t lo = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t hi = (start + bytes) & ~(kLargePage - 1);
    // Advice only; where the kernel has no large page to give, small ones serve as before.
    if (hi > lo) madvise(reinterpret_cast<void*>(lo), hi - lo, MADV_HUGEPAGE);
#else
    (void)block;
    (void)bytes;
#endif
}

} // namespace plakett
