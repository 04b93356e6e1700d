#include "gui/effects/glyph_window.h"

#include "gui/app/session.h"
#include "common/file_write.h"
#include "render/svg_glyph.h"
#include "shape/shape_file.h"
#include "shape/svg_shape_import.h"
#include "gui/effects/transparent_color_picker.h"
#include "gui/widgets/color_swatch.h"
#include "gui/widgets/error_box.h"
#include "gui/widgets/picture_box.h"
#include "gui/widgets/picture_convert.h"
#include "gui/widgets/track_bar.h"
#include "gui/widgets/track_bar_field.h"
#include "gui/widgets/value_label.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace plakett {

namespace {

constexpr int kFrameSize = 105;
constexpr int kOffsetRangeBeforeRender = 1000;
constexpr int kXOffsetMinimumBeforeRender = -10000;

} // namespace

GlyphWindow::GlyphWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_session(session) {
    setWindowTitle("Glyph Options");
    const GlyphLive& glyph = m_session.settings().glyph;
    m_useGlyph = new QCheckBox("Use Glyph", this);
    m_useGlyph->setObjectName("CheckBox3");
    m_opacity = new TrackBar(0, 255, 16, glyph.opacity, this);
    m_opacity->setObjectName("TrackBar1");
    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");

    auto* opacityRow = new QHBoxLayout;
    opacityRow->addWidget(new QLabel("Opacity", this));
    opacityRow->addWidget(m_opacity, 1);
    opacityRow->addWidget(presentAsOpacity(m_opacity, this));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_useGlyph);
    layout->addWidget(buildPicture());
    layout->addLayout(opacityRow);
    layout->addWidget(buildOrigin());
    layout->addWidget(close, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_useGlyph, &QCheckBox::clicked, this, [this](bool on) {
        m_session.settings().glyph.useGlyph = on;
        updateEnabled();
        m_session.settingsEdited();
    });
    connect(m_opacity, &QSlider::valueChanged, this, [this](int v) {
        m_session.settings().glyph.opacity = v;
        m_session.settingsEdited();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(&m_session, &Session::documentReplaced, this, &GlyphWindow::refresh);
    connect(&m_session, &Session::statesChanged, this, &GlyphWindow::followCoverage);
    refresh();
}

QWidget* GlyphWindow::buildPicture() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    m_pictureFrame = new QScrollArea(box);
    m_pictureFrame->setObjectName("ScrollBox3");
    m_pictureFrame->setFixedSize(kFrameSize, kFrameSize);
    QPalette white = m_pictureFrame->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    m_pictureFrame->setPalette(white);
    m_pictureFrame->setBackgroundRole(QPalette::Base);
    m_pictureFrame->setWidgetResizable(true);
    m_picture = new PictureBox(m_pictureFrame);
    m_picture->setObjectName("Image3");
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pictureFrame->setWidget(m_picture);

    m_transparent = new QCheckBox("Transparent", box);
    m_transparent->setObjectName("CheckBox2");
    m_trColorLabel = new QLabel("Transparent Color", box);
    m_trColor = new ColorSwatch(box);
    m_trColor->setObjectName("TrColor");
    auto* side = new QVBoxLayout;
    side->addWidget(m_transparent);
    side->addWidget(m_trColorLabel);
    side->addWidget(m_trColor);
    m_iconColorLabel = new QLabel("Icon Color", box);
    m_iconColor = new ColorSwatch(box);
    m_iconColor->setObjectName("IconColor");
    m_iconColor->setColor(m_session.settings().glyph.svgColor);
    side->addWidget(m_iconColorLabel);
    side->addWidget(m_iconColor);
    side->addStretch();
    row->addWidget(m_pictureFrame);
    row->addLayout(side, 1);

    connect(m_picture, &PictureBox::clicked, this, &GlyphWindow::pictureClicked);
    connect(m_transparent, &QCheckBox::clicked, this, [this](bool on) {
        m_session.settings().glyph.transparent = on;
        updateEnabled();
        m_session.settingsEdited();
    });
    connect(m_trColor, &ColorSwatch::clicked, this, &GlyphWindow::transparentColorClicked);
    connect(m_iconColor, &ColorSwatch::clicked, this, &GlyphWindow::iconColorClicked);
    return box;
}

