// The main window as an editor: undo and redo, the question before unsaved work goes, the
// keys, the transforms in render mode, the test window while pushed and the recent-projects
// list.
#include "gui/app/main_window.h"
#include "gui/app/recent_projects.h"
#include "gui/app/session.h"
#include "gui/render/test_window.h"
#include "gui/shape/contur_widget.h"
#include "gui/widgets/track_bar.h"
#include "shape/transforms.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <memory>

using namespace plakett;

namespace {

// The same outline wherever it is shown: scrolling and centring are not edits.
bool sameShape(const std::vector<TMoveBox>& a, const std::vector<TMoveBox>& b) {
    if (a.size() != b.size() || a.empty()) return a.size() == b.size();
    const int dx = b[0].FPos.X - a[0].FPos.X;
    const int dy = b[0].FPos.Y - a[0].FPos.Y;
    for (std::size_t i = 0; i < a.size(); ++i) {
        TMoveBox moved = a[i];
        moved.FPos = {moved.FPos.X + dx, moved.FPos.Y + dy};
        if (!(moved == b[i])) return false;
    }
    return true;
}

struct Design {
    std::vector<TMoveBox> points;
    ColorRef buttonColor;
    std::array<TLightRec, 4> lights;
    RenderSettings settings;
};

Design designOf(Session& s) {
    return {s.contour().FPoints, s.lights().state().ButtonColor,
            s.lights().state().FLightSet.FLights, s.settings()};
}

bool sameDesign(const Design& a, const Design& b) {
    return sameShape(a.points, b.points) && a.buttonColor == b.buttonColor &&
           a.lights == b.lights && a.settings == b.settings;
}

void sendMouse(QWidget* w, QEvent::Type type) {
    const QPointF at = QRectF(w->rect()).center();
    QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
    QApplication::sendEvent(w, &event);
}

QAction* menuAction(QMenuBar* bar, const QString& text) {
    for (QMenu* menu : bar->findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            if (a->text() == text) return a;
    return nullptr;
}

} // namespace

class TestEditorHabits : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void undoAndRedoEachKindOfEdit_data();
    void undoAndRedoEachKindOfEdit();
    void sliderDragIsOneStep();
    void zoomReleaseAndRotationAreOneStep();
    void undoInRenderMode();
    void savePromptBeforeWorkIsDropped();
    void deleteKeyKeepsTwoPoints();
    void transformsDoNothingInRenderMode();
    void testWindowStaysPushedOffThePicture();
    void originFieldsAndLimits();
    void recentListKeepsEightNewestFirst();

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<MainWindow> m_window;
};

void TestEditorHabits::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_session = std::make_unique<Session>();
    m_window = test::showMainWindow(*m_session, test::makeEmptyDataFolder(*m_dir));
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTest::qWait(20); // the first centring
    m_session->undoStack().clear();
}

void TestEditorHabits::cleanup() {
    m_window.reset();
    m_session.reset();
    m_dir.reset();
}

using Edit = std::function<void(Session&)>;
Q_DECLARE_METATYPE(Edit)

