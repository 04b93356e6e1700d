// Map clean-up: two repair passes for out-of-range cells, then alternating horizontal and
// vertical 3-cell means, every pass in place column by column.
//
// The passes run as a wavefront over chunks of columns instead of one after the other: a
// pass may work on a chunk once the previous pass has finished the chunk after it, and it
// must be done before the next pass needs the chunk. With each pass one chunk behind the
// one before (the passes of one step running first to last), every column goes through all
// passes while it is still in the cache, and each cell still sees exactly the neighbour
// values of the pass-by-pass order. A horizontal mean and the vertical one after it are
// one stage, so that a chunk is read and written once for the pair.
#include "common/field_parallel.h"
#include "field/field_smooth_kernels.h"
#include "field/shape_field.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <vector>

namespace plakett {

namespace {

constexpr int kLag = 1; // chunks between one pass and the next

enum class Stage : unsigned char {
    VerticalRepair,
    HorizontalRepair,
    HorizontalMean,
    HorizontalVerticalMean, // a horizontal pass and the vertical one after it
};

// What one SmoothMap call does: both repairs, then the passes, horizontal first.
void addSmoothing(std::vector<Stage>& stages, int passes) {
    stages.push_back(Stage::VerticalRepair);
    stages.push_back(Stage::HorizontalRepair);
    for (int p = 0; p + 1 < passes; p += 2)
        stages.push_back(Stage::HorizontalVerticalMean);
    if (passes % 2 != 0) stages.push_back(Stage::HorizontalMean);
}

// Where a stage that ends in a vertical pass keeps its last column as the horizontal pass
// left it: the next chunk's horizontal pass needs that, and the map by then holds the
// vertical pass's values.
template <class Map> using SavedColumn = std::vector<typename Map::CellType>;

template <class Map>
void runStage(Map& map, Stage stage, int x0, int x1, SavedColumn<Map>& saved) {
    using namespace smoothkernels;
    switch (stage) {
    case Stage::VerticalRepair:
        verticalRepair(map, x0, x1);
        break;
    case Stage::HorizontalRepair:
        for (int x = x0; x < x1; ++x)
            horizontalRepair(map, x);
        break;
    case Stage::HorizontalMean:
        for (int x = x0; x < x1; ++x)
            horizontalMean(map, x, map.column(x - 1));
        break;
    case Stage::HorizontalVerticalMean:
        // Column 0 never changes, so the first chunk reads it from the map.
        horizontalVerticalMean(map, x0, x1, x0 == 1 ? map.column(0) : saved.data(),
                               saved.data());
        break;
    }
}

inline void pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Chunks whose last stage is done, published by one worker for the next. The follower
// usually needs the next chunk within microseconds; falling asleep and being woken by
// the system can take longer than a chunk, so it spins that long first.
constexpr int kSpins = 4096;
class ChunkProgress {
  public:
    void publish(int chunks) {
        m_done.store(chunks, std::memory_order_release);
        m_done.notify_all();
    }
    void waitFor(int chunks) const {
        for (int spin = 0; spin < kSpins; ++spin) {
            if (m_done.load(std::memory_order_acquire) >= chunks) return;
            pause();
        }
        for (int done = m_done.load(std::memory_order_acquire); done < chunks;
             done = m_done.load(std::memory_order_acquire))
            m_done.wait(done, std::memory_order_acquire);
    }

