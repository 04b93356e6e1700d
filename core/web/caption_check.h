// Warnings about a caption that will not come out whole: cut off by the image, or holding
// characters that no installed font draws (they come out as empty boxes).
#pragma once

#include "render/caption_rasterizer.h"
#include "render/render_settings.h"

#include <string>
#include <vector>

namespace plakett {

// One line per problem of text.caption on a base image of baseWidth x baseHeight at
// density 1, naming the caption; none when it fits and every character is drawn (or there
// is no caption or no rasterizer).
std::vector<std::string> captionWarnings(const TextLive& text, int baseWidth, int baseHeight,
                                         CaptionRasterizer* rasterizer);

} // namespace plakett