void TestEditorHabits::undoAndRedoEachKindOfEdit_data() {
    QTest::addColumn<Edit>("edit");
    const auto point = [](Session& s) -> TMoveBox& { return s.contour().FPoints[0]; };
    QTest::newRow("drag a point") << Edit([&](Session& s) {
        const TPoint p = point(s).FPos;
        s.contour().leftPress(p.X, p.Y);
        s.contour().mouseMove(p.X + 7, p.Y - 30);
        s.contour().leftRelease();
        s.shapeEdited();
    });
    QTest::newRow("insert a point") << Edit([](Session& s) {
        const TArrayPoint& outline = s.contour().outline();
        const TPoint p = outline[outline.size() / 4];
        s.contour().leftPress(p.X, p.Y);
        s.contour().leftRelease();
        s.shapeEdited();
    });
    QTest::newRow("point type") << Edit([](Session& s) {
        s.contour().FSelected = 1;
        s.contour().PointStyleChange(2);
        s.shapeEdited();
    });
    QTest::newRow("flip") << Edit([](Session& s) {
        FlipTopToBottom(s.contour()); // turns the Bezier directions
        s.shapeEdited();
    });
    QTest::newRow("enlarge") << Edit([](Session& s) {
        Enlarge(s.contour(), s.zoom());
        s.shapeEdited();
    });
    QTest::newRow("light in render mode")
        << Edit([](Session& s) { s.lights().ButtonColorClick(0x123456); });
    QTest::newRow("text") << Edit([](Session& s) {
        s.settings().text.caption = "OK";
        s.settingsEdited();
    });
    QTest::newRow("shadow blur") << Edit([](Session& s) {
        s.settings().shadow.blur = 12;
        s.shadowBlurEdited();
    });
    QTest::newRow("glyph") << Edit([](Session& s) {
        s.settings().glyph.opacity = 200;
        s.settingsEdited();
    });
    QTest::newRow("background") << Edit([](Session& s) {
        s.settings().background.color = 0x00FF00;
        s.settingsEdited();
    });
}

// One edit is one step; undo brings the design back, redo the edit, and the window's title
// carries the modified mark meanwhile.
void TestEditorHabits::undoAndRedoEachKindOfEdit() {
    QFETCH(Edit, edit);
    if (QString(QTest::currentDataTag()).contains("render")) QVERIFY(m_window->render());
    QUndoStack& stack = m_session->undoStack();
    const Design before = designOf(*m_session);
    edit(*m_session);
    const Design after = designOf(*m_session);
    QVERIFY(!sameDesign(before, after));
    QCOMPARE(stack.count(), 1);
    QVERIFY(m_window->isWindowModified());
    QVERIFY(m_window->windowTitle().startsWith("Untitled"));

    stack.undo();
    QVERIFY(sameDesign(designOf(*m_session), before));
    QVERIFY(!m_window->isWindowModified());
    stack.redo();
    QVERIFY(sameDesign(designOf(*m_session), after));
    m_session->centerView(); // where the shape is shown is no step
    QCOMPARE(stack.count(), 1);
}

void TestEditorHabits::sliderDragIsOneStep() {
    auto* blur = m_window->findChild<TrackBar*>("ShadeBlurBar");
    QVERIFY(blur);
    const int start = m_session->settings().shadow.blur;
    for (int drag = 0; drag < 2; ++drag) {
        sendMouse(blur, QEvent::MouseButtonPress);
        for (int v = 10 + drag; v < 30; v += 3)
            blur->setValue(v);
        sendMouse(blur, QEvent::MouseButtonRelease);
    }
    QCOMPARE(m_session->undoStack().count(), 2); // two drags, two steps

    // Likewise a typed word, while a correction is a step of its own.
    auto* caption = m_window->findChild<QLineEdit*>("Text");
    QTest::keyClicks(caption, "Hello");
    QTest::keyClick(caption, Qt::Key_Backspace);
    QCOMPARE(m_session->settings().text.caption, std::string("Hell"));
    QCOMPARE(m_session->undoStack().count(), 4);
    m_session->undoStack().undo();
    QCOMPARE(caption->text(), QString("Hello"));
    m_session->undoStack().undo();
    m_session->undoStack().undo();
    m_session->undoStack().undo();
    QCOMPARE(m_session->settings().shadow.blur, start);
    QCOMPARE(blur->value(), start); // the window shows the restored value
}

