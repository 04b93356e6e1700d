#include "gui/render/web_export_run.h"

#include "gui/app/session.h"
#include "textraster/qt_caption_rasterizer.h"
#include "web/caption_check.h"

#include <stdexcept>

namespace plakett {

WebDesign webDesignOf(Session& session) {
    return WebDesign{session.contour().FPoints, session.settings(), session.lights().lightMap()};
}

int exportForWeb(Session& session, const WebExportRequest& request,
                 const std::vector<std::string>& captions, std::vector<std::string>* warnings) {
    if (session.states()[0].empty())
        throw std::runtime_error("There is no rendered button to export");
    WebExportRun run;
    run.rasterizers = [] { return std::make_unique<QtCaptionRasterizer>(); };
    if (warnings != nullptr)
        run.warning = [warnings](const std::string& w) { warnings->push_back(w); };
    return static_cast<int>(writeWebExport(webDesignOf(session), request, captions, run));
}

std::vector<std::string> sessionCaptionWarnings(Session& session) {
    if (session.states()[0].empty()) return {};
    QtCaptionRasterizer rasterizer;
    const QSize size = session.coverageSize();
    return captionWarnings(session.settings().text, size.width(), size.height(), &rasterizer);
}

} // namespace plakett
