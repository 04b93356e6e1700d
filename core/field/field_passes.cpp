// Interpolation, distance and angle passes. Squared distances to the chosen sample map to
// kept distances monotonically, so the tests on the distance become thresholds on d2.
#include "field/field_passes.h"

#include "common/heap_tuning.h"

#include "field/field_float.h"
#include "common/field_parallel.h"
#include "field/field_row_interpolator.h"
#include "field/polygon_mask.h"

#include <algorithm>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plakett {

namespace {

std::int64_t squaredDistance(IntPoints s, int x, int y) {
    const std::int64_t ex = s.x - x;
    const std::int64_t ey = s.y - y;
    return ex * ex + ey * ey;
}

// The smallest d2 in [0, limit] whose kept distance satisfies the monotone test, or
// limit + 1.
template <class Test> std::int64_t firstD2(std::int64_t limit, Test test) {
    std::int64_t lo = 0, hi = limit + 1;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (test(sampleDistance(mid)))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Cells whose kept distance z lies in [1, 4] read the interpolated map; from z = 2 on the
// angle pass blends its own value in.
struct Band {
    std::int64_t first = firstD2(64, [](float z) { return z >= 1.0f; });
    std::int64_t blend = firstD2(64, [](float z) { return z >= 2.0f; });
    std::int64_t last = firstD2(64, [](float z) { return z > 4.0f; }) - 1;
    bool contains(std::int64_t d2) const { return d2 >= first && d2 <= last; }
};

// round(scale * d / z - d * k) for both components d of (dx, dy).
IntPoints scaledRound(double scale, float z, double dx, double dy, float k) {
#if defined(__SSE2__)
    // Two lanes, the same IEEE operations in the same order as the scalar form.
    const __m128d d = _mm_set_pd(dy, dx);
    const __m128d q = _mm_div_pd(_mm_mul_pd(_mm_set1_pd(scale), d), _mm_set1_pd(z));
    const __m128d t = _mm_sub_pd(q, _mm_mul_pd(d, _mm_set1_pd(k)));
    const __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), t);
    if (_mm_movemask_pd(_mm_cmplt_pd(magnitude, _mm_set1_pd(0x1p51))) == 3) {
        const __m128d shift = _mm_set1_pd(0x1.8p52);
        const __m128i r = _mm_cvttpd_epi32(_mm_sub_pd(_mm_add_pd(t, shift), shift));
        return {_mm_cvtsi128_si32(r), _mm_cvtsi128_si32(_mm_srli_si128(r, 4))};
    }
#endif
    return {roundHalfEven(scale * dx / z - dx * k), roundHalfEven(scale * dy / z - dy * k)};
}

// Kept distances for d2 below the plateau, looked up rather than recomputed per cell.
class DistanceTable {
  public:
    static constexpr std::int64_t kLargest = std::int64_t{1} << 22;

    explicit DistanceTable(std::int64_t end) {
        m_z.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(end, 0, kLargest)));
        for (std::size_t d2 = 0; d2 < m_z.size(); ++d2)
            m_z[d2] = sampleDistance(static_cast<std::int64_t>(d2));
    }
    float operator()(std::int64_t d2) const {
        return d2 < static_cast<std::int64_t>(m_z.size()) ? m_z[d2] : sampleDistance(d2);
    }

  private:
    std::vector<float> m_z;
};

// The angle pass's rounded offsets depend only on the cell's offset (dx, dy) from its
// sample, and flip sign with it (every step of scaledRound does), so below the plateau
// they are looked up by (|dx|, |dy|). Both components sit in one entry, so that a column's
// cells, whose dy steps by one, read the table in order.
class OffsetTable {
  public:
    static constexpr std::int64_t kLargestSide = 2048;

    OffsetTable() = default;
    // Empty when the plateau is too far out to be worth a table.
    OffsetTable(std::int64_t plateau, const Band& band, float k, const DistanceTable& zOf);
    bool empty() const { return m_side == 0; }
    IntPoints operator()(std::int64_t dx, std::int64_t dy) const {
        const std::int64_t a = dx < 0 ? -dx : dx;
        const std::int64_t b = dy < 0 ? -dy : dy;
        const Entry e = m_offsets[static_cast<std::size_t>(a * m_side + b)];
        return {dx < 0 ? -e.u : e.u, dy < 0 ? -e.v : e.v};
    }

  private:
    struct Entry {
        std::int16_t u;
        std::int16_t v;
    };
    std::int64_t m_side = 0;
    std::vector<Entry> m_offsets;
};

