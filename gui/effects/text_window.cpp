#include "gui/effects/text_window.h"

#include "gui/app/session.h"
#include "gui/effects/text_preview.h"
#include "gui/widgets/color_swatch.h"
#include "gui/widgets/track_bar.h"
#include "gui/widgets/track_bar_field.h"
#include "gui/widgets/value_label.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace plakett {

namespace {

constexpr const char* kSizes[] = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                  "20", "22", "24", "26", "28", "36", "48", "72"};
constexpr const char* kEffects[] = {"Normal", "Raised", "Lowered", "Shadow", "Bordered"};
constexpr const char* kStateLabels[3] = {"Mouse Off", "Mouse Over", "Mouse Down"};
// Larger sizes would overflow the caption arithmetic; the field is held within +-this.
constexpr int kMaxFontSize = 1000;
constexpr int kMaxCaptionLength = 255; // the project file's caption field
constexpr int kOffsetRangeBeforeRender = 1000;
constexpr int kMaxFontNameTyped = 20;

void setEditTextSilently(QComboBox* combo, const QString& text) {
    const QSignalBlocker block(combo);
    combo->setEditText(text);
}

} // namespace

QStringList fontFaceList(QStringList faces) {
    // A family made by several foundries is listed once, without the "[Foundry]" mark.
    for (QString& face : faces)
        if (const qsizetype mark = face.indexOf(QLatin1String(" ["));
            mark > 0 && face.endsWith(']'))
            face.truncate(mark);
    std::sort(faces.begin(), faces.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    return faces;
}

TextWindow::TextWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_session(session) {
    setWindowTitle("Text Options");
    m_preview = new TextPreview(m_session.settings().text, this);
    m_preview->setObjectName("PaintBox1");
    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildStyle(), 1);
    middle->addWidget(buildColors());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFontRow());
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addLayout(middle);
    layout->addWidget(buildOrigin());
    layout->addWidget(close, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(&m_session, &Session::documentReplaced, this, &TextWindow::refresh);
    connect(&m_session, &Session::statesChanged, this, &TextWindow::followCoverage);
    connect(&m_session, &Session::textEffectColorChosen, this,
            [this] { m_effectColor->setColor(m_session.settings().text.effectColor); });
    refresh();
}

QWidget* TextWindow::buildFontRow() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    m_font = new QComboBox(box);
    m_font->setObjectName("FontSel");
    m_font->setEditable(true);
    m_font->setInsertPolicy(QComboBox::NoInsert);
    m_font->lineEdit()->setMaxLength(kMaxFontNameTyped);
    m_font->addItems(fontFaceList(QFontDatabase::families()));
    m_font->setMinimumContentsLength(12);
    m_font->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_size = new QComboBox(box);
    m_size->setObjectName("TextSize");
    m_size->setEditable(true);
    m_size->setInsertPolicy(QComboBox::NoInsert);
    for (const char* size : kSizes)
        m_size->addItem(size);
    m_size->setMinimumContentsLength(3);

    static const char* const kToggleText[3] = {"B", "I", "U"};
    static const char* const kToggleNames[3] = {"BoldButton", "ItalicButton", "UnderlineButton"};
    auto* toggles = new QHBoxLayout;
    toggles->setSpacing(2);
    for (int k = 0; k < 3; ++k) {
        auto* button = new QToolButton(box);
        button->setText(kToggleText[k]);
        button->setObjectName(kToggleNames[k]);
        button->setCheckable(true);
        button->setFixedSize(24, 24);
        QFont f = button->font();
        f.setBold(k == 0);
        f.setItalic(k == 1);
        f.setUnderline(k == 2);
        button->setFont(f);
        m_toggles[k] = button;
        toggles->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, k] { toggleClicked(k); });
    }
    m_caption = new QLineEdit(box);
    m_caption->setObjectName("Text");
    m_caption->setMaxLength(kMaxCaptionLength);

    grid->addWidget(new QLabel("Font Name", box), 0, 0);
    grid->addWidget(m_font, 0, 1);
    grid->addWidget(new QLabel("Size", box), 0, 2);
    grid->addWidget(m_size, 0, 3);
    grid->addWidget(new QLabel("Text", box), 1, 0);
    grid->addWidget(m_caption, 1, 1);
    grid->addLayout(toggles, 1, 2, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    connect(m_font, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        m_session.settings().text.fontName = name.toStdString();
        m_preview->update();
        m_session.settingsEdited();
    });
    connect(m_size, &QComboBox::editTextChanged, this, &TextWindow::sizeEdited);
    connect(m_caption, &QLineEdit::textChanged, this, &TextWindow::captionChanged);
    return box;
}

