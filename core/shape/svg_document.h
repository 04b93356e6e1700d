// The closed outlines an SVG document draws, in editor pixels. The one place that parses XML.
#pragma once

#include "shape/svg_curves.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace plakett::svg {

// A closed subpath of a <path>, <rect>, <circle>, <ellipse> or <polygon>, every transform
// and the root's viewBox applied: one SVG px (or, without width and height, one user unit)
// is one editor pixel.
struct ClosedRing {
    std::vector<Cubic> segments; // end to end, the last ending where the first starts
};

// Throws ShapeError (text without the file name) when the XML is not well formed, the root
// is not <svg>, a number is not finite or there are more segments than kMaxShapePoints.
// DTD entities are never expanded: an entity reference stays literal text.
std::vector<ClosedRing> closedRings(std::string_view xml);

} // namespace plakett::svg
