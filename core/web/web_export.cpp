#include "web/web_export.h"

#include "common/field_parallel.h"
#include "common/write_journal.h"
#include "image/bmp.h"
#include "image/jpeg.h"
#include "image/png_writer.h"
#include "image/webp_codec.h"
#include "render/button_renderer.h"
#include "render/overlays.h"
#include "render/shadow.h"
#include "render/transparent_states.h"
#include "shape/render_refusal.h"
#include "web/caption_check.h"
#include "web/caption_feed.h"
#include "web/caption_names.h"
#include "web/density.h"
#include "web/field_upsample.h"
#include "web/live_text_style.h"
#include "web/sprite.h"
#include "web/web_page.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>

namespace plakett {

namespace {

struct Button {
    std::filesystem::path base; // folder and stem, no extension
    std::string caption;
    bool ownCaption = true;
};

// What a request asks for once the options that imply others have done so.
WebExportRequest normalised(const WebExportRequest& request) {
    WebExportRequest r = request;
    r.maxScale = std::clamp(r.maxScale, 1, kMaxDensity);
    r.stateCount = std::clamp(r.stateCount, 1, 3);
    r.sprite = r.sprite || r.html || r.liveText || r.sheet;
    r.webpCopies = r.webpCopies && r.sprite && r.format == ExportFormat::Png;
    return r;
}

// The buttons written on the page, one per caption line (or the design's own caption).
std::vector<Button> pageButtons(const WebExportRequest& r,
                                const std::vector<std::string>& captions) {
    const std::filesystem::path base = exportBase(r.chosenName);
    if (captions.empty()) return {Button{base, {}, true}};
    const std::vector<std::string> names = uniqueCaptionNames(captions);
    std::vector<Button> buttons;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        std::filesystem::path p = base;
        p += "-" + names[i];
        buttons.push_back({p, splitCaptionLine(captions[i]).caption, false});
    }
    return buttons;
}

// The buttons drawn: with live text one, without its caption, named from the base.
std::vector<Button> drawnButtons(const WebExportRequest& r,
                                 const std::vector<std::string>& captions) {
    if (r.liveText) return {Button{exportBase(r.chosenName), {}, false}};
    return pageButtons(r, captions);
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

std::filesystem::path picturePath(const WebExportRequest& r, const std::filesystem::path& base,
                                  int scale) {
    std::filesystem::path p = withDensity(base, scale);
    p += exportExtension(r.format);
    return p;
}

std::filesystem::path webpCopyPath(std::filesystem::path p) {
    return p.replace_extension(".webp");
}

std::filesystem::path sidePath(const WebExportRequest& r, const char* ext) {
    std::filesystem::path p = exportBase(r.chosenName);
    p += ext;
    return p;
}

bool transparentFormat(ExportFormat f) {
    return f == ExportFormat::Png || f == ExportFormat::Webp;
}

std::vector<std::uint8_t> encode(const WebExportRequest& r, const Bgr24Image& image) {
    if (r.format == ExportFormat::Jpeg) return encodeJpeg(image, r.jpegQuality);
    if (r.format == ExportFormat::Png) return encodePng(image);
    return encodeBmp(image);
}

// Transparent pictures are PNG or WebP.
std::vector<std::uint8_t> encode(const WebExportRequest& r, const Image<Rgba8>& image) {
    if (r.format == ExportFormat::Webp) return encodeWebp(image, r.webpQuality);
    return encodePng(image);
}

// A picture of the page, and its WebP copy when one is asked for.
template <class Pixel>
void addPicture(std::vector<FileContent>& files, const WebExportRequest& r,
                const std::filesystem::path& path, const Image<Pixel>& picture) {
    files.push_back({path, encode(r, picture)});
    if constexpr (std::is_same_v<Pixel, Rgba8>)
        if (r.webpCopies) files.push_back({webpCopyPath(path), encodeWebp(picture, r.webpQuality)});
}

// The button's own extent in a state image: the covered part of the field, placed as the
// normal state places it over its shadow.
ButtonBox buttonBox(const Gray8Image& coverage, const ShadowLive& shadow) {
    int x0 = coverage.width(), y0 = coverage.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < coverage.height(); ++y)
        for (int x = 0; x < coverage.width(); ++x)
            if (coverage.at(x, y) != 0) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x1 < 0) return {};
    const ShadowOffset o = ShadowOffsetFor(shadow.angle, shadow.heights[0]);
    return {kShadowMargin - o.dx + x0, kShadowMargin - o.dy + y0, x1 - x0 + 1, y1 - y0 + 1};
}

