// A number field beside a track bar whose range is too fine for its width: typing a value
// moves the bar (and so runs its handler once); the bar's moves show in the field.
#pragma once

class QSpinBox;
class QWidget;

namespace plakett {

class TrackBar;

QSpinBox* makeTrackBarField(TrackBar* bar, QWidget* parent);

} // namespace plakett
