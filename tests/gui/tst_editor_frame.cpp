// The frame around the editor: the effect panels as docks, the view zoom in both modes, the
// keyboard focus and Escape, and the small commands a first hour finds.
#include "gui/app/last_folders.h"
#include "gui/app/main_window.h"
#include "gui/app/session.h"
#include "gui/effects/light_editor_window.h"
#include "gui/render/result_view.h"
#include "gui/render/style_panel.h"
#include "gui/shape/contur_widget.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollArea>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include <filesystem>
#include <memory>

using namespace plakett;

namespace {

QAction* menuAction(QMenuBar* bar, const QString& text) {
    for (QMenu* menu : bar->findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            if (a->text() == text) return a;
    return nullptr;
}

std::vector<TMoveBox> rectangle(int w, int h) {
    std::vector<TMoveBox> points(4);
    const TPoint corners[4] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int i = 0; i < 4; ++i) {
        points[std::size_t(i)].Init(corners[i].X, corners[i].Y);
        points[std::size_t(i)].FPointType = ptAngle;
    }
    return points;
}

QRect globalRect(const QWidget* w, const QRect& r) {
    return {w->mapToGlobal(r.topLeft()), r.size()};
}

} // namespace

class TestEditorFrame : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void panelsDockBesideTheStates_data();
    void panelsDockBesideTheStates();
    void panelLayoutIsKeptBetweenRuns();
    void zoomShowsALargeShapeWholeWithoutChangingIt();
    void zoomOfTheStates();
    void escapeFocusAndSmallCommands();

  private:
    void makeWindow();
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<MainWindow> m_window;
};

void TestEditorFrame::init() {
    QSettings().remove(QStringLiteral("MainWindow"));
    m_dir = std::make_unique<QTemporaryDir>();
    makeWindow();
}

void TestEditorFrame::makeWindow() {
    m_session = std::make_unique<Session>();
    m_window = test::showMainWindow(*m_session, test::makeEmptyDataFolder(*m_dir));
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTest::qWait(20); // the first centring
}

void TestEditorFrame::cleanup() {
    m_window.reset();
    m_session.reset();
    m_dir.reset();
    QSettings().remove(QStringLiteral("MainWindow"));
}

void TestEditorFrame::panelsDockBesideTheStates_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("1280x800") << QSize(1280, 800);
    QTest::newRow("1920x1080") << QSize(1920, 1080);
}

// All five panels are reachable at the right, none covers the states; each can float and
// come back; the strip shows and hides them; shape mode has none.
void TestEditorFrame::panelsDockBesideTheStates() {
    QFETCH(QSize, size);
    m_window->resize(size);
    const auto& docks = m_window->panelDocks();
    for (QDockWidget* d : docks)
        QVERIFY(!d->isVisible());
    QVERIFY(m_window->render());
    QTest::qWait(50);
    QVERIFY(m_window->width() <= size.width());
    const QRect states = globalRect(
        m_window->resultView(),
        m_window->resultView()->imageRect(0).united(m_window->resultView()->imageRect(2)));
    auto* area = m_window->findChild<QScrollArea*>("RenderPanel");
    QVERIFY(globalRect(area->viewport(), area->viewport()->rect()).contains(states));
    int shown = 0;
    for (QDockWidget* d : docks) {
        QVERIFY(!d->isFloating());
        QCOMPARE(m_window->dockWidgetArea(d), Qt::RightDockWidgetArea);
        // Shown, or a tab beside the one shown.
        QVERIFY(d->toggleViewAction()->isChecked());
        QVERIFY(!d->visibleRegion().isEmpty() || !m_window->tabifiedDockWidgets(d).isEmpty());
        if (d->visibleRegion().isEmpty()) continue; // a tab behind another
        ++shown;
        QVERIFY(!globalRect(d, d->rect()).intersects(states));
        QVERIFY2(QRect(m_window->mapToGlobal(QPoint()), m_window->size())
                     .contains(globalRect(d, d->rect())),
                 qPrintable(QStringLiteral("%1x%2 dock at %3,%4 %5x%6")
                                .arg(m_window->width())
                                .arg(m_window->height())
                                .arg(d->x())
                                .arg(d->y())
                                .arg(d->width())
                                .arg(d->height())));
    }
    QVERIFY(shown >= 1);

    // A strip button brings its panel to the front, a second click hides it.
    m_window->renderToolButtons()[2]->click();
    QTRY_VERIFY(docks[2]->isVisible() && !docks[2]->visibleRegion().isEmpty());
    m_window->renderToolButtons()[2]->click();
    QVERIFY(!docks[2]->isVisible());
    menuAction(m_window->menuBar(), "Shadow Panel")->trigger();
    QVERIFY(docks[2]->isVisible());

    docks[3]->setFloating(true);
    QTRY_VERIFY(docks[3]->isWindow() && docks[3]->isVisible());
    menuAction(m_window->menuBar(), "Dock All Panels")->trigger();
    QCOMPARE(m_window->dockWidgetArea(docks[3]), Qt::RightDockWidgetArea);
    QVERIFY(!docks[3]->isWindow());

    m_window->backToShape();
    for (QDockWidget* d : docks) {
        QVERIFY(!d->isVisible());
        QVERIFY(!d->toggleViewAction()->isEnabled());
    }
    QVERIFY(m_window->render());
    QVERIFY(docks[2]->isVisible()); // as it was left
}

