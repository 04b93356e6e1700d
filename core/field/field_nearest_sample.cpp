// Keys make the nearest sample unique: key = N d2 + (N - 1 - k) for N samples, so the
// smallest key has the smallest d2 and, of equal ones, the largest index k. Per column
// only the nearest sample above and below can win; per row the minimum over columns of
// N (x - x')^2 + key(x') is the lower envelope of equal-width parabolas, built exactly in
// integers. Cells 2^12 or more from every sample fall back to the float32 scan, whose
// rounding can then tie distances that differ. Envelope pieces are followed along the row
// by comparing their start bounds with the column, which needs no division.
#include "field/field_nearest_sample.h"

#include <limits>

namespace plakett {

namespace {

constexpr std::int64_t kExactBelow = std::int64_t{1} << 24;

// num * den exactly, as high * 2^32 + low with 0 <= low < 2^32, for |num| < 2^62 and
// 0 < den < 2^17 (the products need up to 79 bits).
struct Wide {
    std::int64_t high;
    std::uint64_t low;
};
Wide times(std::int64_t num, std::int64_t den) {
    const std::int64_t high = num >> 32; // floor(num / 2^32)
    const std::uint64_t lowProduct =
        (static_cast<std::uint64_t>(num) & 0xFFFFFFFFu) * static_cast<std::uint64_t>(den);
    return {high * den + static_cast<std::int64_t>(lowProduct >> 32), lowProduct & 0xFFFFFFFFu};
}

// aNum / aDen <= bNum / bDen for positive dens.
template <bool kSmall>
bool lessOrEqual(std::int64_t aNum, std::int64_t aDen, std::int64_t bNum, std::int64_t bDen) {
    if (kSmall) return aNum * bDen <= bNum * aDen;
    const Wide left = times(aNum, bDen);
    const Wide right = times(bNum, aDen);
    return left.high < right.high || (left.high == right.high && left.low <= right.low);
}

} // namespace

NearestSamples::NearestSamples(const PointsArray& samples, int columns, int rows)
    : m_samples(samples), m_columns(columns), m_rows(rows),
      m_n(static_cast<std::int64_t>(samples.size())) {
    const double largest =
        (static_cast<double>(columns) * columns + static_cast<double>(rows) * rows + 1.0) *
        static_cast<double>(m_n);
    m_keysFit = largest < 0x1p61 && columns <= 65536;
    m_smallKeys = largest < 0x1p46;
    m_alwaysExact = static_cast<std::int64_t>(columns) * columns +
                        static_cast<std::int64_t>(rows) * rows <
                    kExactBelow;
    std::vector<LineItem> items;
    items.reserve(samples.size());
    for (std::size_t k = 0; k < samples.size(); ++k)
        items.push_back({samples[k].x, {samples[k].y, static_cast<std::int32_t>(k)}});
    m_byColumn = LineLists(columns, items, LineLists::Keep::Last);
    for (int x = 0; x < columns; ++x)
        if (m_byColumn.size(x) > 0)
            m_sampleColumns.push_back({m_byColumn.begin(x), m_byColumn.size(x), x, m_n * x * x});
}

NearestSamples::Scratch NearestSamples::makeScratch() const {
    const std::size_t count = m_sampleColumns.size();
    Scratch s;
    s.columnCursor.assign(count, 0);
    s.pieces.resize(count);
    return s;
}

std::int32_t NearestSamples::scan(int x, int y) const {
    float best = 2147483648.0f;
    std::int32_t found = kNone;
    for (std::size_t k = 0; k < m_samples.size(); ++k) {
        const std::int64_t ex = m_samples[k].x - x;
        const std::int64_t ey = y - m_samples[k].y;
        const float d2 = static_cast<float>(ex * ex + ey * ey);
        if (d2 <= best) {
            best = d2;
            found = static_cast<std::int32_t>(k);
        }
    }
    return found;
}

// Each column holding samples offers its best key for row y (only the nearest sample
// above and below can win) as a parabola; the ones it hides are dropped as it comes.
template <bool kSmall> int NearestSamples::envelope(int y, Scratch& s) const {
    const std::size_t count = m_sampleColumns.size();
    const std::int64_t n = m_n;
    int k = -1;
    for (std::size_t i = 0; i < count; ++i) {
        const SampleColumn& column = m_sampleColumns[i];
        const int x = column.x;
        const int size = column.count;
        const LineEntry* e = column.entries;
        const int c = s.columnCursor[i] = advanceTo(e, size, s.columnCursor[i], y);
        // The nearer of the samples at or below and above the row, of equally near ones the
        // later: the smaller key, compared without forming it. Every such column has one.
        std::int64_t d = std::numeric_limits<std::int32_t>::max();
        std::int32_t bestSample = kNone;
        if (c < size) {
            d = e[c].pos - y;
            bestSample = e[c].index;
        }
        if (c > 0) {
            const std::int64_t above = y - e[c - 1].pos;
            if (above < d || (above == d && e[c - 1].index > bestSample)) {
                d = above;
                bestSample = e[c - 1].index;
            }
        }
        const std::int64_t height = n * d * d + (n - 1 - bestSample) + column.height;
        // Where the new parabola meets the last piece, (height - h) / (N 2 (x - q)); the
        // piece is hidden when that is not after the piece's own start.
        std::int64_t num = 0, den = 0;
        while (k >= 0) {
            const Scratch::Piece& last = s.pieces[k];
            num = height - last.height;
            den = 2 * static_cast<std::int64_t>(x - last.q);
            if (k == 0 || !lessOrEqual<kSmall>(num, den, last.startNum, last.startDen)) break;
            --k;
        }
        ++k;
        s.pieces[k] = {height, num, den, x, bestSample};
    }
    return k + 1;
}

void NearestSamples::row(int y, Scratch& s, const std::uint8_t* maskRow,
                         std::int32_t* nearest) const {
    if (m_samples.empty() || !m_keysFit) {
        for (int x = 0; x < m_columns; ++x)
            nearest[x] = maskRow[x] == 0 ? scan(x, y) : kNone;
        return;
    }
    const int pieces = m_smallKeys ? envelope<true>(y, s) : envelope<false>(y, s);
    // Piece k + 1 wins from the first column x above its start, num < x den N (starts are
    // never whole columns: two keys differ in their sample index). x den N < 2 columns^2 N
    // fits 63 bits with the keys.
    for (int k = 1; k < pieces; ++k)
        s.pieces[k].startDen *= m_n;
    int k = 0;
    for (int x = 0; x < m_columns; ++x) {
        while (k + 1 < pieces && s.pieces[k + 1].startNum < x * s.pieces[k + 1].startDen)
            ++k;
        if (maskRow[x] != 0) {
            nearest[x] = kNone;
            continue;
        }
        const std::int32_t sample = s.pieces[k].sample;
        if (m_alwaysExact) {
            nearest[x] = sample;
            continue;
        }
        const std::int64_t ex = m_samples[sample].x - x;
        const std::int64_t ey = m_samples[sample].y - y;
        nearest[x] = ex * ex + ey * ey < kExactBelow ? sample : scan(x, y);
    }
}

} // namespace plakett
