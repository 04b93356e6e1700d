// Drawing a picture prepared at twice the size onto a canvas at the final size: 2x2 means,
// with the canvas showing through where the picture has nothing, optionally blended with
// the canvas by a level L (each channel (mean * (255 - L) + canvas * L) >> 8).
#pragma once

#include "image/color.h"
#include "image/image.h"

#include <cstdint>

namespace plakett {

// Source pixels whose colour equals key show the canvas; the work picture is
// (source width div 2) x (source height div 2) at (x, y), and what falls beyond the
// canvas is dropped. level 0 leaves the mean as it is.
void HalfSizeBlend(int x, int y, Bgr24Image& canvas, const Bgr24Image& source, ColorRef key,
                   int level);

// 0xAARRGGBB: a colour with its coverage alpha; alpha 0 means nothing is drawn there.
using Argb32 = std::uint32_t;

// A colour-and-coverage picture at twice the canvas scale. Pixel (0, 0) lies at
// (left, top) in double-scale canvas coordinates; everywhere else counts as alpha 0.
struct CoverageLayer {
    int left = 0;
    int top = 0;
    Image<Argb32> pixels;
};

// The caption's half-size pass at (0, 0) over the whole canvas. A source pixel of alpha a
// and colour c takes (c * a + canvas * (255 - a) + 127) / 255 per channel before the
// 2x2 mean, so alpha 0 is exactly the canvas and alpha 255 exactly the colour; the rest
// is HalfSizeBlend. With an empty layer and level != 0 every channel v becomes
// (v * 255) >> 8.
void HalfSizeBlendCoverage(Bgr24Image& canvas, const CoverageLayer& layer, int level);

} // namespace plakett
