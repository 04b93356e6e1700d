// plakett-render's work: load a design, render its states, write the chosen files.
#pragma once

#include "cli_options.h"

#include <iosfwd>

namespace plakett::cli {

// Throws with a user-facing message; nothing is written unless every file can be.
void runRenderJob(const CliOptions& options, std::ostream& timings);

} // namespace plakett::cli
