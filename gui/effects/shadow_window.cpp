#include "gui/effects/shadow_window.h"

#include "gui/app/session.h"
#include "gui/effects/angle_dial.h"
#include "gui/widgets/color_swatch.h"
#include "gui/widgets/track_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace plakett {

namespace {

constexpr const char* kAnglePresets[] = {"0",   "30",  "60",  "90",  "120", "160", "180",
                                         "210", "240", "270", "300", "330", "360"};

QString blurPercentText(int position) {
    return QString::number(position * 100 / 50) + "%";
}

} // namespace

ShadowWindow::ShadowWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_session(session) {
    setWindowTitle("Shadow Options");
    const ShadowLive& shadow = m_session.settings().shadow;

    m_enable = new QCheckBox("Enable Shadow", this);
    m_enable->setObjectName("EnableShadow");
    m_color = new ColorSwatch(this);
    m_color->setObjectName("ShadowColor");
    m_blur = new TrackBar(0, 50, 5, shadow.blur, this);
    m_blur->setObjectName("ShadeBlurBar");
    m_blurPercent = new QLabel(this);
    m_blurPercent->setObjectName("Label3");
    m_blurPercent->setMinimumWidth(QFontMetrics(font()).horizontalAdvance("100%") + 4);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");

    auto* top = new QGridLayout;
    top->addWidget(m_enable, 0, 0, 1, 3);
    top->addWidget(new QLabel("Color", this), 1, 0);
    top->addWidget(m_color, 1, 1, Qt::AlignLeft);
    top->addWidget(new QLabel("Blur", this), 2, 0);
    top->addWidget(m_blur, 2, 1);
    top->addWidget(m_blurPercent, 2, 2);
    top->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buildHeights());
    layout->addWidget(buildAngle());
    layout->addWidget(close, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_enable, &QCheckBox::clicked, this, [this](bool on) {
        m_session.settings().shadow.enabled = on;
        m_session.settingsEdited();
    });
    connect(m_color, &ColorSwatch::clicked, this, [this] {
        if (const auto chosen = m_color->askColor()) {
            m_color->setColor(*chosen);
            m_session.settings().shadow.color = *chosen;
            m_session.settingsEdited();
        }
    });
    connect(m_blur, &QSlider::valueChanged, this, [this](int v) {
        m_blurPercent->setText(blurPercentText(v));
        m_session.settings().shadow.blur = v;
        m_session.shadowBlurEdited();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(&m_session, &Session::documentReplaced, this, &ShadowWindow::refresh);
    refresh();
}

QWidget* ShadowWindow::buildHeights() {
    auto* group = new QGroupBox("Height", this);
    auto* grid = new QGridLayout(group);
    static const char* const kLabels[3] = {"Mouse Off", "Mouse Over", "Mouse Down"};
    static const char* const kNames[3] = {"NormalShadeHeightBar", "HotShadeHeightBar",
                                          "PushShadeHeightBar"};
    for (int s = 0; s < 3; ++s) {
        auto* bar = new TrackBar(0, 16, 2, m_session.settings().shadow.heights[s], group);
        bar->setObjectName(kNames[s]);
        m_heights[s] = bar;
        grid->addWidget(new QLabel(kLabels[s], group), s, 0);
        grid->addWidget(bar, s, 1);
        connect(bar, &QSlider::valueChanged, this, [this, s](int v) {
            m_session.settings().shadow.heights[s] = v;
            m_session.settingsEdited();
        });
    }
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* ShadowWindow::buildAngle() {
    auto* group = new QGroupBox("Angle", this);
    m_angle = new QSpinBox(group);
    m_angle->setObjectName("ShadeAngleUpDown");
    m_angle->setRange(0, 360);
    m_presets = new QComboBox(group);
    m_presets->setObjectName("ComboBox1");
    for (const char* preset : kAnglePresets)
        m_presets->addItem(preset);
    m_dial = new AngleDial(group);
    m_dial->setObjectName("PaintBox2");

    auto* fields = new QVBoxLayout;
    fields->addWidget(m_angle);
    fields->addWidget(m_presets);
    fields->addStretch();
    auto* row = new QHBoxLayout(group);
    row->addLayout(fields, 1);
    row->addWidget(m_dial);

    connect(m_angle, &QSpinBox::valueChanged, this, &ShadowWindow::angleChanged);
    connect(m_presets, &QComboBox::activated, this,
            [this](int index) { m_angle->setValue(m_presets->itemText(index).toInt()); });
    connect(m_dial, &AngleDial::angleChosen, this, [this](int a) { m_angle->setValue(a); });
    return group;
}

void ShadowWindow::angleChanged(int degrees) {
    m_dial->setAngle(degrees);
    showAnglePreset(degrees);
    m_session.settings().shadow.angle = degrees;
    m_session.settingsEdited();
}

// The preset list shows the angle when it is one of its items.
void ShadowWindow::showAnglePreset(int degrees) {
    const QSignalBlocker block(m_presets);
    m_presets->setCurrentIndex(m_presets->findText(QString::number(degrees)));
}

void ShadowWindow::refresh() {
    const ShadowLive& shadow = m_session.settings().shadow;
    {
        const QSignalBlocker block(m_enable);
        m_enable->setChecked(shadow.enabled);
    }
    m_color->setColor(shadow.color);
    // A loaded blur moves the bar, and the bar's label follows as on any change.
    if (m_blur->value() != shadow.blur) m_blurPercent->setText(blurPercentText(shadow.blur));
    m_blur->setPositionSilently(shadow.blur);
    for (int s = 0; s < 3; ++s)
        m_heights[s]->setPositionSilently(shadow.heights[s]);
    {
        const QSignalBlocker block(m_angle);
        m_angle->setValue(shadow.angle);
    }
    m_dial->setAngle(shadow.angle);
    showAnglePreset(shadow.angle);
}

} // namespace plakett
