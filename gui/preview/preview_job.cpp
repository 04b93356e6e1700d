#include "gui/preview/preview_job.h"

#include "gui/app/session.h"
#include "gui/widgets/error_box.h"
#include "render/button_renderer.h"
#include "shape/contur.h"
#include "shape/render_refusal.h"
#include "shape/transforms.h"

#include <exception>

namespace plakett {

PreviewJob snapshotForPreview(Session& session, std::uint64_t serial) {
    PreviewJob job;
    job.serial = serial;
    const TContur& contour = session.contour();
    job.points = contour.FPoints;
    job.selected = contour.FSelected;
    job.actualSize = session.zoom().FActualSize;
    job.editorWidth = contour.width();
    job.editorHeight = contour.height();
    job.lights = session.lights();
    job.lights.onLightMapChanged = nullptr;
    job.lights.onButtonColorChosen = nullptr;
    job.lights.onPadPainted = nullptr;
    job.settings = session.settings();
    return job;
}

namespace {

// The Render button's refusals, on a contour that has the job's points.
std::string refusalOf(const TContur& c) {
    if (c.FMaxX - c.FMinX < 2 || c.FMaxY - c.FMinY < 2) return "Shape is too small";
    return renderRefusal(c.FPoints);
}

} // namespace

PreviewResult renderPreview(PreviewJob job, CaptionRasterizer* captions,
                            const std::atomic<bool>* cancel) {
    PreviewResult result;
    result.serial = job.serial;
    try {
        TContur contour(job.editorWidth, job.editorHeight);
        contour.setPoints(std::move(job.points));
        contour.FSelected = job.selected;
        contour.FOutlineChanged = 1;
        contour.UpdateBounds();
        if (result.refusal = refusalOf(contour); !result.refusal.empty()) return result;
        ZoomState zoom{job.actualSize};
        ActualSize(contour, zoom);
        if (result.refusal = renderRefusal(contour.FPoints); !result.refusal.empty()) return result;
        ButtonRenderer renderer;
        FieldControl control;
        control.cancelRequested = cancel;
        if (!renderer.enter(contour.FPoints, job.settings, control)) return result;
        job.lights.setRenderMode(true);
        job.lights.UpdateGradient();
        result.normal = renderer.renderState(job.lights.lightMap(), job.settings, captions, 0);
    } catch (const std::exception& e) {
        result.refusal = errorText(e).toStdString();
    }
    return result;
}

} // namespace plakett
