#include "library_styles.h"

namespace plakett::tools {

namespace {

constexpr ColorRef rgb(int r, int g, int b) {
    return makeColorRef(r, g, b);
}

} // namespace

// Lights only add colour, so the button colour is the darkest the button gets: dark colours
// give contrast, light ones a soft look. A light's cone falls off linearly over its height,
// and the rim of the shape looks up the rim of the map, its face the centre.
const std::vector<Style>& libraryStyles() {
    static const std::vector<Style> all = {
        // A broad key light from above for the cushion, a small bright one for the
        // highlight, and a coloured glow from below that the curved lower rim catches.
        {"Aqua",
         rgb(20, 92, 170),
         {{32, 16, rgb(200, 230, 255), 120, 45},
          {25, 11, rgb(255, 255, 255), 44, 50},
          {32, 58, rgb(70, 200, 255), 72, 40}}},
        {"Ruby",
         rgb(138, 12, 30),
         {{32, 16, rgb(255, 190, 190), 120, 42},
          {25, 11, rgb(255, 240, 240), 42, 52},
          {32, 58, rgb(255, 70, 80), 70, 36}}},
        {"Graphite",
         rgb(52, 56, 64),
         {{32, 15, rgb(215, 222, 235), 124, 50},
          {25, 11, rgb(255, 255, 255), 40, 46},
          {32, 59, rgb(130, 160, 210), 66, 26}}},
        {"Sunset",
         rgb(200, 72, 28),
         {{32, 15, rgb(255, 210, 120), 120, 40},
          {25, 11, rgb(255, 250, 225), 40, 42},
          {32, 58, rgb(255, 40, 120), 80, 40},
          {58, 34, rgb(255, 150, 40), 56, 24}}},
        {"Mint",
         rgb(36, 150, 112),
         {{32, 16, rgb(220, 255, 235), 116, 38},
          {25, 11, rgb(255, 255, 255), 40, 44},
          {32, 58, rgb(150, 255, 210), 64, 28}}},
        {"Gold",
         rgb(150, 100, 16),
         {{32, 15, rgb(255, 225, 140), 120, 46},
          {25, 11, rgb(255, 250, 215), 42, 48},
          {32, 58, rgb(255, 190, 60), 70, 34}}},
        // Near black with one small hard highlight and a faint cool rim below.
        {"GlossyBlack",
         rgb(10, 10, 14),
         {{32, 6, rgb(255, 255, 255), 60, 70},
          {32, 20, rgb(120, 130, 150), 110, 16},
          {32, 62, rgb(90, 120, 200), 56, 30}}},
        // One broad, weak light from the upper left and nothing shiny.
        {"MatteSlate", rgb(70, 84, 100), {{20, 16, rgb(230, 235, 240), 200, 30}}},
        // Bright top and bottom rims over a lighter face, like polished metal.
        {"Silver",
         rgb(86, 90, 100),
         {{32, 2, rgb(255, 255, 255), 130, 90},
          {32, 64, rgb(255, 255, 255), 70, 90},
          {32, 32, rgb(200, 210, 225), 200, 20}}},
        {"Copper",
         rgb(90, 38, 18),
         {{32, 0, rgb(255, 190, 140), 120, 80},
          {32, 64, rgb(255, 150, 90), 84, 60},
          {24, 14, rgb(255, 235, 210), 40, 50}}},
        // Pale colour, lit evenly and softly from the front.
        {"PastelPink", rgb(226, 170, 190), {{32, 24, rgb(255, 255, 255), 200, 24}}},
        {"PastelSky", rgb(160, 200, 232), {{32, 24, rgb(255, 255, 255), 200, 24}}},
        // Two coloured lights from opposite sides over a dark base.
        {"NeonDuo",
         rgb(34, 10, 52),
         {{10, 10, rgb(255, 40, 200), 150, 70}, {54, 54, rgb(30, 220, 255), 150, 70}}},
        // Warm light from above and violet from below, like a sky after sunset.
        {"Dusk",
         rgb(34, 40, 96),
         {{32, 2, rgb(255, 140, 40), 104, 90}, {32, 62, rgb(150, 80, 255), 92, 80}}},
        // A low light in the middle: the face is lit, the rim falls away into deep shade.
        {"DeepCushion", rgb(28, 12, 52), {{32, 28, rgb(255, 220, 255), 90, 95}}},
    };
    return all;
}

StyleData styleData(const Style& s) {
    StyleData d;
    d.buttonColor = s.button;
    for (std::size_t i = 0; i < s.lights.size() && i < d.lights.size(); ++i) {
        const Light& l = s.lights[i];
        d.lights[i] = StyleLight{1, l.padX, l.padY, l.color, l.radius, l.power};
    }
    return d;
}

} // namespace plakett::tools
