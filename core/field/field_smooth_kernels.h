// The passes of SmoothMap on one column (or a few) at a time. Horizontal kernels need the
// column before (already smoothed) and after (not yet) and are independent across rows;
// vertical kernels run down their column, each cell using the new value above it. All of
// them touch rows 1 .. rows - 2 only.
#pragma once

#include "common/matrix.h"

#include <cstdint>

namespace plakett::smoothkernels {

// The map's cells repacked in place, column-major, as (u, v) two int16 in 32 bits with u
// in the low half, in the first half of the map's own storage (no second buffer to fault
// in). Holds any map whose components lie within +-kPackedLimit: sums of three then still
// fit, and means and repairs never leave the range. The map reads as garbage until the
// view is unpacked.
class PackedMap {
  public:
    static constexpr int kPackedLimit = 10922;

    // What a map's values allow. Signs: every cell is (-1, -1) or has no negative
    // component; then every mean taken has a sum of at least 0, and means and repairs
    // keep it so.
    struct Range {
        bool fits = true;
        bool signs = true;
    };
    static Range range(const Matrix& map);
    // The view, with nothing packed yet; map must fit and must not be empty. `signs` as
    // found by range().
    PackedMap(Matrix& map, bool signs);
    // Packs columns [x0, x1), all of them in ascending order over the calls.
    void packColumns(int x0, int x1);
    void unpack();

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    bool signs() const { return m_signs; }
    using CellType = std::uint32_t;
    std::uint32_t* column(int x) { return m_cells + static_cast<std::size_t>(x) * m_rows; }

  private:
    Matrix& m_map;
    int m_columns;
    int m_rows;
    bool m_signs;
    std::uint32_t* m_cells;
};

// `left` stands for column x - 1 (or x0 - 1) where given.
void horizontalMean(PackedMap& map, int x, const std::uint32_t* left);
void horizontalRepair(PackedMap& map, int x);
void verticalMean(PackedMap& map, int x0, int x1);
void verticalRepair(PackedMap& map, int x0, int x1);
// A horizontal mean and then a vertical mean of columns [x0, x1), leaving them as the two
// whole-map passes would, given `left` as the horizontal mean left it. Column x1 - 1 as the
// horizontal mean leaves it goes to `saved`, rows() cells, which may be `left`.
void horizontalVerticalMean(PackedMap& map, int x0, int x1, const std::uint32_t* left,
                            std::uint32_t* saved);

// The widest kernels in use, in cells per register: 16 or 8 where the processor has them,
// else 4. Tests narrow it to check every width against the reference.
int kernelWidth();
void setKernelWidth(int cells); // the widest the processor has, at most `cells`

namespace wide {
bool available();
// The eight-cell part of a kernel: returns the first row (column) it left to the caller.
int horizontalMean(PackedMap& map, int x, const std::uint32_t* left);
int verticalMean(PackedMap& map, int x0, int x1);
// The columns from x0 in whole groups of eight; returns the first column it left.
int horizontalVerticalMean(PackedMap& map, int x0, int x1, const std::uint32_t* left,
                           std::uint32_t* saved);
} // namespace wide

namespace widest {
bool available();
// The columns from x0 in whole groups of sixteen; returns the first column it left.
int horizontalVerticalMean(PackedMap& map, int x0, int x1, const std::uint32_t* left,
                           std::uint32_t* saved);
} // namespace widest

// The same on plain cells, for maps with larger values.
void horizontalMean(Matrix& map, int x, const IntPoints* left);
void horizontalRepair(Matrix& map, int x);
void verticalMean(Matrix& map, int x0, int x1);
void verticalRepair(Matrix& map, int x0, int x1);
void horizontalVerticalMean(Matrix& map, int x0, int x1, const IntPoints* left, IntPoints* saved);

} // namespace plakett::smoothkernels
