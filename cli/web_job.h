// plakett-render's web output: densities, sprites, style sheet, page and caption sets.
#pragma once

#include "cli_options.h"
#include "web/web_export.h"

#include <iosfwd>

namespace plakett::cli {

// True when the options ask for more than the plain state images.
bool wantsWebOutput(const CliOptions& options);

// Renders and writes everything the options ask for, all files or none. Batches report
// their progress on `progress`: a bar when it is a terminal, plain lines otherwise.
void runWebJob(const CliOptions& options, WebDesign design, std::ostream& progress);

} // namespace plakett::cli