void TestEditorFrame::panelLayoutIsKeptBetweenRuns() {
    QVERIFY(m_window->render());
    QDockWidget* glyph = m_window->panelDocks()[3];
    glyph->setFloating(true);
    QTRY_VERIFY(glyph->isWindow());
    m_window->panelDocks()[1]->close();
    QVERIFY(m_window->close());
    m_window.reset();
    QVERIFY(!QSettings().value("MainWindow/panelLayout").toByteArray().isEmpty());

    makeWindow();
    for (QDockWidget* d : m_window->panelDocks())
        QVERIFY(!d->isVisible()); // shape mode
    QVERIFY(m_window->render());
    QVERIFY(m_window->panelDocks()[3]->isFloating());
    QVERIFY(m_window->panelDocks()[3]->isVisible());
    QVERIFY(!m_window->panelDocks()[1]->isVisible());
    QVERIFY(!m_window->panelDocks()[1]->toggleViewAction()->isChecked());
}

// A 2000x1000 shape is seen whole after Ctrl+0; the points only move as the centring moves
// them; Ctrl+wheel zooms one step and keeps the editor pixel under the pointer.
void TestEditorFrame::zoomShowsALargeShapeWholeWithoutChangingIt() {
    ConturWidget* editor = m_window->editor();
    TContur& c = m_session->contour();
    c.setPoints(rectangle(2000, 1000));
    m_session->centerView();
    m_session->undoStack().clear();
    const std::vector<TMoveBox> before = c.FPoints;
    menuAction(m_window->menuBar(), "Zoom to Fit")->trigger();
    QVERIFY(editor->zoom() < 0.5);
    QCOMPARE(m_window->statusBar()->findChild<QLabel*>("ZoomLevel")->text(),
             QStringLiteral("Zoom %1%").arg(qRound(editor->zoom() * 100)));
    for (const TMoveBox& p : c.FPoints)
        QVERIFY(editor->rect().contains(editor->toScreen(p.FPos).toPoint()));
    const int dx = c.FPoints[0].FPos.X - before[0].FPos.X;
    const int dy = c.FPoints[0].FPos.Y - before[0].FPos.Y;
    for (std::size_t i = 0; i < before.size(); ++i)
        QCOMPARE(c.FPoints[i].FPos, (TPoint{before[i].FPos.X + dx, before[i].FPos.Y + dy}));
    QCOMPARE(m_session->undoStack().count(), 0);

    const QPointF at(editor->width() * 0.3, editor->height() * 0.6);
    const TPoint under = editor->toEditor(at);
    const TPoint corner = c.FPoints[0].FPos;
    const double zoom = editor->zoom();
    QWheelEvent wheel(at, editor->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(editor, &wheel);
    QVERIFY(editor->zoom() > zoom);
    QVERIFY(editor->zoom() <= zoom * 1.6);
    // The same place of the shape is still under the pointer, within an editor pixel.
    const TPoint now = editor->toEditor(at);
    const TPoint moved = c.FPoints[0].FPos;
    QVERIFY(std::abs((now.X - moved.X) - (under.X - corner.X)) <= 1);
    QVERIFY(std::abs((now.Y - moved.Y) - (under.Y - corner.Y)) <= 1);

    menuAction(m_window->menuBar(), "Zoom 100%")->trigger();
    QCOMPARE(editor->zoom(), 1.0);
    for (int i = 0; i < 40; ++i)
        m_window->zoomOut();
    QCOMPARE(editor->zoom(), 0.1);
    for (int i = 0; i < 40; ++i)
        m_window->zoomIn();
    QCOMPARE(editor->zoom(), 8.0);

    // A shape file too large for the editor is fitted when it is imported.
    m_window->setViewZoom(1.0);
    const QString file = m_dir->filePath("wide.shp");
    m_session->exportShape(file.toStdString());
    m_window->importShapeFile(file);
    QVERIFY(editor->zoom() < 0.5);
}

void TestEditorFrame::zoomOfTheStates() {
    QVERIFY(m_window->render());
    ResultView* view = m_window->resultView();
    const QSize picture = m_session->stateImage(0).size();
    QCOMPARE(view->zoom(), 1.0); // the default shape fits
    m_window->zoomIn();
    QCOMPARE(view->zoom(), 1.5);
    QCOMPARE(view->imageRect(0).size(), QSize(picture.width() * 3 / 2, picture.height() * 3 / 2));
    QVERIFY(m_window->zoomText().contains("150%"));
    QWheelEvent wheel(QPointF(20, 20), view->mapToGlobal(QPointF(20, 20)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    QCOMPARE(view->zoom(), 1.0);
    // A narrow view takes the states one below the other.
    const ResultView::Fit narrow = view->fitFor(QSize(picture.width() + 20, 5000));
    QVERIFY(narrow.stacked);
    QCOMPARE(narrow.zoom, 1.0);
    const ResultView::Fit wide = view->fitFor(QSize(5000, picture.height() * 2));
    QVERIFY(!wide.stacked);
    QCOMPARE(wide.zoom, 1.0);
    QVERIFY(view->fitFor(QSize(picture.width(), picture.height())).zoom < 0.5);
    view->setStacked(true);
    QCOMPARE(view->imageRect(1).left(), view->imageRect(0).left());
    QVERIFY(view->imageRect(1).top() > view->imageRect(0).bottom());
    m_window->backToShape();
    QCOMPARE(m_window->viewZoom(), m_window->editor()->zoom());
}

// Escape from a panel stays in render mode, from the states it goes back; the keyboard is
// back in the main window after Render and after a dialog; Test needs a render; Export
// Shape adds ".shp"; a saved style is listed at once; deleting below two points says why.
void TestEditorFrame::escapeFocusAndSmallCommands() {
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QAction* test = menuAction(m_window->menuBar(), "Test");
    QVERIFY(!test->isEnabled());

    QVERIFY(m_window->render());
    QVERIFY(test->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_window->resultView()));
    m_window->renderToolButtons()[1]->click();
    auto* font = m_window->findChild<QComboBox*>("FontSel");
    font->setFocus();
    QTest::keyClick(font, Qt::Key_Escape);
    QVERIFY(m_window->renderMode());
    m_window->resultView()->setFocus();
    QTest::keyClick(m_window->resultView(), Qt::Key_Escape);
    QVERIFY(!m_window->renderMode());
    QVERIFY(!test->isEnabled());

    // A dialog closed: the main window has the keyboard again.
    QDialog dialog(m_window.get());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.close();
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_window.get()));
    QVERIFY(QApplication::focusWidget() != nullptr);

    const QString bare = m_dir->filePath("bare");
    m_window->exportShapeFile(bare);
    QVERIFY(QFileInfo::exists(bare + ".shp"));
    QVERIFY(!QFileInfo::exists(bare));

    m_session->contour().setPoints(rectangle(100, 80));
    m_window->editor()->setFocus();
    for (const std::size_t left : {3, 2, 2}) {
        m_session->contour().FSelected = 0;
        QTest::keyClick(m_window->editor(), Qt::Key_Delete);
        QCOMPARE(m_session->contour().FPoints.size(), left);
    }
    QVERIFY(m_window->statusBar()->currentMessage().contains("at least two points"));

    // File windows start in the folder last used for their kind, never in the data folder.
    QSettings().remove("Folders");
    QVERIFY(lastFolder(kShapeFolder) != m_dir->path());
    rememberFolder(kShapeFolder, bare + ".shp");
    QCOMPARE(lastFolder(kShapeFolder), QFileInfo(m_dir->path()).absoluteFilePath());
    QVERIFY(lastFolder(kProjectFolder) != m_dir->path());
    QSettings().remove("Folders");

    // A style saved in the light panel is in the list at once, selected.
    m_session->contour().setPoints(rectangle(100, 80));
    QVERIFY(m_window->render());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    auto* lights = static_cast<LightEditorWindow*>(m_window->toolWindows()[0]);
    lights->findChild<QLineEdit*>("Edit1")->setText("Fresh");
    lights->saveStyle();
    QDir::setCurrent(previous);
    auto* styles = m_window->findChild<StylePanel*>();
    QVERIFY(styles->styleNames().contains("Fresh"));
    QCOMPARE(styles->list()->currentItem()->text(), QString("Fresh"));
    QVERIFY(m_window->statusBar()->currentMessage().contains("Fresh"));
}

QTEST_MAIN(TestEditorFrame)
#include "tst_editor_frame.moc"
