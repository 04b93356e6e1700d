// Pixel buffers of the core: explicit size, explicit byte order, bounds-checked rows.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace plakett {

// 24-bit picture pixel, stored blue, green, red in memory.
struct Bgr24 {
    std::uint8_t b = 0;
    std::uint8_t g = 0;
    std::uint8_t r = 0;
    friend bool operator==(const Bgr24&, const Bgr24&) = default;
};
static_assert(sizeof(Bgr24) == 3);

// 32-bit work pixel: 0x00RRGGBB (blue in the low byte).
using Xrgb32 = std::uint32_t;
// Mask or coverage byte.
using Gray8 = std::uint8_t;

template <class Pixel> class Image {
  public:
    Image() = default;
    Image(int width, int height, Pixel fill = Pixel{}) { reset(width, height, fill); }

    void reset(int width, int height, Pixel fill = Pixel{}) {
        if (width < 0 || height < 0) throw std::invalid_argument("negative image size");
        m_width = width;
        m_height = height;
        m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    }

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool empty() const { return m_width == 0 || m_height == 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    Pixel* scanline(int y) {
        checkRow(y);
        return m_pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    const Pixel* scanline(int y) const {
        checkRow(y);
        return m_pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }

    Pixel& at(int x, int y) { return m_pixels[index(x, y)]; }
    const Pixel& at(int x, int y) const { return m_pixels[index(x, y)]; }

    void fill(Pixel p) { std::fill(m_pixels.begin(), m_pixels.end(), p); }
    std::vector<Pixel>& pixels() { return m_pixels; }
    const std::vector<Pixel>& pixels() const { return m_pixels; }

    friend bool operator==(const Image&, const Image&) = default;

  private:
    void checkRow(int y) const {
        if (y < 0 || y >= m_height) throw std::out_of_range("image row out of range");
    }
    std::size_t index(int x, int y) const {
        if (!contains(x, y)) throw std::out_of_range("pixel out of range");
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
               static_cast<std::size_t>(x);
    }

    int m_width = 0;
    int m_height = 0;
    std::vector<Pixel> m_pixels;
};

using Bgr24Image = Image<Bgr24>;
using Xrgb32Image = Image<Xrgb32>;
using Gray8Image = Image<Gray8>;

} // namespace plakett
