// The lighting styles shipped in data/Styles: a button colour and up to four lights each.
#pragma once

#include "effects/style_data.h"

#include <vector>

namespace plakett::tools {

struct Light {
    int padX, padY; // 0..64 on the placement pad; 32, 32 faces the viewer
    ColorRef color;
    int radius; // "Height", 40..200
    int power;  // "Intensity", 0..100
};

struct Style {
    const char* name;
    ColorRef button;
    std::vector<Light> lights; // one to four; the first is always on
};

const std::vector<Style>& libraryStyles();

StyleData styleData(const Style& s);

} // namespace plakett::tools
