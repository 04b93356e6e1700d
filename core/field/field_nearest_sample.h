// The sample the distance pass settles on for each cell: the nearest one, of equally near
// ones the last, with distances compared as float32 (exact below 2^24). Found per row with
// a lower envelope of parabolas instead of a scan of all samples per cell.
#pragma once

#include "field/field_line_lists.h"
#include "common/matrix.h"

#include <cstdint>
#include <vector>

namespace plakett {

class NearestSamples {
  public:
    static constexpr std::int32_t kNone = -1; // no sample (or none nearer than 2^31)

    NearestSamples(const PointsArray& samples, int columns, int rows);

    // One worker's working memory. Rows must be given in ascending order.
    struct Scratch {
        std::vector<int> columnCursor; // per column holding samples
        // The pieces of the row's lower envelope: height of its parabola at column 0,
        // where the piece starts winning, startNum / (N startDen) with startDen > 0, its
        // column and sample.
        struct Piece {
            std::int64_t height;
            std::int64_t startNum;
            std::int64_t startDen;
            std::int32_t q;
            std::int32_t sample;
        };
        std::vector<Piece> pieces;
    };
    Scratch makeScratch() const;

    // nearest[x] for every inside column x of row y (maskRow: 0 = inside); kNone elsewhere.
    void row(int y, Scratch& scratch, const std::uint8_t* maskRow, std::int32_t* nearest) const;

    // The scan of the distance pass for one cell, all samples in order.
    std::int32_t scan(int x, int y) const;

    const PointsArray& samples() const { return m_samples; }

  private:
    // Builds the envelope for row y; returns its number of pieces.
    template <bool kSmall> int envelope(int y, Scratch& s) const;

    PointsArray m_samples;
    int m_columns;
    int m_rows;
    std::int64_t m_n;
    bool m_keysFit;
    bool m_alwaysExact; // no two cells of the raster are 2^12 apart
    bool m_smallKeys;   // heights below 2^46: bound products fit 63 bits
    LineLists m_byColumn;
    // The columns holding samples, ascending, with their samples and N q^2.
    struct SampleColumn {
        const LineEntry* entries;
        std::int32_t count;
        std::int32_t x;
        std::int64_t height;
    };
    std::vector<SampleColumn> m_sampleColumns;
};

} // namespace plakett
