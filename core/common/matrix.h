// Shape-field data: light-map coordinates per double-scale cell.
#pragma once

#include "common/heap_tuning.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace plakett {

struct IntPoints {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const IntPoints&, const IntPoints&) = default;
};

using PointsArray = std::vector<IntPoints>;

inline constexpr IntPoints kOutsideCell{-1, -1};

// Cells stored column-major ([column][row]); copies of a Matrix share the cells.
class Matrix {
  public:
    using CellType = IntPoints;
    std::int32_t width = 0;  // only set on the working map during preparation
    std::int32_t height = 0; // likewise

    Matrix() = default;
    Matrix(int columns, int rows, IntPoints fill)
        : m_cells(std::make_shared<Cells>(Cells{columns, rows, {}})) {
        const std::size_t count =
            static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
        m_cells->data.reserve(count);
        adviseLargePages(m_cells->data.data(), count * sizeof(IntPoints));
        m_cells->data.assign(count, fill);
    }

    int columns() const { return m_cells ? m_cells->columns : 0; }
    int rows() const { return m_cells ? m_cells->rows : 0; }
    bool empty() const { return columns() == 0 || rows() == 0; }

    IntPoints& at(int x, int y) { return m_cells->data[index(x, y)]; }
    const IntPoints& at(int x, int y) const { return m_cells->data[index(x, y)]; }
    // One column, rows() cells long.
    IntPoints* column(int x) { return m_cells->data.data() + index(x, 0); }
    const IntPoints* column(int x) const { return m_cells->data.data() + index(x, 0); }

    bool sharesCellsWith(const Matrix& other) const { return m_cells == other.m_cells; }
    // Cell-by-cell equality, whether or not the storage is shared.
    bool sameCells(const Matrix& other) const {
        if (columns() != other.columns() || rows() != other.rows()) return false;
        return !m_cells || m_cells == other.m_cells || m_cells->data == other.m_cells->data;
    }

  private:
    struct Cells {
        int columns = 0;
        int rows = 0;
        std::vector<IntPoints> data;
    };
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(m_cells->rows) +
               static_cast<std::size_t>(y);
    }
    std::shared_ptr<Cells> m_cells;
};

} // namespace plakett
