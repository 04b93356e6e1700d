// The "Resize Shape" dialog without its window: the two size fields, the aspect-ratio box,
// the preview outline and "OK".
#pragma once

#include "shape/contur.h"

#include <cstdint>
#include <string_view>

namespace plakett {

struct ScaleDialogState {
    std::int32_t w0 = 0; // bounds width and height when the dialog opened
    std::int32_t h0 = 0;
    std::int32_t Width = 0; // the fields "Width" and "Height"
    std::int32_t Height = 0;
    std::int32_t maxWidth = 0; // the steppers' maxima; fields stay within 0..max
    std::int32_t maxHeight = 0;
    bool keepAspect = false;     // "Maintain original aspect ratio"
    bool ResizeUpdating = false; // set by the window while it writes one field from the other
};

// Opening (after the zoom has been released): sizes from the bounds, maxima 4 x the editor's
// size within the steppers' 16-bit range.
ScaleDialogState OpenScaleDialog(const TContur& contur, bool keepAspect);

// A field's text changed. Non-integer text and changes while ResizeUpdating are ignored
// (false). With the aspect box checked the other field follows; it stays as it was when its
// base size is 0.
bool WidthFieldChanged(ScaleDialogState& state, std::string_view text);
bool HeightFieldChanged(ScaleDialogState& state, std::string_view text);

// The aspect box was checked or unchecked (keepAspect already holds the new state): both
// sizes from the average of the two factors in 1/128 steps. Nothing when w0 or h0 is 0.
void AspectBoxClicked(ScaleDialogState& state);

struct ScalePreview {
    std::int32_t width = 0; // size of the preview paint box
    std::int32_t height = 0;
    TArrayPoint polyline; // closed: the first point repeated at the end
};
ScalePreview ComputeScalePreview(const TContur& contur, const ScaleDialogState& state);

// "OK": proportional with the box checked, free otherwise. The caller centres afterwards.
void ApplyScaleDialog(TContur& contur, const ScaleDialogState& state);

} // namespace plakett
