// Shape field timings for four button sizes (editor pixels; the field works at twice that),
// the optimised version against the plain reference, and the heap peak per raster cell.
#include "bench_buttons.h"
#include "reference/shape_field_reference.h"
#include "field/shape_field.h"
#include "shape/compute_points.h"
#include "shape/shape_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

std::atomic<long long> g_liveBytes{0};
std::atomic<long long> g_peakBytes{0};

void noteAllocation(void* p) {
    if (p == nullptr) throw std::bad_alloc();
    const long long live = g_liveBytes += static_cast<long long>(malloc_usable_size(p));
    long long peak = g_peakBytes.load();
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live)) {
    }
}

} // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    noteAllocation(p);
    return p;
}
void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    g_liveBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

using namespace plakett;

using bench::buttonOutline;
using bench::kButtonSizes;

void setLabels(benchmark::State& state, const PointsArray& outline) {
    const bench::ButtonSize s = kButtonSizes[state.range(0)];
    state.SetLabel(std::to_string(s.width) + "x" + std::to_string(s.height) + " px, " +
                   std::to_string(outline.size()) + " outline points");
}

void BM_FieldFast(benchmark::State& state) {
    const PointsArray outline = buttonOutline(static_cast<int>(state.range(0)));
    long long cells = 0;
    long long peak = 0;
    for (auto _ : state) {
        const long long before = g_liveBytes.load();
        g_peakBytes = before;
        const ShapeField field = ComputeShapeField(outline);
        peak = std::max(peak, g_peakBytes.load() - before);
        cells = static_cast<long long>(field.map.columns()) * field.map.rows();
        benchmark::DoNotOptimize(field.map.at(0, 0));
    }
    setLabels(state, outline);
    state.counters["peak_bytes_per_cell"] = static_cast<double>(peak) / static_cast<double>(cells);
}
// Process CPU time: both threads' work, which is what a loaded machine cannot hide.
BENCHMARK(BM_FieldFast)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_FieldReference(benchmark::State& state) {
    const PointsArray outline = buttonOutline(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const ShapeField field = reference::ComputeShapeField(outline);
        benchmark::DoNotOptimize(field.map.at(0, 0));
    }
    setLabels(state, outline);
}
BENCHMARK(BM_FieldReference)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldReference)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

// The shapes of the browser's figures (bench/shapes), so that the field in the page and
// this one time the same outline: 0 is 300 x 120, 1 is 500 x 250.
void BM_FieldOfShapeFile(benchmark::State& state) {
    const char* names[] = {"rounded_300x120.shp", "rounded_500x250.shp"};
    std::vector<TMoveBox> points;
    LoadFromFile(std::string(PLAKETT_BENCH_SHAPES) + "/" + names[state.range(0)], points);
    PointsArray outline;
    for (const TPoint& p : ComputeRenderOutline(points))
        outline.push_back({p.X, p.Y});
    for (auto _ : state) {
        const ShapeField field = ComputeShapeField(outline);
        benchmark::DoNotOptimize(field.map.at(0, 0));
    }
    state.SetLabel(names[state.range(0)]);
}
// Process CPU time: under `taskset -c 0` both threads take turns on one core.
BENCHMARK(BM_FieldOfShapeFile)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The stages of the fast version (at 1000 x 500 editor pixels unless named).
void BM_StagePrepare(benchmark::State& state) {
    const PointsArray outline = buttonOutline(3);
    for (auto _ : state) {
        MatrixComputer c;
        c.Prepare(outline);
        benchmark::DoNotOptimize(c.FMask.at(0, 0));
    }
}
BENCHMARK(BM_StagePrepare)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StageCompute(benchmark::State& state) {
    const PointsArray outline = buttonOutline(3);
    const PointsArray targets = ComputeRimTargets(outline);
    for (auto _ : state) {
        state.PauseTiming();
        MatrixComputer c;
        c.Prepare(outline);
        c.SetTargets(targets);
        state.ResumeTiming();
        c.Compute();
        benchmark::DoNotOptimize(c.FCurrentMap.at(0, 0));
    }
}
BENCHMARK(BM_StageCompute)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both smoothings of the unsmoothed map, as the field runs them.
void BM_StageSmooth(benchmark::State& state) {
    const PointsArray outline = buttonOutline(static_cast<int>(state.range(0)));
    MatrixComputer c;
    c.Prepare(outline);
    c.SetTargets(ComputeRimTargets(outline));
    c.ComputeUnsmoothed();
    for (auto _ : state) {
        state.PauseTiming();
        Matrix copy(c.FCurrentMap.columns(), c.FCurrentMap.rows(), {});
        for (int x = 0; x < copy.columns(); ++x)
            std::copy_n(c.FCurrentMap.column(x), copy.rows(), copy.column(x));
        state.ResumeTiming();
        SmoothMapTwice(copy, 22, 18);
        benchmark::DoNotOptimize(copy.at(1, 1));
    }
    setLabels(state, outline);
}
BENCHMARK(BM_StageSmooth)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
