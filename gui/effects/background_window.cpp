#include "gui/effects/background_window.h"

#include "gui/app/session.h"
#include "gui/widgets/color_swatch.h"
#include "gui/widgets/error_box.h"
#include "gui/widgets/picture_box.h"
#include "gui/widgets/picture_convert.h"
#include "gui/widgets/track_bar.h"
#include "gui/widgets/value_label.h"
#include "image/jpeg.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace plakett {

namespace {

constexpr int kPictureWidth = 127;
constexpr int kPictureHeight = 120;
constexpr char kBackgroundsFolder[] = "Backgrounds";

QString pictureFilter() {
    QStringList patterns{"*.jpg", "*.jpeg", "*.bmp", "*.rle"};
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString pattern = "*." + QString::fromLatin1(format).toLower();
        if (!patterns.contains(pattern)) patterns << pattern;
    }
    return "All pictures (" + patterns.join(' ') + ");;All files (*)";
}

} // namespace

bool isJpegTextureName(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name.find(".j") != std::string::npos || name.find(".J") != std::string::npos;
}

BackgroundWindow::BackgroundWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_session(session) {
    setWindowTitle("Background");
    m_color = new ColorSwatch(this);
    m_color->setObjectName("Panel5");
    m_useTexture = new QCheckBox("Use Background Texture", this);
    m_useTexture->setObjectName("CheckBox3");
    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel("Background Color", this));
    colorRow->addWidget(m_color);
    colorRow->addStretch();
    auto* right = new QVBoxLayout;
    right->addLayout(colorRow);
    right->addWidget(m_useTexture);
    right->addWidget(buildOrigin());
    right->addStretch();
    right->addWidget(close, 0, Qt::AlignRight);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildTexture());
    layout->addLayout(right, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_color, &ColorSwatch::clicked, this, &BackgroundWindow::colorClicked);
    connect(m_useTexture, &QCheckBox::clicked, this, [this](bool on) {
        m_session.settings().background.useTexture = on;
        m_session.settingsEdited();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(&m_session, &Session::documentReplaced, this, &BackgroundWindow::refresh);
    refresh();
}

QWidget* BackgroundWindow::buildTexture() {
    auto* group = new QGroupBox("Texture", this);
    auto* layout = new QVBoxLayout(group);
    m_texture = new PictureBox(group);
    m_texture->setObjectName("Image1");
    m_texture->setFixedSize(kPictureWidth + 2, kPictureHeight + 2);
    m_texture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_texture->setAlignment(Qt::AlignCenter);
    m_opacity = new TrackBar(30, 255, 16, m_session.settings().background.textureOpacity, group);
    m_opacity->setObjectName("TrackBar1");
    auto* opacityRow = new QHBoxLayout;
    opacityRow->addWidget(new QLabel("Opacity", group));
    opacityRow->addWidget(m_opacity, 1);
    opacityRow->addWidget(presentAsOpacity(m_opacity, group));
    layout->addWidget(m_texture, 0, Qt::AlignHCenter);
    layout->addLayout(opacityRow);

    connect(m_texture, &PictureBox::clicked, this, &BackgroundWindow::pictureClicked);
    connect(m_opacity, &QSlider::valueChanged, this, [this](int v) {
        m_session.settings().background.textureOpacity = v;
        m_session.settingsEdited();
    });
    return group;
}

QWidget* BackgroundWindow::buildOrigin() {
    auto* group = new QGroupBox("Texture Origin", this);
    auto* grid = new QGridLayout(group);
    const BackgroundLive& back = m_session.settings().background;
    m_x = new TrackBar(-255, 255, 32, back.textureOriginX, group);
    m_x->setObjectName("ImageXPos");
    m_y = new TrackBar(-255, 255, 32, back.textureOriginY, group);
    m_y->setObjectName("ImageYPos");
    grid->addWidget(new QLabel("Horizontal", group), 0, 0);
    grid->addWidget(m_x, 1, 0);
    grid->addWidget(new QLabel("Vertical", group), 2, 0);
    grid->addWidget(m_y, 3, 0);
    grid->setRowStretch(4, 1);
    connect(m_x, &QSlider::valueChanged, this, [this](int v) {
        m_session.settings().background.textureOriginX = v;
        m_session.settingsEdited();
    });
    connect(m_y, &QSlider::valueChanged, this, [this](int v) {
        m_session.settings().background.textureOriginY = v;
        m_session.settingsEdited();
    });
    return group;
}

void BackgroundWindow::colorClicked() {
    const auto chosen = m_color->askColor();
    if (!chosen) return;
    BackgroundLive& back = m_session.settings().background;
    back.color = *chosen;
    back.backRed = redOf(*chosen);
    back.backGreen = greenOf(*chosen);
    back.backBlue = blueOf(*chosen);
    m_color->setColor(*chosen);
    m_session.settingsEdited();
}

void BackgroundWindow::loadTextureFile(const std::filesystem::path& path) {
    Bgr24Image texture = isJpegTextureName(path) ? readJpegFile(path) : readPictureFile(path);
    if (texture.empty()) throw std::runtime_error("The picture is empty: " + path.string());
    m_session.settings().background.texture = std::move(texture);
    showTexture();
    m_session.settingsEdited();
}

void BackgroundWindow::pictureClicked() {
    const std::filesystem::path folder = std::filesystem::current_path() / kBackgroundsFolder;
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), QString::fromStdString(folder.string()), pictureFilter());
    if (file.isEmpty()) return;
    try {
        loadTextureFile(file.toStdString());
    } catch (const std::exception& e) {
        showError(this, QStringLiteral("Error"), e);
    }
}

void BackgroundWindow::showTexture() {
    const Bgr24Image& texture = m_session.settings().background.texture;
    if (texture.empty()) {
        m_texture->setText("None");
        return;
    }
    m_texture->setPixmap(QPixmap::fromImage(toQImage(texture).scaled(
        kPictureWidth, kPictureHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void BackgroundWindow::refresh() {
    const BackgroundLive& back = m_session.settings().background;
    m_color->setColor(back.color);
    {
        const QSignalBlocker block(m_useTexture);
        m_useTexture->setChecked(back.useTexture);
    }
    m_opacity->setPositionSilently(back.textureOpacity);
    m_x->setPositionSilently(back.textureOriginX);
    m_y->setPositionSilently(back.textureOriginY);
    showTexture();
}

} // namespace plakett
