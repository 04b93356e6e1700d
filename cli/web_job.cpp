#include "web_job.h"

#include "caption_engine.h"
#include "web/caption_list.h"

#include <chrono>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <unistd.h>

namespace plakett::cli {

namespace {

bool anyCaption(const WebDesign& design, const std::vector<std::string>& captions) {
    return captions.empty() ? !design.settings.text.caption.empty() : true;
}

std::function<void(int, int)> progressReporter(std::ostream& out, bool terminal) {
    if (terminal)
        return [&out](int done, int total) {
            constexpr int kWidth = 30;
            const int filled = done * kWidth / total;
            out << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] "
                << done << "/" << total << (done == total ? "\n" : "") << std::flush;
        };
    return [&out](int done, int total) {
        out << "rendered " << done << " of " << total << "\n" << std::flush;
    };
}

} // namespace

bool wantsWebOutput(const CliOptions& o) {
    return o.scale > 1 || o.sprite || o.html || o.caption || !o.captionsPath.empty() ||
           o.format == ExportFormat::Webp;
}

void runWebJob(const CliOptions& o, WebDesign design, std::ostream& progress) {
    std::vector<std::string> captions;
    if (!o.captionsPath.empty()) captions = readCaptionFile(o.captionsPath);
    if (o.caption) {
        checkCaption(*o.caption, "--caption");
        design.settings.text.caption = *o.caption;
    }
    WebExportRequest request{o.output, o.states, o.format, o.quality, o.scale, o.sprite, o.html};
    request.webpQuality = o.qualityGiven ? o.quality : 0;
    request.webpCopies = o.webpCopies;
    request.liveText = o.liveText;
    request.sheet = o.sheet;
    // The font engine is started only when there is a caption to draw.
    std::unique_ptr<CaptionEngine> engine;
    WebExportRun run;
    if (anyCaption(design, captions)) {
        engine = startCaptionEngine();
        run.rasterizers = [&engine] { return engine->rasterizer(); };
    }
    if (!captions.empty()) run.progress = progressReporter(progress, isatty(STDERR_FILENO) == 1);
    run.warning = [&progress](const std::string& w) {
        progress << "plakett-render: warning: " << w << "\n";
    };
    const auto start = std::chrono::steady_clock::now();
    const std::size_t files = writeWebExport(design, request, captions, run, MissingFolders::Make);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (o.timings) progress << "total_ms=" << took.count() << " files=" << files << "\n";
}

} // namespace plakett::cli