// The Rotate button first returns to actual size; with the rotation that is one step.
void TestEditorHabits::zoomReleaseAndRotationAreOneStep() {
    QVERIFY(Enlarge(m_session->contour(), m_session->zoom()));
    m_session->shapeEdited();
    const std::vector<TMoveBox> enlarged = m_session->contour().FPoints;
    QTimer::singleShot(50, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->findChild<QSpinBox*>("SpinEdit1")->setValue(90);
        dialog->accept();
    });
    m_window->toolbarAction("Rotate")->trigger();
    QVERIFY(m_session->zoom().FActualSize);
    QCOMPARE(m_session->settings().text.angle, 90); // the caption turned with the shape
    QCOMPARE(m_session->undoStack().count(), 2);
    m_session->undoStack().undo();
    QVERIFY(!m_session->zoom().FActualSize);
    QVERIFY(sameShape(m_session->contour().FPoints, enlarged));
    QCOMPARE(m_session->settings().text.angle, 0);
}

// Undoing a setting re-renders; undoing a shape change goes back to shape mode.
void TestEditorHabits::undoInRenderMode() {
    m_session->contour().FPoints[0].FPos.Y -= 30;
    m_session->shapeEdited();
    QVERIFY(m_window->render());
    BackgroundLive& back = m_session->settings().background;
    back.color = 0xFF0000;
    back.backRed = back.backGreen = 0;
    m_session->settingsEdited();
    const QImage blue = m_session->stateImage(0);
    m_session->undoStack().undo();
    QVERIFY(m_window->renderMode());
    QVERIFY(m_session->stateImage(0) != blue);
    m_session->undoStack().undo();
    QVERIFY(!m_window->renderMode());
    m_session->undoStack().redo();
    QVERIFY(!m_window->renderMode());
    QCOMPARE(m_session->undoStack().count(), 2);
}

void TestEditorHabits::savePromptBeforeWorkIsDropped() {
    QStringList asked;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    m_window->setSavePrompt([&](const QString& name) {
        asked << name;
        return answer;
    });
    const auto modify = [this] {
        m_session->settings().text.caption = "changed";
        m_session->settingsEdited();
    };
    QAction* newAct = m_window->toolbarAction("New");

    // Unmodified: New and close go ahead without a word.
    newAct->trigger();
    QVERIFY(asked.isEmpty());

    modify();
    answer = QMessageBox::Cancel;
    newAct->trigger();
    m_window->toolbarAction("Open")->trigger(); // cancelled before any file dialog
    QVERIFY(!m_window->close());
    QCOMPARE(asked, QStringList({"Untitled", "Untitled", "Untitled"}));
    QCOMPARE(m_session->settings().text.caption, std::string("changed"));

    answer = QMessageBox::Discard;
    newAct->trigger();
    QVERIFY(m_session->settings().text.caption.empty());
    QVERIFY(!m_session->modified());

    // Save writes the project it came from, then New goes ahead.
    const QString file = m_dir->filePath("work.tbp");
    QVERIFY(m_window->saveProjectFile(file));
    QVERIFY(m_window->windowTitle().startsWith("work"));
    QCOMPARE(m_window->recentProjects()->files().value(0), QFileInfo(file).absoluteFilePath());
    modify();
    answer = QMessageBox::Save;
    asked.clear();
    newAct->trigger();
    QCOMPARE(asked, QStringList({"work"}));
    QVERIFY(m_session->settings().text.caption.empty());
    m_window->openProjectFile(file);
    QCOMPARE(m_session->settings().text.caption, std::string("changed"));
    QVERIFY(!m_session->modified());
    QVERIFY(m_window->close());
}

void TestEditorHabits::deleteKeyKeepsTwoPoints() {
    TContur& c = m_session->contour();
    const TPoint onLine = c.outline()[c.outline().size() / 4];
    c.leftPress(onLine.X, onLine.Y); // inserts a third point
    c.leftRelease();
    m_session->shapeEdited();
    QCOMPARE(c.FPoints.size(), std::size_t{3});
    auto* editor = m_window->findChild<ConturWidget*>();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    for (std::size_t expected : {2u, 2u}) {
        c.FSelected = 0;
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Delete);
        QCOMPARE(c.FPoints.size(), std::size_t{expected});
    }
    m_session->undoStack().undo();
    QCOMPARE(c.FPoints.size(), std::size_t{3});
}

