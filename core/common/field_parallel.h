// Threads for the shape field: rows (or columns) that do not depend on each other are
// shared among the cores, while progress still arrives row by row, in order, on the
// calling thread.
#pragma once

#include <functional>

namespace plakett {

// False in a build without thread support (PLAKETT_ONE_THREAD, as for WebAssembly without
// shared memory): there every parallel step runs on the calling thread alone and no thread
// is ever started.
bool threadsAvailable();

// Threads the machine offers, at least 1 (exactly 1 without thread support).
int hardwareThreads();

// Threads worth using for a raster of `cells` cells (1 for small rasters).
int fieldThreadCount(long long cells);

// Runs work(worker, yBegin, yEnd) over the rows [0, rows) in blocks on up to `threads`
// threads; the calling thread is worker 0, and every worker gets its blocks in ascending
// order. rowDone(y) runs on the calling thread for y = 0, 1, ... once row y is complete; when
// it returns false the remaining blocks are dropped and runRows returns false. Worker
// numbers stay below `threads`, for per-worker state.
bool runRows(int rows, int threads,
             const std::function<void(int worker, int yBegin, int yEnd)>& work,
             const std::function<bool(int y)>& rowDone);

// Runs body(worker, workers) on up to `threads` threads (one without thread support), the
// calling thread being worker 0; returns when all are done. `workers` is the number that
// could be started.
void runTeam(int threads, const std::function<void(int worker, int workers)>& body);

// The part `worker` of `workers` of the range [begin, end).
struct Span {
    int begin;
    int end;
};
Span splitRange(int begin, int end, int worker, int workers);

} // namespace plakett
