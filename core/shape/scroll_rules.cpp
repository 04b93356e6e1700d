#include "shape/scroll_rules.h"

#include "shape/shape_arith.h"

#include <algorithm>
#include <limits>

namespace plakett {

namespace {

// Scroll bars hold 32-bit values; shapes from files may sit anywhere.
std::int32_t saturate(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::int32_t scrollOffset(std::int32_t low) {
    if (low > 2) return 0;
    return saturate(std::int64_t{3} - low);
}

ScrollBarState deriveScrollBar(std::int32_t low, std::int32_t high, std::int32_t size,
                               const ScrollBarState& current) {
    ScrollBarState bar = current;
    const std::int32_t offset = scrollOffset(low);
    if (std::int64_t{high} > std::int64_t{size} - 3) {
        const std::int64_t m = std::int64_t{offset} + high - size + 3;
        // m + 3, or m when the bar already ends at m + 3.
        bar.maximum = current.maximum == saturate(m + 3) ? saturate(m) : saturate(m + 3);
    }
    bar.maximum = std::max(bar.maximum, offset);
    bar.minimum = low > 2 ? 0 : -2;
    bar.position = offset;
    if (current.visible && low > 2 && std::int64_t{high} < std::int64_t{size} - 2)
        bar.visible = false;
    else if (!current.visible && (low < 0 || high > size))
        bar.visible = true;
    return bar;
}

std::int32_t horizontalScrollShift(std::int32_t left, std::int32_t position) {
    if (left > 2) return position;
    return saturate(std::int64_t{left} + position - 3);
}

std::int32_t verticalScrollMove(std::int32_t last, std::int32_t position) {
    return saturate(std::int64_t{last} - position);
}

void scrollShape(TContur& contur, std::int32_t dx, std::int32_t dy) {
    for (TMoveBox& p : contur.FPoints)
        p.FPos = {wrap32(std::int64_t{p.FPos.X} + dx), wrap32(std::int64_t{p.FPos.Y} + dy)};
    contur.Changed();
}

} // namespace plakett
