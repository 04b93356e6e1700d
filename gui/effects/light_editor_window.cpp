#include "gui/effects/light_editor_window.h"

#include "effects/style_file.h"
#include "gui/app/session.h"
#include "gui/effects/light_pad.h"
#include "gui/widgets/color_swatch.h"
#include "gui/widgets/error_box.h"
#include "gui/widgets/picture_convert.h"
#include "gui/widgets/track_bar.h"
#include "gui/widgets/value_label.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

namespace plakett {

LightEditorWindow::LightEditorWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_session(session) {
    setWindowTitle("Light Options");

    m_pad = new LightPad(this);
    m_pad->setObjectName("PaintBox1");
    auto* generate = new QPushButton("Generate", this);
    generate->setObjectName("Button3");
    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(buildLightSelector());
    left->addWidget(buildBars());
    top->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_pad, 0, Qt::AlignHCenter);
    right->addWidget(generate);
    right->addStretch();
    top->addLayout(right);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(buildSaveRow(), 1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(generate, &QPushButton::clicked, this, [this] {
        {
            // The new lights and the new bar positions are one change to undo.
            const Session::OneStep step(m_session);
            m_session.lights().Generate();
        }
        refresh();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connectEditor();
    refresh();
}

LightEditorWindow::~LightEditorWindow() {
    m_session.lights().onPadPainted = nullptr;
}

QWidget* LightEditorWindow::buildLightSelector() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(box);
    group->setExclusive(true);
    static const char* const kButtonNames[4] = {"FirstLight", "SecondLight", "ThirdLight",
                                                "FourthLight"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(box);
        button->setText(QString::number(i + 1));
        button->setCheckable(true);
        button->setObjectName(kButtonNames[i]);
        button->setFixedWidth(32);
        group->addButton(button, i);
        m_lightButtons[i] = button;
        auto* on = new QCheckBox(box);
        on->setObjectName(QString("Light%1On").arg(i + 1));
        m_lightOn[i] = on;
        grid->addWidget(button, 0, i, Qt::AlignHCenter);
        grid->addWidget(on, 1, i, Qt::AlignHCenter);
    }
    m_lightOn[0]->setChecked(true);
    m_lightOn[0]->setEnabled(false);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        m_session.lights().selectLight(id);
        refresh();
    });
    for (int n = 2; n <= 4; ++n)
        connect(m_lightOn[n - 1], &QCheckBox::clicked, this, [this, n](bool checked) {
            m_session.lights().LightOnClick(n, checked);
            refresh();
        });
    return box;
}

QWidget* LightEditorWindow::buildBars() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    m_power = new TrackBar(kPowerBarRange.min, kPowerBarRange.max, 10, 50, box);
    m_power->setObjectName("Power");
    m_radius = new TrackBar(kRadiusBarRange.min, kRadiusBarRange.max, 16, 120, box);
    m_radius->setObjectName("Radius");
    m_lightColor = new ColorSwatch(box);
    m_lightColor->setObjectName("LightColor");
    m_buttonColor = new ColorSwatch(box);
    m_buttonColor->setObjectName("ButtonColor");

    grid->addWidget(new QLabel("Intensity", box), 0, 0);
    grid->addWidget(m_power, 0, 1, 1, 3);
    grid->addWidget(makeValueLabel(m_power, box), 0, 4);
    grid->addWidget(new QLabel("Height", box), 1, 0);
    grid->addWidget(m_radius, 1, 1, 1, 3);
    grid->addWidget(makeValueLabel(m_radius, box), 1, 4);
    grid->addWidget(new QLabel("Light Color", box), 2, 0);
    grid->addWidget(m_lightColor, 2, 1);
    grid->addWidget(new QLabel("Button Color", box), 2, 2, Qt::AlignRight);
    grid->addWidget(m_buttonColor, 2, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    connect(m_power, &QSlider::valueChanged, this, [this](int v) {
        m_session.lights().setPower(v);
        refresh();
    });
    connect(m_radius, &QSlider::valueChanged, this, [this](int v) {
        m_session.lights().setRadius(v);
        refresh();
    });
    connect(m_lightColor, &ColorSwatch::clicked, this, [this] {
        m_session.lights().LightColorClick(m_lightColor->askColor());
        refresh();
    });
    connect(m_buttonColor, &ColorSwatch::clicked, this, [this] {
        m_session.lights().ButtonColorClick(m_buttonColor->askColor());
        refresh();
    });
    return box;
}

