// Web-ready output of a design: state images or sprites at one or more densities, for
// the design's own caption or for a list of captions, with a style sheet and a page.
// Everything is returned as file contents, to be written together or not at all.
#pragma once

#include "common/file_write.h"
#include "document/export_naming.h"
#include "render/caption_rasterizer.h"
#include "render/render_settings.h"
#include "shape/move_box.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plakett {

struct WebExportRequest {
    std::filesystem::path chosenName; // the base name is derived from it as the export does
    int stateCount = 3;
    ExportFormat format = ExportFormat::Bmp;
    int jpegQuality = 90;
    int maxScale = 1;        // densities 1..maxScale are written; names carry "@2x", "@3x"
    bool sprite = false;     // one picture per button and density, plus BASE.css
    bool html = false;       // BASE.html as well (implies sprite)
    int webpQuality = 0;     // WebP pictures: 0 lossless, 1..100 lossy colour with lossless alpha
    bool webpCopies = false; // PNG sprites: a WebP copy of each, offered first by the CSS
    bool liveText = false;   // one sprite drawn without the caption, which becomes page text
                             // (implies sprite)
    bool sheet = false;      // one picture per density for all buttons (implies sprite)
};

// The largest sheet, in pixels of its highest density: 16 Mi pixels, 64 MiB as RGBA, so a
// set's sheets stay within the memory the rest of an export takes.
inline constexpr long long kMaxSheetPixels = 16LL * 1024 * 1024;

struct WebDesign {
    std::vector<TMoveBox> points;
    RenderSettings settings;
    Bgr24Image lightMap;
};

struct WebExportRun {
    // Makes one caption rasterizer per worker thread; may be empty or return null when no
    // caption is to be drawn.
    std::function<std::unique_ptr<CaptionRasterizer>()> rasterizers;
    // Called after each rendered button and density, from any worker, one call at a time.
    std::function<void(int done, int total)> progress;
    int threads = 0; // 0: one per core
    // Called from the calling thread, in caption order, once per caption that the image
    // cuts off or that holds characters no installed font draws (web/caption_check.h).
    std::function<void(const std::string&)> warning;
    // When set, each finished image file is handed to it at once, on the calling thread,
    // and buildWebExport returns only the files made at the end (style sheet, page). The
    // workers then leave SIGINT, SIGTERM and SIGHUP to the calling thread.
    std::function<void(FileContent&&)> output;
    // When set, called once before the first render with the bytes the image files will
    // take, where that is known in advance (BMP).
    std::function<void(std::uintmax_t)> expectBytes;
};

// captions empty: one button with the design's own caption, named from the base alone.
// Otherwise one button per caption line, named BASE-NAME after uniqueCaptionNames. With
// live text one sprite, BASE, drawn with an empty caption, serves every button; with a
// sheet (and no live text) the sprites of all buttons are stacked into BASE per density,
// in caption order. The shape field is computed once per density for the whole set.
// Throws with a user-facing message (a refused shape, a shape with no pixel, a sheet
// larger than kMaxSheetPixels); nothing is written here.
std::vector<FileContent> buildWebExport(const WebDesign& design, const WebExportRequest& request,
                                        const std::vector<std::string>& captions,
                                        const WebExportRun& run = {});

// Renders and writes the whole export as one set (writeFilesTogether's promises), each
// image going to disk as soon as it is encoded: the targets are checked (and missing folders
// made, if asked) before the first render, the free space before the first image. Returns the number
// of files written.
std::size_t writeWebExport(const WebDesign& design, const WebExportRequest& request,
                           const std::vector<std::string>& captions, WebExportRun run = {},
                           MissingFolders folders = MissingFolders::Refuse);

// The file names that buildWebExport gives, in its order, without rendering anything.
std::vector<std::filesystem::path> webExportNames(const WebExportRequest& request,
                                                  const std::vector<std::string>& captions);

} // namespace plakett
