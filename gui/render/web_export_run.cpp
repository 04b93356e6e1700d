#include "gui/render/web_export_run.h"

#include "gui/app/session.h"
#include "textraster/qt_caption_rasterizer.h"

#include <stdexcept>

namespace plakett {

WebDesign webDesignOf(Session& session) {
    return WebDesign{session.contour().FPoints, session.settings(), session.lights().lightMap()};
}

int exportForWeb(Session& session, const WebExportRequest& request) {
    if (session.states()[0].empty())
        throw std::runtime_error("There is no rendered button to export");
    WebExportRun run;
    run.rasterizers = [] { return std::make_unique<QtCaptionRasterizer>(); };
    const std::vector<FileContent> files = buildWebExport(webDesignOf(session), request, {}, run);
    writeFilesTogether(files);
    return static_cast<int>(files.size());
}

} // namespace plakett
