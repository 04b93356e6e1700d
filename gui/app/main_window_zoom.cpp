// The view zoom of the main window: one set of commands for the shape editor in shape mode
// and the states in render mode, the level in the status bar, and fitting what is too large.
#include "gui/app/main_window.h"

#include "gui/app/session.h"
#include "gui/render/result_view.h"
#include "gui/shape/contur_widget.h"
#include "gui/widgets/zoom_steps.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace plakett {

void MainWindow::buildZoomCommands(QMenu* view) {
    view->addSeparator();
    const auto add = [&](const char* text, QList<QKeySequence> keys, auto handler) {
        QAction* a = view->addAction(QString::fromLatin1(text), this, handler);
        a->setShortcuts(keys);
    };
    add("Zoom In", {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        &MainWindow::zoomIn);
    add("Zoom Out", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &MainWindow::zoomOut);
    add("Zoom to Fit", {QKeySequence(Qt::CTRL | Qt::Key_0)}, &MainWindow::zoomToFit);
    add("Zoom 100%", {QKeySequence(Qt::CTRL | Qt::Key_1)}, [this] { setViewZoom(1.0); });
}

double MainWindow::viewZoom() const {
    return renderMode() ? m_resultView->zoom() : m_contur->zoom();
}

void MainWindow::setViewZoom(double zoom) {
    m_statesFitted = false;
    if (renderMode())
        m_resultView->setZoom(zoom);
    else
        m_contur->setZoom(zoom);
}

void MainWindow::zoomIn() {
    setViewZoom(zoomStepIn(viewZoom()));
}

void MainWindow::zoomOut() {
    setViewZoom(zoomStepOut(viewZoom()));
}

void MainWindow::zoomToFit() {
    if (renderMode()) {
        m_statesFitted = true;
        fitStatesIfTooLarge();
    } else
        m_contur->zoomToFit();
}

QString MainWindow::zoomText() const {
    return QStringLiteral("Zoom %1%").arg(qRound(viewZoom() * 100));
}

void MainWindow::showZoom() {
    m_zoomLabel->setText(zoomText());
}

// A shape loaded or opened that does not fit the editor is shown whole.
void MainWindow::fitShapeIfTooLarge() {
    if (renderMode()) return;
    const TContur& c = m_session.contour();
    if (c.FMaxX - c.FMinX + 20 > c.width() || c.FMaxY - c.FMinY + 20 > c.height())
        m_contur->zoomToFit();
}

void MainWindow::fitStatesIfTooLarge() {
    if (!renderMode() || !m_statesFitted) return;
    const ResultView::Fit fit = m_resultView->fitFor(m_renderArea->viewport()->size());
    m_resultView->setStacked(fit.stacked);
    m_resultView->setZoom(fit.zoom);
}

// Ctrl+wheel over the states: the picture under the pointer stays under it.
void MainWindow::zoomStatesAt(int steps, QPointF position) {
    m_statesFitted = false;
    const double before = m_resultView->zoom();
    const double after = steps > 0 ? zoomStepIn(before) : zoomStepOut(before);
    const QPointF inViewport = m_resultView->mapTo(m_renderArea->viewport(), position);
    const QPointF content = position / before;
    m_resultView->setZoom(after);
    QTimer::singleShot(0, this, [this, content, inViewport, after] {
        m_renderArea->horizontalScrollBar()->setValue(qRound(content.x() * after - inViewport.x()));
        m_renderArea->verticalScrollBar()->setValue(qRound(content.y() * after - inViewport.y()));
    });
}

} // namespace plakett
