// The outline: one sampled cubic Bezier segment between every pair of neighbouring control
// points, at editor scale (closed polygon for the editor) or double scale (for rendering).
#pragma once

#include "shape/move_box.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace plakett {

using TArrayPoint = std::vector<TPoint>;
using BoxesArray = std::vector<TMoveBox>;

// Control length of an Auto point, in percent of the distance to the neighbour on that side.
inline constexpr std::int32_t AutoTension = 30;

// Far beyond any drawable shape; a ring that would need more is refused rather than allocated.
inline constexpr std::int64_t kMaxOutlinePoints = 10000000;

struct TBezierNode {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    float InX = 0.0f; // incoming control (used by the segment ending here)
    float InY = 0.0f;
    float OutX = 0.0f; // outgoing control (used by the segment starting here)
    float OutY = 0.0f;
};
using TArrayBezierPoint = std::vector<TBezierNode>;

// The controls of an Auto point and what they are made of: the tangent angle d (radians) and
// the control lengths L1 toward the previous and L2 toward the next neighbour.
struct AutoControlSet {
    float InX = 0.0f;
    float InY = 0.0f;
    float OutX = 0.0f;
    float OutY = 0.0f;
    float d = 0.0f;
    float L1 = 0.0f;
    float L2 = 0.0f;
};

// Angle of (dx, dy) in [0, 2 pi), slightly biased by the 0.01 the outline is defined with.
float VectorAngle(float dx, float dy);
AutoControlSet AutoControls(TPoint previous, TPoint current, TPoint next);
TPoint BezierPoint(const TBezierNode& a, const TBezierNode& b, float t);

// Segment length as the outline measures it: 32-bit sum of squares, rooted, as float32.
float SegmentLength(TPoint a, TPoint b);
std::int32_t EditorSteps(float dist); // T div 2 + T div 4 + 2
std::int32_t DoubleSteps(float dist); // Trunc(3 dist) + 3

// The double-scale outline's removal of consecutive equal points, ring-wise, including its
// quirk of keeping one repeat of a run at the very start.
void RemoveRingDuplicates(TArrayPoint& outline);

class ComputePoints {
  public:
    TArrayPoint FOutline;
    TArrayPoint FInput;                 // positions, one per control point
    const BoxesArray* FBoxes = nullptr; // types and Bezier data; only read
    std::uint8_t FDoubleRes = 0;        // 0: editor scale, otherwise double scale
    std::function<void()> FOnComputed;  // after an editor-scale computation
    std::int32_t FCount = 0;

    // Rewrites FOutline from FInput and FBoxes (equal sizes). 0 points give an empty outline,
    // 1 point that point (closed at editor scale). Throws ShapeError when the ring would need
    // more than kMaxOutlinePoints; FOutline is then unchanged.
    void Compute();
    void AddSegment(const TBezierNode& a, const TBezierNode& b);

    // The nodes BuildSegments draws between, positions and lengths times `scale`.
    TArrayBezierPoint buildNodes(std::int32_t scale) const;

  private:
    void BuildSegments();
};

// The render outline of a ring (double scale), leaving the ring untouched.
TArrayPoint ComputeRenderOutline(const std::vector<TMoveBox>& points);
// The closed editor-scale polygon of a ring, as the contour editor shows it.
TArrayPoint ComputeEditorOutline(const std::vector<TMoveBox>& points);
// The editor-scale nodes of a ring: each point with the controls its segments use.
TArrayBezierPoint EditorBezierNodes(const std::vector<TMoveBox>& points);

} // namespace plakett
