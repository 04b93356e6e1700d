// The interpolation pass without scanning the whole outline per cell: the outline points
// are indexed by row, column and both diagonals, and per-line cursors follow the cells.
#pragma once

#include "field/field_line_lists.h"
#include "common/matrix.h"

#include <vector>

namespace plakett {

class OutlineIndex {
  public:
    // `outline` lies in the raster frame [0, columns) x [0, rows).
    OutlineIndex(const PointsArray& outline, int columns, int rows);

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    int mainDiagonal(int x, int y) const { return x - y + m_rows - 1; }
    int antiDiagonal(int x, int y) const { return x + y; }

    LineLists byRow;          // position x
    LineLists byColumn;       // position y
    LineLists byMainDiagonal; // x - y constant, position y
    LineLists byAntiDiagonal; // x + y constant, position y

  private:
    int m_columns;
    int m_rows;
};

// One worker's cursors. Rows must be given in ascending order.
class RowInterpolator {
  public:
    RowInterpolator(const OutlineIndex& index, const PointsArray& targets);

    // Interpolate(x, y). Within a row x must ascend; rowCursor starts at 0 for each row.
    IntPoints interpolate(int x, int y, int& rowCursor);

  private:
    const OutlineIndex& m_index;
    const PointsArray& m_targets;
    std::vector<int> m_columnCursor;
    std::vector<int> m_mainCursor;
    std::vector<int> m_antiCursor;
};

} // namespace plakett
