// One request for the live preview: a snapshot of everything the normal state depends on,
// taken on the GUI thread, so the worker never touches the session.
#pragma once

#include "effects/light_editor.h"
#include "image/image.h"
#include "render/render_settings.h"
#include "shape/move_box.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace plakett {

class CaptionRasterizer;
class Session;

struct PreviewJob {
    std::uint64_t serial = 0; // number of the edit it was taken after; newer is larger
    std::vector<TMoveBox> points;
    std::int32_t selected = -1; // the selected point's handles count in the bounds
    bool actualSize = true;     // false while the editor shows the shape enlarged
    int editorWidth = 0;
    int editorHeight = 0;
    LightEditor lights; // callbacks cleared
    RenderSettings settings;
};

struct PreviewResult {
    std::uint64_t serial = 0;
    Bgr24Image normal;   // empty when the shape cannot be rendered
    std::string refusal; // why not, in the Render button's words
};

PreviewJob snapshotForPreview(Session& session, std::uint64_t serial);

// Exactly what the Render button would then show as the normal state: actual size, field,
// shadow mask, clamped offsets, light map, states.
// A set `cancel` stops the field early and gives an empty image.
PreviewResult renderPreview(PreviewJob job, CaptionRasterizer* captions,
                            const std::atomic<bool>* cancel = nullptr);

} // namespace plakett
