// Every re-render allocates and frees image-sized blocks. Left to its defaults the C library
// may hand such blocks back to the system on free and fault them in again on the next
// render, which can cost more than the rendering itself; the programs keep them instead.
#pragma once

#include <cstddef>

namespace plakett {

// Call once at start, before any large allocation. Does nothing where it does not apply.
void keepLargeBlocksInHeap();

// Lets the kernel back the whole 2 MB pages inside a block about to be filled with large
// pages. Each 4 KB page costs a fault (dear in a virtual machine) the first time it is
// written, and a field writes thousands; only pages wholly inside the block are advised,
// so the resident size grows by nothing the block does not use. No-op for small blocks
// and where the system has no such advice.
void adviseLargePages(void* block, std::size_t bytes);

} // namespace plakett
