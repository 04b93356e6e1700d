#include "gui/widgets/track_bar_field.h"

#include "gui/widgets/track_bar.h"

#include <QSignalBlocker>
#include <QSpinBox>

namespace plakett {

QSpinBox* makeTrackBarField(TrackBar* bar, QWidget* parent) {
    auto* field = new QSpinBox(parent);
    field->setObjectName(bar->objectName() + QStringLiteral("Field"));
    field->setKeyboardTracking(false); // one change per typed number, not per digit
    field->setAccelerated(true);
    const auto follow = [bar, field] {
        const QSignalBlocker block(field);
        field->setRange(bar->minimum(), bar->maximum());
        field->setValue(bar->value());
    };
    follow();
    QObject::connect(bar, &QSlider::valueChanged, field, follow);
    QObject::connect(bar, &QSlider::rangeChanged, field, follow);
    QObject::connect(bar, &TrackBar::shownSilently, field, follow);
    QObject::connect(field, &QSpinBox::valueChanged, bar, &QSlider::setValue);
    return field;
}

} // namespace plakett
