// Command line of plakett-render.
#pragma once

#include "document/export_naming.h"
#include "image/color.h"

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
    // Web output: densities 1..scale, sprites with a style sheet and a page, captions.
    int scale = 1;
    bool sprite = false; // --html sets it too; without --format a sprite is PNG
    bool html = false;
    bool liveText = false;     // the caption as page text; implies sprite
    bool webpCopies = false;   // with PNG sprites: WebP copies offered first
    bool sheet = false;        // one picture per density for the whole set; implies sprite
    bool qualityGiven = false; // --quality makes WebP lossy
    std::optional<std::string> caption;
    std::string captionsPath;
    std::string glyphPath;      // an SVG icon or a BMP picture as the glyph
    std::optional<ColorRef> glyphColor; // what an SVG glyph's currentColor paints
    std::string outlineSvgPath; // also write the outline as SVG; OUTPUT may then be left out
    // The texture's centre against the image centre: a session setting, never in projects.
    int textureOriginX = 0;
    int textureOriginY = 0;
    std::string input;
    std::string output;
};

// Throws std::invalid_argument with a user-facing message on a bad command line.
CliOptions parseCliOptions(const std::vector<std::string>& args);

const char* usageText();

} // namespace plakett::cli