QWidget* GlyphWindow::buildOrigin() {
    auto* group = new QGroupBox("Glyph Origin", this);
    auto* grid = new QGridLayout(group);
    const GlyphLive& glyph = m_session.settings().glyph;
    m_x = new TrackBar(kXOffsetMinimumBeforeRender, kOffsetRangeBeforeRender, 0, glyph.x, group);
    m_x->setObjectName("ImageXPos");
    m_y = new TrackBar(-kOffsetRangeBeforeRender, kOffsetRangeBeforeRender, 0, glyph.y, group);
    m_y->setObjectName("ImageYPos");
    m_xCaption = new QLabel("Horizontal", group);
    m_yCaption = new QLabel("Vertical", group);
    m_xLabel = new QLabel(group);
    m_xLabel->setObjectName("Label1");
    m_yLabel = new QLabel(group);
    m_yLabel->setObjectName("Label2");
    const int labelWidth = QFontMetrics(font()).horizontalAdvance("Glyph X = -0000");
    m_xLabel->setMinimumWidth(labelWidth);
    m_yLabel->setMinimumWidth(labelWidth);
    grid->addWidget(m_xCaption, 0, 0);
    grid->addWidget(m_x, 0, 1);
    grid->addWidget(m_xLabel, 0, 2);
    grid->addWidget(m_xField = makeTrackBarField(m_x, group), 0, 3);
    grid->addWidget(m_yCaption, 1, 0);
    grid->addWidget(m_y, 1, 1);
    grid->addWidget(m_yLabel, 1, 2);
    grid->addWidget(m_yField = makeTrackBarField(m_y, group), 1, 3);
    grid->setColumnStretch(1, 1);
    connect(m_x, &QSlider::valueChanged, this, [this](int v) {
        m_session.settings().glyph.x = v;
        showOffsetLabels();
        m_session.settingsEdited();
    });
    connect(m_y, &QSlider::valueChanged, this, [this](int v) {
        m_session.settings().glyph.y = v;
        showOffsetLabels();
        m_session.settingsEdited();
    });
    return group;
}

void GlyphWindow::loadSvgGlyph(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = readFileBytes(path, kMaxShapeFileBytes);
    GlyphLive glyph = m_session.settings().glyph;
    glyph.svgSource.assign(bytes.begin(), bytes.end());
    glyph.picture = Bgr24Image{};
    try {
        m_session.drawSvgGlyph(glyph);
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string(e.what()) + ": " + path.string());
    }
    m_session.settings().glyph = std::move(glyph);
    showPicture();
    updateEnabled();
    m_session.settingsEdited();
}

void GlyphWindow::iconColorClicked() {
    const std::optional<ColorRef> chosen = m_iconColor->askColor();
    if (!chosen) return;
    GlyphLive glyph = m_session.settings().glyph;
    glyph.svgColor = *chosen;
    try {
        m_session.drawSvgGlyph(glyph);
    } catch (const std::exception& e) {
        showError(this, QStringLiteral("Error"), e);
        return;
    }
    m_session.settings().glyph = std::move(glyph);
    m_iconColor->setColor(*chosen);
    showPicture();
    m_session.settingsEdited();
}

void GlyphWindow::loadGlyphFile(const std::filesystem::path& path) {
    if (isSvgFileName(path)) return loadSvgGlyph(path);
    GlyphPicture read = readGlyphFile(path);
    if (read.picture.empty()) throw std::runtime_error("The picture is empty: " + path.string());
    GlyphLive& glyph = m_session.settings().glyph;
    // A picture with transparency brings its own key colour; otherwise the corner's.
    const Bgr24 key = read.key.value_or(read.picture.at(0, 0));
    glyph.picture = std::move(read.picture);
    glyph.svgSource.clear();
    glyph.svgRasters.clear();
    glyph.transparentColor = makeColorRef(key.r, key.g, key.b);
    if (read.key) {
        glyph.transparent = true;
        m_transparent->setChecked(true);
    }
    m_trColor->setColor(glyph.transparentColor);
    showPicture();
    updateEnabled(); // the colour controls follow the kind of glyph
    m_session.settingsEdited();
}