OffsetTable::OffsetTable(std::int64_t plateau, const Band& band, float k,
                         const DistanceTable& zOf) {
    std::int64_t side = 0; // every |dx|, |dy| with dx^2 + dy^2 < plateau is below side
    while (side * side < plateau && side <= kLargestSide)
        ++side;
    if (side > kLargestSide) return;
    m_side = side;
    m_offsets.assign(static_cast<std::size_t>(side * side), Entry{0, 0});
    for (std::int64_t a = 0; a < side; ++a) {
        for (std::int64_t b = 0; b < side; ++b) {
            const std::int64_t d2 = a * a + b * b;
            if (d2 >= plateau || d2 < band.blend) continue;
            const double scale = d2 > band.last ? 126.0 : 120.0;
            const IntPoints u = scaledRound(scale, zOf(d2), static_cast<double>(a),
                                            static_cast<double>(b), k);
            if (std::max(std::abs(u.x), std::abs(u.y)) > 32767) { // not for 16 bits
                *this = OffsetTable();
                return;
            }
            m_offsets[static_cast<std::size_t>(a * side + b)] = {
                static_cast<std::int16_t>(u.x), static_cast<std::int16_t>(u.y)};
        }
    }
}

} // namespace

FieldPasses::FieldPasses(const Gray8Image& mask, const PointsArray& outline,
                         const PointsArray& targets, Matrix& working, std::size_t compactLimit)
    : m_outline(outline), m_targets(targets), m_working(working), m_columns(working.columns()),
      m_rows(working.rows()),
      m_threads(fieldThreadCount(static_cast<long long>(m_columns) * m_rows)) {
    const std::size_t count = outline.empty() ? 0 : (outline.size() - 1) / 2;
    for (std::size_t k = 0; k < count; ++k)
        m_samples.push_back(outline[2 * k]);
    // The mask goes into the per-cell codes, so that the caller can release it now.
    const std::size_t cells = static_cast<std::size_t>(m_columns) * m_rows;
    const Gray8* in = mask.pixels().data();
    if (m_samples.size() < std::min<std::size_t>(compactLimit, kInsideNoSample16)) {
        m_nearest16.reserve(cells);
        adviseLargePages(m_nearest16.data(), cells * sizeof(m_nearest16[0]));
        m_nearest16.resize(cells);
        for (std::size_t i = 0; i < cells; ++i)
            m_nearest16[i] = in[i] == kMaskInside ? kInsideNoSample16 : kOutside16;
    } else {
        m_nearest.reserve(cells);
        adviseLargePages(m_nearest.data(), cells * sizeof(m_nearest[0]));
        m_nearest.resize(cells);
        for (std::size_t i = 0; i < cells; ++i)
            m_nearest[i] = in[i] == kMaskInside ? kInsideNoSample : kOutside;
    }
}

FieldPasses::~FieldPasses() = default;

void FieldPasses::insideRow(int y, Gray8* mask) const {
    const std::size_t at = static_cast<std::size_t>(y) * m_columns;
    if (!m_nearest16.empty()) {
        const std::uint16_t* codes = m_nearest16.data() + at;
        for (int x = 0; x < m_columns; ++x)
            mask[x] = codes[x] != kOutside16 ? kMaskInside : kMaskOutside;
        return;
    }
    for (int x = 0; x < m_columns; ++x)
        mask[x] = m_nearest[at + x] != kOutside ? kMaskInside : kMaskOutside;
}

void FieldPasses::storeNearestRow(int y, const Gray8* mask, const std::int32_t* row) {
    const std::size_t at = static_cast<std::size_t>(y) * m_columns;
    const auto code = [&](int x) {
        if (mask[x] != kMaskInside) return kOutside;
        return row[x] == NearestSamples::kNone ? kInsideNoSample : row[x];
    };
    if (m_nearest16.empty()) {
        for (int x = 0; x < m_columns; ++x)
            m_nearest[at + x] = code(x);
        return;
    }
    // On this road sample numbers stay below kInsideNoSample16.
    std::uint16_t* out = m_nearest16.data() + at;
    for (int x = 0; x < m_columns; ++x) {
        const std::uint16_t found =
            row[x] == NearestSamples::kNone ? kInsideNoSample16 : static_cast<std::uint16_t>(row[x]);
        out[x] = mask[x] == kMaskInside ? found : kOutside16;
    }
}

bool FieldPasses::interpolationPass(RowReporter& reporter) {
    m_finder.emplace(m_samples, m_columns, m_rows);
    const OutlineIndex index(m_outline, m_columns, m_rows);
    const Band band;
    std::vector<RowInterpolator> interpolators(m_threads, RowInterpolator(index, m_targets));
    std::vector<NearestSamples::Scratch> scratch;
    for (int w = 0; w < m_threads; ++w)
        scratch.push_back(m_finder->makeScratch());
    std::vector<std::int64_t> largest(m_threads, -1);
    std::vector<std::vector<std::int32_t>> rowBuffers(
        m_threads, std::vector<std::int32_t>(static_cast<std::size_t>(m_columns)));
    std::vector<std::vector<Gray8>> maskRows(
        m_threads, std::vector<Gray8>(static_cast<std::size_t>(m_columns)));
    const bool done = runRows(
        m_rows, m_threads,
        [&](int w, int y0, int y1) {
            std::int64_t top = largest[w];
            std::int32_t* nearest = rowBuffers[w].data();
            for (int y = y0; y < y1; ++y) {
                Gray8* mask = maskRows[w].data();
                insideRow(y, mask);
                m_finder->row(y, scratch[w], mask, nearest);
                storeNearestRow(y, mask, nearest);
                int rowCursor = 0;
                for (int x = 0; x < m_columns; ++x) {
                    if (mask[x] != kMaskInside || nearest[x] == NearestSamples::kNone) continue;
                    const std::int64_t d2 = squaredDistance(m_samples[nearest[x]], x, y);
                    top = std::max(top, d2);
                    if (band.contains(d2))
                        m_working.at(x, y) = interpolators[w].interpolate(x, y, rowCursor);
                }
            }
            largest[w] = top;
        },
        [&](int y) { return reporter.rowDone(y * 50 / (m_rows - 1)); });
    m_largestD2 = *std::max_element(largest.begin(), largest.end());
    return done;
}

