// Reading SVG path data (the "d" attribute) into subpaths of cubic segments.
#pragma once

#include "shape/svg_curves.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace plakett::svg {

struct SubPath {
    Vec2 start;
    std::vector<Cubic> segments; // lines, quadratics and arcs already as cubics
    bool closed = false;         // ended by Z (the closing line is among the segments)
};

// Reads path data as SVG renders it: up to the first error, keeping what came before.
// Throws ShapeError when a number is not finite or the segments would pass `maxSegments`
// (counted together with `segmentsSoFar`, so that a document has one budget).
// Arcs are drawn within `arcTolerance` (user units) of their ellipse.
std::vector<SubPath> parsePathData(std::string_view d, std::size_t maxSegments,
                                   std::size_t segmentsSoFar = 0, double arcTolerance = 0.01);

// Numbers of an attribute such as a polygon's "points": separated by blanks and commas;
// reading stops at the first thing that is not a number. Throws ShapeError on a non-finite
// number or more than maxCount numbers.
std::vector<double> parseNumberList(std::string_view text, std::size_t maxCount);

} // namespace plakett::svg
