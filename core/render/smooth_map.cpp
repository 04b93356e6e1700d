// Map clean-up: two repair passes for out-of-range cells, then alternating horizontal and
// vertical 3-cell means. Every pass runs in place, column by column, so the neighbour at
// x - 1 or y - 1 already holds its new value.
#include "common/arith.h"
#include "render/shape_field.h"

namespace plakett {

namespace {

bool outOfRange(const IntPoints& c) {
    return c.x > 255 || c.y > 255;
}

void repair(IntPoints& c, const IntPoints& a, const IntPoints& b) {
    if (a.x > 0 && b.x > 0 && outOfRange(c)) c = {halve(a.x + b.x), halve(a.y + b.y)};
}

template <class Visit> void forInterior(Matrix& map, Visit visit) {
    const int columns = map.columns();
    const int rows = map.rows();
    for (int x = 1; x < columns - 1; ++x) {
        for (int y = 1; y < rows - 1; ++y)
            visit(x, y);
    }
}

} // namespace

void SmoothMap(Matrix& map, int passes) {
    forInterior(map,
                [&](int x, int y) { repair(map.at(x, y), map.at(x, y - 1), map.at(x, y + 1)); });
    forInterior(map,
                [&](int x, int y) { repair(map.at(x, y), map.at(x - 1, y), map.at(x + 1, y)); });
    for (int pass = 0; pass < passes; ++pass) {
        if (pass % 2 == 0) {
            forInterior(map, [&](int x, int y) {
                IntPoints& c = map.at(x, y);
                const IntPoints& a = map.at(x - 1, y);
                const IntPoints& b = map.at(x + 1, y);
                if (c.x > 0 && a.x > 0 && b.x > 0)
                    c = {(c.x + a.x + b.x) / 3, (c.y + a.y + b.y) / 3};
            });
        } else {
            forInterior(map, [&](int x, int y) {
                IntPoints& c = map.at(x, y);
                const IntPoints& a = map.at(x, y - 1);
                const IntPoints& b = map.at(x, y + 1);
                if (c.y > 0 && a.y > 0 && b.y > 0)
                    c = {(c.x + a.x + b.x) / 3, (c.y + a.y + b.y) / 3};
            });
        }
    }
}

} // namespace plakett
