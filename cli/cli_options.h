// Command line of plakett-render.
#pragma once

#include "document/export_naming.h"

#include <optional>
#include <string>
#include <vector>

namespace plakett::cli {

struct CliOptions {
    int states = 3;
    ExportFormat format = ExportFormat::Bmp;
    int quality = 90;
    std::string stylePath;
    bool timings = false;
    bool help = false;
    bool version = false;
    std::string input;
    std::string output;
};

// Throws std::invalid_argument with a user-facing message on a bad command line.
CliOptions parseCliOptions(const std::vector<std::string>& args);

const char* usageText();

} // namespace plakett::cli
