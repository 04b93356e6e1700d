// The sample the distance pass settles on for each cell: the nearest one, of equally near
// ones the last, with distances compared as float32 (exact below 2^24). Found per row with
// a lower envelope of parabolas instead of a scan of all samples per cell.
#pragma once

#include "render/field_line_lists.h"
#include "render/matrix.h"

#include <cstdint>
#include <vector>

namespace plakett {

class NearestSamples {
  public:
    static constexpr std::int32_t kNone = -1; // no sample (or none nearer than 2^31)

    NearestSamples(const PointsArray& samples, int columns, int rows);

    // Where two parabolas meet, num / (N den) with den > 0; den = 0 is infinite, the sign
    // of num telling which way.
    struct Bound {
        std::int64_t num;
        std::int64_t den;
    };
    // One worker's working memory. Rows must be given in ascending order.
    struct Scratch {
        std::vector<int> columnCursor;
        std::vector<int> q;
        std::vector<std::int64_t> f;
        std::vector<std::int32_t> sample; // the sample behind f
        std::vector<int> v;
        std::vector<Bound> z;
        std::vector<std::int64_t> start; // first column where each envelope piece wins
    };
    Scratch makeScratch() const;

    // nearest[x] for every inside column x of row y (maskRow: 0 = inside); kNone elsewhere.
    void row(int y, Scratch& scratch, const std::uint8_t* maskRow, std::int32_t* nearest) const;

    // The scan of the distance pass for one cell, all samples in order.
    std::int32_t scan(int x, int y) const;

    const PointsArray& samples() const { return m_samples; }

  private:
    void columnBests(int y, Scratch& s) const;
    void envelope(Scratch& s) const;

    PointsArray m_samples;
    int m_columns;
    int m_rows;
    std::int64_t m_n;
    bool m_keysFit;
    LineLists m_byColumn;
};

} // namespace plakett
