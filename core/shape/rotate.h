// Rotation of the shape ("Rotate Shape" dialog): the absolute-angle bookkeeping, the
// rotation itself, its preview outline and the dial's angle.
#pragma once

#include "shape/contur.h"

#include <cstdint>

namespace plakett {

struct RotateState {
    std::int32_t RotateAngle = 0; // degrees, as last set by the angle field or the dial
    std::int32_t RotateBase = 0;  // the field's value when a rotation was last applied
};

// The angle field's value for an angle: the same direction within 1..360 (0 shows as 360).
std::int32_t RotateFieldValue(std::int32_t angle);

// Opening the dialog sets the field from RotateAngle, and the field's change sets it back.
void OpenRotateDialog(RotateState& state);
// The field or the dial set an angle (the dial's 0 becomes the field's 360).
void SetRotateAngle(RotateState& state, std::int32_t angle);

// The turn still to apply: (RotateAngle - RotateBase) mod 360, sign of the dividend.
std::int32_t RotationDegrees(const RotateState& state);

// Turns every point about the bounds' centre by `degrees` (counter-clockwise on screen) and
// every Bezier direction with it; ends with Changed.
void RotateShape(TContur& contur, std::int32_t degrees);
// "OK": rotates by RotationDegrees and records the field's value as the new base.
void ApplyRotation(TContur& contur, RotateState& state);

// The preview polyline: the editor outline turned about the bounds' centre into a w x h box
// and smoothed over three neighbours. The widget closes it with a line from first to last.
TArrayPoint RotatePreview(const TContur& contur, std::int32_t degrees, std::int32_t w,
                          std::int32_t h);

// Angle in degrees (0..360) for a press at (x, y) on the 100 x 100 dial.
std::int32_t DialAngle(std::int32_t x, std::int32_t y);
// End of the needle on the 200 x 200 double-size dial face.
TPoint DialNeedleEnd(std::int32_t angle);

} // namespace plakett