struct Density {
    ButtonRenderer renderer;
    RenderSettings settings; // the scaled design's, offsets limited to its field
};

// One field per density, computed once for the whole set.
std::vector<Density> enterDensities(const WebDesign& d, int maxScale) {
    if (const std::string refusal = renderRefusal(d.points, maxScale); !refusal.empty())
        throw std::runtime_error(refusal);
    // The pictures are enlarged last, and only where they are drawn: a large glyph or
    // texture on a small button would otherwise cost s * s times its size for every job.
    RenderSettings bare = d.settings;
    bare.glyph.picture = {};
    bare.background.texture = {};
    std::vector<Density> densities(static_cast<std::size_t>(maxScale));
    for (int s = 1; s <= maxScale; ++s) {
        DesignCopy copy = scaleDesign(d.points, bare, s);
        scaleDesignOrigins(copy, d.settings, s);
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
        enlargeDrawnPictures(copy.settings, d.settings, s, own.width(), own.height());
        density.settings = std::move(copy.settings);
    }
    return densities;
}

constexpr long long kManyJobsPixels = 1'000'000;

// The bytes of every BMP image of the set (one sheet aside): rows padded to four bytes.
std::uintmax_t bmpBytes(const WebExportRequest& r, std::size_t buttons, int width, int height,
                        int spriteRows) {
    constexpr std::uintmax_t kHeader = 54;
    std::uintmax_t total = 0;
    for (int s = 1; s <= r.maxScale; ++s) {
        const std::uintmax_t stride = (3 * std::uintmax_t(s * width) + 3) / 4 * 4;
        const std::uintmax_t image = kHeader + stride * std::uintmax_t(s * height);
        const std::uintmax_t sprite = kHeader + stride * std::uintmax_t(s * spriteRows);
        total += r.sprite ? sprite : image * std::uintmax_t(r.stateCount);
    }
    return total * buttons;
}

struct Job {
    std::size_t button = 0;
    int scale = 1;
};

// Renders jobs on `threads` threads, their captions drawn beforehand by a CaptionFeed.
// Without an output the calling thread renders too and each job's files stay in
// `results`; with one they are handed over as each job finishes: by a calling thread that
// only writes, or (without threads) by the one thread between its renders.
class Workers {
  public:
    using Results = std::vector<std::vector<FileContent>>;
    Workers(const WebExportRun& run, int total) : m_run(run), m_total(total) {}

    template <class Work>
    void run(std::size_t jobs, int threads, const CaptionFeed::Prepare& prepare, Work work,
             Results& results) {
        const bool writes = static_cast<bool>(m_run.output) && threadsAvailable();
        const bool direct = static_cast<bool>(m_run.output) && !writes;
        CaptionFeed feed(jobs, 2 * static_cast<std::size_t>(threads) + 2, m_run.rasterizers,
                         prepare);
        m_feed = &feed;
        auto loop = [&](bool worker) {
            if (worker && writes) blockUndoSignalsOnThisThread();
            for (std::size_t j = m_next++; j < jobs && !m_failed; j = m_next++) {
                try {
                    FedCaptions fed = feed.take(j);
                    work(j, fed);
                    if (direct)
                        for (FileContent& f : std::exchange(results[j], {}))
                            m_run.output(std::move(f));
                } catch (...) {
                    fail(std::current_exception());
                    return;
                }
                finished(writes ? std::exchange(results[j], {}) : std::vector<FileContent>{},
                         writes);
            }
        };
        std::vector<std::thread> pool;
        for (int t = writes ? 0 : 1; t < threads; ++t)
            pool.emplace_back(loop, true);
        if (writes)
            writeUntilDone(jobs);
        else
            loop(false);
        for (std::thread& t : pool)
            t.join();
        m_feed = nullptr;
        if (m_error) std::rethrow_exception(m_error);
    }

