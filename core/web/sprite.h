// One picture per button: its state images stacked top to bottom, so a page switches
// states by moving the background.
#pragma once

#include "image/image.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

namespace plakett {

// State indices top to bottom: 1 state: normal; 2: normal, pushed; 3: normal, hot, pushed.
std::vector<int> spriteStates(int stateCount);

// Row of the sprite that shows a state (0 normal, 1 hot, 2 pushed); the hot state of a
// two-state sprite is its normal row.
int spriteRow(int stateCount, int stateIndex);

template <class Pixel>
Image<Pixel> stackStates(const std::array<Image<Pixel>, 3>& states, int stateCount) {
    const std::vector<int> rows = spriteStates(stateCount);
    const Image<Pixel>& first = states[rows.front()];
    Image<Pixel> sprite(first.width(), first.height() * static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Image<Pixel>& s = states[rows[i]];
        if (s.width() != first.width() || s.height() != first.height())
            throw std::invalid_argument("state images of one button differ in size");
        for (int y = 0; y < s.height(); ++y)
            std::copy_n(s.scanline(y), s.width(),
                        sprite.scanline(static_cast<int>(i) * first.height() + y));
    }
    return sprite;
}

// The image cut or extended at its right and bottom edges to width x height, new pixels
// being `fill`. High-density images are brought to exactly s times the 1x size this way:
// the field's two outside columns and rows do not grow with the shape, so a scaled render
// can be a few pixels short of that, in its empty margin.
template <class Pixel>
Image<Pixel> fitToSize(const Image<Pixel>& image, int width, int height, Pixel fill) {
    if (image.width() == width && image.height() == height) return image;
    Image<Pixel> out(width, height, fill);
    const int w = std::min(width, image.width());
    for (int y = 0; y < std::min(height, image.height()); ++y)
        std::copy_n(image.scanline(y), w, out.scanline(y));
    return out;
}

} // namespace plakett
