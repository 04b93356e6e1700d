// Re-render costs that decide whether a slider drag stays live: the three states of a
// button (with and without a caption), the light map, and a whole preview update.
#include "bench_buttons.h"

#include "effects/light_map.h"
#include "render/button_renderer.h"
#include "textraster/qt_caption_rasterizer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

using namespace plakett;

struct Prepared {
    ButtonRenderer renderer;
    RenderSettings settings;
};

// Field computation is not what these measure: one per size, made on first use.
Prepared& prepared(int index) {
    static std::map<int, std::unique_ptr<Prepared>> cache;
    auto& slot = cache[index];
    if (!slot) {
        slot = std::make_unique<Prepared>();
        slot->renderer.enter(bench::buttonOutline(index), slot->settings);
    }
    return *slot;
}

TGradientBox fourLights() {
    TGradientBox box;
    const ColorRef colours[] = {0xFFFFFF, 0x4080FF, 0xFF8040, 0x80FF80};
    for (int i = 0; i < 4; ++i) {
        TLightRec& l = box.FLights[i];
        l.Enabled = 1;
        l.MapX = 60 + 40 * i;
        l.MapY = 200 - 40 * i;
        l.MapRadius = 140 + 20 * i;
        l.Power = 60;
        l.Color = colours[i];
        UpdateLightAmounts(l);
    }
    return box;
}

void setLabel(benchmark::State& state, const Prepared& p) {
    const Gray8Image& c = p.renderer.field().coverage;
    state.SetLabel(std::to_string(c.width()) + "x" + std::to_string(c.height()) + " pixels");
}

void BM_RenderStates(benchmark::State& state) {
    Prepared& p = prepared(static_cast<int>(state.range(0)));
    const Bgr24Image lightMap = RenderLightMap(fourLights());
    for (auto _ : state)
        benchmark::DoNotOptimize(p.renderer.render(lightMap, p.settings, nullptr));
    setLabel(state, p);
}
BENCHMARK(BM_RenderStates)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_RenderStatesWithCaption(benchmark::State& state) {
    static GuiApplicationScope app;
    static QtCaptionRasterizer captions;
    Prepared& p = prepared(static_cast<int>(state.range(0)));
    RenderSettings settings = p.settings;
    settings.text.caption = "Download";
    settings.text.fontSize = std::clamp(bench::kButtonSizes[state.range(0)].height / 4, 8, 72);
    settings.text.effects = {TextEffect::Raised, TextEffect::Bordered, TextEffect::Lowered};
    const Bgr24Image lightMap = RenderLightMap(fourLights());
    for (auto _ : state)
        benchmark::DoNotOptimize(p.renderer.render(lightMap, settings, &captions));
    setLabel(state, p);
}
BENCHMARK(BM_RenderStatesWithCaption)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A new field and the three states from it; the live preview renders the normal state only.
void BM_FieldAndStates(benchmark::State& state) {
    const PointsArray outline = bench::buttonOutline(static_cast<int>(state.range(0)));
    const Bgr24Image lightMap = RenderLightMap(fourLights());
    Prepared p;
    for (auto _ : state) {
        p.renderer.enter(outline, p.settings);
        benchmark::DoNotOptimize(p.renderer.render(lightMap, p.settings, nullptr));
    }
    setLabel(state, p);
}
BENCHMARK(BM_FieldAndStates)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_RenderLightMapDefault(benchmark::State& state) {
    TGradientBox box;
    UpdateLightAmounts(box.FLights[0]);
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderLightMap(box));
}
BENCHMARK(BM_RenderLightMapDefault)->Unit(benchmark::kMicrosecond);

void BM_RenderLightMapFourLights(benchmark::State& state) {
    const TGradientBox box = fourLights();
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderLightMap(box));
}
BENCHMARK(BM_RenderLightMapFourLights)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
