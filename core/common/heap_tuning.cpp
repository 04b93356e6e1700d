#include "common/heap_tuning.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace plakett {

void keepLargeBlocksInHeap() {
#if defined(__GLIBC__)
    // Blocks up to 32 MB (a 1000 x 500 button's field is 16 MB) come from the heap, and the
    // heap gives memory back only when 64 MB lie free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

} // namespace plakett