QWidget* LightEditorWindow::buildSaveRow() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    m_styleName = new QLineEdit(box);
    m_styleName->setObjectName("Edit1");
    m_styleName->setPlaceholderText("Style name");
    auto* save = new QPushButton("Save", box);
    save->setObjectName("Button2");
    row->addWidget(m_styleName, 1);
    row->addWidget(save);
    connect(save, &QPushButton::clicked, this, &LightEditorWindow::saveClicked);
    return box;
}

void LightEditorWindow::connectEditor() {
    LightEditor& editor = m_session.lights();
    editor.onPadPainted = [this](const Bgr24Image& picture) {
        m_pad->setPicture(toQImage(picture));
    };
    connect(m_pad, &LightPad::pressed, this, [this](int x, int y, bool left) {
        m_session.lights().PaintBox1MouseDown(x, y, left);
        refresh();
    });
    connect(m_pad, &LightPad::moved, this, [this](int x, int y) {
        m_session.lights().PaintBox1MouseMove(x, y);
        refresh();
    });
    connect(m_pad, &LightPad::released, this, [this](int x, int y, bool left) {
        m_session.lights().PaintBox1MouseUp(x, y, left);
        refresh();
    });
    connect(&m_session, &Session::documentReplaced, this, &LightEditorWindow::refresh);
    connect(&m_session, &Session::lightsChanged, this, &LightEditorWindow::refresh);
}

void LightEditorWindow::refresh() {
    const LightEditorState& s = m_session.lights().state();
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker block(m_lightButtons[i]);
        m_lightButtons[i]->setChecked(i == s.FCurrentLight);
    }
    for (int n = 2; n <= 4; ++n) {
        const QSignalBlocker block(m_lightOn[n - 1]);
        m_lightOn[n - 1]->setChecked(s.LightOn[n - 2]);
    }
    m_power->setPositionSilently(s.Power);
    m_radius->setPositionSilently(s.Radius);
    m_lightColor->setColor(s.LightColor);
    m_buttonColor->setColor(s.ButtonColor);
    std::vector<PadMarker> markers;
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && !s.LightOn[static_cast<std::size_t>(i - 1)]) continue;
        const TLightRec& light = s.FLightSet.FLights[static_cast<std::size_t>(i)];
        markers.push_back(
            {QPoint(light.PadX, light.PadY), toQColor(light.Color), i + 1, i == s.FCurrentLight});
    }
    m_pad->setMarkers(std::move(markers));
    if (!m_session.lights().padPreview().empty())
        m_pad->setPicture(toQImage(m_session.lights().padPreview()));
}

void LightEditorWindow::saveStyle() {
    const std::filesystem::path folder = std::filesystem::current_path() / kStylesFolderName;
    const std::string name = m_styleName->text().toStdString();
    const std::filesystem::path file = styleFilePath(folder, name); // refuses a bad name first
    std::filesystem::create_directories(folder);
    m_session.saveStyle(folder, name);
    emit styleSaved(m_styleName->text(), QString::fromStdString(file.string()));
}

void LightEditorWindow::saveClicked() {
    try {
        saveStyle();
    } catch (const std::exception& e) {
        showError(this, QStringLiteral("Error"), e);
    }
}

void LightEditorWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_session.lights().FormShow();
    refresh();
}

void LightEditorWindow::hideEvent(QHideEvent* event) {
    m_session.lights().FormClose();
    QWidget::hideEvent(event);
}

} // namespace plakett
