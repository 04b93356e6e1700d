// The desktop learns the project and shape file types from packaging/plakett-mime.xml: every
// shipped shape and a project must be recognised by name and, renamed, by their first bytes.
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

namespace fs = std::filesystem;

class TestFileTypes : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void recognised_data();
    void recognised();

  private:
    QTemporaryDir m_dir;
};

void TestFileTypes::initTestCase() {
    // Qt reads a folder's MIME packages directly when it has no compiled cache.
    QVERIFY(m_dir.isValid());
    const QString packages = m_dir.path() + "/mime/packages";
    QVERIFY(QDir().mkpath(packages));
    QVERIFY(
        QFile::copy(PLAKETT_SOURCE_DIR "/packaging/plakett-mime.xml", packages + "/plakett.xml"));
    qputenv("XDG_DATA_DIRS", (m_dir.path() + ":/usr/local/share:/usr/share").toLocal8Bit());
}

void TestFileTypes::recognised_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("type");
    const fs::path source = PLAKETT_SOURCE_DIR;
    QTest::newRow("project") << QString::fromStdString(
                                    (source / "tests/data/projects/glyph_texture.tbp").string())
                             << "application/x-plakett-project";
    for (const char* folder : {"Buttons", "Other"}) {
        for (const auto& entry : fs::directory_iterator(source / "data" / folder)) {
            const std::string path = entry.path().string();
            QTest::newRow(path.c_str())
                << QString::fromStdString(path) << "application/x-plakett-shape";
        }
    }
}

void TestFileTypes::recognised() {
    QFETCH(QString, file);
    QFETCH(QString, type);
    QMimeDatabase db;
    QCOMPARE(db.mimeTypeForFile(file).name(), type);
    // Without its extension the content alone tells.
    const QString renamed = m_dir.path() + "/renamed";
    QFile::remove(renamed);
    QVERIFY(QFile::copy(file, renamed));
    QCOMPARE(db.mimeTypeForFile(renamed, QMimeDatabase::MatchContent).name(), type);
    if (type.endsWith("shape"))
        QVERIFY(db.mimeTypeForName(type).inherits(QStringLiteral("text/plain")));
}

QTEST_GUILESS_MAIN(TestFileTypes)
#include "tst_file_types.moc"
