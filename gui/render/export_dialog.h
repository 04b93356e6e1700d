// "Export to Image": writes the rendered states as one file each, named from a base name
// with "_off", "_over" and "_down", as BMP, JPEG or PNG.
#pragma once

#include "document/export_naming.h"

#include <QDialog>

class QButtonGroup;
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
    // "Export": writes the files; false when an error was shown.
    bool exportFiles();

    int stateCount() const;
    ExportFormat format() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void chooseFile();
    void exportClicked();
    QWidget* makeRolloverGroup();
    QWidget* makeFormatGroup();

    Session& m_session;
    QLineEdit* m_exportFile = nullptr;
    QRadioButton* m_oneState = nullptr;
    QRadioButton* m_twoStates = nullptr;
    QRadioButton* m_threeStates = nullptr;
    QRadioButton* m_bmp = nullptr;
    QRadioButton* m_jpeg = nullptr;
    QRadioButton* m_png = nullptr;
    QSlider* m_quality = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    QPushButton* m_exportBtn = nullptr;
};

} // namespace plakett
