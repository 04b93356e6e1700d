// The drop shadow: the blurred mask, placing the button over it, and snapping
// near-background pixels to the background colour.
#pragma once

#include "image/image.h"

namespace plakett {

// The mask's margin around the coverage raster on each side, at density 1. At density s
// (the @2x / @3x outputs) every length of the shadow grows by s.
inline constexpr int kShadowMargin = 26;

// Width or height of the shadow mask for a coverage raster of `coverage` pixels: one more
// than the state image, whose margins total 53 pixels at density 1.
inline int shadowMaskSize(int coverage, int scale = 1) {
    return coverage + 53 * scale + 1;
}

struct ShadowOffset {
    int dx = 0;
    int dy = 0;
};

// (Round(cos a * height), Round(-sin a * height)), a = angle in degrees, counter-clockwise.
ShadowOffset ShadowOffsetFor(int angle, int height);

// Zeroes what a 5-pixel pen clears along the mask's closed border and along the line one
// row above the bottom; at density s the cleared bands are s times as wide.
void ClearShadowBorder(Gray8Image& mask, int scale = 1);

// One 3x3 blur pass of mask into target (rows 1..H-3, columns 1..W-2 are written; the rest
// of target keeps what it holds).
void BlurShadowPass(const Gray8Image& mask, Gray8Image& target);

// The shadow colour over the background by mask value, the button placed at the margin
// moved by (-dx, -dy), weighted by coverage over the shadow. button and coverage are
// Wc x Hc, mask (Wc + 54) x (Hc + 54); the result is (Wc + 53) x (Hc + 53). At density s
// the margin is 26 s and the sizes follow shadowMaskSize. Throws std::invalid_argument
// when the sizes disagree.
Bgr24Image ComposeWithShadow(const Bgr24Image& button, const Gray8Image& coverage,
                             const Gray8Image& mask, ShadowOffset offset, Bgr24 background,
                             Bgr24 shadow, int scale = 1);

// Every pixel within 2 of the background in each channel becomes the background exactly.
void SnapToBackground(Bgr24Image& image, Bgr24 background);

} // namespace plakett
