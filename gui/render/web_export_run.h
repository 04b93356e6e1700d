// The export window's web output: the session's design through the core's web export,
// written all together or not at all.
#pragma once

#include "web/web_export.h"

#include <string>
#include <vector>

namespace plakett {

class Session;

// The design as the last Render drew it (points at actual size, live settings, light map).
WebDesign webDesignOf(Session& session);

// Renders and writes every file of the request (one button per caption line, or the
// design's own caption when there are none); throws with a user-facing text, and then
// nothing was written. Returns the number of files written; `warnings` receives what
// captionWarnings finds.
int exportForWeb(Session& session, const WebExportRequest& request,
                 const std::vector<std::string>& captions = {},
                 std::vector<std::string>* warnings = nullptr);

// The caption warnings (web/caption_check.h) of the session's design as rendered last.
std::vector<std::string> sessionCaptionWarnings(Session& session);

} // namespace plakett
