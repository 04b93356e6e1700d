// The web output's costs: one button's sprites at each density (fields included), and a
// caption set rendered on all cores with one field per density.
#include "effects/light_editor.h"
#include "textraster/qt_caption_rasterizer.h"
#include "web/web_export.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace plakett;

// An oval button of 200 x 60 editor pixels with a caption.
WebDesign design() {
    WebDesign d;
    for (const auto& [x, y] : {std::pair{100, 200}, {200, 170}, {300, 200}, {200, 230}}) {
        TMoveBox p;
        p.Init(x, y);
        d.points.push_back(p);
    }
    d.settings.text.caption = "Products";
    d.settings.text.fontSize = 14;
    LightEditor editor;
    editor.setRenderMode(true);
    editor.UpdateGradient();
    d.lightMap = editor.CopyLightMap();
    return d;
}

WebExportRun runOnAllCores() {
    WebExportRun run;
    run.rasterizers = [] { return std::make_unique<QtCaptionRasterizer>(); };
    return run;
}

void BM_SpriteUpToDensity(benchmark::State& state) {
    GuiApplicationScope app;
    const WebDesign d = design();
    const WebExportRequest request{
        "b.png", 3, ExportFormat::Png, 90, static_cast<int>(state.range(0)), true, true};
    for (auto _ : state)
        benchmark::DoNotOptimize(buildWebExport(d, request, {}, runOnAllCores()));
}
BENCHMARK(BM_SpriteUpToDensity)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

void BM_CaptionSetAt2x(benchmark::State& state) {
    GuiApplicationScope app;
    const WebDesign d = design();
    std::vector<std::string> captions;
    for (int i = 0; i < state.range(0); ++i)
        captions.push_back("Item " + std::to_string(i));
    const WebExportRequest request{"m.png", 3, ExportFormat::Png, 90, 2, true, true};
    for (auto _ : state)
        benchmark::DoNotOptimize(buildWebExport(d, request, captions, runOnAllCores()));
}
BENCHMARK(BM_CaptionSetAt2x)->Arg(16)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
