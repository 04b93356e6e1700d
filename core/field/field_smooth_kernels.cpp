// Packed cells let SSE2 (the x86-64 baseline) handle four cells per register; signed
// division by 3 is the multiply-high sequence compilers use, exact for every int16. The
// vertical kernel transposes 4 x 4 tiles so that one register holds one row of four
// columns, whose chains then advance together.
#include "field/field_smooth_kernels.h"

#include "field/field_smooth_cells.h"
#include "common/field_parallel.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plakett::smoothkernels {

namespace {

template <class Op> void packedScalar(std::uint32_t* c, std::uint32_t a, std::uint32_t b, Op op) {
    *c = packedCell(*c, a, b, op);
}

#if defined(__SSE2__)

inline __m128i load4(const std::uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store4(std::uint32_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// The mean of c, a, b where all three have the tested component above zero, c elsewhere.
// kTestV false: test u (low halves), true: test v (high halves).
template <bool kTestV> inline __m128i meanWhere(__m128i c, __m128i a, __m128i b) {
    // a last: in the vertical kernel it is the value just computed above.
    const __m128i least = _mm_min_epi16(a, _mm_min_epi16(c, b));
    const __m128i ok = kTestV ? _mm_cmpgt_epi32(least, _mm_set1_epi32(0xFFFF))
                              : _mm_cmpgt_epi32(_mm_slli_epi32(least, 16), _mm_setzero_si128());
    const __m128i sum = _mm_add_epi16(a, _mm_add_epi16(c, b));
    const __m128i mean =
        _mm_sub_epi16(_mm_mulhi_epi16(sum, _mm_set1_epi16(0x5556)), _mm_srai_epi16(sum, 15));
    return _mm_or_si128(_mm_and_si128(ok, mean), _mm_andnot_si128(ok, c));
}

inline void transpose(__m128i& r0, __m128i& r1, __m128i& r2, __m128i& r3) {
    const __m128i t0 = _mm_unpacklo_epi32(r0, r1);
    const __m128i t1 = _mm_unpacklo_epi32(r2, r3);
    const __m128i t2 = _mm_unpackhi_epi32(r0, r1);
    const __m128i t3 = _mm_unpackhi_epi32(r2, r3);
    r0 = _mm_unpacklo_epi64(t0, t1);
    r1 = _mm_unpackhi_epi64(t0, t1);
    r2 = _mm_unpacklo_epi64(t2, t3);
    r3 = _mm_unpackhi_epi64(t2, t3);
}

// Rows y .. y + 3 of four columns, as four row registers.
struct Tile {
    __m128i row[4];
    void load(std::uint32_t* const* col, int y) {
        for (int i = 0; i < 4; ++i)
            row[i] = load4(col[i] + y);
        transpose(row[0], row[1], row[2], row[3]);
    }
    void store(std::uint32_t* const* col, int y) const {
        __m128i r0 = row[0], r1 = row[1], r2 = row[2], r3 = row[3];
        transpose(r0, r1, r2, r3);
        store4(col[0] + y, r0);
        store4(col[1] + y, r1);
        store4(col[2] + y, r2);
        store4(col[3] + y, r3);
    }
};

inline __m128i gatherRow(std::uint32_t* const* col, int y) {
    return _mm_setr_epi32(static_cast<int>(col[0][y]), static_cast<int>(col[1][y]),
                          static_cast<int>(col[2][y]), static_cast<int>(col[3][y]));
}
inline void scatterRow(std::uint32_t* const* col, int y, __m128i v) {
    alignas(16) std::uint32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), v);
    for (int i = 0; i < 4; ++i)
        col[i][y] = lanes[i];
}

// kGroups groups of four columns at x, their chains interleaved.
template <int kGroups> void verticalGroups(PackedMap& map, int x) {
    const int rows = map.rows();
    std::uint32_t* col[kGroups][4];
    __m128i above[kGroups];
    for (int g = 0; g < kGroups; ++g) {
        for (int i = 0; i < 4; ++i)
            col[g][i] = map.column(x + 4 * g + i);
        above[g] = gatherRow(col[g], 0);
    }
    int y = 1;
    // Whole tiles while the row below the tile exists as the next tile's first row.
    if (rows - 1 >= 5) {
        Tile tile[kGroups], next[kGroups];
        for (int g = 0; g < kGroups; ++g)
            tile[g].load(col[g], 1);
        for (; y + 4 <= rows - 1; y += 4) {
            const bool more = y + 8 <= rows;
            for (int g = 0; g < kGroups; ++g) {
                if (more) next[g].load(col[g], y + 4);
                const __m128i lastBelow = more ? next[g].row[0] : gatherRow(col[g], y + 4);
                __m128i* r = tile[g].row;
                r[0] = meanWhere<true>(r[0], above[g], r[1]);
                r[1] = meanWhere<true>(r[1], r[0], r[2]);
                r[2] = meanWhere<true>(r[2], r[1], r[3]);
                r[3] = meanWhere<true>(r[3], r[2], lastBelow);
                above[g] = r[3];
                tile[g].store(col[g], y);
                if (more) tile[g] = next[g];
            }
            if (!more) {
                y += 4;
                break;
            }
        }
    }
    for (; y < rows - 1; ++y) {
        for (int g = 0; g < kGroups; ++g) {
            const __m128i out =
                meanWhere<true>(gatherRow(col[g], y), above[g], gatherRow(col[g], y + 1));
            scatterRow(col[g], y, out);
            above[g] = out;
        }
    }
}

#endif

// The first row at or after y (below end) holding a component above 255, or end.
int nextToRepair(const std::uint32_t* c, int y, int end) {
#if defined(__SSE2__)
    const __m128i limit = _mm_set1_epi16(255);
    while (y + 4 <= end && _mm_movemask_epi8(_mm_cmpgt_epi16(load4(c + y), limit)) == 0)
        y += 4;
#endif
    while (y < end && !needsRepair(unpackCell(c[y])))
        ++y;
    return y;
}

int widestAvailable(int cells) {
    if (cells >= 16 && widest::available()) return 16;
    if (cells >= 8 && wide::available()) return 8;
    return 4;
}

std::atomic<int> g_width{widestAvailable(16)};

bool wideKernels() {
    return g_width.load(std::memory_order_relaxed) >= 8;
}

} // namespace

