// The number beside a track bar, and the opacity bars whose stored value is the weight of
// what lies underneath: shown the other way round, so right and 255 mean fully visible.
#pragma once

#include <functional>

class QLabel;
class QWidget;

namespace plakett {

class TrackBar;

// A label that follows the bar (also its silent changes) and shows `shown(value)`.
QLabel* makeValueLabel(
    TrackBar* bar, QWidget* parent, std::function<int(int)> shown = [](int v) { return v; });

// Turns the bar round (right = lower stored value) and returns the label showing
// 255 - stored value. The stored value is left as it is.
QLabel* presentAsOpacity(TrackBar* bar, QWidget* parent);

} // namespace plakett