QWidget* TextWindow::buildStyle() {
    auto* group = new QGroupBox("Style", this);
    auto* grid = new QGridLayout(group);
    m_angle = new QSpinBox(group);
    m_angle->setObjectName("AngleEdit");
    m_angle->setRange(0, 360);
    m_angle->setSingleStep(5);
    m_angle->setWrapping(true);
    grid->addWidget(new QLabel("Text Angle", group), 0, 0);
    grid->addWidget(m_angle, 0, 1);
    static const char* const kNames[3] = {"NormalEffects", "HotEffects", "PushEffects"};
    for (int s = 0; s < 3; ++s) {
        auto* combo = new QComboBox(group);
        combo->setObjectName(kNames[s]);
        for (const char* effect : kEffects)
            combo->addItem(effect);
        m_effects[s] = combo;
        grid->addWidget(new QLabel(kStateLabels[s], group), s + 1, 0);
        grid->addWidget(combo, s + 1, 1);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, s](int index) {
            if (index < 0) return;
            m_session.settings().text.effects[s] = static_cast<TextEffect>(index);
            m_session.settingsEdited();
        });
    }
    m_effectColor = new ColorSwatch(group);
    m_effectColor->setObjectName("StyleColor");
    grid->addWidget(m_effectColor, 1, 2, 3, 1, Qt::AlignCenter);
    m_opacity = new TrackBar(0, 255, 16, m_session.settings().text.opacity, group);
    m_opacity->setObjectName("TrackBar1");
    grid->addWidget(new QLabel("Opacity", group), 4, 0);
    grid->addWidget(m_opacity, 4, 1);
    grid->addWidget(presentAsOpacity(m_opacity, group), 4, 2);

    connect(m_angle, &QSpinBox::valueChanged, this, [this](int degrees) {
        m_session.settings().text.angle = degrees;
        m_preview->update();
        m_session.settingsEdited();
    });
    connect(m_effectColor, &ColorSwatch::clicked, this, [this] {
        if (const auto chosen = m_effectColor->askColor()) {
            m_effectColor->setColor(*chosen);
            m_session.settings().text.effectColor = *chosen;
            m_session.settingsEdited();
        }
    });
    connect(m_opacity, &QSlider::valueChanged, this, [this](int v) {
        m_session.settings().text.opacity = v;
        m_session.settingsEdited();
    });
    return group;
}

QWidget* TextWindow::buildColors() {
    auto* group = new QGroupBox("Color", this);
    auto* grid = new QGridLayout(group);
    static const char* const kNames[3] = {"MOffColor", "MOnColor", "MDownColor"};
    for (int s = 0; s < 3; ++s) {
        auto* swatch = new ColorSwatch(group);
        swatch->setObjectName(kNames[s]);
        m_colors[s] = swatch;
        grid->addWidget(new QLabel(kStateLabels[s], group), s, 0);
        grid->addWidget(swatch, s, 1);
        connect(swatch, &ColorSwatch::clicked, this, [this, s, swatch] {
            if (const auto chosen = swatch->askColor()) {
                swatch->setColor(*chosen);
                m_session.settings().text.colors[s] = *chosen;
                m_session.settingsEdited();
            }
        });
    }
    grid->setRowStretch(3, 1);
    return group;
}

QWidget* TextWindow::buildOrigin() {
    auto* group = new QGroupBox("Text Origin", this);
    auto* grid = new QGridLayout(group);
    const TextLive& text = m_session.settings().text;
    m_x = new TrackBar(-kOffsetRangeBeforeRender, kOffsetRangeBeforeRender, 0, text.x, group);
    m_x->setObjectName("TextXBar");
    m_y = new TrackBar(-kOffsetRangeBeforeRender, kOffsetRangeBeforeRender, 0, text.y, group);
    m_y->setObjectName("TextYBar");
    m_xLabel = new QLabel(group);
    m_xLabel->setObjectName("Label9");
    m_yLabel = new QLabel(group);
    m_yLabel->setObjectName("Label10");
    const int labelWidth = QFontMetrics(font()).horizontalAdvance("Text X = -0000");
    m_xLabel->setMinimumWidth(labelWidth);
    m_yLabel->setMinimumWidth(labelWidth);
    grid->addWidget(new QLabel("Horizontal", group), 0, 0);
    grid->addWidget(m_x, 0, 1);
    grid->addWidget(m_xLabel, 0, 2);
    grid->addWidget(makeTrackBarField(m_x, group), 0, 3);
    grid->addWidget(new QLabel("Vertical", group), 1, 0);
    grid->addWidget(m_y, 1, 1);
    grid->addWidget(m_yLabel, 1, 2);
    grid->addWidget(makeTrackBarField(m_y, group), 1, 3);
    grid->setColumnStretch(1, 1);
    connect(m_x, &QSlider::valueChanged, this, [this](int v) {
        m_session.settings().text.x = v;
        showOffsetLabels();
        m_session.settingsEdited();
    });
    connect(m_y, &QSlider::valueChanged, this, [this](int v) {
        m_session.settings().text.y = v;
        showOffsetLabels();
        m_session.settingsEdited();
    });
    return group;
}