namespace {

// The two passes one after the other on the chunk.
template <class Map, class C>
void horizontalThenVertical(Map& map, int x0, int x1, const C* left, C* saved) {
    for (int x = x0; x < x1; ++x)
        horizontalMean(map, x, x == x0 ? left : map.column(x - 1));
    std::copy_n(map.column(x1 - 1), map.rows(), saved);
    verticalMean(map, x0, x1);
}

} // namespace

int kernelWidth() {
    return g_width.load(std::memory_order_relaxed);
}

void setKernelWidth(int cells) {
    g_width.store(widestAvailable(cells), std::memory_order_relaxed);
}

namespace {

// The range of cells [begin, end).
PackedMap::Range cellsRange(const Cell* cells, std::size_t begin, std::size_t end) {
    std::size_t i = begin;
    bool outside = false; // a component beyond the packed range
    bool signed_ = false; // a negative component in a cell other than (-1, -1)
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi32(PackedMap::kPackedLimit);
    const __m128i low = _mm_set1_epi32(-PackedMap::kPackedLimit);
    const __m128i minusOne = _mm_set1_epi32(-1);
    __m128i beyond = _mm_setzero_si128();
    __m128i negative = _mm_setzero_si128();
    for (; i + 2 <= end; i += 2) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + i));
        beyond = _mm_or_si128(beyond, _mm_or_si128(_mm_cmpgt_epi32(v, high), _mm_cmplt_epi32(v, low)));
        const __m128i one = _mm_cmpeq_epi32(v, minusOne);
        const __m128i both = _mm_and_si128(one, _mm_shuffle_epi32(one, _MM_SHUFFLE(2, 3, 0, 1)));
        negative = _mm_or_si128(negative, _mm_andnot_si128(both, _mm_cmplt_epi32(v, _mm_setzero_si128())));
    }
    outside = _mm_movemask_epi8(beyond) != 0;
    signed_ = _mm_movemask_epi8(negative) != 0;
