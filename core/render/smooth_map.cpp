// Map clean-up: two repair passes for out-of-range cells, then alternating horizontal and
// vertical 3-cell means, every pass in place column by column.
//
// The passes run as a wavefront over chunks of columns instead of one after the other: a
// pass may work on a chunk once the previous pass has finished the chunk after it, and it
// must be done before the next pass needs the chunk. With each pass two chunks behind the
// one before, every column goes through all passes while it is still in the cache, and
// each cell still sees exactly the neighbour values of the pass-by-pass order.
#include "render/field_smooth_kernels.h"
#include "render/shape_field.h"

#include <algorithm>

namespace plakett {

namespace {

constexpr int kChunkColumns = 8;
constexpr int kLag = 2; // chunks between one pass and the next

template <class Map> void runStage(Map& map, int stage, int x0, int x1) {
    using namespace smoothkernels;
    if (stage == 0) {
        verticalRepair(map, x0, x1);
    } else if (stage == 1) {
        for (int x = x0; x < x1; ++x)
            horizontalRepair(map, x);
    } else if ((stage - 2) % 2 == 0) {
        for (int x = x0; x < x1; ++x)
            horizontalMean(map, x);
    } else {
        verticalMean(map, x0, x1);
    }
}

// Stage 0 repairs vertically, stage 1 horizontally, stage 2 + p is smoothing pass p.
template <class Map> void runWavefront(Map& map, int stages) {
    const int columns = map.columns();
    const int chunks = (columns - 2 + kChunkColumns - 1) / kChunkColumns;
    for (int t = 0; t < chunks + kLag * (stages - 1); ++t) {
        for (int s = 0; s < stages; ++s) {
            const int chunk = t - kLag * s;
            if (chunk < 0) break;
            if (chunk >= chunks) continue;
            const int x0 = 1 + chunk * kChunkColumns;
            runStage(map, s, x0, std::min(columns - 1, x0 + kChunkColumns));
        }
    }
}

} // namespace

void SmoothMap(Matrix& map, int passes) {
    if (map.columns() < 3 || map.rows() < 3) return;
    const int stages = 2 + std::max(0, passes);
    if (smoothkernels::PackedMap::fits(map)) {
        smoothkernels::PackedMap packed(map);
        runWavefront(packed, stages);
        packed.unpack();
    } else {
        runWavefront(map, stages);
    }
}

} // namespace plakett