  private:
    std::atomic<int> m_done{0};
};

// A place in a wavefront: time step t, next stage s.
struct Resume {
    int t;
    int s;
};

// What the workers of one smoothing share: the map, its stages and their saved columns,
// the chunks (one tile of the widest kernels wide), and what has to happen to a chunk
// before its first stage.
template <class Map> struct Wavefront {
    Map& map;
    const std::vector<Stage>& stages;
    std::vector<SavedColumn<Map>> saved;
    std::function<void(int x0, int x1)> beforeFirstStage;
    int width = smoothkernels::kernelWidth() >= 16 ? 16 : 8;
    int chunks = (map.columns() - 2 + width - 1) / width;

    Wavefront(Map& m, const std::vector<Stage>& list, std::function<void(int, int)> prepare)
        : map(m), stages(list), saved(list.size()), beforeFirstStage(std::move(prepare)) {
        for (std::size_t s = 0; s < list.size(); ++s)
            if (list[s] == Stage::HorizontalVerticalMean)
                saved[s].resize(static_cast<std::size_t>(map.rows()));
    }
};

// Stages [first, last) in wavefront order from `from`, until done (returns t past the end)
// or until `stop` is seen between two chunks (returns where to go on). A worker that does
// not start with stage 0 follows the worker before it: its first stage may work on a
// chunk once that worker's last stage has done the chunk after it, and after that the
// earlier worker never touches the chunk again.
template <class Map>
Resume runWavefront(Wavefront<Map>& w, int first, int last, Resume from,
                    const ChunkProgress* before, ChunkProgress* mine,
                    const std::atomic<bool>* stop) {
    const int columns = w.map.columns();
    const int width = w.width;
    const int chunks = w.chunks;
    const int end = chunks + kLag * (last - first - 1);
    for (int t = from.t; t < end; ++t) {
        for (int s = t == from.t ? from.s : first; s < last; ++s) {
            const int chunk = t - kLag * (s - first);
            if (chunk < 0) break;
            if (chunk >= chunks) continue;
            if (stop != nullptr && stop->load(std::memory_order_relaxed)) return {t, s};
            if (s == first && before != nullptr) before->waitFor(std::min(chunks, chunk + 2));
            const int x0 = 1 + chunk * width;
            const int x1 = std::min(columns - 1, x0 + width);
            if (s == 0) w.beforeFirstStage(x0, x1);
            runStage(w.map, w.stages[s], x0, x1, w.saved[s]);
            if (s == last - 1 && mine != nullptr) mine->publish(chunk + 1);
        }
    }
    return {end, first};
}

// Chunks stage s of a wavefront over stages from `first` has finished when at `at`.
int chunksDone(Resume at, int s, int first, int chunks) {
    return std::clamp(at.t - kLag * (s - first) + (s < at.s ? 1 : 0), 0, chunks);
}

// Where a wavefront over stages from `first`, stopped at `at`, is shared between two
// workers: the first keeps [first, m), the second follows with [m, last); m evens out the
// chunks left on either side.
int evenSplit(Resume at, int first, int last, int chunks) {
    long long left = 0, right = 0;
    for (int s = first; s < last; ++s)
        right += chunks - chunksDone(at, s, first, chunks);
    int m = first;
    while (m < last) {
        const long long moved = chunks - chunksDone(at, m, first, chunks);
        if (left + moved > right - moved) break;
        left += moved;
        right -= moved;
        ++m;
    }
    return std::max(m, first + 1);
}

// Two workers as a pipeline: the calling thread runs the first third of the stages, a
// helper the rest one step behind (a short first part keeps the helper's wait for its
// first chunk short). When the calling thread is through, the helper stops at the next
// chunk and what is left is split again: the helper keeps the earlier stages and the
// calling thread follows it with the later ones, so both finish at about the same time.
template <class Map> void runStages(Wavefront<Map>& w) {
    const int stages = static_cast<int>(w.stages.size());
    const long long cells = static_cast<long long>(w.map.columns()) * w.map.rows();
    if (fieldThreadCount(cells) < 2 || stages < 8) {
        runWavefront(w, 0, stages, {0, 0}, nullptr, nullptr, nullptr);
        return;
    }
    const int chunks = w.chunks;
    const int split = stages / 3;
    ChunkProgress leading, following; // the calling thread's first part; the helper's rest
    std::atomic<bool> stop{false};
    std::atomic<bool> stopped{false};
    Resume handover{0, 0};
    int rest = stages; // the calling thread's stages after the handover: [rest, stages)
    runTeam(2, [&](int worker, int workers) {
        if (workers == 1) {
            runWavefront(w, 0, stages, {0, 0}, nullptr, nullptr, nullptr);
        } else if (worker == 1) {
            const Resume at =
                runWavefront(w, split, stages, {0, split}, &leading, nullptr, &stop);
            const bool left = at.t < chunks + kLag * (stages - split - 1);
            if (left) {
                rest = evenSplit(at, split, stages, chunks);
                following.publish(chunksDone(at, rest - 1, split, chunks));
                handover = at;
            }
            stopped.store(true, std::memory_order_release);
            stopped.notify_one();
            if (left) {
                // This step's stages from at.s on are the other worker's now if they lie
                // beyond rest.
                const Resume from = at.s < rest ? at : Resume{at.t + 1, split};
                runWavefront(w, split, rest, from, &leading, &following, nullptr);
            }
        } else {
            runWavefront(w, 0, split, {0, 0}, nullptr, &leading, nullptr);
            stop.store(true, std::memory_order_relaxed);
            stopped.wait(false, std::memory_order_acquire);
            if (rest < stages) {
                // The same chunks on a wavefront whose steps count from stage rest.
                const Resume from{handover.t - kLag * (rest - split), std::max(handover.s, rest)};
                runWavefront(w, rest, stages, from, &following, nullptr, nullptr);
            }
        }
    });
}

} // namespace

namespace {

void smooth(Matrix& map, const std::vector<Stage>& stages) {
    if (map.columns() < 3 || map.rows() < 3) return;
    // Means and repairs never leave the range a map starts in, so one check covers every
    // stage.
    const smoothkernels::PackedMap::Range range = smoothkernels::PackedMap::range(map);
    if (range.fits) {
        // Packed chunk by chunk as the first stage reaches it, while the chunk is in cache;
        // the first chunk brings the border column before it, the last the one after it.
        smoothkernels::PackedMap packed(map, range.signs);
        const int columns = map.columns();
        Wavefront<smoothkernels::PackedMap> w(packed, stages, [&](int x0, int x1) {
            packed.packColumns(x0 == 1 ? 0 : x0, x1 == columns - 1 ? columns : x1);
        });
        runStages(w);
        packed.unpack();
    } else {
        Wavefront<Matrix> w(map, stages, [](int, int) {});
        runStages(w);
    }
}

} // namespace

void SmoothMap(Matrix& map, int passes) {
    std::vector<Stage> stages;
    addSmoothing(stages, std::max(0, passes));
    smooth(map, stages);
}

void SmoothMapTwice(Matrix& map, int first, int second) {
    std::vector<Stage> stages;
    addSmoothing(stages, std::max(0, first));
    addSmoothing(stages, std::max(0, second));
    smooth(map, stages);
}

} // namespace plakett
