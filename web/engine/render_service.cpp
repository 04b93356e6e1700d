#include "render_service.h"

#include "canvas_caption_rasterizer.h"
#include "cli_options.h"
#include "document/project_file.h"
#include "document/project_settings.h"
#include "effects/light_editor.h"
#include "render/render_pipeline.h"
#include "render_job.h"
#include "shape/render_refusal.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace plakett::web {
namespace {

namespace fs = std::filesystem;

Bgr24Image lightMapOf(const ProjectDocument& doc) {
    LightEditor editor;
    editor.loadProjectLights(doc.buttonColor, doc.lights);
    editor.setRenderMode(true);
    editor.UpdateGradient();
    return editor.CopyLightMap();
}

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

std::vector<Bgr24Image> RenderService::render(std::span<const std::uint8_t> project, int count,
                                              TextureOrigin origin) {
    const ProjectDocument doc = readProject(project, ProjectKind::Project);
    if (const std::string refusal = renderRefusal(doc.points); !refusal.empty())
        throw std::runtime_error(refusal);
    RenderSettings settings = settingsFromProject(doc);
    settings.background.textureOriginX = origin.x;
    settings.background.textureOriginY = origin.y;
    if (!m_renderer.ready() || doc.points != m_points) {
        m_points.clear();
        m_renderer.enter(doc.points, settings);
        m_points = doc.points;
        m_blur = settings.shadow.blur;
    } else {
        if (settings.shadow.blur != m_blur) m_renderer.rebuildShadowMask(settings.shadow.blur);
        m_blur = settings.shadow.blur;
        ClampOffsetsToField(settings, m_renderer.field().coverage);
    }
    const Bgr24Image lightMap = lightMapOf(doc);
    CanvasCaptionRasterizer captions;
    CaptionRasterizer* rasterizer = settings.text.caption.empty() ? nullptr : &captions;
    std::vector<Bgr24Image> states;
    if (count >= 3) {
        StateImages all = m_renderer.render(lightMap, settings, rasterizer);
        for (Bgr24Image& s : all)
            states.push_back(std::move(s));
    } else {
        for (int s = 0; s < count; ++s)
            states.push_back(m_renderer.renderState(lightMap, settings, rasterizer, s));
    }
    if (states.empty() || states[0].empty())
        throw std::runtime_error("the shape covers no pixel; nothing to render");
    return states;
}

std::vector<NamedFile> RenderService::exportFiles(std::span<const std::uint8_t> project,
                                                  const ExportOptions& options,
                                                  TextureOrigin origin) {
    // The command line's own job, on the page's memory file system.
    const fs::path folder = "/export";
    fs::remove_all(folder);
    fs::create_directories(folder / "out");
    {
        std::ofstream out(folder / "design.tbp", std::ios::binary);
        out.write(reinterpret_cast<const char*>(project.data()),
                  static_cast<std::streamsize>(project.size()));
    }
    std::vector<std::string> args{"--states", std::to_string(options.states)};
    if (!options.format.empty()) {
        args.push_back("--format");
        args.push_back(options.format);
    }
    if (options.quality != 90) {
        args.push_back("--quality");
        args.push_back(std::to_string(options.quality));
    }
    if (options.scale > 1) {
        args.push_back("--scale");
        args.push_back(std::to_string(options.scale));
    }
    if (options.sprite) args.push_back("--sprite");
    if (options.html) args.push_back("--html");
    if (origin.x != 0 || origin.y != 0) {
        args.push_back("--texture-origin");
        args.push_back(std::to_string(origin.x) + "," + std::to_string(origin.y));
    }
    args.push_back((folder / "design.tbp").string());
    args.push_back((folder / "out" / "button").string());
    std::ostringstream timings;
    cli::runRenderJob(cli::parseCliOptions(args), timings);

    std::vector<NamedFile> files;
    for (const auto& entry : fs::directory_iterator(folder / "out"))
        files.push_back({entry.path().filename().string(), fileBytes(entry.path())});
    std::sort(files.begin(), files.end(),
              [](const NamedFile& a, const NamedFile& b) { return a.name < b.name; });
    fs::remove_all(folder);
    return files;
}

std::vector<std::uint8_t> rgbaBytes(const Bgr24Image& image) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(image.width()) * image.height() * 4);
    std::size_t i = 0;
    for (int y = 0; y < image.height(); ++y) {
        const Bgr24* row = image.scanline(y);
        for (int x = 0; x < image.width(); ++x, i += 4) {
            out[i] = row[x].r;
            out[i + 1] = row[x].g;
            out[i + 2] = row[x].b;
            out[i + 3] = 255;
        }
    }
    return out;
}

} // namespace plakett::web
