// "Export to Image": names, order, formats and the kept base name, over a real render.
#include "gui/app/session.h"
#include "gui/render/export_dialog.h"
#include "gui/render/render_dialogs.h"
#include "image/bmp.h"
#include "image/jpeg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

std::vector<char> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

template <typename T> T* child(QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no control %s", name);
    return w;
}

} // namespace

class TestExportDialog : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();

    void twoStatesBmpWritesOffAndDown();
    void previewShowsTheChoiceAtTheMomentOfChoosing();
    void jpegAtLowestQualityWritesQuality30();
    void pngAndThreeStates();
    void baseNameSurvivesAndCancelKeepsIt();
    void unwritableFileIsReported();
    void choicesSurviveReopening();
    void webChoicesWriteDenseSpritesAndPage();
    void formatFollowsTheNameAndErrorsKeepTheWindow();
    void liveTextWebpCopiesAndASheetForACaptionList();

  private:
    fs::path dir() const { return fs::path(m_dir.path().toStdString()); }

    QTemporaryDir m_dir;
    Session m_session;
};

void TestExportDialog::initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY(m_session.enterRenderMode().isEmpty());
    QVERIFY(!m_session.states()[0].empty());
}

void TestExportDialog::init() {
    ExportDialog::exportBaseName().clear();
}

void TestExportDialog::twoStatesBmpWritesOffAndDown() {
    ExportDialog dialog(m_session);
    QVERIFY(!child<QPushButton>(dialog, "ExportBtn")->isEnabled());
    QVERIFY(child<QRadioButton>(dialog, "OneState")->isChecked());
    QVERIFY(child<QRadioButton>(dialog, "RadioButton1")->isChecked());
    child<QRadioButton>(dialog, "TwoStates")->setChecked(true);
    fs::create_directories(dir() / "out");
    dialog.takeChosenName(QString::fromStdString((dir() / "out" / "ok.bmp").string()));
    QVERIFY(child<QPushButton>(dialog, "ExportBtn")->isEnabled());
    QVERIFY(dialog.exportFiles());

    QVERIFY(fs::exists(dir() / "out" / "ok_off.bmp"));
    QVERIFY(fs::exists(dir() / "out" / "ok_down.bmp"));
    QVERIFY(!fs::exists(dir() / "out" / "ok_over.bmp"));
    QVERIFY(!fs::exists(dir() / "out" / "ok.bmp"));
    QVERIFY(readBmpFile(dir() / "out" / "ok_off.bmp") == m_session.states()[0]);
    QVERIFY(readBmpFile(dir() / "out" / "ok_down.bmp") == m_session.states()[2]);
}

void TestExportDialog::previewShowsTheChoiceAtTheMomentOfChoosing() {
    ExportDialog dialog(m_session);
    child<QRadioButton>(dialog, "ThreeStates")->setChecked(true);
    child<QRadioButton>(dialog, "RadioButton2")->setChecked(true);
    const fs::path chosen = dir() / "star_OFF.jpg";
    dialog.takeChosenName(QString::fromStdString(chosen.string()));
    const QString expected = QString::fromStdString(((dir() / "star_off.jpg").string() + "\n" +
                                                     (dir() / "star_over.jpg").string() + "\n" +
                                                     (dir() / "star_down.jpg").string()));
    QCOMPARE(child<QPlainTextEdit>(dialog, "Memo1")->toPlainText(), expected);
    QCOMPARE(child<QLineEdit>(dialog, "ExportFile")->text(),
             QString::fromStdString(chosen.string()));

    child<QRadioButton>(dialog, "OneState")->setChecked(true);
    child<QRadioButton>(dialog, "RadioButton1")->setChecked(true);
    QCOMPARE(child<QPlainTextEdit>(dialog, "Memo1")->toPlainText(), expected);

    // Lower-case suffixes stay part of the base; the format follows the extension.
    dialog.takeChosenName(QString::fromStdString((dir() / "star_off.jpg").string()));
    QCOMPARE(child<QPlainTextEdit>(dialog, "Memo1")->toPlainText(),
             QString::fromStdString((dir() / "star_off_off.jpg").string()));
}

// "name.png" chosen while BMP is selected writes PNG; a typed name works as a chosen one;
// a finished export says what it wrote; an error keeps the window open.
void TestExportDialog::formatFollowsTheNameAndErrorsKeepTheWindow() {
    ExportDialog dialog(m_session);
    QVERIFY(child<QRadioButton>(dialog, "RadioButton1")->isChecked());
    dialog.takeChosenName(QString::fromStdString((dir() / "follow.png").string()));
    QCOMPARE(dialog.format(), ExportFormat::Png);
    QSignalSpy said(&dialog, &ExportDialog::exported);
    QVERIFY(dialog.exportFiles());
    QVERIFY(fs::exists(dir() / "follow_off.png"));
    QVERIFY(!fs::exists(dir() / "follow_off.bmp"));
    QCOMPARE(said.count(), 1);
    QVERIFY2(said.front().front().toString().contains("follow_off.png"),
             qPrintable(said.front().front().toString()));

    auto* field = child<QLineEdit>(dialog, "ExportFile");
    QVERIFY(!field->isReadOnly());
    field->clear();
    QTest::keyClicks(field, QString::fromStdString((dir() / "typed.jpg").string()));
    QCOMPARE(dialog.format(), ExportFormat::Jpeg);
    QVERIFY(child<QPushButton>(dialog, "ExportBtn")->isEnabled());
    QVERIFY(dialog.exportFiles());
    QVERIFY(fs::exists(dir() / "typed_off.jpg"));

    field->clear();
    QTest::keyClicks(field, QString::fromStdString((dir() / "missing" / "x.bmp").string()));
    dialog.show();
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->done(QMessageBox::Ok);
    });
    child<QPushButton>(dialog, "ExportBtn")->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(said.count(), 2);
    dialog.hide();
}

