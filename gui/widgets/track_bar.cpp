#include "gui/widgets/track_bar.h"

#include <QSignalBlocker>

namespace plakett {

TrackBar::TrackBar(int minimum, int maximum, int tickInterval, int position, QWidget* parent)
    : QSlider(Qt::Horizontal, parent) {
    setRange(minimum, maximum);
    if (tickInterval > 0) {
        setTickInterval(tickInterval);
        setTickPosition(QSlider::TicksBelow);
    }
    setPageStep(tickInterval > 0 ? tickInterval : 1);
    setValue(position);
}

void TrackBar::setPositionSilently(int position) {
    {
        const QSignalBlocker block(this);
        setValue(position);
    }
    emit shownSilently();
}

void TrackBar::setRangeSilently(int minimum, int maximum) {
    {
        const QSignalBlocker block(this);
        setRange(minimum, maximum);
    }
    emit shownSilently();
}

} // namespace plakett