  private:
    void fail(std::exception_ptr error) {
        std::lock_guard lock(m_mutex);
        if (!m_error) m_error = error;
        m_failed = true;
        if (m_feed) m_feed->stop();
        m_changed.notify_all();
    }

    void finished(std::vector<FileContent> files, bool writes) {
        std::unique_lock lock(m_mutex);
        // A bounded queue: a worker far ahead of the disk waits rather than piling up images.
        if (writes)
            m_changed.wait(lock, [&] { return m_queue.size() < kMaxQueued || m_failed; });
        for (FileContent& f : files)
            m_queue.push_back(std::move(f));
        ++m_done;
        if (m_run.progress && !writes) m_run.progress(m_done, m_total);
        m_changed.notify_all();
    }

    void writeUntilDone(std::size_t jobs) {
        std::size_t reported = 0;
        for (;;) {
            std::vector<FileContent> ready;
            int done = 0;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] {
                    return !m_queue.empty() || m_failed || std::size_t(m_done) == jobs;
                });
                if (m_failed) return;
                ready.swap(m_queue);
                done = m_done;
                m_changed.notify_all();
            }
            try {
                for (FileContent& f : ready)
                    m_run.output(std::move(f));
            } catch (...) {
                fail(std::current_exception());
                return;
            }
            if (m_run.progress && std::size_t(done) > reported) m_run.progress(done, m_total);
            reported = std::size_t(done);
            if (ready.empty() && std::size_t(done) == jobs) return;
        }
    }

    static constexpr std::size_t kMaxQueued = 8;
    const WebExportRun& m_run;
    int m_total;
    int m_done = 0;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_failed{false};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<FileContent> m_queue;
    CaptionFeed* m_feed = nullptr;
    std::exception_ptr m_error;
};

// The sheets of a set: per density one picture holding every drawn button's sprite, top
// to bottom, filled by the workers in rows of their own.
template <class Pixel> struct Sheets {
    std::vector<Image<Pixel>> pictures; // index: density - 1

    void make(int maxScale, int spriteWidth, int spriteHeight, std::size_t count, Pixel fill) {
        for (int s = 1; s <= maxScale; ++s)
            pictures.emplace_back(s * spriteWidth, s * spriteHeight * static_cast<int>(count),
                                  fill);
    }
    void place(const Image<Pixel>& sprite, std::size_t index, int scale) {
        Image<Pixel>& sheet = pictures[static_cast<std::size_t>(scale - 1)];
        const int top = static_cast<int>(index) * sprite.height();
        for (int y = 0; y < sprite.height(); ++y)
            std::copy_n(sprite.scanline(y), sprite.width(), sheet.scanline(top + y));
    }
};

void checkSheetSize(const WebExportRequest& r, int width, int spriteHeight, std::size_t count) {
    const long long w = static_cast<long long>(r.maxScale) * width;
    const long long h = static_cast<long long>(r.maxScale) * spriteHeight * count;
    if (w * h > kMaxSheetPixels)
        throw std::runtime_error("the sheet would be " + std::to_string(w) + " x " +
                                 std::to_string(h) + " pixels, more than " +
                                 std::to_string(kMaxSheetPixels) +
                                 " in one picture: write it without a sheet, with fewer "
                                 "captions or at a lower density");
}

} // namespace

