// The main window's handlers: the two modes, the document files and the shape commands.
#include "gui/app/about_box.h"
#include "gui/app/help_window.h"
#include "gui/app/last_folders.h"
#include "gui/app/main_window.h"
#include "gui/effects/text_window.h"

#include "common/version.h"
#include "document/project_file.h"
#include "gui/app/progress_window.h"
#include "gui/app/session.h"
#include "gui/app/working_directory.h"
#include "gui/render/export_dialog.h"
#include "gui/render/render_dialogs.h"
#include "gui/render/result_view.h"
#include "gui/shape/contur_widget.h"
#include "gui/shape/shape_dialogs.h"
#include "gui/shape/shape_library.h"
#include "gui/widgets/error_box.h"
#include "shape/scroll_rules.h"
#include "shape/svg_shape_import.h"
#include "shape/transforms.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <exception>

namespace plakett {
namespace {

std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

const QString kProjectSaveFilter = QStringLiteral("Plakett Button Projects (*.tbp);;All Files (*)");
const QString kProjectOpenFilter = QStringLiteral("Plakett Button Projects (*.tbp)");
const QString kShapeFilter = QStringLiteral("Shape (*.shp)");
const QString kSvgFilter = QStringLiteral("SVG (*.svg)");

ScrollBarState barState(const QScrollBar* bar, bool shown) {
    return {bar->minimum(), bar->maximum(), bar->value(), shown};
}

// Sets the bar without reporting a move: only the user's moves scroll the shape.
void setBarRange(QScrollBar* bar, const ScrollBarState& state) {
    const QSignalBlocker block(bar);
    bar->setRange(state.minimum, state.maximum);
    if (bar->value() != state.position) bar->setValue(state.position);
}

} // namespace

bool MainWindow::renderMode() const {
    return m_session.renderMode();
}

void MainWindow::showError(const std::exception& error) {
    plakett::showError(this, QStringLiteral("Plakett"), error);
}

bool MainWindow::render() {
    if (renderMode()) return true;
    const QString refusal = m_session.renderRefusal();
    if (!refusal.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Error"), refusal);
        return false;
    }
    m_progress->start(this);
    QString error;
    try {
        error = m_session.enterRenderMode(m_progress->fieldControl());
    } catch (const std::exception& e) {
        m_progress->finish();
        if (renderMode()) m_session.leaveRenderMode();
        showError(e);
        return false;
    }
    m_progress->finish();
    if (!error.isEmpty()) QMessageBox::warning(this, QStringLiteral("Error"), error);
    if (!renderMode()) return false;
    // Keys go to the states (Escape returns), and large states are shown whole once the
    // panels have taken their room.
    m_resultView->setFocus(Qt::OtherFocusReason);
    m_statesFitted = true;
    QTimer::singleShot(0, this, &MainWindow::fitStatesIfTooLarge);
    return true;
}

void MainWindow::backToShape() {
    closeToolWindows();
    if (renderMode()) m_session.leaveRenderMode();
    m_contur->setFocus(Qt::OtherFocusReason);
}

void MainWindow::newProject() {
    try {
        m_session.newProject();
    } catch (const std::exception& e) {
        showError(e);
    }
}

void MainWindow::viewAtCenter() {
    m_session.centerView();
}

void MainWindow::openProjectFile(const QString& path) {
    const WorkingDirectoryKeeper keep;
    // A chosen file always ends render mode, whatever it turns out to hold.
    if (renderMode()) m_session.leaveRenderMode();
    try {
        m_session.openProject(toPath(path));
        projectFileUsed();
    } catch (const NotAProjectFile&) {
        // Another kind of file is ignored without a word.
    } catch (const std::exception& e) {
        showError(e);
    }
}

bool MainWindow::saveProjectFile(const QString& path) {
    const WorkingDirectoryKeeper keep;
    try {
        m_session.saveProject(toPath(path));
    } catch (const std::exception& e) {
        showError(e);
        return false;
    }
    projectFileUsed();
    return true;
}

void MainWindow::importShapeFile(const QString& path) {
    try {
        if (isSvgFileName(toPath(path)))
            importSvgShape(toPath(path));
        else
            m_session.importShape(toPath(path));
    } catch (const std::exception& e) {
        showError(e);
        return;
    }
    fitShapeIfTooLarge();
}

// An SVG outline comes at the width the user asks for (as drawn unless changed).
void MainWindow::importSvgShape(const std::filesystem::path& path) {
    const SvgOutline outline = LoadSvgOutline(path);
    const int drawn = std::clamp(static_cast<int>(std::lround(outline.width)), 1, kMaxImportWidth);
    bool ok = false;
    const int width = QInputDialog::getInt(this, QStringLiteral("Import Shape"),
                                           QStringLiteral("Width:"), drawn, 1, kMaxImportWidth, 1,
                                           &ok);
    if (!ok) return;
    std::vector<TMoveBox> points;
    LoadSvgFile(path, points, width == drawn ? 0 : width);
    m_session.importShapePoints(std::move(points));
}

void MainWindow::exportShapeFile(const QString& chosen) {
    // As Save Project adds ".tbp": a name without an extension gets the shape's.
    const QString path = QFileInfo(chosen).fileName().contains(QLatin1Char('.'))
                             ? chosen
                             : chosen + QStringLiteral(".shp");
    try {
        m_session.exportShape(toPath(path));
    } catch (const std::exception& e) {
        showError(e);
    }
}

void MainWindow::openProjectClicked() {
    if (!confirmDiscard()) return;
    const WorkingDirectoryKeeper keep;
    const QString name = QFileDialog::getOpenFileName(this, QString(), lastFolder(kProjectFolder),
                                                      kProjectOpenFilter);
    rememberFolder(kProjectFolder, name);
    if (!name.isEmpty()) openProjectFile(name);
}

bool MainWindow::saveProjectAs() {
    const WorkingDirectoryKeeper keep;
    const QString name = QFileDialog::getSaveFileName(this, QString(), lastFolder(kProjectFolder),
                                                      kProjectSaveFilter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    rememberFolder(kProjectFolder, name);
    return !name.isEmpty() && saveProjectFile(name);
}

void MainWindow::importShapeClicked() {
    const WorkingDirectoryKeeper keep;
    const QString name = QFileDialog::getOpenFileName(this, QString(), lastFolder(kShapeFolder),
                                                      kShapeFilter + ";;" + kSvgFilter);
    rememberFolder(kShapeFolder, name);
    if (!name.isEmpty()) importShapeFile(name);
}

void MainWindow::exportShapeClicked() {
    const WorkingDirectoryKeeper keep;
    QString filter;
    QString name = QFileDialog::getSaveFileName(this, QString(), lastFolder(kShapeFolder),
                                                kShapeFilter + ";;" + kSvgFilter, &filter);
    rememberFolder(kShapeFolder, name);
    if (filter == kSvgFilter && QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".svg");
    if (!name.isEmpty()) exportShapeFile(name);
}

void MainWindow::scaleClicked(bool fromToolbar) {
    (void)fromToolbar; // both are for shape mode only
    if (renderMode()) return;
    const Session::OneStep step(m_session);
    runScaleDialog(this, m_session);
    viewAtCenter(); // the dialog released the zoom, whichever button closed it
}

void MainWindow::rotateClicked(bool fromToolbar) {
    const Session::OneStep step(m_session);
    if (fromToolbar) actualSizeClicked();
    if (renderMode()) return;
    // The caption turns with the shape; the text window shows the new angle.
    if (runRotateDialog(this, m_session)) static_cast<TextWindow*>(m_toolWindows[1])->refresh();
}

void MainWindow::flipClicked(bool rightToLeft) {
    if (renderMode()) return;
    if (rightToLeft)
        FlipRightToLeft(m_session.contour());
    else
        FlipTopToBottom(m_session.contour());
    m_session.shapeEdited();
}

void MainWindow::addToUserClicked() {
    runAddToUserDialog(this, m_session, *m_library);
}

void MainWindow::enlargeClicked() {
    if (Enlarge(m_session.contour(), m_session.zoom())) m_session.shapeEdited();
}

void MainWindow::actualSizeClicked() {
    if (ActualSize(m_session.contour(), m_session.zoom())) m_session.shapeEdited();
}

void MainWindow::conturBoundsChanged() {
    const TContur& c = m_session.contour();
    const ScrollBarState v =
        deriveScrollBar(c.FMinY, c.FMaxY, c.height(), barState(m_vsb, m_vsbShown));
    setBarRange(m_vsb, v);
    LastVScrollPos = v.position;
    m_vsbShown = v.visible;
    const ScrollBarState h =
        deriveScrollBar(c.FMinX, c.FMaxX, c.width(), barState(m_hsb, m_hsbShown));
    setBarRange(m_hsb, h);
    m_hsbShown = h.visible;

    // Showing or hiding a bar lays the panel out again at once, which resizes the editor and
    // recomputes the outline: not from inside the computation that got us here.
    const bool change = m_vsb->isHidden() == m_vsbShown || m_hsbParent->isHidden() == m_hsbShown;
    if (change && !m_showPending) {
        m_showPending = true;
        QTimer::singleShot(0, this, &MainWindow::showScrollBars);
    }
}

// The editor keeps the shape around its centre when the panel gives it more or less room.
void MainWindow::showScrollBars() {
    m_showPending = false;
    if (m_vsb->isHidden() == m_vsbShown) {
        m_vsb->setHidden(!m_vsbShown);
        m_scrollCorner->setHidden(!m_vsbShown);
    }
    if (m_hsbParent->isHidden() == m_hsbShown) m_hsbParent->setHidden(!m_hsbShown);
    m_vsb->update();
    m_hsb->update();
}

void MainWindow::horizontalScrolled(int position) {
    if (!m_hsbShown) return;
    TContur& c = m_session.contour();
    try {
        scrollShape(c, -horizontalScrollShift(c.FMinX, position), 0);
    } catch (const std::exception& e) {
        showError(e);
    }
    m_session.shapeEdited();
}

void MainWindow::verticalScrolled(int position) {
    if (!m_vsbShown) return;
    TContur& c = m_session.contour();
    try {
        scrollShape(c, 0, verticalScrollMove(LastVScrollPos, position));
    } catch (const std::exception& e) {
        showError(e);
    }
    m_session.shapeEdited();
}

void MainWindow::testClicked() {
    if (!renderMode()) return;
    runTestWindow(this, m_session);
}

void MainWindow::exportClicked() {
    if (!renderMode()) return;
    ExportDialog& dialog = exportDialogFor(this, m_session);
    if (!dialog.property("reportsHere").toBool()) {
        connect(&dialog, &ExportDialog::exported, this,
                [this](const QString& message) { statusBar()->showMessage(message); });
        dialog.setProperty("reportsHere", true);
    }
    runExportDialog(this, m_session);
}

void MainWindow::readmeClicked() {
    // The user guide that ships with the program, in the help window.
    if (HelpWindow* help = helpWindow(); help->hasGuide()) {
        help->showGuide();
        return;
    }
    // Without it: a readme beside the shape folders.
    const QStringList candidates = {QStringLiteral("readme.rtf"), m_readmeFile};
    for (const QString& name : candidates) {
        if (!name.isEmpty() && QFileInfo::exists(name)) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath()));
            return;
        }
    }
    QMessageBox::critical(this, QStringLiteral("Plakett"),
                          QStringLiteral("Cannot open file \"readme.rtf\""));
}

void MainWindow::aboutClicked() {
    showAboutBox(this);
}

} // namespace plakett
