// Smooth enlargement of the user's pictures (glyph, texture tile) by a whole factor, for
// the @2x / @3x outputs.
#pragma once

#include "image/image.h"

#include <optional>
#include <vector>

namespace plakett {

// How the enlargement treats the picture's edges.
enum class UpscaleEdges { Clamp, Wrap };

// Bilinear enlargement with pixel centres aligned: output pixel i samples the source at
// (i + 0.5) / factor - 0.5. Pixels of the key colour stay exact where the nearest source
// pixel is the key and are never blended into their neighbours, so a keyed glyph keeps a
// clean transparent area.
Bgr24Image upscaleSmooth(const Bgr24Image& source, int factor, UpscaleEdges edges,
                         std::optional<Bgr24> key = std::nullopt);

// Only the given rows and columns (indices into the whole enlargement, within it) of
// upscaleSmooth's result: the same bytes, at the cost of the part that is drawn.
Bgr24Image upscaleSmoothPart(const Bgr24Image& source, int factor, UpscaleEdges edges,
                             std::optional<Bgr24> key, const std::vector<int>& rows,
                             const std::vector<int>& columns);

// A texture repeats every width - 1 columns (its last column is never drawn) and every
// height rows: the tile is enlarged with wrapped edges and keeps one unused last column.
Bgr24Image upscaleTexture(const Bgr24Image& texture, int factor);

} // namespace plakett

namespace plakett {

// The same for upscaleTexture: rows and columns of its result.
Bgr24Image upscaleTexturePart(const Bgr24Image& texture, int factor, const std::vector<int>& rows,
                              std::vector<int> columns);

} // namespace plakett
