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

#if defined(__GLIBC__) && defined(__linux__) && defined(MADV_HUGEPAGE)
// Grows the heap by two blocks just under the large-block limit and lets the kernel back
// that stretch with 2 MB pages where it can. Each 4 KB fault costs a trap (dear in a virtual
// machine) and a field faults in thousands of pages; with large pages the field of a
// 1000 x 500 button is about twice as fast the first time. The blocks go back to the
// heap's top, below the trim limit, so the advice stays on memory the program reuses.
void adviseLargePagesForHeap() {
    constexpr std::size_t kBlock = 30 * kMiB;
    constexpr std::uintptr_t kLargePage = 2 * kMiB;
    void* first = std::malloc(kBlock);
    void* second = first == nullptr ? nullptr : std::malloc(kBlock);
    if (second != nullptr) {
        auto lo = reinterpret_cast<std::uintptr_t>(first);
        auto hi = reinterpret_cast<std::uintptr_t>(second) + kBlock;
        // Only when the blocks lie one after the other in the heap, as they do at start.
        if (hi > lo && hi - lo < 2 * kBlock + kMiB) {
            lo = (lo + kLargePage - 1) & ~(kLargePage - 1);
            hi &= ~(kLargePage - 1);
            if (hi > lo) madvise(reinterpret_cast<void*>(lo), hi - lo, MADV_HUGEPAGE);
        }
    }
    std::free(second);
    std::free(first);
}
#endif

} // namespace

void keepLargeBlocksInHeap() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB (a 1000 x 500 button's field is 16 MB) come from the heap, and the
    // heap gives memory back only when 64 MB lie free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 * kMiB);
    mallopt(M_TRIM_THRESHOLD, 64 * kMiB);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    adviseLargePagesForHeap();
#endif
#endif
}

} // namespace plakett
