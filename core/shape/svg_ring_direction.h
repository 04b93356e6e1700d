// Which way a ring of cubics runs, and turning it round.
#pragma once

#include "shape/svg_curves.h"

#include <vector>

namespace plakett::svg {

// Signed area in editor coordinates (y down), from the cubics' exact area
// integrals: negative for the way the shapes shipped in data/Buttons run.
double signedArea(const std::vector<Cubic>& ring);

// The ring run the other way, starting at the same first point.
std::vector<Cubic> reversedRing(const std::vector<Cubic>& ring);

// The ring as the shipped shapes run (their lighting depends on it).
std::vector<Cubic> inShippedDirection(std::vector<Cubic> ring);

} // namespace plakett::svg
