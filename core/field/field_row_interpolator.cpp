// Per line only the nearest point on each side can be a best, and of several points on one
// pixel the first in the ring: the lists keep exactly those.
#include "field/field_row_interpolator.h"

#include "field/field_interpolate.h"

namespace plakett {

namespace {

std::vector<LineItem> items(const PointsArray& outline, auto lineAndPos) {
    std::vector<LineItem> out;
    out.reserve(outline.size());
    for (std::size_t k = 0; k < outline.size(); ++k) {
        const auto [line, pos] = lineAndPos(outline[k]);
        out.push_back({line, {pos, static_cast<std::int32_t>(k)}});
    }
    return out;
}

} // namespace

OutlineIndex::OutlineIndex(const PointsArray& outline, int columns, int rows)
    : m_columns(columns), m_rows(rows) {
    using Keep = LineLists::Keep;
    const int diagonals = columns + rows - 1;
    byRow = LineLists(rows,
                      items(outline,
                            [](IntPoints p) {
                                return std::pair{p.y, p.x};
                            }),
                      Keep::First);
    byColumn = LineLists(columns,
                         items(outline,
                               [](IntPoints p) {
                                   return std::pair{p.x, p.y};
                               }),
                         Keep::First);
    byMainDiagonal = LineLists(diagonals,
                               items(outline,
                                     [&](IntPoints p) {
                                         return std::pair{mainDiagonal(p.x, p.y), p.y};
                                     }),
                               Keep::First);
    byAntiDiagonal = LineLists(diagonals,
                               items(outline,
                                     [&](IntPoints p) {
                                         return std::pair{antiDiagonal(p.x, p.y), p.y};
                                     }),
                               Keep::First);
}

RowInterpolator::RowInterpolator(const OutlineIndex& index, const PointsArray& targets)
    : m_index(index), m_targets(targets), m_columnCursor(index.columns(), 0),
      m_mainCursor(index.columns() + index.rows() - 1, 0),
      m_antiCursor(index.columns() + index.rows() - 1, 0) {}

IntPoints RowInterpolator::interpolate(int x, int y, int& rowCursor) {
    constexpr int kFar = InterpolationBests::kFarPosition;
    const LineEntry* row = m_index.byRow.begin(y);
    const int rowCount = m_index.byRow.size(y);
    rowCursor = advanceTo(row, rowCount, rowCursor, x);
    if (rowCursor < rowCount && row[rowCursor].pos == x) return m_targets[row[rowCursor].index];

    InterpolationBests b(m_targets[0]);
    if (rowCursor > 0) {
        b.left = row[rowCursor - 1].pos;
        b.tL = m_targets[row[rowCursor - 1].index];
    }
    if (rowCursor < rowCount && row[rowCursor].pos < kFar) {
        b.right = row[rowCursor].pos;
        b.tR = m_targets[row[rowCursor].index];
    }

    // No point lies on the cell itself, so on every other line the cursor separates the
    // points before the cell from those after it.
    const LineEntry* column = m_index.byColumn.begin(x);
    const int columnCount = m_index.byColumn.size(x);
    const int c = m_columnCursor[x] = advanceTo(column, columnCount, m_columnCursor[x], y);
    if (c > 0) {
        b.up = column[c - 1].pos;
        b.tU = m_targets[column[c - 1].index];
    }
    if (c < columnCount && column[c].pos < kFar) {
        b.down = column[c].pos;
        b.tD = m_targets[column[c].index];
    }

    auto diagonal = [&](const LineEntry& e, float& best, IntPoints& bestT) {
        const float d = diagonalDistance(e.pos > y ? e.pos - y : y - e.pos);
        if (d < best) {
            best = d;
            bestT = m_targets[e.index];
        }
    };
    const int md = m_index.mainDiagonal(x, y);
    const LineEntry* main = m_index.byMainDiagonal.begin(md);
    const int mainCount = m_index.byMainDiagonal.size(md);
    const int m = m_mainCursor[md] = advanceTo(main, mainCount, m_mainCursor[md], y);
    if (m > 0) diagonal(main[m - 1], b.dUL, b.tUL);
    if (m < mainCount) diagonal(main[m], b.dDR, b.tDR);

    const int ad = m_index.antiDiagonal(x, y);
    const LineEntry* anti = m_index.byAntiDiagonal.begin(ad);
    const int antiCount = m_index.byAntiDiagonal.size(ad);
    const int a = m_antiCursor[ad] = advanceTo(anti, antiCount, m_antiCursor[ad], y);
    if (a > 0) diagonal(anti[a - 1], b.dUR, b.tUR);
    if (a < antiCount) diagonal(anti[a], b.dDL, b.tDL);

    return blendInterpolation(x, y, b);
}

} // namespace plakett
