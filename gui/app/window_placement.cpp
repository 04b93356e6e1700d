#include "gui/app/window_placement.h"

#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace plakett {
namespace {

constexpr int kGrid = 8;
constexpr int kGap = 6;

std::int64_t overlap(const QRect& a, const QRect& b) {
    const QRect r = a.intersected(b);
    return r.isEmpty() ? 0 : std::int64_t{r.width()} * r.height();
}

} // namespace

// A search over a coarse grid of the screen: covering the images costs most, covering
// another tool window less, and among equal places the one nearest the images' lower left
// wins, so the windows gather under and beside the button.
QPoint toolWindowPosition(QSize frame, const QRect& screen, const QRect& avoid,
                          const std::vector<QRect>& taken) {
    const int maxX = std::max(screen.left(), screen.right() + 1 - frame.width());
    const int maxY = std::max(screen.top(), screen.bottom() + 1 - frame.height());
    const QPoint anchor =
        avoid.isEmpty() ? screen.topLeft() : QPoint(avoid.left(), avoid.bottom() + 1 + kGap);
    QPoint best = screen.topLeft();
    std::int64_t bestCost = std::numeric_limits<std::int64_t>::max();
    const auto consider = [&](int x, int y) {
        const QRect r(QPoint(x, y), frame);
        const QRect padded = r.adjusted(-kGap, -kGap, kGap, kGap);
        std::int64_t cost = 64 * overlap(padded, avoid);
        for (const QRect& t : taken)
            cost += 16 * overlap(padded, t);
        cost += std::abs(x - anchor.x()) + 2 * std::abs(y - anchor.y());
        if (cost < bestCost) {
            bestCost = cost;
            best = {x, y};
        }
    };
    // Places flush with the screen's edges, the images and the open windows, then a grid.
    std::vector<int> xs{screen.left(), maxX};
    std::vector<int> ys{screen.top(), maxY};
    for (const QRect& r : taken) {
        xs.push_back(r.right() + 1 + kGap);
        xs.push_back(r.left() - kGap - frame.width());
        ys.push_back(r.bottom() + 1 + kGap);
        ys.push_back(r.top() - kGap - frame.height());
    }
    if (!avoid.isEmpty()) {
        xs.push_back(avoid.right() + 1 + kGap);
        ys.push_back(avoid.bottom() + 1 + kGap);
    }
    for (int x = screen.left(); x <= maxX; x += kGrid)
        xs.push_back(x);
    for (int y = screen.top(); y <= maxY; y += kGrid)
        ys.push_back(y);
    for (int y : ys)
        for (int x : xs)
            if (x >= screen.left() && x <= maxX && y >= screen.top() && y <= maxY) consider(x, y);
    return best;
}

void placeToolWindow(QWidget* window, const QRect& screen, const QRect& avoid,
                     const std::vector<QRect>& taken) {
    window->adjustSize();
    // A window not yet shown has no frame: allow for a title bar and borders, which a window
    // manager may add.
    QSize outer = window->frameGeometry().size();
    if (outer == window->size()) outer += QSize(8, 32);
    window->move(toolWindowPosition(outer, screen, avoid, taken));
}

} // namespace plakett
