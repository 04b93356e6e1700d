#include "gui/render/export_dialog.h"

#include "gui/app/last_folders.h"
#include "gui/app/session.h"
#include "gui/app/working_directory.h"
#include "gui/render/web_export_run.h"
#include "gui/widgets/error_box.h"
#include "web/caption_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <exception>

namespace plakett {

QString& ExportDialog::exportBaseName() {
    static QString name;
    return name;
}

ExportDialog::ExportDialog(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session) {
    setWindowTitle(QStringLiteral("Export to Image"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* nameRow = new QHBoxLayout;
    m_exportFile = new QLineEdit;
    m_exportFile->setObjectName(QStringLiteral("ExportFile"));
    m_exportFile->setMinimumWidth(260);
    m_exportFile->setPlaceholderText(QStringLiteral("Type a base name or choose one with ..."));
    auto* openFile = new QPushButton(QStringLiteral("..."));
    openFile->setObjectName(QStringLiteral("OpenFile"));
    openFile->setFixedWidth(32);
    nameRow->addWidget(m_exportFile, 1);
    nameRow->addWidget(openFile);

    auto* options = new QHBoxLayout;
    options->addWidget(makeRolloverGroup(), 1);
    options->addWidget(makeFormatGroup());
    options->addWidget(makeWebGroup());

    m_preview = new QPlainTextEdit;
    m_preview->setObjectName(QStringLiteral("Memo1"));
    m_preview->setReadOnly(true);
    m_preview->setFixedHeight(64);

    m_exportBtn = new QPushButton(QStringLiteral("Export"));
    m_exportBtn->setObjectName(QStringLiteral("ExportBtn"));
    m_exportBtn->setEnabled(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("Button2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_exportBtn);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Base File Name")));
    layout->addLayout(nameRow);
    layout->addLayout(options);
    layout->addWidget(m_preview);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(openFile, &QPushButton::clicked, this, &ExportDialog::chooseFile);
    connect(m_exportFile, &QLineEdit::textEdited, this, &ExportDialog::takeTypedName);
    connect(m_exportBtn, &QPushButton::clicked, this, &ExportDialog::exportClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* ExportDialog::makeRolloverGroup() {
    auto* group = new QGroupBox(QStringLiteral("Rollover"));
    m_oneState = new QRadioButton(QStringLiteral("One state. Static button."));
    m_oneState->setObjectName(QStringLiteral("OneState"));
    m_twoStates = new QRadioButton(QStringLiteral("Two states. Mouse Off, Mouse Down"));
    m_twoStates->setObjectName(QStringLiteral("TwoStates"));
    m_threeStates =
        new QRadioButton(QStringLiteral("Three states. Mouse Off, Mouse Over, Mouse Down"));
    m_threeStates->setObjectName(QStringLiteral("ThreeStates"));
    m_oneState->setChecked(true);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_oneState);
    layout->addWidget(m_twoStates);
    layout->addWidget(m_threeStates);
    return group;
}

QWidget* ExportDialog::makeFormatGroup() {
    auto* group = new QGroupBox(QStringLiteral("FileFormat"));
    m_bmp = new QRadioButton(QStringLiteral("BMP"));
    m_bmp->setObjectName(QStringLiteral("RadioButton1"));
    m_jpeg = new QRadioButton(QStringLiteral("JPEG"));
    m_jpeg->setObjectName(QStringLiteral("RadioButton2"));
    m_png = new QRadioButton(QStringLiteral("PNG"));
    m_png->setObjectName(QStringLiteral("RadioButtonPng"));
    m_webp = new QRadioButton(QStringLiteral("WebP (lossless)"));
    m_webp->setObjectName(QStringLiteral("RadioButtonWebp"));
    m_bmp->setChecked(true);
    m_quality = new QSlider(Qt::Horizontal);
    m_quality->setObjectName(QStringLiteral("TrackBar1"));
    m_quality->setRange(kMinQualityBar, kMaxQualityBar);
    m_quality->setValue(kDefaultQualityBar);
    m_quality->setPageStep(1);
    m_quality->setTickPosition(QSlider::TicksBelow);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_bmp);
    layout->addWidget(m_jpeg);
    layout->addWidget(m_png);
    layout->addWidget(m_webp);
    m_qualityValue = new QLabel;
    m_qualityValue->setObjectName(QStringLiteral("QualityValue"));
    m_qualityValue->setMinimumWidth(m_qualityValue->fontMetrics().horizontalAdvance("000"));
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(new QLabel(QStringLiteral("Quality")));
    qualityRow->addStretch(1);
    qualityRow->addWidget(m_qualityValue);
    layout->addLayout(qualityRow);
    layout->addWidget(m_quality);
    auto showQuality = [this] {
        m_qualityValue->setText(QString::number(exportJpegQuality(m_quality->value())));
    };
    connect(m_quality, &QSlider::valueChanged, this, showQuality);
    showQuality();
    return group;
}

QWidget* ExportDialog::makeWebGroup() {
    auto* group = new QGroupBox(QStringLiteral("Web"));
    m_density = new QComboBox;
    m_density->setObjectName(QStringLiteral("Density"));
    m_density->addItems({QStringLiteral("1\u00d7"), QStringLiteral("1\u00d7 + 2\u00d7"),
                         QStringLiteral("1\u00d7 + 2\u00d7 + 3\u00d7")});
    m_sprite = new QCheckBox(QStringLiteral("Sprite with CSS"));
    m_sprite->setObjectName(QStringLiteral("Sprite"));
    m_html = new QCheckBox(QStringLiteral("HTML page"));
    m_html->setObjectName(QStringLiteral("HtmlPage"));
    m_html->setEnabled(false);
    m_liveText = new QCheckBox(QStringLiteral("Caption as page text"));
    m_liveText->setObjectName(QStringLiteral("LiveText"));
    m_liveText->setToolTip(QStringLiteral(
        "The images are drawn without the caption; the caption is the buttons' HTML text"));
    m_webpCopies = new QCheckBox(QStringLiteral("WebP copies"));
    m_webpCopies->setObjectName(QStringLiteral("WebpCopies"));
    m_sheet = new QCheckBox(QStringLiteral("One sheet for all captions"));
    m_sheet->setObjectName(QStringLiteral("Sheet"));
    auto* chooseList = new QPushButton(QStringLiteral("Caption list..."));
    chooseList->setObjectName(QStringLiteral("CaptionList"));
    m_captionsLabel = new QLabel(QStringLiteral("the design's caption"));
    m_captionsLabel->setObjectName(QStringLiteral("CaptionListName"));
    for (QCheckBox* box : {m_sprite, m_html, m_liveText, m_webpCopies, m_sheet})
        connect(box, &QCheckBox::toggled, this, &ExportDialog::updateWebChoices);
    for (QRadioButton* radio : {m_bmp, m_jpeg, m_png, m_webp})
        connect(radio, &QRadioButton::toggled, this, &ExportDialog::updateWebChoices);
    connect(chooseList, &QPushButton::clicked, this, &ExportDialog::chooseCaptions);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(new QLabel(QStringLiteral("Density")));
    layout->addWidget(m_density);
    layout->addWidget(m_sprite);
    layout->addWidget(m_html);
    layout->addWidget(m_liveText);
    layout->addWidget(m_webpCopies);
    layout->addWidget(chooseList);
    layout->addWidget(m_captionsLabel);
    layout->addWidget(m_sheet);
    layout->addStretch(1);
    updateWebChoices();
    return group;
}

// The page, WebP copies, live text and the sheet all go with the sprite; WebP copies with
// PNG; the sheet with a caption list.
void ExportDialog::updateWebChoices() {
    const bool sprite = m_sprite->isChecked();
    auto allow = [](QCheckBox* box, bool on) {
        box->setEnabled(on);
        if (!on) box->setChecked(false);
    };
    allow(m_html, sprite);
    allow(m_liveText, sprite);
    allow(m_webpCopies, sprite && m_png->isChecked());
    allow(m_sheet, sprite && !m_captionsFile.isEmpty());
}

void ExportDialog::setCaptionsFile(const QString& path) {
    m_captionsFile = path;
    m_captionsLabel->setText(path.isEmpty() ? QStringLiteral("the design's caption")
                                            : QFileInfo(path).fileName());
    updateWebChoices();
}

void ExportDialog::chooseCaptions() {
    const WorkingDirectoryKeeper keep;
    const QString chosen =
        QFileDialog::getOpenFileName(this, QStringLiteral("Caption list"), m_captionsFile,
                                     QStringLiteral("Caption lists (*.txt);;All files (*)"));
    if (!chosen.isEmpty()) setCaptionsFile(chosen);
}

std::vector<std::string> ExportDialog::captions() const {
    if (m_captionsFile.isEmpty()) return {};
    return readCaptionFile(m_captionsFile.toStdString());
}

void ExportDialog::showEvent(QShowEvent* event) {
    m_preview->clear();
    m_exportFile->setText(exportBaseName());
    QDialog::showEvent(event);
    findChild<QPushButton*>(QStringLiteral("OpenFile"))->setFocus();
}

int ExportDialog::stateCount() const {
    if (m_threeStates->isChecked()) return 3;
    if (m_twoStates->isChecked()) return 2;
    return 1;
}

int ExportDialog::maxScale() const {
    return m_density->currentIndex() + 1;
}

bool ExportDialog::sprite() const {
    return m_sprite->isChecked();
}

bool ExportDialog::htmlPage() const {
    return m_html->isChecked();
}

bool ExportDialog::plainExport() const {
    return maxScale() == 1 && !sprite() && m_captionsFile.isEmpty();
}

WebExportRequest ExportDialog::webRequest() const {
    WebExportRequest r{exportBaseName().toStdString(),
                       stateCount(),
                       format(),
                       exportJpegQuality(m_quality->value()),
                       maxScale(),
                       sprite(),
                       htmlPage()};
    r.liveText = m_liveText->isChecked();
    r.webpCopies = m_webpCopies->isChecked();
    r.sheet = m_sheet->isChecked();
    return r;
}

ExportFormat ExportDialog::format() const {
    if (m_jpeg->isChecked()) return ExportFormat::Jpeg;
    if (m_png->isChecked()) return ExportFormat::Png;
    if (m_webp->isChecked()) return ExportFormat::Webp;
    return ExportFormat::Bmp;
}

void ExportDialog::chooseFile() {
    const WorkingDirectoryKeeper keep;
    // Start beside the last export, never wherever another file dialog was last.
    const QString start = exportBaseName().isEmpty() ? lastFolder(kExportFolder) : exportBaseName();
    const QString chosen = QFileDialog::getSaveFileName(
        this, QString(), start, QStringLiteral("Image Files (*.bmp *.jpg *.jpeg *.png *.webp)"));
    rememberFolder(kExportFolder, chosen);
    takeChosenName(chosen);
}

void ExportDialog::takeChosenName(const QString& chosen) {
    if (!chosen.isEmpty()) exportBaseName() = chosen;
    m_exportFile->setText(exportBaseName());
    m_exportBtn->setEnabled(true);
    showNames();
}

void ExportDialog::takeTypedName(const QString& typed) {
    exportBaseName() = typed.trimmed();
    m_exportBtn->setEnabled(!exportBaseName().isEmpty());
    showNames();
}

// The format follows an image extension the name ends in; then the files it makes.
void ExportDialog::showNames() {
    const QString suffix = QFileInfo(exportBaseName()).suffix().toLower();
    if (suffix == QLatin1String("bmp")) m_bmp->setChecked(true);
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) m_jpeg->setChecked(true);
    if (suffix == QLatin1String("png")) m_png->setChecked(true);
    if (suffix == QLatin1String("webp")) m_webp->setChecked(true);
    m_preview->clear();
    for (const QString& name : fileNames())
        m_preview->appendPlainText(name);
}

QStringList ExportDialog::fileNames() const {
    QStringList names;
    if (exportBaseName().isEmpty()) return names;
    if (!plainExport()) {
        try {
            for (const std::filesystem::path& name : webExportNames(webRequest(), captions()))
                names << QString::fromStdString(name.string());
        } catch (const std::exception& e) {
            names << QString::fromStdString(e.what());
        }
        return names;
    }
    for (const ExportFile& file :
         exportPreviewOrder(exportBaseName().toStdString(), stateCount(), format()))
        names << QString::fromStdString(file.path.string());
    return names;
}

bool ExportDialog::exportFiles() {
    const WorkingDirectoryKeeper keep;
    if (exportBaseName().isEmpty()) return true;
    ExportRequest request;
    request.chosenName = exportBaseName().toStdString();
    request.stateCount = stateCount();
    request.format = format();
    request.qualityBar = m_quality->value();
    const QStringList written = fileNames();
    std::vector<std::string> warnings;
    try {
        if (plainExport()) {
            m_session.exportImages(request);
            warnings = sessionCaptionWarnings(m_session);
        } else {
            // Higher densities compute their own shape fields, which takes a moment.
            QApplication::setOverrideCursor(Qt::WaitCursor);
            struct Restore {
                ~Restore() { QApplication::restoreOverrideCursor(); }
            } restore;
            exportForWeb(m_session, webRequest(), captions(), &warnings);
        }
    } catch (const std::exception& e) {
        showError(this, QStringLiteral("Plakett"), e);
        return false;
    }
    QStringList names;
    for (const QString& file : written)
        names << QFileInfo(file).fileName();
    emit exported(QStringLiteral("Exported %1 to %2")
                      .arg(names.join(QStringLiteral(", ")),
                           QDir::toNativeSeparators(QFileInfo(exportBaseName()).absolutePath())));
    showWarnings(warnings);
    return true;
}

void ExportDialog::showWarnings(const std::vector<std::string>& warnings) {
    m_warnings.clear();
    for (const std::string& w : warnings)
        m_warnings << QString::fromStdString(w);
    if (m_warnings.isEmpty()) return;
    // Not modal: the export window closes after the export, the note stays.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Plakett"),
                                QStringLiteral("The files were written, but:\n") +
                                    m_warnings.join(QLatin1Char('\n')),
                                QMessageBox::Ok, parentWidget() ? parentWidget() : this);
    box->setObjectName(QStringLiteral("CaptionWarnings"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// After an error the window stays, so that the name or the format can be corrected.
void ExportDialog::exportClicked() {
    if (exportFiles()) accept();
}

} // namespace plakett
