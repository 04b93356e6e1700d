// Every re-render allocates and frees image-sized blocks. Left to its defaults the C library
// may hand such blocks back to the system on free and fault them in again on the next
// render, which can cost more than the rendering itself; the programs keep them instead.
#pragma once

namespace plakett {

// Call once at start, before any large allocation. Does nothing where it does not apply.
void keepLargeBlocksInHeap();

} // namespace plakett
