// The main window's modes and document commands, and the test window's state machine.
#include "gui/app/data_folder.h"
#include "gui/app/main_window.h"
#include "gui/app/progress_window.h"
#include "gui/app/session.h"
#include "gui/render/result_view.h"
#include "gui/render/test_window.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace plakett;

namespace {

struct SeenBox {
    QString title;
    QString text;
    int count = 0;
};

// Closes the next message box as soon as it is up and records what it said.
void closeNextMessageBox(SeenBox& seen) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen.title = box->windowTitle();
        seen.text = box->text();
        ++seen.count;
        box->done(QMessageBox::Ok);
        timer->stop();
        timer->deleteLater();
    });
    timer->start(10);
}

std::vector<TMoveBox> cornerPoints(std::initializer_list<TPoint> positions) {
    std::vector<TMoveBox> points;
    for (TPoint p : positions) {
        TMoveBox box;
        box.Init(p.X, p.Y);
        box.FPointType = ptAngle;
        points.push_back(box);
    }
    return points;
}

QImage testImage(QRgb buttonColor) {
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 2; y < 8; ++y)
        for (int x = 5; x < 15; ++x)
            image.setPixel(x, y, buttonColor);
    return image;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void startsInShapeModeWithTheDefaultShape();
    void renderAndBackToShape();
    void tooSmallShapeIsRefused();
    void cancelReturnsToShapeMode();
    void pointTypeFollowsTheSelectedPoint();
    void newProjectRestoresTheStartupState();
    void projectRoundTripAndForeignFile();
    void testWindowStates();
    void dataFolderIsSeededOnce();
    void scrollBarsFollowTheShape();
    void enlargedShapeScrollsHorizontally();

  private:
    bool visible(QWidget* w) const { return w->isVisibleTo(m_window.get()); }
    template <typename T> T* child(const char* name) const {
        return m_window->findChild<T*>(QString::fromLatin1(name));
    }
    // The positions of all points, for comparing before and after a scroll.
    std::vector<TPoint> positions() {
        std::vector<TPoint> result;
        for (const TMoveBox& p : m_session->contour().FPoints)
            result.push_back(p.FPos);
        return result;
    }
    void expectMovedBy(const std::vector<TPoint>& before, int dx, int dy) {
        const std::vector<TPoint> after = positions();
        QCOMPARE(after.size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            QCOMPARE(after[i].X, before[i].X + dx);
            QCOMPARE(after[i].Y, before[i].Y + dy);
        }
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_session = std::make_unique<Session>();
    m_window = test::showMainWindow(*m_session, test::makeEmptyDataFolder(*m_dir));
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::cleanup() {
    m_window.reset();
    m_session.reset();
    m_dir.reset();
}

void TestMainWindow::startsInShapeModeWithTheDefaultShape() {
    QVERIFY(!m_window->renderMode());
    QVERIFY(visible(m_window->renderButton()) && m_window->renderButton()->isEnabled());
    QVERIFY(!visible(m_window->shapeButton()) && !m_window->shapeButton()->isEnabled());
    QVERIFY(visible(m_window->pointStyle()));
    QCOMPARE(m_window->pointStyle()->currentText(), QStringLiteral("Auto"));
    for (QToolButton* b : m_window->renderToolButtons())
        QVERIFY(!b->isEnabled() && !visible(b));
    QVERIFY(!m_window->toolbarAction("Export")->isVisible());
    QVERIFY(!m_window->toolbarAction("Test")->isVisible());
    QVERIFY(m_window->toolbarAction("Center")->isVisible());
    QVERIFY(m_window->toolbarAction("Rotate")->isVisible());

    const auto& points = m_session->contour().FPoints;
    QCOMPARE(points.size(), std::size_t{2});
    QCOMPARE(points[0].FPos.Y, points[1].FPos.Y);
    QCOMPARE(points[0].FPos.X - points[1].FPos.X, 120);
    QVERIFY(points[0].FPointType == ptAuto && points[1].FPointType == ptAuto);
}

void TestMainWindow::renderAndBackToShape() {
    QVERIFY(m_window->render());
    QVERIFY(m_window->renderMode());
    QVERIFY(!m_window->progressWindow()->isVisible());
    const QImage off = m_session->stateImage(0);
    QVERIFY(!off.isNull());
    for (int s = 1; s < 3; ++s)
        QCOMPARE(m_session->stateImage(s).size(), off.size());
    QCOMPARE(m_window->resultView()->imageRect(0).topLeft(), QPoint(10, 10));
    QCOMPARE(m_window->resultView()->imageRect(1).left(), 10 + off.width() + 10);

    QVERIFY(visible(m_window->shapeButton()) && m_window->shapeButton()->isEnabled());
    QVERIFY(!visible(m_window->renderButton()) && !visible(m_window->pointStyle()));
    for (QToolButton* b : m_window->renderToolButtons())
        QVERIFY(b->isEnabled() && visible(b));
    QVERIFY(m_window->toolbarAction("Export")->isVisible());
    QVERIFY(!m_window->toolbarAction("Center")->isVisible());

    m_window->renderToolButtons()[2]->click(); // the shadow panel, in front
    QWidget* shadow = m_window->toolWindows()[2];
    QVERIFY(shadow->isVisible() && !shadow->isWindow());

    m_window->shapeButton()->click();
    QVERIFY(!m_window->renderMode());
    QVERIFY(!shadow->isVisible());
    QVERIFY(m_session->stateImage(0).isNull());
    QVERIFY(visible(m_window->renderButton()) && visible(m_window->pointStyle()));
    for (QToolButton* b : m_window->renderToolButtons())
        QVERIFY(!b->isEnabled());
}

void TestMainWindow::tooSmallShapeIsRefused() {
    m_session->contour().setPoints(cornerPoints({{300, 100}, {300, 150}, {301, 200}}));
    QVERIFY(m_session->contour().FMaxX - m_session->contour().FMinX < 2);
    SeenBox seen;
    closeNextMessageBox(seen);
    QVERIFY(!m_window->render());
    QCOMPARE(seen.count, 1);
    QCOMPARE(seen.title, QStringLiteral("Error"));
    QCOMPARE(seen.text, QStringLiteral("Shape is too small"));
    QVERIFY(!m_window->renderMode());
    QVERIFY(visible(m_window->renderButton()) && !visible(m_window->shapeButton()));
    QVERIFY(!m_window->progressWindow()->isVisible());
}

void TestMainWindow::cancelReturnsToShapeMode() {
    ProgressWindow* progress = m_window->progressWindow();
    // Runs inside the first event pass of the computation, as a click on "Cancel" would.
    QTimer::singleShot(0, progress, [progress] { progress->requestCancel(); });
    QVERIFY(!m_window->render());
    QVERIFY(m_session->cancelled());
    QVERIFY(!m_window->renderMode());
    QVERIFY(visible(m_window->renderButton()) && !visible(m_window->shapeButton()));
    QVERIFY(m_session->stateImage(0).isNull());
    QVERIFY(!progress->isVisible());

    // The next Render starts with the flag cleared, and small steps are not shown.
    QVERIFY(m_window->render());
    progress->start(m_window.get());
    QVERIFY(!progress->cancelRequested());
    progress->report(2);
    QCOMPARE(progress->shownProgress(), 0);
    progress->report(3);
    QCOMPARE(progress->shownProgress(), 3);
    progress->finish();
}

void TestMainWindow::pointTypeFollowsTheSelectedPoint() {
    TContur& contour = m_session->contour();
    contour.setPoints(cornerPoints({{200, 100}, {300, 100}, {250, 180}}));
    contour.FPoints[1].FPointType = ptAuto;
    contour.Changed();
    contour.leftPress(200, 100);
    contour.leftRelease();
    QCOMPARE(m_window->pointStyle()->currentIndex(), 2);
    QCOMPARE(contour.FNewPointType, std::uint8_t{ptAngle});
    contour.leftPress(300, 100);
    contour.leftRelease();
    QCOMPARE(m_window->pointStyle()->currentIndex(), 0);

    // Choosing "Anchor" turns the selected point into a Bezier point.
    emit m_window->pointStyle()->activated(1);
    QCOMPARE(contour.FPoints[1].FPointType, std::uint8_t{ptBezier});
}

void TestMainWindow::newProjectRestoresTheStartupState() {
    const RenderSettings defaults = m_session->settings();
    const ColorRef buttonColor = m_session->lights().state().ButtonColor;
    QVERIFY(m_window->render());
    m_session->settings().shadow.angle = 10;
    m_session->settings().text.caption = "Go";
    m_session->settings().background.color = 0x123456;
    m_session->lights().loadProjectLights(0x00FF00, m_session->lights().state().FLightSet.FLights);
    m_session->contour().setPoints(cornerPoints({{200, 100}, {300, 100}, {250, 180}}));

    m_window->newProject();
    QVERIFY(!m_window->renderMode());
    QVERIFY(visible(m_window->renderButton()));
    QCOMPARE(m_session->settings().shadow.angle, defaults.shadow.angle);
    QCOMPARE(m_session->settings().text.caption, defaults.text.caption);
    QCOMPARE(m_session->settings().background.color, defaults.background.color);
    QCOMPARE(m_session->lights().state().ButtonColor, buttonColor);
    const auto& points = m_session->contour().FPoints;
    QCOMPARE(points.size(), std::size_t{2});
    QCOMPARE(points[0].FPos.X - points[1].FPos.X, 120);
}

void TestMainWindow::projectRoundTripAndForeignFile() {
    TContur& contour = m_session->contour();
    contour.setPoints(cornerPoints({{200, 100}, {300, 100}, {250, 180}}));
    m_session->centerView();
    const std::vector<TMoveBox> saved = contour.FPoints;
    m_session->settings().text.caption = "Saved";

    const QString base = m_dir->filePath(QStringLiteral("button"));
    SeenBox seen;
    m_window->saveProjectFile(base); // no dot: ".tbp" is appended
    QVERIFY(QFileInfo::exists(base + ".tbp"));

    m_window->newProject();
    QCOMPARE(contour.FPoints.size(), std::size_t{2});
    QVERIFY(m_session->settings().text.caption.empty());
    m_window->openProjectFile(base + ".tbp");
    QCOMPARE(contour.FPoints, saved);
    QCOMPARE(m_session->settings().text.caption, std::string("Saved"));

    // Another kind of file: back to shape mode without a word, the document stays.
    const QString foreign = m_dir->filePath(QStringLiteral("notes.tbp"));
    std::ofstream(foreign.toStdString()) << "not a project at all";
    QVERIFY(m_window->render());
    m_window->openProjectFile(foreign);
    QVERIFY(!m_window->renderMode());
    QVERIFY(m_session->stateImage(0).isNull());
    QCOMPARE(contour.FPoints.size(), saved.size());
    QCOMPARE(m_session->settings().text.caption, std::string("Saved"));

    // A project that breaks off inside its points: an error box, the document stays.
    std::ofstream(m_dir->filePath(QStringLiteral("short.tbp")).toStdString(), std::ios::binary)
        .write("\x09\x75\x84\x49\x03\x00\x00\x00\x01", 9);
    closeNextMessageBox(seen);
    m_window->openProjectFile(m_dir->filePath(QStringLiteral("short.tbp")));
    QCOMPARE(seen.count, 1);
    QCOMPARE(seen.title, QStringLiteral("Plakett"));
    QCOMPARE(contour.FPoints.size(), saved.size());

    // Saving where no file can be made reports the error.
    closeNextMessageBox(seen);
    m_window->saveProjectFile(m_dir->filePath(QStringLiteral("missing/dir/p.tbp")));
    QCOMPARE(seen.count, 2);
}

void TestMainWindow::testWindowStates() {
    TestButtonView view(
        {testImage(qRgb(0, 0, 200)), testImage(qRgb(0, 200, 0)), testImage(qRgb(200, 0, 0))});
    const QPoint on(10, 5);
    const QPoint white(1, 1);
    QCOMPARE(view.shownState(), 0);
    view.pointerMoved(on);
    QVERIFY(view.hot());
    QCOMPARE(view.shownState(), 1);
    view.buttonPressed(Qt::LeftButton, on);
    QCOMPARE(view.shownState(), 2);
    view.pointerMoved(white); // pushed ignores moves
    QCOMPARE(view.shownState(), 2);
    view.buttonReleased(Qt::LeftButton, white); // released off the button: normal
    QCOMPARE(view.shownState(), 0);
    QVERIFY(!view.pressed() && !view.hot());

    view.buttonPressed(Qt::LeftButton, on);
    view.buttonReleased(Qt::LeftButton, on); // released on it: hot again
    QCOMPARE(view.shownState(), 1);
    view.buttonPressed(Qt::LeftButton, white); // a white corner: normal, not pressed
    QCOMPARE(view.shownState(), 0);
    QVERIFY(!view.pressed());
    view.pointerMoved(on);
    view.pointerLeft();
    QCOMPARE(view.shownState(), 0);

    TestButtonView empty({QImage(), QImage(), QImage()});
    empty.buttonPressed(Qt::LeftButton, on);
    empty.buttonReleased(Qt::LeftButton, on);
    QCOMPARE(empty.shownState(), 0);
    QVERIFY(!empty.pressed() && !empty.hot());
}

void TestMainWindow::dataFolderIsSeededOnce() {
    namespace fs = std::filesystem;
    const fs::path root = m_dir->path().toStdString();
    // An installed prefix: bin/ beside share/plakett/data.
    const fs::path shipped = root / "prefix" / "share" / "plakett" / "data";
    fs::create_directories(shipped / "Buttons");
    fs::create_directories(shipped / "Styles");
    fs::create_directories(shipped / "Backgrounds"); // empty: nothing to fill, nothing missed
    fs::create_directories(root / "prefix" / "bin");
    std::ofstream(shipped / "Buttons" / "Pill.shp") << "shipped";
    std::ofstream(shipped / "Styles" / "Gold.jpgs") << "style";
    QCOMPARE(findShippedData(root / "prefix" / "bin"), fs::weakly_canonical(shipped));
    // Then the source tree, then the configured prefix: never found in a build tree is a bug.
    const std::vector<fs::path> places = shippedDataCandidates(root / "elsewhere" / "bin");
    QVERIFY(places.size() >= 2);
    QVERIFY(!findShippedData(root / "elsewhere" / "bin").empty());
    QCOMPARE(findShippedData({root / "none", shipped, places.back()}),
             fs::weakly_canonical(shipped));
    QVERIFY(findShippedData(std::vector<fs::path>{root / "none", root / "prefix"}).empty());

    const fs::path data = root / "home" / "plakett";
    fs::create_directories(data / "Buttons");
    fs::create_directories(data / "Styles"); // left empty by an earlier start
    std::ofstream(data / "Buttons" / "Mine.shp") << "mine";
    const std::vector<std::string> leftEmpty = seedDataFolder(data, shipped);
    for (const char* sub : kDataSubfolders)
        QVERIFY2(fs::is_directory(data / sub), sub);
    // A folder the user already has is left as it is; missing and empty ones are filled.
    QVERIFY(fs::exists(data / "Buttons" / "Mine.shp"));
    QVERIFY(!fs::exists(data / "Buttons" / "Pill.shp"));
    QVERIFY(fs::exists(data / "Styles" / "Gold.jpgs"));
    QCOMPARE(leftEmpty, std::vector<std::string>{"Other"});
    // Without a shipped library every library folder nothing filled is reported, "User" aside.
    const std::vector<std::string> bare = seedDataFolder(root / "bare", fs::path());
    QCOMPARE(bare, (std::vector<std::string>{"Buttons", "Other", "Styles", "Backgrounds"}));
    QCOMPARE(seedDataFolder(root / "bare", shipped), std::vector<std::string>{"Other"});
    QVERIFY(fs::exists(root / "bare" / "Buttons" / "Pill.shp"));

    const StartOptions options = parseStartOptions(
        {"plakett", "--data", "/x/y", "--render-at-start", "--other", "a.tbp", "b.tbp"});
    QCOMPARE(options.dataFolder.value_or(""), fs::path("/x/y"));
    QVERIFY(options.renderAtStart);
    QCOMPARE(options.openFile.value_or(""), fs::path("a.tbp"));
    QVERIFY(!parseStartOptions({"plakett", "--data"}).dataFolder);
    QVERIFY(!parseStartOptions({"plakett", "--data", "d"}).openFile);
}

void TestMainWindow::scrollBarsFollowTheShape() {
    auto* vsb = child<QScrollBar>("VSB");
    auto* hsb = child<QScrollBar>("HSB");
    auto* hsbParent = child<QWidget>("HSBParent");
    QVERIFY(vsb && hsb && hsbParent);
    QTest::qWait(50); // the window's first layout passes
    QVERIFY(!visible(vsb) && !visible(hsbParent));
    for (QScrollBar* bar : {vsb, hsb}) {
        QCOMPARE(bar->singleStep(), 2);
        QCOMPARE(bar->pageStep(), 15);
    }

    // Past the right edge: HSB shows; its position is 0 while the left edge is inside.
    TContur& c = m_session->contour();
    const int w = c.width();
    c.setPoints(cornerPoints({{w - 50, 100}, {w + 80, 100}, {w + 80, 200}, {w - 50, 200}}));
    m_session->shapeEdited();
    QTRY_VERIFY(visible(hsbParent));
    QTest::qWait(20); // the panel's layout pass
    QVERIFY(!visible(vsb));
    QCOMPARE(c.width(), w);
    QCOMPARE(hsb->minimum(), 0);
    QCOMPARE(hsb->value(), 0);
    QVERIFY(hsb->maximum() == 83 || hsb->maximum() == 86); // m = 80 + 3, alternating with m + 3

    // Moving the bar moves every point left by the position; the bar returns to 0.
    std::vector<TPoint> before = positions();
    hsb->setValue(10);
    expectMovedBy(before, -10, 0);
    QCOMPARE(hsb->value(), 0);

    // Centring hides the bar and gives the editor its full height again.
    const int narrowHeight = c.height();
    m_window->viewAtCenter();
    QTRY_VERIFY(!visible(hsbParent));
    QTRY_VERIFY(c.height() > narrowHeight);
    QVERIFY(!visible(vsb));

    // Past the top: VSB shows at the offset |top - 3| and scrolls by the difference to it.
    c.setPoints(cornerPoints({{100, -20}, {200, -20}, {200, 100}, {100, 100}}));
    m_session->shapeEdited();
    QTRY_VERIFY(visible(vsb));
    QTest::qWait(20);
    QCOMPARE(c.FMinY, -20);
    QCOMPARE(vsb->minimum(), -2);
    QCOMPARE(vsb->value(), 23);
    before = positions();
    vsb->setValue(13);
    expectMovedBy(before, 0, 10);
    QCOMPARE(vsb->value(), 13);
    m_window->viewAtCenter();
    QTRY_VERIFY(!visible(vsb));
    QVERIFY(!visible(hsbParent));
}

void TestMainWindow::enlargedShapeScrollsHorizontally() {
    m_window->resize(520, 460);
    TContur& c = m_session->contour();
    QTRY_VERIFY(c.width() < 320);
    m_window->viewAtCenter();
    auto* hsb = child<QScrollBar>("HSB");
    auto* hsbParent = child<QWidget>("HSBParent");
    QToolButton* enlarge = nullptr;
    QToolButton* actual = nullptr;
    for (QToolButton* b : m_window->findChildren<QToolButton*>()) {
        if (b->toolTip() == QStringLiteral("Increased Shape Size")) enlarge = b;
        if (b->toolTip() == QStringLiteral("Actual Shape Size")) actual = b;
    }
    QVERIFY(enlarge && actual);
    QVERIFY(!visible(hsbParent));

    enlarge->click();
    QTRY_VERIFY(visible(hsbParent));
    QTest::qWait(20);
    QVERIFY(c.FMaxX - c.FMinX > c.width());
    const int left = c.FMinX;
    QVERIFY(left < 0);
    QCOMPARE(hsb->value(), 3 - left);

    // Left edge at 2 or less: the shift is position + left - 3.
    const std::vector<TPoint> before = positions();
    const int position = hsb->value() - 7;
    hsb->setValue(position);
    expectMovedBy(before, -(position + left - 3), 0);
    QCOMPARE(c.FMinX, left + 7);
    QCOMPARE(hsb->value(), position);

    actual->click();
    QTRY_VERIFY(!visible(hsbParent));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
