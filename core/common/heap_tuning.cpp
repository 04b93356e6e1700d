#include "common/heap_tuning.h"

#include <cstdint>
#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace plakett {

namespace {
constexpr std::size_t kMiB = 1024 * 1024;
constexpr std::uintptr_t kLargePage = 2 * kMiB;

#if defined(__GLIBC__)
// The heap starts at no 2 MB boundary, and a large page can only back a 2 MB stretch that
// is advised before anything in it is written. One block, kept for good and never
// touched, fills the heap up to its next boundary; taking it makes the heap grow by the
// pad, and the new end of its free top lies below the boundary, so all above is still
// untouched when it is advised.
void reserveHeapInLargePages() {
    void* probe = std::malloc(16); // carved from the free top: shows where it starts
    if (probe == nullptr) return;
    const std::uintptr_t topStart = reinterpret_cast<std::uintptr_t>(probe) + 16;
    const std::uintptr_t heapEnd = reinterpret_cast<std::uintptr_t>(sbrk(0));
    constexpr std::uintptr_t kSlack = 256; // block and top headers below the boundary
    std::uintptr_t boundary = (heapEnd + kLargePage - 1) & ~(kLargePage - 1);
    if (boundary < heapEnd + kSlack) boundary += kLargePage;
    static void* const unusedStart = std::malloc(boundary - topStart - kSlack);
    std::free(probe);
    if (unusedStart == nullptr) return;
    const std::uintptr_t grown = reinterpret_cast<std::uintptr_t>(sbrk(0));
    if (grown > boundary) adviseLargePages(reinterpret_cast<void*>(boundary), grown - boundary);
}
#endif

} // namespace

void keepLargeBlocksInHeap() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB (a 1000 x 500 button's field is 16 MB) come from the heap, and the
    // heap gives memory back only when 64 MB lie free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 * kMiB);
    mallopt(M_TRIM_THRESHOLD, 64 * kMiB);
    // Every thread allocates from this one heap, reserved in one step large enough for a
    // large button (address space only) and advised for 2 MB pages: a fresh process then
    // meets one page fault per 2 MB its buffers first touch instead of 512.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_TOP_PAD, 64 * kMiB);
    reserveHeapInLargePages();
#endif
}

void adviseLargePages(void* block, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
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
