// The export window's web output: the session's design through the core's web export,
// written all together or not at all.
#pragma once

#include "web/web_export.h"

namespace plakett {

class Session;

// The design as the last Render drew it (points at actual size, live settings, light map).
WebDesign webDesignOf(Session& session);

// Renders and writes every file of the request; throws with a user-facing text, and then
// nothing was written. Returns the number of files written.
int exportForWeb(Session& session, const WebExportRequest& request);

} // namespace plakett
