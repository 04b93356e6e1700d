// Background textures shipped in data/Backgrounds, drawn from deterministic noise so every
// run gives the same pictures. The renderer repeats a texture every width - 1 columns and
// every height rows, so each is drawn with that period and its last column repeats the first.
#pragma once

#include "image/image.h"

#include <string>
#include <vector>

namespace plakett::tools {

struct NamedTexture {
    std::string fileName;
    Bgr24Image picture;
};

std::vector<NamedTexture> libraryTextures();

} // namespace plakett::tools
