// The main window as a desktop editor: undo and redo, the shortcuts, the modified mark and
// the question before unsaved work is dropped, the recent projects, help and tool windows.
#include "gui/app/help_window.h"
#include "gui/app/main_window.h"
#include "gui/app/recent_projects.h"
#include "gui/app/session.h"
#include "gui/render/result_view.h"
#include "gui/shape/contur_widget.h"
#include "gui/widgets/zoom_steps.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QWheelEvent>

namespace plakett {
namespace {

QAction* actionNamed(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text() == text) return a;
    return nullptr;
}

} // namespace

void MainWindow::buildEditorCommands(QMenu* file) {
    QAction* newAct = actionNamed(file, QStringLiteral("New Project"));
    QAction* openAct = actionNamed(file, QStringLiteral("Open Project..."));
    QAction* saveAsAct = actionNamed(file, QStringLiteral("Save Project as..."));
    newAct->setShortcut(QKeySequence::New);
    openAct->setShortcut(QKeySequence::Open);
    saveAsAct->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    actionNamed(file, QStringLiteral("Exit"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    auto* save = new QAction(QStringLiteral("Save Project"), this);
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, &MainWindow::saveProject);
    file->insertAction(saveAsAct, save);

    auto* recentMenu = new QMenu(QStringLiteral("Recent Projects"), file);
    file->insertMenu(save, recentMenu);
    m_recent = new RecentProjects(recentMenu, this);
    connect(m_recent, &RecentProjects::openRequested, this, &MainWindow::openRecent);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QUndoStack& undo = m_session.undoStack();
    QAction* undoAct = undo.createUndoAction(this, QStringLiteral("&Undo"));
    undoAct->setShortcut(QKeySequence::Undo);
    QAction* redoAct = undo.createRedoAction(this, QStringLiteral("&Redo"));
    redoAct->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(undoAct);
    edit->addAction(redoAct);

    // Keys without a menu entry of their own.
    const auto key = [this](QKeySequence sequence, auto handler) {
        auto* a = new QAction(this);
        a->setShortcut(sequence);
        connect(a, &QAction::triggered, this, handler);
        addAction(a);
    };
    key(QKeySequence(Qt::Key_F5), [this] { render(); });

    connect(&undo, &QUndoStack::cleanChanged, this, &MainWindow::updateTitle);
    connect(&m_session, &Session::documentReplaced, this, &MainWindow::updateTitle);
    updateTitle();
}

QString MainWindow::documentName() const {
    const std::filesystem::path& path = m_session.projectPath();
    return path.empty() ? QStringLiteral("Untitled") : QFileInfo(path).completeBaseName();
}

void MainWindow::updateTitle() {
    setWindowTitle(documentName() + QStringLiteral("[*] - Plakett"));
    setWindowModified(m_session.modified());
}

void MainWindow::projectFileUsed() {
    m_recent->add(QFileInfo(m_session.projectPath()).absoluteFilePath());
    updateTitle();
}

bool MainWindow::confirmDiscard() {
    if (!m_session.modified()) return true;
    const QString name = documentName();
    const QMessageBox::StandardButton answer =
        m_savePrompt
            ? m_savePrompt(name)
            : QMessageBox::question(this, QStringLiteral("Plakett"),
                                    QStringLiteral("Save changes to %1?").arg(name),
                                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                    QMessageBox::Save);
    switch (answer) {
    case QMessageBox::Save:
        return saveProject();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool MainWindow::saveProject() {
    const std::filesystem::path& path = m_session.projectPath();
    if (path.empty()) return saveProjectAs();
    return saveProjectFile(QFileInfo(path).absoluteFilePath());
}

void MainWindow::newProjectClicked() {
    if (!confirmDiscard()) return;
    newProject();
    updateTitle();
}

void MainWindow::openRecent(const QString& path) {
    if (!confirmDiscard()) return;
    if (!QFileInfo::exists(path)) {
        QMessageBox::critical(this, QStringLiteral("Plakett"),
                              QStringLiteral("Cannot open file \"%1\"").arg(path));
        m_recent->remove(path);
        return;
    }
    openProjectFile(path);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!confirmDiscard()) {
        event->ignore();
        return;
    }
    if (m_help) m_help->close();
    savePanelLayout();
    QMainWindow::closeEvent(event);
}

void MainWindow::deletePointPressed() {
    if (renderMode()) return;
    TContur& contour = m_session.contour();
    if (contour.hasSelection() && contour.FPoints.size() < 3) {
        statusBar()->showMessage(
            QStringLiteral("A shape needs at least two points; this one stays."), 5000);
        return;
    }
    contour.deleteSelected();
    m_session.shapeEdited();
}

void MainWindow::installShapeKeys() {
    auto* del = new QShortcut(QKeySequence::Delete, m_contur->parentWidget());
    del->setContext(Qt::WidgetWithChildrenShortcut);
    connect(del, &QShortcut::activated, this, &MainWindow::deletePointPressed);
    // Escape leaves render mode only from the central view: in a panel it closes a list or
    // ends an edit there.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_centre);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (QApplication::activePopupWidget() == nullptr) backToShape();
    });
    // The wheel scrolls the editor through its bars; Ctrl+wheel zooms the view at the pointer.
    connect(m_contur, &ConturWidget::wheelTurned, this, [this](QWheelEvent* event) {
        const QPoint delta = event->angleDelta();
        if (event->modifiers() & Qt::ControlModifier) {
            if (delta.y() == 0) return;
            const double zoom = m_contur->zoom();
            m_contur->setZoom(delta.y() > 0 ? zoomStepIn(zoom) : zoomStepOut(zoom),
                              event->position());
            return;
        }
        const bool sideways = (event->modifiers() & Qt::ShiftModifier) || delta.y() == 0;
        QScrollBar* bar = sideways ? m_hsb : m_vsb;
        if (!(sideways ? m_hsbShown : m_vsbShown)) return;
        const int notches = (sideways && delta.x() != 0 ? delta.x() : delta.y()) / 120;
        bar->setValue(bar->value() - notches * 3 * bar->singleStep());
    });
}

HelpWindow* MainWindow::helpWindow() {
    if (!m_help) m_help = new HelpWindow(m_guideFile, this);
    return m_help;
}

} // namespace plakett
