#include "gui/app/session.h"
#include "gui/shape/shape_dialogs.h"
#include "gui/shape/shape_library.h"
#include "gui/shape/shape_thumbnail.h"
#include "shape/shape_file.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

std::vector<TMoveBox> polygon(std::initializer_list<std::pair<int, int>> corners) {
    std::vector<TMoveBox> points;
    for (auto [x, y] : corners) {
        TMoveBox b;
        b.Init(x, y);
        b.FPointType = ptAngle;
        points.push_back(b);
    }
    return points;
}

void writeText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// Runs `action` on the next modal window of type T (with this title, if given).
template <typename T> void whenShown(const QString& title, std::function<void(T*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, title, action] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w || (!title.isEmpty() && w->windowTitle() != title)) return;
        timer->stop();
        timer->deleteLater();
        action(w);
    });
    timer->start();
}

void answer(QMessageBox::StandardButton button, QString* text = nullptr) {
    whenShown<QMessageBox>({}, [button, text](QMessageBox* box) {
        if (text) *text = box->windowTitle() + "|" + box->text();
        box->button(button)->click();
    });
}

QStringList captions(QListWidget* view) {
    QStringList out;
    for (int i = 0; i < view->count(); ++i)
        out << view->item(i)->text();
    return out;
}

} // namespace