void GlyphWindow::pictureClicked() {
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), QString(),
        "Pictures (*.bmp *.rle *.png *.svg);;Bitmap (*.bmp *.rle);;PNG (*.png);;SVG (*.svg);;"
        "All files (*)");
    if (file.isEmpty()) return;
    try {
        loadGlyphFile(file.toStdString());
    } catch (const std::exception& e) {
        showError(this, QStringLiteral("Error"), e);
    }
}

void GlyphWindow::transparentColorClicked() {
    GlyphLive& glyph = m_session.settings().glyph;
    if (glyph.picture.empty()) return;
    TransparentColorPicker picker(
        glyph.picture, glyph.transparentColor,
        [this](ColorRef c) {
            m_session.settings().glyph.transparentColor = c;
            m_trColor->setColor(c);
        },
        this);
    picker.exec();
    m_session.settingsEdited();
}

// The transparent colour only matters for a glyph that is used and keyed.
void GlyphWindow::updateEnabled() {
    const GlyphLive& glyph = m_session.settings().glyph;
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_pictureFrame, m_transparent, m_x, m_y, m_xCaption,
                                         m_yCaption, m_xLabel, m_yLabel, m_xField, m_yField})
        w->setEnabled(glyph.useGlyph);
    // An SVG glyph is keyed by its alpha; its colour setting is what it has instead.
    const bool svg = !glyph.svgSource.empty();
    m_trColorLabel->setEnabled(glyph.useGlyph && glyph.transparent && !svg);
    m_trColor->setEnabled(glyph.useGlyph && glyph.transparent && !svg);
    m_iconColorLabel->setEnabled(glyph.useGlyph && svg);
    m_iconColor->setEnabled(glyph.useGlyph && svg);
}

void GlyphWindow::showPicture() {
    if (const Rgba8Image* svg = svgGlyphRaster(m_session.settings().glyph, 1)) {
        const QImage image(reinterpret_cast<const uchar*>(svg->scanline(0)), svg->width(),
                           svg->height(), svg->width() * 4, QImage::Format_RGBA8888);
        m_picture->setPixmap(QPixmap::fromImage(image.copy()));
        m_picture->setMinimumSize(svg->width(), svg->height());
        return;
    }
    const Bgr24Image& picture = m_session.settings().glyph.picture;
    if (picture.empty()) {
        m_picture->clear();
        m_picture->setMinimumSize(0, 0);
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(toQImage(picture)));
    m_picture->setMinimumSize(picture.width(), picture.height());
}

void GlyphWindow::showOffsetLabels() {
    m_xLabel->setText("Glyph X = " + QString::number(m_session.settings().glyph.x));
    m_yLabel->setText("Glyph Y = " + QString::number(m_session.settings().glyph.y));
}

// After a Render the offsets reach half the button picture each way.
void GlyphWindow::followCoverage() {
    const QSize coverage = m_session.coverageSize();
    if (coverage.isEmpty()) return;
    const GlyphLive& glyph = m_session.settings().glyph;
    m_x->setRangeSilently(-(coverage.width() / 2), coverage.width() / 2);
    m_y->setRangeSilently(-(coverage.height() / 2), coverage.height() / 2);
    m_x->setPositionSilently(glyph.x);
    m_y->setPositionSilently(glyph.y);
    showOffsetLabels();
}

void GlyphWindow::refresh() {
    const GlyphLive& glyph = m_session.settings().glyph;
    {
        const QSignalBlocker block(m_useGlyph);
        m_useGlyph->setChecked(glyph.useGlyph);
    }
    {
        const QSignalBlocker block(m_transparent);
        m_transparent->setChecked(glyph.transparent);
    }
    m_trColor->setColor(glyph.transparentColor);
    m_iconColor->setColor(glyph.svgColor);
    m_opacity->setPositionSilently(glyph.opacity);
    m_x->setPositionSilently(glyph.x);
    m_y->setPositionSilently(glyph.y);
    showOffsetLabels();
    showPicture();
    updateEnabled();
}

} // namespace plakett
