// A shape written as SVG: its outline as one cubic path at editor scale, in ring order, so
// that a page (CSS clip-path) or another editor draws exactly the curve Plakett draws.
#pragma once

#include "shape/move_box.h"

#include <filesystem>
#include <string>
#include <vector>

namespace plakett {

// Path data "M x y C ... Z": straight "L" between Corner points, "C" with the outline's own
// controls elsewhere (Auto points' computed ones included). Empty for an empty ring.
std::string outlinePathData(const std::vector<TMoveBox>& points);

// A standalone SVG document whose viewBox spans the outline's editor-scale bounds.
std::string shapeSvgText(const std::vector<TMoveBox>& points);

// Written through a temporary file that replaces fileName only when complete; throws
// ShapeError naming the file.
void SaveSvgFile(const std::vector<TMoveBox>& points, const std::filesystem::path& fileName);

} // namespace plakett