void TestEditorHabits::transformsDoNothingInRenderMode() {
    TContur& c = m_session->contour();
    c.FPoints[0].FPos.Y -= 30;
    m_session->shapeEdited();
    QAction* flip = menuAction(m_window->menuBar(), "From Right to Left");
    QVERIFY(m_window->render());
    const std::vector<TMoveBox> points = c.FPoints;
    flip->trigger();
    QCOMPARE(c.FPoints, points);
    QMenu* flipMenu = nullptr;
    for (QMenu* menu : m_window->menuBar()->findChildren<QMenu*>())
        if (menu->title() == "Flip") flipMenu = menu;
    QVERIFY(flipMenu && !flipMenu->isEnabled());
    for (const char* name : {"Scale...", "Rotate.."})
        QVERIFY(!menuAction(m_window->menuBar(), name)->isEnabled());
    m_window->backToShape();
    QVERIFY(menuAction(m_window->menuBar(), "Scale...")->isEnabled() && flipMenu->isEnabled());
}

void TestEditorHabits::testWindowStaysPushedOffThePicture() {
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(10, 5, qRgb(0, 90, 0));
    TestButtonView view({image, image, image});
    view.resize(view.minimumSize());
    QCOMPARE(view.minimumSize(), QSize(20, 37)); // the picture's width, 27 more than its height
    const QPoint origin = view.pictureRect().topLeft();
    QTest::mousePress(&view, Qt::LeftButton, {}, origin + QPoint(10, 5));
    QCOMPARE(view.shownState(), 2);
    QTest::mouseMove(&view, origin + QPoint(1, 1));        // onto white
    QTest::mouseMove(&view, QPoint(1, view.height() - 1)); // off the picture
    QCOMPARE(view.shownState(), 2);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(1, view.height() - 1));
    QCOMPARE(view.shownState(), 0);
}

// The glyph's horizontal range before the first render, the font name's typed length, and a
// number typed beside an origin bar: the bar follows and the edit is one undo step.
void TestEditorHabits::originFieldsAndLimits() {
    auto* glyphX = m_window->findChild<TrackBar*>("ImageXPos");
    auto* glyphY = m_window->findChild<TrackBar*>("ImageYPos");
    QCOMPARE(glyphX->minimum(), -10000);
    QCOMPARE(glyphX->maximum(), 1000);
    QCOMPARE(glyphY->minimum(), -1000);
    QCOMPARE(m_window->findChild<QComboBox*>("FontSel")->lineEdit()->maxLength(), 20);

    auto* field = m_window->findChild<QSpinBox*>("TextXBarField");
    QVERIFY(field);
    field->setValue(-37);
    QCOMPARE(m_window->findChild<TrackBar*>("TextXBar")->value(), -37);
    QCOMPARE(m_session->settings().text.x, -37);
    QCOMPARE(m_session->undoStack().count(), 1);

    QVERIFY(m_window->render());
    const QSize coverage = m_session->coverageSize();
    QCOMPARE(glyphX->minimum(), -(coverage.width() / 2));
    auto* glyphField = m_window->findChild<QSpinBox*>("ImageXPosField");
    QCOMPARE(glyphField->minimum(), glyphX->minimum()); // the field follows the new range
    QCOMPARE(field->value(), m_session->settings().text.x);
}

void TestEditorHabits::recentListKeepsEightNewestFirst() {
    QStringList files;
    for (int i = 0; i < 10; ++i)
        files = RecentProjects::pushed(files, QString("/p/%1.tbp").arg(i));
    files = RecentProjects::pushed(files, "/p/5.tbp");
    QCOMPARE(files, QStringList({"/p/5.tbp", "/p/9.tbp", "/p/8.tbp", "/p/7.tbp", "/p/6.tbp",
                                 "/p/4.tbp", "/p/3.tbp", "/p/2.tbp"}));
}

QTEST_MAIN(TestEditorHabits)
#include "tst_editor_habits.moc"