void TextWindow::sizeEdited(const QString& text) {
    if (text.isEmpty()) return;
    bool ok = false;
    const int size = text.toInt(&ok);
    if (!ok) {
        m_size->setEditText("0"); // runs this handler again with "0"
        return;
    }
    if (size > kMaxFontSize || size < -kMaxFontSize) {
        m_size->setEditText(QString::number(size > 0 ? kMaxFontSize : -kMaxFontSize));
        return;
    }
    m_session.settings().text.fontSize = size;
    m_preview->update();
    m_session.settingsEdited();
    m_size->lineEdit()->setCursorPosition(static_cast<int>(m_size->currentText().size()));
}

void TextWindow::toggleClicked(int which) {
    TextLive& text = m_session.settings().text;
    switch (which) {
    case 0:
        text.bold = !text.bold;
        text.weight = text.bold ? 700 : 400;
        break;
    case 1:
        text.italic = !text.italic;
        break;
    case 2:
        text.underline = !text.underline;
        break;
    }
    {
        const QSignalBlocker block(m_toggles[which]);
        m_toggles[which]->setChecked(which == 0   ? text.bold
                                     : which == 1 ? text.italic
                                                  : text.underline);
    }
    m_preview->update();
    m_session.settingsEdited();
}

void TextWindow::captionChanged() {
    m_session.settings().text.caption = m_caption->text().toStdString();
    m_preview->update();
    m_session.settingsEdited();
}

// After a Render the offsets reach half the button picture each way.
void TextWindow::followCoverage() {
    const QSize coverage = m_session.coverageSize();
    if (coverage.isEmpty()) return;
    const TextLive& text = m_session.settings().text;
    m_x->setRangeSilently(-(coverage.width() / 2), coverage.width() / 2);
    m_y->setRangeSilently(-(coverage.height() / 2), coverage.height() / 2);
    m_x->setPositionSilently(text.x);
    m_y->setPositionSilently(text.y);
    showOffsetLabels();
}

void TextWindow::showOffsetLabels() {
    m_xLabel->setText("Text X = " + QString::number(m_session.settings().text.x));
    m_yLabel->setText("Text Y = " + QString::number(m_session.settings().text.y));
}

void TextWindow::refresh() {
    const TextLive& text = m_session.settings().text;
    // A font that is not installed is drawn in the family the system puts in its place:
    // the box shows that one (the design keeps the name it was given).
    const QString named = QString::fromStdString(text.fontName);
    const QString used = QFontInfo(QFont(named)).family();
    const bool missing = !named.isEmpty() && !QFontDatabase::hasFamily(named);
    setEditTextSilently(m_font, missing ? used : named);
    m_font->setToolTip(
        missing ? QStringLiteral("\u201c%1\u201d is not installed; %2 is used").arg(named, used)
                : QString());
    setEditTextSilently(m_size, QString::number(text.fontSize));
    const bool flags[3] = {text.bold, text.italic, text.underline};
    for (int k = 0; k < 3; ++k) {
        const QSignalBlocker block(m_toggles[k]);
        m_toggles[k]->setChecked(flags[k]);
    }
    {
        const QSignalBlocker block(m_caption);
        m_caption->setText(QString::fromStdString(text.caption));
    }
    {
        const QSignalBlocker block(m_angle);
        m_angle->setValue(text.angle);
    }
    for (int s = 0; s < 3; ++s) {
        const QSignalBlocker block(m_effects[s]);
        m_effects[s]->setCurrentIndex(static_cast<int>(text.effects[s]));
        m_colors[s]->setColor(text.colors[s]);
    }
    m_effectColor->setColor(text.effectColor);
    m_opacity->setPositionSilently(text.opacity);
    m_x->setPositionSilently(text.x);
    m_y->setPositionSilently(text.y);
    showOffsetLabels();
    m_preview->update();
}

} // namespace plakett