std::vector<FileContent> buildWebExport(const WebDesign& design, const WebExportRequest& request,
                                        const std::vector<std::string>& captions,
                                        const WebExportRun& run) {
    const WebExportRequest r = normalised(request);
    const std::vector<Button> pages = pageButtons(r, captions);
    const std::vector<Button> drawn = drawnButtons(r, captions);
    const std::vector<Density> densities = enterDensities(design, r.maxScale);
    const Gray8Image& coverage = densities[0].renderer.field().coverage;
    const int width = shadowMaskSize(coverage.width()) - 1;
    const int height = shadowMaskSize(coverage.height()) - 1;
    const int spriteHeight = height * static_cast<int>(spriteStates(r.stateCount).size());
    const bool oneSheet = r.sheet && !r.liveText;
    if (oneSheet) checkSheetSize(r, width, spriteHeight, drawn.size());

    const bool transparent = transparentFormat(r.format);
    const Bgr24 background = BackgroundPixel(design.settings.background);
    Sheets<Rgba8> clearSheets;
    Sheets<Bgr24> solidSheets;
    if (oneSheet && transparent)
        clearSheets.make(r.maxScale, width, spriteHeight, drawn.size(), {});
    if (oneSheet && !transparent)
        solidSheets.make(r.maxScale, width, spriteHeight, drawn.size(), background);

    std::vector<Job> jobs;
    for (std::size_t b = 0; b < drawn.size(); ++b)
        for (int s = 1; s <= r.maxScale; ++s)
            jobs.push_back({b, s});
    std::vector<std::vector<FileContent>> results(jobs.size());
    std::vector<std::vector<std::string>> warnings(jobs.size());
    auto finish = [&](std::size_t j, auto states, auto fill, auto& sheets) {
        const Button& b = drawn[jobs[j].button];
        const int s = jobs[j].scale;
        if (states[0].empty()) throw std::runtime_error("the shape covers no pixel");
        for (auto& image : states)
            image = fitToSize(image, s * width, s * height, fill);
        if (!r.sprite) {
            for (const ExportFile& f : stateFiles(r, b, s))
                results[j].push_back({f.path, encode(r, states[f.stateIndex])});
        } else if (oneSheet) {
            sheets.place(stackStates(states, r.stateCount), jobs[j].button, s);
        } else {
            addPicture(results[j], r, picturePath(r, b.base, s), stackStates(states, r.stateCount));
        }
    };
    auto jobSettings = [&](std::size_t j) {
        const Button& b = drawn[jobs[j].button];
        RenderSettings settings = densities[static_cast<std::size_t>(jobs[j].scale - 1)].settings;
        if (!b.ownCaption) settings.text.caption = b.caption;
        return settings;
    };
    // What the render will ask of the caption rasterizer, asked beforehand in job order.
    auto prepare = [&](std::size_t j, CaptionRasterizer* recorder, CaptionRasterizer* direct) {
        const int s = jobs[j].scale;
        const RenderSettings settings = jobSettings(j);
        const Gray8Image& own =
            densities[static_cast<std::size_t>(s - 1)].renderer.field().coverage;
        PrepareCaption(settings.text, own.width(), own.height(), recorder, s);
        if (s != 1 || !run.warning) return std::vector<std::string>{};
        return captionWarnings(settings.text, coverage.width(), coverage.height(), direct);
    };
    auto work = [&](std::size_t j, FedCaptions& fed) {
        const Density& density = densities[static_cast<std::size_t>(jobs[j].scale - 1)];
        const RenderSettings settings = jobSettings(j);
        warnings[j] = std::move(fed.warnings);
        CaptionRasterizer* captions = fed.captions.get();
        if (transparent)
            finish(j, density.renderer.renderTransparent(design.lightMap, settings, captions),
                   Rgba8{}, clearSheets);
        else
            finish(j, density.renderer.render(design.lightMap, settings, captions), background,
                   solidSheets);
    };
    const int cores = hardwareThreads();
    const int wanted = run.threads > 0 && threadsAvailable() ? run.threads : cores;
    int threads = std::min<int>(wanted, static_cast<int>(jobs.size()));
    // The memory budget (shape/render_refusal.h) counts two jobs of the largest density
    // beside the fields: large images render two at a time, however many cores there are.
    const Gray8Image& top = densities.back().renderer.field().coverage;
    if (static_cast<long long>(top.width()) * top.height() > kManyJobsPixels)
        threads = std::min(threads, 2);
    if (run.expectBytes && r.format == ExportFormat::Bmp && !oneSheet)
        run.expectBytes(bmpBytes(r, drawn.size(), width, height, spriteHeight));
    Workers(run, static_cast<int>(jobs.size()))
        .run(jobs.size(), threads, prepare, work, results);
    for (const auto& list : warnings)
        for (const std::string& w : list)
            run.warning(w);

    std::vector<FileContent> files;
    for (auto& result : results)
        for (auto& f : result)
            files.push_back(std::move(f));
    const std::filesystem::path base = exportBase(r.chosenName);
    for (int s = 1; oneSheet && s <= r.maxScale; ++s) {
        if (transparent)
            addPicture(files, r, picturePath(r, base, s), clearSheets.pictures[s - 1]);
        else
            addPicture(files, r, picturePath(r, base, s), solidSheets.pictures[s - 1]);
    }
    if (!r.sprite) return files;

    SpriteSheet sheet;
    sheet.stateCount = r.stateCount;
    sheet.maxScale = r.maxScale;
    sheet.width = width;
    sheet.height = height;
    sheet.box = buttonBox(coverage, design.settings.shadow);
    sheet.pictureWidth = width;
    sheet.pictureHeight = spriteHeight * static_cast<int>(oneSheet ? drawn.size() : 1);
    sheet.webpCopies = r.webpCopies;
    if (r.liveText) {
        const std::unique_ptr<CaptionRasterizer> rasterizer =
            run.rasterizers ? run.rasterizers() : nullptr;
        const ButtonBox& box = sheet.box;
        const ShadowOffset o =
            ShadowOffsetFor(design.settings.shadow.angle, design.settings.shadow.heights[0]);
        sheet.liveText =
            liveTextStyle(design.settings.text, coverage, box.left - (kShadowMargin - o.dx),
                          box.top - (kShadowMargin - o.dy), rasterizer.get());
        const std::string cls = cssClassName(base.filename().string());
        const std::string file = picturePath(r, base, 1).filename().string();
        for (const Button& b : pages)
            sheet.buttons.push_back(
                {cls, b.ownCaption ? design.settings.text.caption : b.caption, file});
    } else {
        std::set<std::string> classes;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const Button& b = pages[i];
            const std::string wanted = cssClassName(b.base.filename().string());
            std::string name = wanted;
            for (int n = 2; !classes.insert(name).second; ++n)
                name = wanted + "-" + std::to_string(n);
            sheet.buttons.push_back(
                {name, b.ownCaption ? design.settings.text.caption : b.caption,
                 picturePath(r, oneSheet ? base : b.base, 1).filename().string(),
                 oneSheet ? static_cast<int>(i) * spriteHeight : 0});
        }
    }
    const std::string css = spriteCss(sheet);
    const std::filesystem::path cssPath = sidePath(r, ".css");
    files.push_back({cssPath, {css.begin(), css.end()}});
    if (r.html) {
        const ColorRef bg = design.settings.background.color;
        const std::string page =
            spritePage(sheet, base.filename().string(), cssPath.filename().string(), bg,
                       contrastingBackground(bg));
        files.push_back({sidePath(r, ".html"), {page.begin(), page.end()}});
    }
    return files;
}