void TestExportDialog::jpegAtLowestQualityWritesQuality30() {
    ExportDialog dialog(m_session);
    auto* quality = child<QSlider>(dialog, "TrackBar1");
    QCOMPARE(quality->value(), 9);
    QCOMPARE(quality->minimum(), 3);
    QCOMPARE(quality->maximum(), 10);
    quality->setValue(quality->minimum());
    child<QRadioButton>(dialog, "RadioButton2")->setChecked(true);
    dialog.takeChosenName(QString::fromStdString((dir() / "q.jpeg").string()));
    QVERIFY(dialog.exportFiles());
    writeJpegFile(dir() / "expected.jpg", m_session.states()[0], 30);
    QCOMPARE(fileBytes(dir() / "q_off.jpg"), fileBytes(dir() / "expected.jpg"));
    QVERIFY(!fs::exists(dir() / "q_down.jpg"));
}

void TestExportDialog::pngAndThreeStates() {
    ExportDialog dialog(m_session);
    child<QRadioButton>(dialog, "ThreeStates")->setChecked(true);
    child<QRadioButton>(dialog, "RadioButtonPng")->setChecked(true);
    dialog.takeChosenName(QString::fromStdString((dir() / "web.png").string()));
    QVERIFY(dialog.exportFiles());
    for (const char* name : {"web_off.png", "web_over.png", "web_down.png"}) {
        QImage image(QString::fromStdString((dir() / name).string()));
        QVERIFY2(!image.isNull(), name);
        QCOMPARE(image.width(), m_session.states()[0].width());
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // the corner is background
    }
}

void TestExportDialog::baseNameSurvivesAndCancelKeepsIt() {
    const QString chosen = QString::fromStdString((dir() / "kept.bmp").string());
    {
        ExportDialog dialog(m_session);
        dialog.takeChosenName(chosen);
    }
    ExportDialog dialog(m_session);
    dialog.show();
    QCOMPARE(child<QLineEdit>(dialog, "ExportFile")->text(), chosen);
    QVERIFY(child<QPlainTextEdit>(dialog, "Memo1")->toPlainText().isEmpty());
    QVERIFY(!child<QPushButton>(dialog, "ExportBtn")->isEnabled());
    dialog.takeChosenName(QString()); // the file dialog was cancelled
    QCOMPARE(ExportDialog::exportBaseName(), chosen);
    QVERIFY(child<QPushButton>(dialog, "ExportBtn")->isEnabled());
    QVERIFY(!child<QPlainTextEdit>(dialog, "Memo1")->toPlainText().isEmpty());
    dialog.hide();

    // Nothing chosen at all: Export writes nothing.
    ExportDialog::exportBaseName().clear();
    ExportDialog fresh(m_session);
    const auto before = std::distance(fs::directory_iterator(dir()), {});
    QVERIFY(fresh.exportFiles());
    QCOMPARE(std::distance(fs::directory_iterator(dir()), {}), before);
}

