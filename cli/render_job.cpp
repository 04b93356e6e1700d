#include "render_job.h"

#include "common/file_write.h"
#include "document/export_naming.h"
#include "document/project_file.h"
#include "document/project_settings.h"
#include "effects/light_editor.h"
#include "effects/style_file.h"
#include "image/bmp.h"
#include "image/jpeg.h"
#include "image/png_writer.h"
#include "render/button_renderer.h"
#include "render/svg_glyph.h"
#include "shape/render_refusal.h"
#include "shape/shape_file.h"
#include "caption_engine.h"
#include "shape/svg_shape_export.h"
#include "shape/svg_shape_import.h"
#include "state_encoding.h"
#include "web/caption_check.h"
#include "web_job.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <ostream>
#include <stdexcept>

namespace plakett::cli {
namespace {

struct Design {
    std::vector<TMoveBox> points;
    RenderSettings settings;
    std::optional<ProjectDocument> project; // absent for a bare shape
};

bool isShapeFile(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".shp" || ext == ".svg";
}

Design loadDesign(const std::filesystem::path& input) {
    Design d;
    if (isShapeFile(input)) {
        LoadAnyShapeFile(input, d.points);
        return d;
    }
    d.project = readProjectFile(input, ProjectKind::Project);
    d.points = d.project->points;
    d.settings = settingsFromProject(*d.project);
    return d;
}

// --glyph and --glyph-color; an SVG glyph is drawn at every density the job may need, by
// the Qt module, which stays loaded and started for the whole job.
std::unique_ptr<CaptionEngine> applyGlyphOptions(const CliOptions& o, RenderSettings& settings) {
    GlyphLive& glyph = settings.glyph;
    if (!o.glyphPath.empty()) {
        glyph.useGlyph = true;
        if (isSvgFileName(o.glyphPath)) {
            const std::vector<std::uint8_t> bytes = readFileBytes(o.glyphPath, kMaxShapeFileBytes);
            glyph.svgSource.assign(bytes.begin(), bytes.end());
            glyph.picture = Bgr24Image{};
        } else {
            glyph.picture = readBmpFile(o.glyphPath);
            glyph.svgSource.clear();
            if (!glyph.picture.empty()) {
                const Bgr24 corner = glyph.picture.at(0, 0);
                glyph.transparentColor = makeColorRef(corner.r, corner.g, corner.b);
            }
        }
    }
    if (o.glyphColor) glyph.svgColor = *o.glyphColor;
    if (glyph.svgSource.empty()) return nullptr;
    std::unique_ptr<CaptionEngine> engine = startCaptionEngine();
    const std::unique_ptr<GlyphRasterizer> rasterizer = engine->glyphRasterizer();
    if (!rasterizer) throw std::runtime_error("SVG glyphs cannot be drawn by this program");
    try {
        rasterizeSvgGlyph(glyph, *rasterizer, std::max(1, o.scale));
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(std::string(e.what()) + " (" +
                                 (o.glyphPath.empty() ? o.input : o.glyphPath) + ")");
    }
    return engine;
}

// The light editor as it stands when the render window first asks for a map.
Bgr24Image buildLightMap(const Design& d, const std::string& stylePath) {
    LightEditor editor;
    if (d.project) editor.loadProjectLights(d.project->buttonColor, d.project->lights);
    editor.setRenderMode(true);
    if (!stylePath.empty()) return editor.applyStyle(readStyleFile(stylePath, StyleCheck::Picture));
    editor.UpdateGradient();
    return editor.CopyLightMap();
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The font engine is started only when there is a caption to draw.
struct Captions {
    std::unique_ptr<CaptionEngine> engine;
    std::unique_ptr<CaptionRasterizer> rasterizer;
    explicit Captions(const RenderSettings& s) {
        if (s.text.caption.empty()) return;
        engine = startCaptionEngine();
        rasterizer = engine->rasterizer();
    }
    ~Captions() { rasterizer.reset(); } // before the engine it came from
};

struct RenderTimes {
    double fieldMs = 0;
    double renderMs = 0;
    int width = 0;
    int height = 0;
};

void encodeStates(const CliOptions& o, ButtonRenderer& renderer, const Bgr24Image& lightMap,
                  const RenderSettings& settings, CaptionRasterizer* captions, RenderTimes& times,
                  FileSetWriter& writer) {
    const auto start = std::chrono::steady_clock::now();
    const ExportFormat format = o.format;
    StateImages states;
    TransparentStateImages transparent;
    if (format == ExportFormat::Png)
        transparent = renderer.renderTransparentAndRelease(lightMap, settings, captions);
    else
        states = renderer.render(lightMap, settings, captions);
    times.renderMs = millisecondsSince(start);
    const bool empty = format == ExportFormat::Png ? transparent[0].empty() : states[0].empty();
    if (empty) throw std::runtime_error("the shape covers no pixel; nothing to render");
    times.width = format == ExportFormat::Png ? transparent[0].width() : states[0].width();
    times.height = format == ExportFormat::Png ? transparent[0].height() : states[0].height();

    const std::vector<ExportFile> order = exportWriteOrder(o.output, o.states, format);
    auto same = [&](std::size_t a, std::size_t b) {
        const int sa = order[a].stateIndex, sb = order[b].stateIndex;
        return format == ExportFormat::Png ? transparent[sa] == transparent[sb]
                                           : states[sa] == states[sb];
    };
    auto encode = [&](std::size_t i) {
        const int s = order[i].stateIndex;
        switch (format) {
        case ExportFormat::Bmp:
            return encodeBmp(states[s]);
        case ExportFormat::Jpeg:
            return encodeJpeg(states[s], o.quality);
        case ExportFormat::Png:
            break;
        case ExportFormat::Webp: // goes through the web output (wantsWebOutput)
            throw std::logic_error("WebP images are written by the web output");
        }
        return encodePng(transparent[s]);
    };
    const std::vector<EncodedBytes> encoded = encodeDistinct(order.size(), same, encode);
    for (std::size_t i = 0; i < order.size(); ++i)
        writer.stage(order[i].path, encoded[i]);
}

std::vector<std::filesystem::path> exportTargets(const CliOptions& o) {
    std::vector<std::filesystem::path> targets;
    for (const ExportFile& f : exportWriteOrder(o.output, o.states, o.format))
        targets.push_back(f.path);
    return targets;
}

} // namespace

void runRenderJob(const CliOptions& o, std::ostream& timings) {
    if (o.output.empty()) { // --outline-svg alone
        SaveSvgFile(loadDesign(o.input).points, o.outlineSvgPath);
        return;
    }
    if (const std::string problem = exportNameProblem(o.output); !problem.empty())
        throw std::runtime_error(problem);
    Design design = loadDesign(o.input);
    design.settings.background.textureOriginX = o.textureOriginX;
    design.settings.background.textureOriginY = o.textureOriginY;
    const std::unique_ptr<CaptionEngine> glyphEngine = applyGlyphOptions(o, design.settings);
    const std::vector<TMoveBox> outline = design.points;
    if (const std::string refusal = renderRefusal(design.points, o.scale); !refusal.empty())
        throw std::runtime_error(refusal);
    const Bgr24Image lightMap = buildLightMap(design, o.stylePath);
    // The outline file is written once the images are.
    const auto writeOutline = [&] {
        if (!o.outlineSvgPath.empty()) SaveSvgFile(outline, o.outlineSvgPath);
    };
    if (wantsWebOutput(o)) {
        runWebJob(o, {std::move(design.points), std::move(design.settings), lightMap}, timings);
        return writeOutline();
    }

    // Targets that cannot be written are refused before the field is computed.
    FileSetWriter writer(exportTargets(o), MissingFolders::Make);
    const auto fieldStart = std::chrono::steady_clock::now();
    ButtonRenderer renderer;
    renderer.enter(design.points, design.settings);
    RenderTimes times;
    times.fieldMs = millisecondsSince(fieldStart);

    Captions captions(design.settings);
    const Gray8Image& coverage = renderer.field().coverage;
    for (const std::string& w : captionWarnings(design.settings.text, coverage.width(),
                                                coverage.height(), captions.rasterizer.get()))
        timings << "plakett-render: warning: " << w << "\n";
    encodeStates(o, renderer, lightMap, design.settings, captions.rasterizer.get(), times, writer);
    writer.commit();
    writeOutline();
    if (o.timings)
        timings << "field_ms=" << times.fieldMs << " render_ms=" << times.renderMs
                << " size=" << times.width << "x" << times.height << "\n";
}

} // namespace plakett::cli
