// Points grouped by raster line (a row, a column or a diagonal), each line sorted by
// position, one entry per position.
#pragma once

#include <cstdint>
#include <vector>

namespace plakett {

struct LineEntry {
    std::int32_t pos;   // position along the line
    std::int32_t index; // the point's index in its array
};

struct LineItem {
    std::int32_t line;
    LineEntry entry;
};

class LineLists {
  public:
    enum class Keep { First, Last }; // which index stays when several points share a position

    LineLists() = default;
    LineLists(int lineCount, const std::vector<LineItem>& items, Keep keep);

    const LineEntry* begin(int line) const { return m_entries.data() + m_offsets[line]; }
    int size(int line) const { return m_offsets[line + 1] - m_offsets[line]; }

  private:
    std::vector<std::int32_t> m_offsets;
    std::vector<LineEntry> m_entries;
};

// Moves `cursor` forward to the first entry of a sorted line at or after `pos`.
inline int advanceTo(const LineEntry* line, int count, int cursor, int pos) {
    while (cursor < count && line[cursor].pos < pos)
        ++cursor;
    return cursor;
}

} // namespace plakett
