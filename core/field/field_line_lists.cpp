// Counting sort by line, then a sort by position inside each (usually short) line.
#include "field/field_line_lists.h"

#include <algorithm>

namespace plakett {

LineLists::LineLists(int lineCount, const std::vector<LineItem>& items, Keep keep) {
    std::vector<std::int32_t> start(static_cast<std::size_t>(lineCount) + 1, 0);
    for (const LineItem& item : items)
        ++start[item.line + 1];
    for (int l = 0; l < lineCount; ++l)
        start[l + 1] += start[l];
    std::vector<LineEntry> sorted(items.size());
    std::vector<std::int32_t> fill(start.begin(), start.end() - 1);
    for (const LineItem& item : items)
        sorted[fill[item.line]++] = item.entry;

    m_offsets.assign(static_cast<std::size_t>(lineCount) + 1, 0);
    m_entries.reserve(items.size());
    for (int l = 0; l < lineCount; ++l) {
        auto first = sorted.begin() + start[l];
        auto last = sorted.begin() + start[l + 1];
        std::sort(first, last, [](const LineEntry& a, const LineEntry& b) {
            return a.pos != b.pos ? a.pos < b.pos : a.index < b.index;
        });
        for (auto it = first; it != last; ++it) {
            const bool samePos = !m_entries.empty() &&
                                 static_cast<int>(m_entries.size()) > m_offsets[l] &&
                                 m_entries.back().pos == it->pos;
            if (!samePos)
                m_entries.push_back(*it);
            else if (keep == Keep::Last)
                m_entries.back().index = it->index;
        }
        m_offsets[l + 1] = static_cast<std::int32_t>(m_entries.size());
    }
}

} // namespace plakett