#endif
    for (; i < end; ++i) {
        const Cell c = cells[i];
        outside = outside || c.x < -PackedMap::kPackedLimit || c.x > PackedMap::kPackedLimit ||
                  c.y < -PackedMap::kPackedLimit || c.y > PackedMap::kPackedLimit;
        signed_ = signed_ || ((c.x < 0 || c.y < 0) && !(c == kOutsideCell));
    }
    return {!outside, !signed_};
}

} // namespace

// A read-only scan, shared among the field's threads.
PackedMap::Range PackedMap::range(const Matrix& map) {
    const std::size_t count = static_cast<std::size_t>(map.columns()) * map.rows();
    if (count == 0) return {};
    std::atomic<bool> fits{true}, signs{true};
    runTeam(fieldThreadCount(static_cast<long long>(count)), [&](int worker, int workers) {
        const std::size_t n = static_cast<std::size_t>(workers);
        const std::size_t w = static_cast<std::size_t>(worker);
        const Range r = cellsRange(map.column(0), count * w / n, count * (w + 1) / n);
        if (!r.fits) fits.store(false, std::memory_order_relaxed);
        if (!r.signs) signs.store(false, std::memory_order_relaxed);
    });
    return {fits.load(), signs.load()};
}

namespace {

// Cell i (8 bytes at 8i) becomes 4 bytes at 4i, in ascending order: every write lands on
// bytes already read.
void packCells(const Cell* src, std::uint32_t* dst, std::size_t begin, std::size_t end) {
    std::size_t i = begin;
#if defined(__SSE2__)
    for (; i + 4 <= end; i += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 2));
        store4(dst + i, _mm_packs_epi32(a, b));
    }
#endif
    for (; i < end; ++i) {
        const std::uint32_t packed = packCell(src[i]);
        std::memcpy(dst + i, &packed, sizeof packed);
    }
}

// The way back, in descending order, so that each widened cell only overwrites packed
// cells already widened.
void unpackCells(const std::uint32_t* src, Cell* dst, std::size_t begin, std::size_t end) {
    std::size_t i = end;
#if defined(__SSE2__)
    for (; i >= begin + 4; i -= 4) {
        const __m128i p = load4(src + i - 4);
        const __m128i lo = _mm_srai_epi32(_mm_unpacklo_epi16(p, p), 16);
        const __m128i hi = _mm_srai_epi32(_mm_unpackhi_epi16(p, p), 16);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i - 4), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i - 2), hi);
    }
#endif
    for (; i > begin; --i) {
        std::uint32_t packed;
        std::memcpy(&packed, src + i - 1, sizeof packed);
        dst[i - 1] = unpackCell(packed);
    }
}

// Unpacks the cells [0, count): in rounds [lo, min(2 lo, count)) from the top, then the
// first cells alone. A round reads packed bytes from 4 lo on and writes bytes from 8 lo
// on, where only packed cells of earlier rounds lay; so each round's cells are shared
// among threads.
void unpackAll(const std::uint32_t* src, Cell* dst, std::size_t count) {
    if (count == 0) return;
    constexpr std::size_t kAlone = std::size_t{1} << 15;
    const std::size_t head = std::min(count, kAlone);
    std::vector<std::size_t> starts;
    for (std::size_t lo = head; lo < count; lo = std::min(2 * lo, count))
        starts.push_back(lo);
    const int threads = fieldThreadCount(static_cast<long long>(count));
    for (auto lo = starts.rbegin(); lo != starts.rend(); ++lo) {
        const std::size_t begin = *lo, n = std::min(2 * begin, count) - begin;
        runTeam(threads, [&](int worker, int workers) {
            unpackCells(src, dst, begin + n * worker / workers, begin + n * (worker + 1) / workers);
        });
    }
    unpackCells(src, dst, 0, head);
}

} // namespace

PackedMap::PackedMap(Matrix& map, bool signs)
    : m_map(map), m_columns(map.columns()), m_rows(map.rows()), m_signs(signs),
      m_cells(reinterpret_cast<std::uint32_t*>(map.column(0))) {}

void PackedMap::packColumns(int x0, int x1) {
    packCells(m_map.column(0), m_cells, static_cast<std::size_t>(x0) * m_rows,
              static_cast<std::size_t>(x1) * m_rows);
}

void PackedMap::unpack() {
    unpackAll(m_cells, m_map.column(0), static_cast<std::size_t>(m_columns) * m_rows);
}

