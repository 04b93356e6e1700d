// "Export to Image": writes the rendered states as one file each, named from a base name
// with "_off", "_over" and "_down", as BMP, JPEG, PNG or WebP; for web pages also at 2x and
// 3x density, as sprites with a style sheet and a page, with the caption as page text, with
// WebP copies, and for a list of captions in one sheet. The window lives for the whole run
// and keeps its choices from one opening to the next.
#pragma once

#include "document/export_naming.h"
#include "web/web_export.h"

#include <QDialog>
#include <QStringList>

#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace plakett {

class Session;

class ExportDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ExportDialog(Session& session, QWidget* parent = nullptr);

    // The name last chosen with "...", kept for the whole run.
    static QString& exportBaseName();

    // "..." after the file dialog: `chosen` is empty when the dialog was cancelled.
    void takeChosenName(const QString& chosen);
    // A base name typed into the name field.
    void takeTypedName(const QString& typed);
    // "Export": writes the files; false when an error was shown.
    bool exportFiles();

    int stateCount() const;
    ExportFormat format() const;
    // Densities 1..maxScale() (the "Density" choice).
    int maxScale() const;
    bool sprite() const;
    bool htmlPage() const;
    // The caption list chosen for a set of buttons, "" for the design's own caption.
    const QString& captionsFile() const { return m_captionsFile; }
    void setCaptionsFile(const QString& path);
    // Everything the controls ask for, as the core's web export takes it.
    WebExportRequest webRequest() const;
    // What the last export warned about (captions cut off or with undrawn characters).
    const QStringList& lastWarnings() const { return m_warnings; }

  signals:
    // The files were written: a line for the status bar saying what went where.
    void exported(const QString& message);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void chooseFile();
    void chooseCaptions();
    void updateWebChoices();
    std::vector<std::string> captions() const;
    void exportClicked();
    void showNames();
    QStringList fileNames() const; // what an export with the current choices writes
    QWidget* makeRolloverGroup();
    QWidget* makeFormatGroup();
    QWidget* makeWebGroup();
    bool plainExport() const; // 1x state files only: the classic export
    void showWarnings(const std::vector<std::string>& warnings);

    Session& m_session;
    QLineEdit* m_exportFile = nullptr;
    QRadioButton* m_oneState = nullptr;
    QRadioButton* m_twoStates = nullptr;
    QRadioButton* m_threeStates = nullptr;
    QRadioButton* m_bmp = nullptr;
    QRadioButton* m_jpeg = nullptr;
    QRadioButton* m_png = nullptr;
    QRadioButton* m_webp = nullptr;
    QSlider* m_quality = nullptr;
    QLabel* m_qualityValue = nullptr;
    QComboBox* m_density = nullptr;
    QCheckBox* m_sprite = nullptr;
    QCheckBox* m_html = nullptr;
    QCheckBox* m_liveText = nullptr;
    QCheckBox* m_webpCopies = nullptr;
    QCheckBox* m_sheet = nullptr;
    QLabel* m_captionsLabel = nullptr;
    QString m_captionsFile;
    QPlainTextEdit* m_preview = nullptr;
    QPushButton* m_exportBtn = nullptr;
    QStringList m_warnings;
};

} // namespace plakett
