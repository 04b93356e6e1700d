// Whole-shape transforms of the contour editor: centre, flips, scaling and the zoom.
// They work on the editor's bounds as of its last outline update and end with Changed.
#pragma once

#include "shape/contur.h"

#include <cstdint>
#include <vector>

namespace plakett {

// Moves the shape so that its bounds sit in the middle of the editor.
void Center(TContur& contur);

// Mirror in a vertical line ("From Right to Left") or a horizontal one ("From Top to
// Bottom"); the ring is reversed so that it keeps its orientation. Deselects, then centres.
void FlipRightToLeft(TContur& contur);
void FlipTopToBottom(TContur& contur);

// Proportional scale about the origin by f = width / w0. Does nothing (false) when w0 <= 0.
bool ScaleProportional(TContur& contur, std::int32_t width, std::int32_t w0);

// Turns every Auto point into a Bezier point whose controls stay where they were.
void FreezeAutoPoints(std::vector<TMoveBox>& points);

// Free scale about the origin by width / w0 and height / h0, Auto points frozen first.
// An axis whose base size is <= 0 keeps its scale 1. A Bezier direction that the scale
// collapses to (0, 0) keeps its former direction and lengths.
void ScaleFree(TContur& contur, std::int32_t width, std::int32_t height, std::int32_t w0,
               std::int32_t h0);

struct ZoomState {
    bool FActualSize = true;
};

// "Increased Shape Size": three times larger, centred. Acts only at actual size and only on
// a shape with a width; returns whether it acted.
bool Enlarge(TContur& contur, ZoomState& zoom);
// "Actual Shape Size": back by width div 3, centred. Acts only when enlarged; a shape
// without width is left as it is but counts as actual size again.
bool ActualSize(TContur& contur, ZoomState& zoom);

} // namespace plakett
