// The five effect panels as dock widgets of the main window: docked at the right as tabs by
// default, each can float and dock back; the arrangement is Qt's window state, kept between
// runs (it is no part of the design). Also the keyboard focus after dialogs.
#include "gui/app/main_window.h"

#include "gui/app/session.h"
#include "gui/effects/background_window.h"
#include "gui/effects/glyph_window.h"
#include "gui/effects/light_editor_window.h"
#include "gui/effects/shadow_window.h"
#include "gui/effects/text_window.h"
#include "gui/render/result_view.h"
#include "gui/render/style_panel.h"
#include "gui/shape/contur_widget.h"

#include <QApplication>
#include <QDockWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace plakett {
namespace {

const QString kLayoutKey = QStringLiteral("MainWindow/panelLayout");

} // namespace

QDockWidget* MainWindow::makeDock(QWidget* panel, const QString& title, const QString& name) {
    // The dock's own title bar closes it; the panel's Close button would only take room.
    for (QPushButton* b : panel->findChildren<QPushButton*>())
        if (b->text() == QLatin1String("Close")) b->hide();
    panel->setWindowFlags(Qt::Widget);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(name + QStringLiteral("Scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll->setWidget(panel);
    panel->show();
    // Wide enough for the panel; a low screen scrolls it.
    scroll->setMinimumWidth(panel->sizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width() + 4);
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(name);
    dock->setWidget(scroll);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                      QDockWidget::DockWidgetFloatable);
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea |
                          Qt::BottomDockWidgetArea);
    return dock;
}

void MainWindow::createToolWindows() {
    auto* lights = new LightEditorWindow(m_session, this);
    m_toolWindows = {lights, new TextWindow(m_session, this), new ShadowWindow(m_session, this),
                     new GlyphWindow(m_session, this), new BackgroundWindow(m_session, this)};
    const char* const titles[5] = {"Lights", "Text", "Shadow", "Glyph", "Background"};
    const char* const names[5] = {"LightPanel", "TextPanel", "ShadowPanel", "GlyphPanel",
                                  "BackgroundPanel"};
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks |
                   QMainWindow::AllowNestedDocks);
    setTabPosition(Qt::AllDockWidgetAreas, QTabWidget::North);
    m_viewMenu->addSeparator();
    for (std::size_t i = 0; i < 5; ++i) {
        m_docks[i] = makeDock(m_toolWindows[i], QString::fromLatin1(titles[i]),
                              QString::fromLatin1(names[i]));
        addDockWidget(Qt::RightDockWidgetArea, m_docks[i]);
        if (i > 0) tabifyDockWidget(m_docks[0], m_docks[i]);
        QAction* toggle = m_docks[i]->toggleViewAction();
        toggle->setText(QString::fromLatin1(titles[i]) + QStringLiteral(" Panel"));
        toggle->setEnabled(false); // panels belong to render mode
        m_viewMenu->addAction(toggle);
        m_docks[i]->hide();
    }
    // One command to bring every floating panel back, wherever they were left.
    QAction* dockAll = m_viewMenu->addAction(QStringLiteral("Dock All Panels"), this, [this] {
        for (QDockWidget* d : m_docks)
            d->setFloating(false);
    });
    dockAll->setObjectName(QStringLiteral("DockAllPanels"));
    connect(lights, &LightEditorWindow::styleSaved, this,
            [this](const QString& name, const QString& file) {
                m_stylePanel->showSavedStyle(name);
                statusBar()->showMessage(
                    QStringLiteral("Style \"%1\" saved to %2").arg(name, file));
            });
    m_panelLayout = QSettings().value(kLayoutKey).toByteArray();
}

void MainWindow::openToolWindows() {
    if (m_panelLayout.isEmpty() || !restoreState(m_panelLayout)) {
        for (QDockWidget* d : m_docks)
            if (!d->isFloating()) d->show();
        m_docks[0]->raise();
    }
    for (QDockWidget* d : m_docks)
        d->toggleViewAction()->setEnabled(true);
}

void MainWindow::closeToolWindows() {
    if (renderMode() || m_docks[0]->toggleViewAction()->isEnabled()) m_panelLayout = saveState();
    for (QDockWidget* d : m_docks) {
        d->hide();
        d->toggleViewAction()->setEnabled(false);
    }
}

void MainWindow::savePanelLayout() {
    if (renderMode()) m_panelLayout = saveState();
    if (!m_panelLayout.isEmpty()) QSettings().setValue(kLayoutKey, m_panelLayout);
}

// A strip button shows its panel in front, or hides it when it is in front already.
void MainWindow::showToolWindow(int index) {
    if (!renderMode()) return;
    QDockWidget* dock = m_docks[static_cast<std::size_t>(index)];
    if (dock->isVisible() && !dock->visibleRegion().isEmpty() && !dock->isFloating()) {
        dock->hide();
        return;
    }
    dock->show();
    dock->raise();
    if (dock->isFloating()) dock->activateWindow();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The panels take their room after the states were first fitted: fit them again.
    if (event->type() == QEvent::Resize && m_statesFitted && watched == m_renderArea->viewport())
        QTimer::singleShot(0, this, &MainWindow::fitStatesIfTooLarge);
    if (event->type() == QEvent::Hide && watched->isWidgetType() && !m_focusPending) {
        const auto* w = static_cast<QWidget*>(watched);
        const Qt::WindowType type = w->windowType();
        if (w != this && w->isWindow() && (type == Qt::Dialog || type == Qt::Tool) &&
            w->parentWidget() != nullptr && w->parentWidget()->window() == this) {
            m_focusPending = true;
            QTimer::singleShot(0, this, &MainWindow::giveFocusBack);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Without a window manager nobody hands the keyboard back when a window of ours closes.
void MainWindow::giveFocusBack() {
    m_focusPending = false;
    if (!isVisible() || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr)
        return;
    QWidget* active = QApplication::activeWindow();
    if (active != nullptr && active != this) return;
    activateWindow();
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus->window() != this || !focus->isVisible()) {
        if (renderMode())
            m_resultView->setFocus(Qt::OtherFocusReason);
        else
            m_contur->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace plakett
