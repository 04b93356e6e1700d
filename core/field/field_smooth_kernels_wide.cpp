// The smoothing kernels at eight packed cells per register, for processors with AVX2; the
// same operations as the four-cell kernels, so the same cells. Compiled for AVX2 function by
// function, so that nothing else in the program needs it.
#include "field/field_smooth_kernels.h"

#include "field/field_smooth_cells.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define PLAKETT_WIDE __attribute__((target("avx2")))
#define PLAKETT_HAVE_WIDE 1
#endif

namespace plakett::smoothkernels::wide {

#if defined(PLAKETT_HAVE_WIDE)

namespace {

PLAKETT_WIDE inline __m256i load8(const std::uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
PLAKETT_WIDE inline void store8(std::uint32_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// See the four-cell meanWhere: the mean where all three have the tested component above
// zero, c elsewhere; kTestV false tests u (low halves), true tests v (high halves). kSigns:
// every sum used is at least 0 (see PackedMap::Range), so the multiply's floor is the
// truncation.
template <bool kTestV, bool kSigns = false>
PLAKETT_WIDE inline __m256i meanWhere(__m256i c, __m256i a, __m256i b) {
    const __m256i least = _mm256_min_epi16(a, _mm256_min_epi16(c, b));
    const __m256i ok = kTestV
                           ? _mm256_cmpgt_epi32(least, _mm256_set1_epi32(0xFFFF))
                           : _mm256_cmpgt_epi32(_mm256_slli_epi32(least, 16), _mm256_setzero_si256());
    const __m256i sum = _mm256_add_epi16(a, _mm256_add_epi16(c, b));
    const __m256i floor = _mm256_mulhi_epi16(sum, _mm256_set1_epi16(0x5556));
    const __m256i mean = kSigns ? floor : _mm256_sub_epi16(floor, _mm256_srai_epi16(sum, 15));
    return _mm256_blendv_epi8(c, mean, ok);
}

// Eight registers of eight 32-bit cells, rows to columns and back.
PLAKETT_WIDE inline void transpose(__m256i* r) {
    __m256i t[8], u[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
        t[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
    }
    for (int i = 0; i < 8; i += 4) {
        u[i] = _mm256_unpacklo_epi64(t[i], t[i + 2]);
        u[i + 1] = _mm256_unpackhi_epi64(t[i], t[i + 2]);
        u[i + 2] = _mm256_unpacklo_epi64(t[i + 1], t[i + 3]);
        u[i + 3] = _mm256_unpackhi_epi64(t[i + 1], t[i + 3]);
    }
    for (int i = 0; i < 4; ++i) {
        r[i] = _mm256_permute2x128_si256(u[i], u[i + 4], 0x20);
        r[i + 4] = _mm256_permute2x128_si256(u[i], u[i + 4], 0x31);
    }
}

// Rows y .. y + 7 of eight columns, as eight row registers.
struct Tile {
    __m256i row[8];
    PLAKETT_WIDE void load(std::uint32_t* const* col, int y) {
        for (int i = 0; i < 8; ++i)
            row[i] = load8(col[i] + y);
        transpose(row);
    }
    PLAKETT_WIDE void store(std::uint32_t* const* col, int y) const {
        __m256i r[8];
        for (int i = 0; i < 8; ++i)
            r[i] = row[i];
        transpose(r);
        for (int i = 0; i < 8; ++i)
            store8(col[i] + y, r[i]);
    }
};

PLAKETT_WIDE inline __m256i gatherRow(std::uint32_t* const* col, int y) {
    return _mm256_setr_epi32(
        static_cast<int>(col[0][y]), static_cast<int>(col[1][y]), static_cast<int>(col[2][y]),
        static_cast<int>(col[3][y]), static_cast<int>(col[4][y]), static_cast<int>(col[5][y]),
        static_cast<int>(col[6][y]), static_cast<int>(col[7][y]));
}
PLAKETT_WIDE inline void scatterRow(std::uint32_t* const* col, int y, __m256i v) {
    alignas(32) std::uint32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), v);
    for (int i = 0; i < 8; ++i)
        col[i][y] = lanes[i];
}

// kGroups groups of eight columns at x, their chains interleaved (each row's value needs
// the new one above it, so one chain alone would wait on every step).
template <int kGroups> PLAKETT_WIDE void verticalGroups(PackedMap& map, int x) {
    const int rows = map.rows();
    std::uint32_t* col[kGroups][8];
    __m256i above[kGroups];
    for (int g = 0; g < kGroups; ++g) {
        for (int i = 0; i < 8; ++i)
            col[g][i] = map.column(x + 8 * g + i);
        above[g] = gatherRow(col[g], 0);
    }
    int y = 1;
    // Whole tiles while the row below the tile exists as the next tile's first row.
    if (rows - 1 >= 9) {
        Tile tile[kGroups], next[kGroups] = {}; // next is read only once loaded
        for (int g = 0; g < kGroups; ++g)
            tile[g].load(col[g], 1);
        for (; y + 8 <= rows - 1; y += 8) {
            const bool more = y + 16 <= rows;
            for (int g = 0; g < kGroups; ++g) {
                if (more) next[g].load(col[g], y + 8);
                const __m256i lastBelow = more ? next[g].row[0] : gatherRow(col[g], y + 8);
                __m256i* r = tile[g].row;
                r[0] = meanWhere<true>(r[0], above[g], r[1]);
                for (int i = 1; i < 7; ++i)
                    r[i] = meanWhere<true>(r[i], r[i - 1], r[i + 1]);
                r[7] = meanWhere<true>(r[7], r[6], lastBelow);
                above[g] = r[7];
                tile[g].store(col[g], y);
                if (more) tile[g] = next[g];
            }
            if (!more) {
                y += 8;
                break;
            }
        }
    }
    for (; y < rows - 1; ++y) {
        for (int g = 0; g < kGroups; ++g) {
            const __m256i out =
                meanWhere<true>(gatherRow(col[g], y), above[g], gatherRow(col[g], y + 1));
            scatterRow(col[g], y, out);
            above[g] = out;
        }
    }
}

// Rows y .. y + 7 of the eight columns after the horizontal mean, as row registers; the
// last column's new values go to saved.
template <bool kSigns>
PLAKETT_WIDE inline void horizontalTile(__m256i* r, std::uint32_t* const* col,
                                        const std::uint32_t* left, const std::uint32_t* right,
                                        std::uint32_t* saved, int y) {
    for (int i = 0; i < 8; ++i)
        r[i] = load8(col[i] + y);
    r[0] = meanWhere<false, kSigns>(r[0], load8(left + y), r[1]);
    for (int i = 1; i < 7; ++i)
        r[i] = meanWhere<false, kSigns>(r[i], r[i - 1], r[i + 1]);
    r[7] = meanWhere<false, kSigns>(r[7], r[6], load8(right + y));
    store8(saved + y, r[7]);
    transpose(r);
}

// Tiles of eight rows: the horizontal mean works on column registers, the vertical one, after
// a transpose, on row registers. The next tile's horizontal mean comes before this tile's
// vertical chain, which needs its first row and does not hold it up.
template <bool kSigns>
PLAKETT_WIDE void horizontalVerticalTiles(PackedMap& map, int x0, const std::uint32_t* left,
                                          std::uint32_t* saved) {
    const int end = map.rows() - 1;
    std::uint32_t* col[8];
    for (int i = 0; i < 8; ++i)
        col[i] = map.column(x0 + i);
    const std::uint32_t* right = map.column(x0 + 8);
    const int tiles = (end - 1) / 8;
    const int tail = 1 + 8 * tiles;
    // Rows below the last whole tile, horizontally first: the last tile's chain ends on them.
    for (int y = tail; y < end; ++y) {
        std::uint32_t a = left[y];
        for (int i = 0; i < 8; ++i) {
            a = packedCell(col[i][y], a, i < 7 ? col[i + 1][y] : right[y], horizontalCell);
            col[i][y] = a;
        }
        saved[y] = a;
    }
    __m256i above = gatherRow(col, 0);
    __m256i tile[8], next[8] = {}; // next is read only once loaded
    if (tiles > 0) horizontalTile<kSigns>(tile, col, left, right, saved, 1);
    for (int k = 0; k < tiles; ++k) {
        const int y = 1 + 8 * k;
        const bool more = k + 1 < tiles;
        if (more) horizontalTile<kSigns>(next, col, left, right, saved, y + 8);
        const __m256i below = more ? next[0] : gatherRow(col, y + 8);
        tile[0] = meanWhere<true, kSigns>(tile[0], above, tile[1]);
        for (int i = 1; i < 7; ++i)
            tile[i] = meanWhere<true, kSigns>(tile[i], tile[i - 1], tile[i + 1]);
        tile[7] = meanWhere<true, kSigns>(tile[7], tile[6], below);
        above = tile[7];
        transpose(tile);
        for (int i = 0; i < 8; ++i)
            store8(col[i] + y, tile[i]);
        if (more)
            for (int i = 0; i < 8; ++i)
                tile[i] = next[i];
    }
    for (int y = tail; y < end; ++y) {
        const __m256i out = meanWhere<true, kSigns>(gatherRow(col, y), above, gatherRow(col, y + 1));
        scatterRow(col, y, out);
        above = out;
    }
}

} // namespace

PLAKETT_WIDE int horizontalVerticalMean(PackedMap& map, int x0, int x1, const std::uint32_t* left,
                                        std::uint32_t* saved) {
    int x = x0;
    for (; x + 8 <= x1; x += 8) {
        const std::uint32_t* from = x == x0 ? left : saved;
        if (map.signs())
            horizontalVerticalTiles<true>(map, x, from, saved);
        else
            horizontalVerticalTiles<false>(map, x, from, saved);
    }
    return x;
}

bool available() {
    __builtin_cpu_init(); // asked while globals are set up, perhaps before it ran by itself
    return __builtin_cpu_supports("avx2");
}

PLAKETT_WIDE int horizontalMean(PackedMap& map, int x, const std::uint32_t* left) {
    const std::uint32_t* a = left;
    std::uint32_t* c = map.column(x);
    const std::uint32_t* b = map.column(x + 1);
    const int end = map.rows() - 1;
    int y = 1;
    for (; y + 8 <= end; y += 8)
        store8(c + y, meanWhere<false>(load8(c + y), load8(a + y), load8(b + y)));
    return y;
}

PLAKETT_WIDE int verticalMean(PackedMap& map, int x0, int x1) {
    int x = x0;
    for (; x + 16 <= x1; x += 16)
        verticalGroups<2>(map, x);
    for (; x + 8 <= x1; x += 8)
        verticalGroups<1>(map, x);
    return x;
}

#else

bool available() {
    return false;
}
int horizontalMean(PackedMap&, int, const std::uint32_t*) {
    return 1;
}
int horizontalVerticalMean(PackedMap&, int x0, int, const std::uint32_t*, std::uint32_t*) {
    return x0;
}
int verticalMean(PackedMap&, int x0, int) {
    return x0;
}

#endif

} // namespace plakett::smoothkernels::wide
