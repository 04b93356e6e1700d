// (a * b) >> 8 for two bytes, looked up instead of multiplied in the per-pixel blends.
#pragma once

#include <array>
#include <cstdint>

namespace plakett {

class MulTable {
  public:
    // Filled on first use; safe to call from any thread.
    static const MulTable& instance();

    std::uint8_t operator()(int a, int b) const { return m_cells[index(a, b)]; }
    // The 256 entries [a][0..255].
    const std::uint8_t* row(int a) const { return m_cells.data() + index(a, 0); }

  private:
    MulTable();
    static std::size_t index(int a, int b) {
        return static_cast<std::size_t>(a) * 256 + static_cast<std::size_t>(b);
    }
    std::array<std::uint8_t, 256 * 256> m_cells{};
};

} // namespace plakett