class TstShapeLibrary : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    fs::path m_data;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<ShapeLibraryWidget> m_library;

    void openLibrary() {
        m_library = std::make_unique<ShapeLibraryWidget>(*m_session, m_data);
        if (m_library->loading()) {
            QSignalSpy done(m_library.get(), &ShapeLibraryWidget::loadingFinished);
            QVERIFY(done.wait(10000));
        }
    }

  private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_data = fs::path(m_dir.path().toStdString()) / "data";
        fs::remove_all(m_data);
        fs::create_directories(m_data / "Buttons");
        fs::create_directories(m_data / "Other");
        fs::create_directories(m_data / "User");
        SaveToFile(polygon({{0, 0}, {80, 0}, {80, 40}, {0, 40}}), m_data / "Buttons" / "Wide.shp");
        SaveToFile(polygon({{0, 0}, {30, 0}, {15, 60}}), m_data / "Buttons" / "Tall.shp");
        SaveToFile(polygon({{10, 10}, {50, 10}, {30, 40}}), m_data / "Other" / "Tri.shp");
        writeText(m_data / "Other" / "Broken.shp", "3\nAuto\nnot a number\n");
        writeText(m_data / "Other" / "Empty.shp", "");
        writeText(m_data / "Other" / "notes.txt", "not a shape");
        SaveToFile(polygon({{0, 0}, {20, 0}, {20, 20}}), m_data / "User" / "Mine.shp");
        m_session = std::make_unique<Session>(600, 400);
    }
    void cleanup() {
        m_library.reset();
        m_session.reset();
    }

    void listsTheShapesOfEachFolderAndSkipsDamagedFiles() {
        openLibrary();
        QCOMPARE(m_library->count(), 3);
        QCOMPARE(m_library->tabText(0), QString("Buttons"));
        QCOMPARE(m_library->tabText(2), QString("User"));
        QCOMPARE(captions(m_library->view(0)), QStringList({"Tall", "Wide"}));
        QCOMPARE(captions(m_library->view(1)), QStringList({"Tri"}));
        QCOMPARE(captions(m_library->view(2)), QStringList({"Mine"}));
        QCOMPARE(m_library->view(0)->item(0)->icon().availableSizes().value(0), QSize(64, 64));
        // The two damaged files are named in what the window reports.
        QCOMPARE(m_library->skippedFiles().size(), 2);
        QVERIFY(m_library->skippedFiles().join('\n').contains("Broken.shp"));
    }

    // A single-click activation (some desktops give one) loads nothing; Return does.
    void activationOrReturnWithoutDoubleClick() {
        openLibrary();
        m_library->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_library.get()));
        QListWidget* view = m_library->view(0);
        QSignalSpy loaded(m_library.get(), &ShapeLibraryWidget::shapeLoaded);
        view->setCurrentItem(view->item(1));
        emit view->itemActivated(view->item(1));
        QCOMPARE(loaded.count(), 0);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(m_session->contour().FPoints.size(), std::size_t{4}); // "Wide"
        view->clearSelection();
        QTest::keyClick(view, Qt::Key_Enter); // nothing selected: nothing loads
        QCOMPARE(loaded.count(), 1);
    }

    void missingFoldersGiveEmptyTabs() {
        fs::remove_all(m_data / "Buttons");
        fs::remove_all(m_data / "User");
        openLibrary();
        QCOMPARE(m_library->view(0)->count(), 0);
        QCOMPARE(m_library->view(1)->count(), 1);
        QCOMPARE(m_library->view(2)->count(), 0);
    }

    void doubleClickLoadsAtActualSizeAndCentres() {
        openLibrary();
        QVERIFY(Enlarge(m_session->contour(), m_session->zoom()));
        QListWidget* view = m_library->view(0);
        m_library->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_library.get()));
        QSignalSpy loaded(m_library.get(), &ShapeLibraryWidget::shapeLoaded);
        const QPoint at = view->visualItemRect(view->item(1)).center(); // "Wide"
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);    // selects only
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(m_library->selectedItem(), view->item(1));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(loaded.count(), 1);

        const TContur& c = m_session->contour();
        QCOMPARE(c.FPoints.size(), std::size_t{4});
        QVERIFY(m_session->zoom().FActualSize);
        QCOMPARE(c.FMaxX - c.FMinX, 80);
        QCOMPARE(c.FMinX, 300 - 40);
        QCOMPARE(c.FMinY, 200 - 20);
    }

    void aFileGoneSinceListingIsReportedAndChangesNothing() {
        openLibrary();
        const std::vector<TMoveBox> before = m_session->contour().FPoints;
        fs::remove(m_data / "Other" / "Tri.shp");
        QString message;
        answer(QMessageBox::Ok, &message);
        QVERIFY(!m_library->loadItem(m_library->view(1)->item(0)));
        QVERIFY(message.startsWith("Plakett|"));
        QCOMPARE(m_session->contour().FPoints, before);
    }

    void deletingAUserShapeAsksFirst() {
        openLibrary();
        QListWidget* user = m_library->view(2);
        QString question;
        answer(QMessageBox::No, &question);
        QVERIFY(!m_library->deleteUserItem(user->item(0)));
        QCOMPARE(question, QString("Delete...|Are you sure you want to delete shape Mine?"));
        QCOMPARE(user->count(), 1);
        QVERIFY(fs::exists(m_data / "User" / "Mine.shp"));

        user->setCurrentRow(0);
        user->setFocus();
        answer(QMessageBox::Yes);
        QTest::keyClick(user, Qt::Key_Delete);
        QCOMPARE(user->count(), 0);
        QVERIFY(!fs::exists(m_data / "User" / "Mine.shp"));
        // Buttons and Other offer no deletion.
        QVERIFY(!m_library->deleteUserItem(m_library->view(0)->item(0)));
    }

    void addToUserSavesAndLists() {
        openLibrary();
        whenShown<QDialog>("Add to User", [](QDialog* d) {
            d->findChild<QLineEdit*>("Edit1")->setText("my star");
            d->findChild<QPushButton*>("AddButton")->click();
        });
        QVERIFY(runAddToUserDialog(nullptr, *m_session, *m_library));
        const fs::path saved = m_data / "User" / "my star.shp";
        QVERIFY(fs::exists(saved));
        std::vector<TMoveBox> points;
        LoadFromFile(saved, points);
        QCOMPARE(points, m_session->contour().FPoints);
        QCOMPARE(captions(m_library->view(2)), QStringList({"Mine", "my star"}));
    }

    void addToUserRefusesBadNamesAndAsksBeforeReplacing() {
        openLibrary();
        QStringList messages;
        const auto tryName = [&](const QString& name, QMessageBox::StandardButton reply) {
            QString text;
            whenShown<QDialog>("Add to User", [&, name, reply](QDialog* d) {
                d->findChild<QLineEdit*>("Edit1")->setText(name);
                answer(reply, &text);
                d->findChild<QPushButton*>("AddButton")->click();
                QVERIFY(d->isVisible()); // the dialog stays open
                d->findChild<QPushButton*>("CancelButton")->click();
            });
            QVERIFY(!runAddToUserDialog(nullptr, *m_session, *m_library));
            messages << text;
        };
        tryName("", QMessageBox::Ok);
        tryName("my.star", QMessageBox::Ok);
        tryName("../up", QMessageBox::Ok);
        tryName("Mine", QMessageBox::No);
        QCOMPARE(messages.value(0), QString("Message...|Please enter shape name."));
        QCOMPARE(messages.value(1), QString("Message...|Shape name is not valid."));
        QCOMPARE(messages.value(2), QString("Message...|Shape name is not valid."));
        QVERIFY(messages.value(3).startsWith("Add to User|"));
        std::vector<TMoveBox> mine;
        LoadFromFile(m_data / "User" / "Mine.shp", mine);
        QCOMPARE(mine.size(), std::size_t{3}); // not replaced
        QCOMPARE(m_library->view(2)->count(), 1);
        QVERIFY(!fs::exists(m_data / "User" / "my.star.shp"));
    }

    // The loader's thumbnails are hard-edged black on white, fitted to the square's top-left.
    void thumbnails() {
        const QImage hard = loaderThumbnail({{0, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}});
        QCOMPARE(hard.size(), QSize(64, 64));
        QCOMPARE(hard.pixel(30, 15) & 0xFFFFFF, QRgb(0));
        QCOMPARE(hard.pixel(30, 40) & 0xFFFFFF, QRgb(0xFFFFFF));
        const QImage soft = RenderThumbnail({{0, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}});
        QCOMPARE(soft.pixel(30, 40) & 0xFFFFFF, QRgb(0xFFFFFF));
        QCOMPARE(soft.pixel(30, 15) & 0xFFFFFF, QRgb(0)); // straight edges are kept
        const QImage single = loaderThumbnail({{5, 5}});
        QCOMPARE(single.size(), QSize(64, 64));
        QCOMPARE(loaderThumbnail({}).pixel(0, 0) & 0xFFFFFF, QRgb(0xFFFFFF));
    }
};

QTEST_MAIN(TstShapeLibrary)
#include "tst_shape_library.moc"