void horizontalMean(PackedMap& map, int x, const std::uint32_t* left) {
    const std::uint32_t* a = left;
    std::uint32_t* c = map.column(x);
    const std::uint32_t* b = map.column(x + 1);
    const int end = map.rows() - 1;
    int y = wideKernels() ? wide::horizontalMean(map, x, left) : 1;
#if defined(__SSE2__)
    for (; y + 4 <= end; y += 4)
        store4(c + y, meanWhere<false>(load4(c + y), load4(a + y), load4(b + y)));
#endif
    for (; y < end; ++y)
        packedScalar(c + y, a[y], b[y], horizontalCell);
}

void horizontalRepair(PackedMap& map, int x) {
    const std::uint32_t* a = map.column(x - 1);
    std::uint32_t* c = map.column(x);
    const std::uint32_t* b = map.column(x + 1);
    const int end = map.rows() - 1;
    for (int y = nextToRepair(c, 1, end); y < end; y = nextToRepair(c, y + 1, end))
        packedScalar(c + y, a[y], b[y], repairCell);
}

void verticalMean(PackedMap& map, int x0, int x1) {
    int x = wideKernels() ? wide::verticalMean(map, x0, x1) : x0;
#if defined(__SSE2__)
    for (; x + 8 <= x1; x += 8)
        verticalGroups<2>(map, x);
    for (; x + 4 <= x1; x += 4)
        verticalGroups<1>(map, x);
#endif
    for (; x < x1; ++x) {
        std::uint32_t* c = map.column(x);
        for (int y = 1; y < map.rows() - 1; ++y)
            packedScalar(c + y, c[y - 1], c[y + 1], verticalCell);
    }
}

void horizontalVerticalMean(PackedMap& map, int x0, int x1, const std::uint32_t* left,
                            std::uint32_t* saved) {
    // Split anywhere, the chunk's parts pass the saved column on, left to right.
    int x = x0;
    if (kernelWidth() >= 16) x = widest::horizontalVerticalMean(map, x, x1, left, saved);
    if (wideKernels()) x = wide::horizontalVerticalMean(map, x, x1, x == x0 ? left : saved, saved);
    if (x < x1) horizontalThenVertical(map, x, x1, x == x0 ? left : saved, saved);
}

void verticalRepair(PackedMap& map, int x0, int x1) {
    const int end = map.rows() - 1;
    for (int x = x0; x < x1; ++x) {
        std::uint32_t* c = map.column(x);
        for (int y = nextToRepair(c, 1, end); y < end; y = nextToRepair(c, y + 1, end))
            packedScalar(c + y, c[y - 1], c[y + 1], repairCell);
    }
}

void horizontalMean(Matrix& map, int x, const Cell* left) {
    const Cell* a = left;
    Cell* c = map.column(x);
    const Cell* b = map.column(x + 1);
    for (int y = 1; y < map.rows() - 1; ++y)
        c[y] = horizontalCell(c[y], a[y], b[y]);
}

void horizontalRepair(Matrix& map, int x) {
    const Cell* a = map.column(x - 1);
    Cell* c = map.column(x);
    const Cell* b = map.column(x + 1);
    for (int y = 1; y < map.rows() - 1; ++y)
        if (needsRepair(c[y])) c[y] = repairCell(c[y], a[y], b[y]);
}

void verticalMean(Matrix& map, int x0, int x1) {
    for (int x = x0; x < x1; ++x) {
        Cell* c = map.column(x);
        for (int y = 1; y < map.rows() - 1; ++y)
            c[y] = verticalCell(c[y], c[y - 1], c[y + 1]);
    }
}

void horizontalVerticalMean(Matrix& map, int x0, int x1, const Cell* left, Cell* saved) {
    horizontalThenVertical(map, x0, x1, left, saved);
}

void verticalRepair(Matrix& map, int x0, int x1) {
    for (int x = x0; x < x1; ++x) {
        Cell* c = map.column(x);
        for (int y = 1; y < map.rows() - 1; ++y)
            if (needsRepair(c[y])) c[y] = repairCell(c[y], c[y - 1], c[y + 1]);
    }
}

} // namespace plakett::smoothkernels
