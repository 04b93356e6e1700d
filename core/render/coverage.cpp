// Coverage: how many of a final pixel's four double-scale cells are inside the shape.
#include "render/shape_field.h"

namespace plakett {

Gray8Image BuildCoverage(const Matrix& map) {
    const int columns = map.columns();
    const int rows = map.rows();
    Gray8Image coverage((columns - 1) / 2 + 1, (rows - 1) / 2 + 1, 0);
    Gray8* out = coverage.pixels().data();
    const int width = coverage.width();
    for (int x = 0; x < columns; ++x) {
        const IntPoints* column = map.column(x);
        Gray8* pixel = out + x / 2;
        for (int y = 0; y < rows; ++y)
            if (column[y].x != -1) ++pixel[static_cast<std::size_t>(y / 2) * width];
    }
    return coverage;
}

} // namespace plakett
