#include "gui/widgets/value_label.h"

#include "gui/widgets/track_bar.h"

#include <QLabel>

namespace plakett {

QLabel* makeValueLabel(TrackBar* bar, QWidget* parent, std::function<int(int)> shown) {
    auto* label = new QLabel(parent);
    label->setObjectName(bar->objectName() + QStringLiteral("Value"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-0000")));
    const auto follow = [bar, label, shown] {
        label->setText(QString::number(shown(bar->value())));
    };
    follow();
    QObject::connect(bar, &QSlider::valueChanged, label, follow);
    QObject::connect(bar, &TrackBar::shownSilently, label, follow);
    return label;
}

QLabel* presentAsOpacity(TrackBar* bar, QWidget* parent) {
    bar->setInvertedAppearance(true);
    bar->setInvertedControls(true);
    bar->setToolTip(QStringLiteral("Right: fully visible"));
    return makeValueLabel(bar, parent, [](int stored) { return 255 - stored; });
}

} // namespace plakett