bool FieldPasses::distancePass(RowReporter& reporter) {
    for (int y = 0; y < m_rows; ++y)
        if (!reporter.rowDone(y * 25 / (m_rows - 1) + 50)) return false;
    return true;
}

bool FieldPasses::anglePass(RowReporter& reporter) {
    const float m = m_largestD2 < 0 ? 0.0f : sampleDistance(m_largestD2);
    const float r = keepF32(m * 0.5714285714285714);
    const float k = r > 0.0f ? keepF32(126.0 / r) : 0.0f;
    // From this d2 on, z > 4 and z >= R: the plateau.
    const std::int64_t plateau = firstD2(std::max<std::int64_t>(m_largestD2, 64),
                                         [&](float z) { return z > 4.0f && z >= r; });
    const Band band;
    const DistanceTable zOf(plateau);
    const OffsetTable table(plateau, band, k, zOf);
    // Cells nearer than the band are samples themselves and keep their target. Only outline
    // cells hold a target in the working map; every other cell the pass leaves alone still
    // holds the outside value there and becomes (0, 0).
    auto keep = [](IntPoints* cell) {
        if (*cell == kOutsideCell) *cell = IntPoints{0, 0};
    };
    auto update = [&](IntPoints* cell, int x, int y, std::int32_t s) {
        if (s == kOutside) {
            *cell = kOutsideCell;
            return;
        }
        if (s == kInsideNoSample) return keep(cell);
        const IntPoints sample = m_samples[s];
        const std::int64_t d2 = squaredDistance(sample, x, y);
        if (d2 >= plateau) {
            *cell = {128, 128};
            return;
        }
        if (d2 < band.first) return keep(cell);
        if (!table.empty()) {
            if (d2 < band.blend) return; // the interpolated value stays
            const IntPoints u = table(sample.x - x, sample.y - y);
            if (d2 > band.last) {
                *cell = {u.x + 127, u.y + 127};
            } else {
                const IntPoints a = *cell;
                *cell = {halve(u.x + a.x + 127), halve(u.y + a.y + 127)};
            }
            return;
        }
        const float z = zOf(d2);
        if (z > 4.0f) {
            const IntPoints u = scaledRound(126.0, z, sample.x - x, sample.y - y, k);
            *cell = {u.x + 127, u.y + 127};
        } else if (z >= 2.0f) {
            const IntPoints u = scaledRound(120.0, z, sample.x - x, sample.y - y, k);
            const IntPoints a = *cell;
            *cell = {halve(u.x + a.x + 127), halve(u.y + a.y + 127)};
        }
        // z < 2: the interpolated value stays.
    };
    return runRows(
        m_rows, m_threads,
        [&](int, int y0, int y1) {
            // Column by column within the block: the map is stored that way.
            if (m_nearest16.empty()) {
                for (int x = 0; x < m_columns; ++x) {
                    IntPoints* column = m_working.column(x);
                    for (int y = y0; y < y1; ++y)
                        update(column + y, x, y, nearestAt(x, y));
                }
                return;
            }
            // The codes are read across their rows: each line of them serves 32 columns,
            // so the lines for the next 32 are asked for while these are worked on.
            const std::uint16_t* codes = m_nearest16.data();
            const std::size_t stride = static_cast<std::size_t>(m_columns);
            for (int x = 0; x < m_columns; ++x) {
                if (x % 32 == 0 && x + 32 < m_columns)
                    for (int y = y0; y < y1; ++y)
                        __builtin_prefetch(codes + static_cast<std::size_t>(y) * stride + x + 32);
                IntPoints* column = m_working.column(x);
                const std::uint16_t* code = codes + x;
                for (int y = y0; y < y1; ++y) {
                    const std::uint16_t c = code[static_cast<std::size_t>(y) * m_columns];
                    update(column + y, x, y,
                           c < kInsideNoSample16 ? c
                           : c == kOutside16     ? kOutside
                                                 : kInsideNoSample);
                }
            }
        },
        [&](int y) { return reporter.rowDone(y * 25 / (m_rows - 1) + 75); });
}

} // namespace plakett
