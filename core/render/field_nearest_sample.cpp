// Keys make the nearest sample unique: key = N d2 + (N - 1 - k) for N samples, so the
// smallest key has the smallest d2 and, of equal ones, the largest index k. Per column
// only the nearest sample above and below can win; per row the minimum over columns of
// N (x - x')^2 + key(x') is the lower envelope of equal-width parabolas, built exactly in
// integers. Cells 2^12 or more from every sample fall back to the float32 scan, whose
// rounding can then tie distances that differ.
#include "render/field_nearest_sample.h"

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

bool lessOrEqual(const NearestSamples::Bound& a, const NearestSamples::Bound& b) {
    if (a.den == 0) return a.num < 0 || (b.den == 0 && b.num > 0);
    if (b.den == 0) return b.num > 0;
    // Below 2^46 the products fit 63 bits.
    constexpr std::uint64_t kSmall = std::uint64_t{1} << 46;
    if (static_cast<std::uint64_t>(a.num) + kSmall < 2 * kSmall &&
        static_cast<std::uint64_t>(b.num) + kSmall < 2 * kSmall)
        return a.num * b.den <= b.num * a.den;
    const Wide left = times(a.num, b.den);
    const Wide right = times(b.num, a.den);
    return left.high < right.high || (left.high == right.high && left.low <= right.low);
}

// The first integer above a finite bound (bounds are never integers: two columns' keys
// differ in their sample index, so they cannot meet at an integer column).
std::int64_t firstAbove(const NearestSamples::Bound& b, std::int64_t n) {
    const std::int64_t den = b.den * n;
    const std::int64_t q = b.num / den;
    return (b.num % den != 0 && b.num < 0 ? q - 1 : q) + 1;
}

} // namespace

NearestSamples::NearestSamples(const PointsArray& samples, int columns, int rows)
    : m_samples(samples), m_columns(columns), m_rows(rows),
      m_n(static_cast<std::int64_t>(samples.size())) {
    const double largest =
        (static_cast<double>(columns) * columns + static_cast<double>(rows) * rows + 1.0) *
        static_cast<double>(m_n);
    m_keysFit = largest < 0x1p61 && columns <= 65536;
    std::vector<LineItem> items;
    items.reserve(samples.size());
    for (std::size_t k = 0; k < samples.size(); ++k)
        items.push_back({samples[k].x, {samples[k].y, static_cast<std::int32_t>(k)}});
    m_byColumn = LineLists(columns, items, LineLists::Keep::Last);
}

NearestSamples::Scratch NearestSamples::makeScratch() const {
    Scratch s;
    s.columnCursor.assign(m_columns, 0);
    s.q.resize(m_columns);
    s.f.resize(m_columns);
    s.sample.resize(m_columns);
    s.v.resize(m_columns);
    s.z.resize(static_cast<std::size_t>(m_columns) + 1);
    s.start.resize(static_cast<std::size_t>(m_columns) + 1);
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

// s.q, s.f: the columns holding samples, each with its best key for row y.
void NearestSamples::columnBests(int y, Scratch& s) const {
    s.q.clear();
    s.f.clear();
    s.sample.clear();
    for (int x = 0; x < m_columns; ++x) {
        const int count = m_byColumn.size(x);
        if (count == 0) continue;
        const LineEntry* e = m_byColumn.begin(x);
        const int c = s.columnCursor[x] = advanceTo(e, count, s.columnCursor[x], y);
        std::int64_t best = std::numeric_limits<std::int64_t>::max();
        std::int32_t bestSample = kNone;
        auto consider = [&](const LineEntry& entry) {
            const std::int64_t dy = entry.pos - y;
            const std::int64_t key = m_n * dy * dy + (m_n - 1 - entry.index);
            if (key < best) {
                best = key;
                bestSample = entry.index;
            }
        };
        if (c < count) consider(e[c]);
        if (c > 0) consider(e[c - 1]);
        s.q.push_back(x);
        s.f.push_back(best);
        s.sample.push_back(bestSample);
    }
}

// s.v: the columns (indices into s.q) on the lower envelope; s.z: where each one starts.
void NearestSamples::envelope(Scratch& s) const {
    const int count = static_cast<int>(s.q.size());
    s.v.resize(count);
    s.z.resize(static_cast<std::size_t>(count) + 1);
    auto height = [&](int j) { return s.f[j] + m_n * s.q[j] * s.q[j]; };
    auto meet = [&](int r, int j) {
        return Bound{height(j) - height(r), 2 * static_cast<std::int64_t>(s.q[j] - s.q[r])};
    };
    int k = 0;
    s.v[0] = 0;
    s.z[0] = {-1, 0};
    s.z[1] = {1, 0};
    for (int j = 1; j < count; ++j) {
        Bound b = meet(s.v[k], j);
        while (lessOrEqual(b, s.z[k]))
            b = meet(s.v[--k], j);
        ++k;
        s.v[k] = j;
        s.z[k] = b;
        s.z[k + 1] = {1, 0};
    }
    s.v.resize(k + 1);
    s.start.resize(k + 2);
    for (int i = 1; i <= k; ++i)
        s.start[i] = firstAbove(s.z[i], m_n);
    s.start[k + 1] = std::numeric_limits<std::int64_t>::max();
}

void NearestSamples::row(int y, Scratch& s, const std::uint8_t* maskRow,
                         std::int32_t* nearest) const {
    if (m_samples.empty() || !m_keysFit) {
        for (int x = 0; x < m_columns; ++x)
            nearest[x] = maskRow[x] == 0 ? scan(x, y) : kNone;
        return;
    }
    columnBests(y, s);
    envelope(s);
    int k = 0;
    for (int x = 0; x < m_columns; ++x) {
        while (s.start[k + 1] <= x)
            ++k;
        if (maskRow[x] != 0) {
            nearest[x] = kNone;
            continue;
        }
        const std::int32_t sample = s.sample[s.v[k]];
        const std::int64_t ex = m_samples[sample].x - x;
        const std::int64_t ey = m_samples[sample].y - y;
        nearest[x] = ex * ex + ey * ey < kExactBelow ? sample : scan(x, y);
    }
}

} // namespace plakett
