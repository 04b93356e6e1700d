// Coverage: how many of a final pixel's four double-scale cells are inside the shape.
#include "render/shape_field.h"

namespace plakett {

Gray8Image BuildCoverage(const Matrix& map) {
    const int columns = map.columns();
    const int rows = map.rows();
    Gray8Image coverage((columns - 1) / 2 + 1, (rows - 1) / 2 + 1, 0);
    for (int x = 0; x < columns; ++x) {
        const IntPoints* column = map.column(x);
        for (int y = 0; y < rows; ++y) {
            if (column[y].x != -1) ++coverage.scanline(y / 2)[x / 2];
        }
    }
    return coverage;
}

} // namespace plakett