std::vector<std::filesystem::path> webExportNames(const WebExportRequest& request,
                                                  const std::vector<std::string>& captions) {
    const WebExportRequest r = normalised(request);
    const bool oneSheet = r.sheet && !r.liveText;
    std::vector<std::filesystem::path> names;
    auto picture = [&](const std::filesystem::path& path) {
        names.push_back(path);
        if (r.webpCopies) names.push_back(webpCopyPath(path));
    };
    if (!oneSheet)
        for (const Button& b : drawnButtons(r, captions))
            for (int s = 1; s <= r.maxScale; ++s) {
                if (r.sprite)
                    picture(picturePath(r, b.base, s));
                else
                    for (const ExportFile& f : stateFiles(r, b, s))
                        names.push_back(f.path);
            }
    for (int s = 1; oneSheet && s <= r.maxScale; ++s)
        picture(picturePath(r, exportBase(r.chosenName), s));
    if (r.sprite) names.push_back(sidePath(r, ".css"));
    if (r.html) names.push_back(sidePath(r, ".html"));
    return names;
}

} // namespace plakett

namespace plakett {

std::size_t writeWebExport(const WebDesign& design, const WebExportRequest& request,
                           const std::vector<std::string>& captions, WebExportRun run,
                           MissingFolders folders) {
    FileSetWriter writer(webExportNames(request, captions), folders);
    run.output = [&writer](FileContent&& f) { writer.stage(f.path, f.bytes); };
    run.expectBytes = [&writer](std::uintmax_t bytes) { writer.requireFreeSpace(bytes); };
    const std::vector<FileContent> last = buildWebExport(design, request, captions, run);
    for (const FileContent& f : last)
        writer.stage(f.path, f.bytes);
    writer.commit();
    return webExportNames(request, captions).size();
}

} // namespace plakett