void TestExportDialog::unwritableFileIsReported() {
    ExportDialog dialog(m_session);
    const fs::path chosen = dir() / "no such folder" / "x.bmp";
    dialog.takeChosenName(QString::fromStdString(chosen.string()));
    QString seen;
    QTimer::singleShot(0, [&seen] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    QVERIFY(!dialog.exportFiles());
    QVERIFY2(seen.contains(QStringLiteral("x_off.bmp")), qPrintable(seen));
}

// The main window's export window is made once; what was chosen is there on reopening.
void TestExportDialog::choicesSurviveReopening() {
    QWidget mainWindow;
    ExportDialog& first = exportDialogFor(&mainWindow, m_session);
    child<QRadioButton>(first, "ThreeStates")->setChecked(true);
    child<QRadioButton>(first, "RadioButton2")->setChecked(true);
    child<QSlider>(first, "TrackBar1")->setValue(5);
    child<QComboBox>(first, "Density")->setCurrentIndex(2);
    child<QCheckBox>(first, "Sprite")->setChecked(true);
    child<QCheckBox>(first, "HtmlPage")->setChecked(true);
    first.takeChosenName(QString::fromStdString((dir() / "again.jpg").string()));
    QCOMPARE(child<QLabel>(first, "QualityValue")->text(), QStringLiteral("50"));
    first.show();
    first.hide();

    ExportDialog& second = exportDialogFor(&mainWindow, m_session);
    QCOMPARE(&second, &first);
    second.show();
    QVERIFY(child<QRadioButton>(second, "ThreeStates")->isChecked());
    QCOMPARE(second.format(), ExportFormat::Jpeg);
    QCOMPARE(child<QLabel>(second, "QualityValue")->text(), QStringLiteral("50"));
    QCOMPARE(second.maxScale(), 3);
    QVERIFY(second.sprite() && second.htmlPage());
    QVERIFY(child<QPushButton>(second, "ExportBtn")->isEnabled());
    QVERIFY(child<QPlainTextEdit>(second, "Memo1")->toPlainText().isEmpty());
    second.hide();

    // The page goes with the sprite.
    child<QCheckBox>(second, "Sprite")->setChecked(false);
    QVERIFY(!second.htmlPage());
    QVERIFY(!child<QCheckBox>(second, "HtmlPage")->isEnabled());
}

void TestExportDialog::webChoicesWriteDenseSpritesAndPage() {
    ExportDialog dialog(m_session);
    child<QRadioButton>(dialog, "ThreeStates")->setChecked(true);
    child<QRadioButton>(dialog, "RadioButtonPng")->setChecked(true);
    child<QComboBox>(dialog, "Density")->setCurrentIndex(1);
    child<QCheckBox>(dialog, "Sprite")->setChecked(true);
    child<QCheckBox>(dialog, "HtmlPage")->setChecked(true);
    fs::create_directories(dir() / "web");
    dialog.takeChosenName(QString::fromStdString((dir() / "web" / "go.png").string()));
    QCOMPARE(child<QPlainTextEdit>(dialog, "Memo1")->toPlainText().count('\n'), 3);
    QVERIFY(dialog.exportFiles());

    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir() / "web"))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    QCOMPARE(written, (std::vector<std::string>{"go.css", "go.html", "go.png", "go@2x.png"}));
    const QImage sprite(QString::fromStdString((dir() / "web" / "go.png").string()));
    const QImage dense(QString::fromStdString((dir() / "web" / "go@2x.png").string()));
    QCOMPARE(sprite.width(), m_session.states()[0].width());
    QCOMPARE(sprite.height(), 3 * m_session.states()[0].height());
    QCOMPARE(dense.size(), sprite.size() * 2);
}

// The newer web choices go with the sprite (WebP copies with PNG, the sheet with a caption
// list) and write what the command line writes; captions that do not fit are named.
void TestExportDialog::liveTextWebpCopiesAndASheetForACaptionList() {
    ExportDialog dialog(m_session);
    child<QRadioButton>(dialog, "ThreeStates")->setChecked(true);
    child<QRadioButton>(dialog, "RadioButton1")->setChecked(true); // BMP
    QVERIFY(!child<QCheckBox>(dialog, "LiveText")->isEnabled());
    child<QCheckBox>(dialog, "Sprite")->setChecked(true);
    QVERIFY(child<QCheckBox>(dialog, "LiveText")->isEnabled());
    QVERIFY(!child<QCheckBox>(dialog, "WebpCopies")->isEnabled()); // BMP
    QVERIFY(!child<QCheckBox>(dialog, "Sheet")->isEnabled());      // no caption list
    child<QRadioButton>(dialog, "RadioButtonPng")->setChecked(true);
    child<QCheckBox>(dialog, "WebpCopies")->setChecked(true);
    child<QCheckBox>(dialog, "LiveText")->setChecked(true);
    fs::create_directories(dir() / "live");
    dialog.takeChosenName(QString::fromStdString((dir() / "live" / "m.png").string()));
    QVERIFY(dialog.exportFiles());
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir() / "live"))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    QCOMPARE(written, (std::vector<std::string>{"m.css", "m.png", "m.webp"}));

    {
        std::ofstream list(dir() / "menu.txt");
        list << "Home\nA caption far too long to fit on this button at all\n";
    }
    dialog.setCaptionsFile(QString::fromStdString((dir() / "menu.txt").string()));
    QVERIFY(child<QCheckBox>(dialog, "Sheet")->isEnabled());
    child<QCheckBox>(dialog, "Sheet")->setChecked(true);
    child<QCheckBox>(dialog, "LiveText")->setChecked(false);
    fs::create_directories(dir() / "sheet");
    dialog.takeChosenName(QString::fromStdString((dir() / "sheet" / "m.png").string()));
    QVERIFY(dialog.exportFiles());
    written.clear();
    for (const auto& entry : fs::directory_iterator(dir() / "sheet"))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    QCOMPARE(written, (std::vector<std::string>{"m.css", "m.png", "m.webp"}));
    const QImage sheet(QString::fromStdString((dir() / "sheet" / "m.png").string()));
    QCOMPARE(sheet.height(), 2 * 3 * m_session.states()[0].height());
    QCOMPARE(dialog.lastWarnings().size(), 1);
    QVERIFY(dialog.lastWarnings()[0].contains(QStringLiteral("does not fit")));
}

QTEST_MAIN(TestExportDialog)
#include "tst_export_dialog.moc"
