// Coverage: how many of a final pixel's four double-scale cells are inside the shape.
// Workers take ranges of pixel columns, each reading its two map columns once.
#include "common/field_parallel.h"
#include "field/shape_field.h"

namespace plakett {

namespace {

int inside(const IntPoints* column, int y, int rows) {
    return column != nullptr && y < rows && column[y].x != -1 ? 1 : 0;
}

} // namespace

Gray8Image BuildCoverage(const Matrix& map) {
    const int columns = map.columns();
    const int rows = map.rows();
    Gray8Image coverage((columns - 1) / 2 + 1, (rows - 1) / 2 + 1, 0);
    if (map.empty()) return coverage;
    Gray8* out = coverage.pixels().data();
    const int width = coverage.width();
    const int height = coverage.height();
    const int threads = fieldThreadCount(static_cast<long long>(columns) * rows);
    runTeam(threads, [&](int worker, int workers) {
        const Span span = splitRange(0, width, worker, workers);
        for (int px = span.begin; px < span.end; ++px) {
            const IntPoints* left = map.column(2 * px);
            const IntPoints* right = 2 * px + 1 < columns ? map.column(2 * px + 1) : nullptr;
            Gray8* pixel = out + px;
            int py = 0;
            if (right != nullptr) { // whole 2 x 2 blocks without the edge checks
                for (; 2 * py + 1 < rows; ++py) {
                    const int y = 2 * py;
                    pixel[static_cast<std::size_t>(py) * width] =
                        static_cast<Gray8>((left[y].x != -1) + (left[y + 1].x != -1) +
                                           (right[y].x != -1) + (right[y + 1].x != -1));
                }
            }
            for (; py < height; ++py) {
                const int y = 2 * py;
                pixel[static_cast<std::size_t>(py) * width] = static_cast<Gray8>(
                    inside(left, y, rows) + inside(left, y + 1, rows) + inside(right, y, rows) +
                    inside(right, y + 1, rows));
            }
        }
    });
    return coverage;
}

} // namespace plakett
