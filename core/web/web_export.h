// Web-ready output of a design: state images or sprites at one or more densities, for
// the design's own caption or for a list of captions, with a style sheet and a page.
// Everything is returned as file contents, to be written together or not at all.
#pragma once

#include "common/file_write.h"
#include "document/export_naming.h"
#include "render/caption_rasterizer.h"
#include "render/render_settings.h"
#include "shape/move_box.h"

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
    int maxScale = 1;    // densities 1..maxScale are written; names carry "@2x", "@3x"
    bool sprite = false; // one picture per button and density, plus BASE.css
    bool html = false;   // BASE.html as well (implies sprite)
};

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
};

// captions empty: one button with the design's own caption, named from the base alone.
// Otherwise one button per caption, named BASE-NAME after uniqueCaptionNames. The shape
// field is computed once per density for the whole set. Throws with a user-facing message
// (a refused shape, a shape with no pixel); nothing is written here.
std::vector<FileContent> buildWebExport(const WebDesign& design, const WebExportRequest& request,
                                        const std::vector<std::string>& captions,
                                        const WebExportRun& run = {});

// The file names that buildWebExport gives, in its order, without rendering anything.
std::vector<std::filesystem::path> webExportNames(const WebExportRequest& request,
                                                  const std::vector<std::string>& captions);

} // namespace plakett
