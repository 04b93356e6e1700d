#include "web/web_export.h"

#include "common/field_parallel.h"
#include "image/bmp.h"
#include "image/jpeg.h"
#include "image/png_writer.h"
#include "render/button_renderer.h"
#include "render/overlays.h"
#include "render/shadow.h"
#include "render/transparent_states.h"
#include "shape/render_refusal.h"
#include "web/caption_names.h"
#include "web/density.h"
#include "web/field_upsample.h"
#include "web/sprite.h"
#include "web/web_page.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace plakett {

namespace {

struct Button {
    std::filesystem::path base; // folder and stem, no extension
    std::string caption;
    bool ownCaption = true;
};

std::vector<Button> buttonsFor(const WebExportRequest& r,
                               const std::vector<std::string>& captions) {
    const std::filesystem::path base = exportBase(r.chosenName);
    if (captions.empty()) return {Button{base, {}, true}};
    const std::vector<std::string> names = uniqueCaptionNames(captions);
    std::vector<Button> buttons;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        std::filesystem::path p = base;
        p += "-" + names[i];
        buttons.push_back({p, captions[i], false});
    }
    return buttons;
}

bool wantsSprite(const WebExportRequest& r) {
    return r.sprite || r.html;
}

std::filesystem::path withDensity(std::filesystem::path p, int scale) {
    p += densitySuffix(scale);
    return p;
}

// State files of one button at one density, in the export's write order.
std::vector<ExportFile> stateFiles(const WebExportRequest& r, const Button& b, int scale) {
    std::vector<ExportFile> files = exportWriteOrder(b.base, r.stateCount, r.format);
    for (ExportFile& f : files) {
        const std::string ext = f.path.extension().string();
        f.path.replace_extension();
        f.path = withDensity(f.path, scale);
        f.path += ext;
    }
    return files;
}

std::filesystem::path spritePath(const WebExportRequest& r, const Button& b, int scale) {
    std::filesystem::path p = withDensity(b.base, scale);
    p += exportExtension(r.format);
    return p;
}

std::filesystem::path sidePath(const WebExportRequest& r, const char* ext) {
    std::filesystem::path p = exportBase(r.chosenName);
    p += ext;
    return p;
}

std::vector<std::uint8_t> encode(const WebExportRequest& r, const Bgr24Image& image) {
    if (r.format == ExportFormat::Jpeg) return encodeJpeg(image, r.jpegQuality);
    if (r.format == ExportFormat::Png) return encodePng(image);
    return encodeBmp(image);
}

// Transparent states exist only as PNG.
std::vector<std::uint8_t> encode(const WebExportRequest&, const Image<Rgba8>& image) {
    return encodePng(image);
}

template <class Pixel>
std::vector<FileContent> encodeButton(const WebExportRequest& r, const Button& b, int scale,
                                      std::array<Image<Pixel>, 3> states, int width, int height,
                                      Pixel fill) {
    for (auto& s : states)
        s = fitToSize(s, width, height, fill);
    if (wantsSprite(r))
        return {{spritePath(r, b, scale), encode(r, stackStates(states, r.stateCount))}};
    std::vector<FileContent> files;
    for (const ExportFile& f : stateFiles(r, b, scale))
        files.push_back({f.path, encode(r, states[f.stateIndex])});
    return files;
}

struct Density {
    ButtonRenderer renderer;
    RenderSettings settings; // the scaled design's, offsets limited to its field
};

// One field per density, computed once for the whole set.
std::vector<Density> enterDensities(const WebDesign& d, int maxScale) {
    std::vector<Density> densities(static_cast<std::size_t>(maxScale));
    for (int s = 1; s <= maxScale; ++s) {
        DesignCopy copy = scaleDesign(d.points, d.settings, s);
        if (const std::string refusal = renderRefusal(copy.points); !refusal.empty())
            throw std::runtime_error(s == 1 ? refusal : refusal + " at " + densitySuffix(s));
        Density& density = densities[static_cast<std::size_t>(s - 1)];
        if (s == 1)
            density.renderer.enter(copy.points, copy.settings);
        else
            density.renderer.enter(
                upsampledField(densities[0].renderer.field(), d.points, copy.points, s),
                copy.settings);
        const Gray8Image& one = densities[0].renderer.field().coverage;
        const Gray8Image& own = density.renderer.field().coverage;
        centreOnOneTimes(copy.settings, s, one.width(), one.height(), own.width(), own.height());
        density.settings = std::move(copy.settings);
    }
    return densities;
}

struct Job {
    std::size_t button = 0;
    int scale = 1;
};

class Workers {
  public:
    Workers(const WebExportRun& run, int total) : m_run(run), m_total(total) {}

