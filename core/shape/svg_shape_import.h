// A shape from an SVG file: the largest closed outline it draws, run the way the shipped
// shapes run, as control points at one editor pixel per SVG px (or scaled to a width).
#pragma once

#include "shape/move_box.h"
#include "shape/svg_curves.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace plakett {

// Positions beyond this many editor pixels from the origin are refused.
inline constexpr double kMaxSvgCoordinate = 1000000;

// The chosen outline before it becomes control points.
struct SvgOutline {
    std::vector<svg::Cubic> ring; // editor pixels, in the shipped shapes' direction
    double width = 0;             // as drawn
};

// Throws ShapeError with a reason that does not name the file.
SvgOutline readSvgOutline(std::string_view xml);
// Control points of the outline scaled about the origin to `width` (0: as drawn).
std::vector<TMoveBox> svgOutlinePoints(const SvgOutline& outline, double width = 0);
std::vector<TMoveBox> readSvgShape(std::string_view xml);

// The file versions: ShapeError names the file; `points` is replaced only on success.
SvgOutline LoadSvgOutline(const std::filesystem::path& fileName);
void LoadSvgFile(const std::filesystem::path& fileName, std::vector<TMoveBox>& points,
                 double width = 0);

bool isSvgFileName(const std::filesystem::path& fileName);

// A shape file of either kind, told apart by the extension ".svg".
void LoadAnyShapeFile(const std::filesystem::path& fileName, std::vector<TMoveBox>& points);

} // namespace plakett
