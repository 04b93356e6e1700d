// A horizontal track bar with the range, tick spacing and start position of a designed
// control, and a way to show a value without running its change handler.
#pragma once

#include <QSlider>

namespace plakett {

class TrackBar : public QSlider {
    Q_OBJECT
  public:
    TrackBar(int minimum, int maximum, int tickInterval, int position, QWidget* parent = nullptr);

    // Shows a value (or range) that the model already holds; emits nothing.
    void setPositionSilently(int position);
    void setRangeSilently(int minimum, int maximum);

  signals:
    // A silent change: what shows the bar's value (a number field) follows it.
    void shownSilently();
};

} // namespace plakett
