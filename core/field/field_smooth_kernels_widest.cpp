// The paired horizontal and vertical means at sixteen packed cells per register, for
// processors with AVX-512 (F and BW): 16 x 16 tiles, the horizontal mean on column
// registers, the vertical one on row registers after a transpose. Mask registers choose
// between mean and old value, one operation instead of a byte blend. The same cells as the
// narrower kernels.
#include "field/field_smooth_kernels.h"

#include "field/field_smooth_cells.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#if !defined(__clang__)
// GCC 12's intrinsics start some results from a deliberately undefined register, which
// its own flow analysis then reports.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#define PLAKETT_WIDEST __attribute__((target("avx512f,avx512bw")))
#define PLAKETT_HAVE_WIDEST 1
#endif

namespace plakett::smoothkernels::widest {

#if defined(PLAKETT_HAVE_WIDEST)

namespace {

PLAKETT_WIDEST inline __m512i load16(const std::uint32_t* p) {
    return _mm512_loadu_si512(p);
}
PLAKETT_WIDEST inline void store16(std::uint32_t* p, __m512i v) {
    _mm512_storeu_si512(p, v);
}

// The mean of c, a, b where all three have the tested component above zero, c elsewhere;
// kTestV false tests u (low halves), true tests v (high halves). With kSigns (see
// PackedMap::Range) every sum used is at least 0, so truncation is the floor the multiply
// gives, with no step for negative sums.
template <bool kTestV, bool kSigns>
PLAKETT_WIDEST inline __m512i meanWhere(__m512i c, __m512i a, __m512i b) {
    const __m512i least = _mm512_min_epi16(a, _mm512_min_epi16(c, b));
    const __mmask16 ok =
        kTestV ? _mm512_cmpgt_epi32_mask(least, _mm512_set1_epi32(0xFFFF))
               : _mm512_cmpgt_epi32_mask(_mm512_slli_epi32(least, 16), _mm512_setzero_si512());
    const __m512i sum = _mm512_add_epi16(a, _mm512_add_epi16(c, b));
    const __m512i floor = _mm512_mulhi_epi16(sum, _mm512_set1_epi16(0x5556));
    const __m512i mean = kSigns ? floor : _mm512_sub_epi16(floor, _mm512_srai_epi16(sum, 15));
    return _mm512_mask_mov_epi32(c, ok, mean);
}

// Sixteen registers of sixteen 32-bit cells, rows to columns and back.
PLAKETT_WIDEST inline void transpose(__m512i* r) {
    __m512i t[16];
    for (int i = 0; i < 16; i += 2) {
        t[i] = _mm512_unpacklo_epi32(r[i], r[i + 1]);
        t[i + 1] = _mm512_unpackhi_epi32(r[i], r[i + 1]);
    }
    for (int i = 0; i < 16; i += 4) {
        r[i] = _mm512_unpacklo_epi64(t[i], t[i + 2]);
        r[i + 1] = _mm512_unpackhi_epi64(t[i], t[i + 2]);
        r[i + 2] = _mm512_unpacklo_epi64(t[i + 1], t[i + 3]);
        r[i + 3] = _mm512_unpackhi_epi64(t[i + 1], t[i + 3]);
    }
    // Each register now holds, per 128-bit lane, four cells of one output row; the lanes
    // are gathered across registers four apart, then eight apart.
    for (int i = 0; i < 4; ++i) {
        t[i] = _mm512_shuffle_i32x4(r[i], r[i + 4], 0x88);
        t[i + 4] = _mm512_shuffle_i32x4(r[i], r[i + 4], 0xDD);
        t[i + 8] = _mm512_shuffle_i32x4(r[i + 8], r[i + 12], 0x88);
        t[i + 12] = _mm512_shuffle_i32x4(r[i + 8], r[i + 12], 0xDD);
    }
    for (int i = 0; i < 4; ++i) {
        r[i] = _mm512_shuffle_i32x4(t[i], t[i + 8], 0x88);
        r[i + 8] = _mm512_shuffle_i32x4(t[i], t[i + 8], 0xDD);
        r[i + 4] = _mm512_shuffle_i32x4(t[i + 4], t[i + 12], 0x88);
        r[i + 12] = _mm512_shuffle_i32x4(t[i + 4], t[i + 12], 0xDD);
    }
}

// Row y of the sixteen columns (stride `rows` cells from first).
PLAKETT_WIDEST inline __m512i gatherRow(const std::uint32_t* first, __m512i offsets, int y) {
    return _mm512_i32gather_epi32(offsets, first + y, 4);
}

// Rows y .. y + 15 of the sixteen columns after the horizontal mean, as row registers; the
// last column's new values go to saved.
template <bool kSigns>
PLAKETT_WIDEST inline void horizontalTile(__m512i* r, std::uint32_t* const* col,
                                          const std::uint32_t* left, const std::uint32_t* right,
                                          std::uint32_t* saved, int y) {
    for (int i = 0; i < 16; ++i)
        r[i] = load16(col[i] + y);
    r[0] = meanWhere<false, kSigns>(r[0], load16(left + y), r[1]);
    for (int i = 1; i < 15; ++i)
        r[i] = meanWhere<false, kSigns>(r[i], r[i - 1], r[i + 1]);
    r[15] = meanWhere<false, kSigns>(r[15], r[14], load16(right + y));
    store16(saved + y, r[15]);
    transpose(r);
}

template <bool kSigns>
PLAKETT_WIDEST void horizontalVerticalTiles(PackedMap& map, int x0, const std::uint32_t* left,
                                            std::uint32_t* saved) {
    const int rows = map.rows();
    const int end = rows - 1;
    std::uint32_t* col[16];
    for (int i = 0; i < 16; ++i)
        col[i] = map.column(x0 + i);
    const std::uint32_t* right = map.column(x0 + 16);
    const __m512i offsets = _mm512_mullo_epi32(
        _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
        _mm512_set1_epi32(rows));
    const int tiles = (end - 1) / 16;
    const int tail = 1 + 16 * tiles;
    // Rows below the last whole tile, horizontally first: the last tile's chain ends on them.
    for (int y = tail; y < end; ++y) {
        std::uint32_t a = left[y];
        for (int i = 0; i < 16; ++i) {
            a = packedCell(col[i][y], a, i < 15 ? col[i + 1][y] : right[y], horizontalCell);
            col[i][y] = a;
        }
        saved[y] = a;
    }
    __m512i above = gatherRow(col[0], offsets, 0);
    __m512i tile[16], next[16];
    if (tiles > 0) horizontalTile<kSigns>(tile, col, left, right, saved, 1);
    for (int k = 0; k < tiles; ++k) {
        const int y = 1 + 16 * k;
        const bool more = k + 1 < tiles;
        if (more) horizontalTile<kSigns>(next, col, left, right, saved, y + 16);
        const __m512i below = more ? next[0] : gatherRow(col[0], offsets, y + 16);
        tile[0] = meanWhere<true, kSigns>(tile[0], above, tile[1]);
        for (int i = 1; i < 15; ++i)
            tile[i] = meanWhere<true, kSigns>(tile[i], tile[i - 1], tile[i + 1]);
        tile[15] = meanWhere<true, kSigns>(tile[15], tile[14], below);
        above = tile[15];
        transpose(tile);
        for (int i = 0; i < 16; ++i)
            store16(col[i] + y, tile[i]);
        if (more)
            for (int i = 0; i < 16; ++i)
                tile[i] = next[i];
    }
    // The rows below, column by column.
    for (int i = 0; i < 16; ++i)
        for (int y = tail; y < end; ++y)
            col[i][y] = packedCell(col[i][y], col[i][y - 1], col[i][y + 1], verticalCell);
}

} // namespace

bool available() {
    __builtin_cpu_init(); // asked while globals are set up, perhaps before it ran by itself
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
}

int horizontalVerticalMean(PackedMap& map, int x0, int x1, const std::uint32_t* left,
                           std::uint32_t* saved) {
    int x = x0;
    for (; x + 16 <= x1; x += 16) {
        const std::uint32_t* from = x == x0 ? left : saved;
        if (map.signs())
            horizontalVerticalTiles<true>(map, x, from, saved);
        else
            horizontalVerticalTiles<false>(map, x, from, saved);
    }
    return x;
}

#else

bool available() {
    return false;
}
int horizontalVerticalMean(PackedMap&, int x0, int, const std::uint32_t*, std::uint32_t*) {
    return x0;
}

#endif

} // namespace plakett::smoothkernels::widest