    template <class Work> void run(std::size_t jobs, int threads, Work work) {
        auto loop = [&] {
            std::unique_ptr<CaptionRasterizer> rasterizer =
                m_run.rasterizers ? m_run.rasterizers() : nullptr;
            for (std::size_t j = m_next++; j < jobs && !m_failed; j = m_next++) {
                try {
                    work(j, rasterizer.get());
                } catch (...) {
                    std::lock_guard lock(m_mutex);
                    if (!m_error) m_error = std::current_exception();
                    m_failed = true;
                    return;
                }
                std::lock_guard lock(m_mutex);
                if (m_run.progress) m_run.progress(++m_done, m_total);
            }
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t)
            pool.emplace_back(loop);
        loop();
        for (std::thread& t : pool)
            t.join();
        if (m_error) std::rethrow_exception(m_error);
    }

  private:
    const WebExportRun& m_run;
    int m_total;
    int m_done = 0;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_failed{false};
    std::mutex m_mutex;
    std::exception_ptr m_error;
};

} // namespace

std::vector<FileContent> buildWebExport(const WebDesign& design, const WebExportRequest& request,
                                        const std::vector<std::string>& captions,
                                        const WebExportRun& run) {
    WebExportRequest r = request;
    r.maxScale = std::clamp(r.maxScale, 1, kMaxDensity);
    r.stateCount = std::clamp(r.stateCount, 1, 3);
    const std::vector<Button> buttons = buttonsFor(r, captions);
    const std::vector<Density> densities = enterDensities(design, r.maxScale);
    const Gray8Image& coverage = densities[0].renderer.field().coverage;
    const int width = shadowMaskSize(coverage.width()) - 1;
    const int height = shadowMaskSize(coverage.height()) - 1;

    std::vector<Job> jobs;
    for (std::size_t b = 0; b < buttons.size(); ++b)
        for (int s = 1; s <= r.maxScale; ++s)
            jobs.push_back({b, s});
    std::vector<std::vector<FileContent>> results(jobs.size());
    const Bgr24 background = BackgroundPixel(design.settings.background);
    auto work = [&](std::size_t j, CaptionRasterizer* rasterizer) {
        const Button& b = buttons[jobs[j].button];
        const int s = jobs[j].scale;
        const Density& density = densities[static_cast<std::size_t>(s - 1)];
        RenderSettings settings = density.settings;
        if (!b.ownCaption) settings.text.caption = b.caption;
        if (r.format == ExportFormat::Png) {
            auto states = density.renderer.renderTransparent(design.lightMap, settings, rasterizer);
            if (states[0].empty()) throw std::runtime_error("the shape covers no pixel");
            results[j] = encodeButton(r, b, s, states, s * width, s * height, Rgba8{});
        } else {
            auto states = density.renderer.render(design.lightMap, settings, rasterizer);
            if (states[0].empty()) throw std::runtime_error("the shape covers no pixel");
            results[j] = encodeButton(r, b, s, states, s * width, s * height, background);
        }
    };
    const int cores = hardwareThreads();
    const int wanted = run.threads > 0 && threadsAvailable() ? run.threads : cores;
    const int threads = std::min<int>(wanted, static_cast<int>(jobs.size()));
    Workers(run, static_cast<int>(jobs.size())).run(jobs.size(), threads, work);

    std::vector<FileContent> files;
    for (auto& r2 : results)
        for (auto& f : r2)
            files.push_back(std::move(f));
    if (!wantsSprite(r)) return files;

    SpriteSheet sheet{{}, r.stateCount, r.maxScale};
    for (const Button& b : buttons)
        sheet.buttons.push_back({cssClassName(b.base.filename().string()),
                                 b.ownCaption ? design.settings.text.caption : b.caption,
                                 spritePath(r, b, 1).filename().string(), width, height});
    const std::string css = spriteCss(sheet);
    const std::filesystem::path cssPath = sidePath(r, ".css");
    files.push_back({cssPath, {css.begin(), css.end()}});
    if (r.html) {
        const ColorRef bg = design.settings.background.color;
        const std::string page =
            spritePage(sheet, exportBase(r.chosenName).filename().string(),
                       cssPath.filename().string(), bg, contrastingBackground(bg));
        files.push_back({sidePath(r, ".html"), {page.begin(), page.end()}});
    }
    return files;
}

std::vector<std::filesystem::path> webExportNames(const WebExportRequest& request,
                                                  const std::vector<std::string>& captions) {
    WebExportRequest r = request;
    r.maxScale = std::clamp(r.maxScale, 1, kMaxDensity);
    std::vector<std::filesystem::path> names;
    for (const Button& b : buttonsFor(r, captions))
        for (int s = 1; s <= r.maxScale; ++s) {
            if (wantsSprite(r))
                names.push_back(spritePath(r, b, s));
            else
                for (const ExportFile& f : stateFiles(r, b, s))
                    names.push_back(f.path);
        }
    if (wantsSprite(r)) names.push_back(sidePath(r, ".css"));
    if (r.html) names.push_back(sidePath(r, ".html"));
    return names;
}

} // namespace plakett
