#include "gui/app/main_window.h"

#include "gui/app/progress_window.h"
#include "gui/app/session.h"
#include "gui/app/strip_icons.h"
#include "gui/effects/background_window.h"
#include "gui/effects/glyph_window.h"
#include "gui/effects/light_editor_window.h"
#include "gui/effects/shadow_window.h"
#include "gui/effects/text_window.h"
#include "gui/preview/preview_panel.h"
#include "gui/render/result_view.h"
#include "gui/render/style_panel.h"
#include "gui/shape/contur_widget.h"
#include "gui/shape/shape_library.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace plakett {
namespace {

constexpr int kLeftStripWidth = 34;
constexpr int kRightPanelWidth = 228; // two columns of library pictures with their names
constexpr int kScrollSmallChange = 2;
constexpr int kScrollLargeChange = 15;

QToolButton* stripButton(StripIcon icon, const char* hint) {
    auto* b = new QToolButton;
    b->setIcon(stripIcon(icon));
    b->setIconSize(QSize(24, 24));
    b->setToolTip(QString::fromLatin1(hint));
    b->setAutoRaise(true);
    b->setFixedSize(32, 32);
    return b;
}

} // namespace

MainWindow::MainWindow(Session& session, const std::filesystem::path& dataFolder, QWidget* parent)
    : QMainWindow(parent), m_session(session) {
    setWindowTitle(QStringLiteral("Plakett"));
    buildMenus();
    buildToolBar();

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(buildLeftStrip());
    middle->addWidget(buildCentre(), 1);
    middle->addWidget(buildRightPanel(dataFolder));

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(middle, 1);
    layout->addWidget(buildOptionsBar());
    setCentralWidget(central);

    m_progress = new ProgressWindow(this);
    createToolWindows();
    installShapeKeys();
    m_zoomLabel = new QLabel;
    m_zoomLabel->setObjectName(QStringLiteral("ZoomLevel"));
    m_zoomLabel->setToolTip(QStringLiteral("View zoom (Ctrl+0 fits, Ctrl+1 is 100%)"));
    statusBar()->addPermanentWidget(m_zoomLabel);
    connect(m_contur, &ConturWidget::zoomChanged, this, &MainWindow::showZoom);
    connect(m_resultView, &ResultView::zoomChanged, this, &MainWindow::showZoom);
    connect(m_resultView, &ResultView::zoomWheel, this, &MainWindow::zoomStatesAt);
    connect(m_contur, &ConturWidget::refused, this,
            [this](const QString& why) { statusBar()->showMessage(why, 5000); });
    connect(m_library, &ShapeLibraryWidget::shapeLoaded, this, &MainWindow::fitShapeIfTooLarge);
    connect(&m_session, &Session::documentReplaced, this, &MainWindow::fitShapeIfTooLarge);
    QApplication::instance()->installEventFilter(this);

    TContur& contour = m_session.contour();
    auto previous = contour.FOnPointSelected;
    contour.FOnPointSelected = [this, previous](std::int32_t index) {
        if (previous) previous(index);
        pointSelected(index);
    };
    connect(&m_session, &Session::modeChanged, this, &MainWindow::applyMode);
    applyMode(m_session.renderMode());
}

MainWindow::~MainWindow() {
    QApplication::instance()->removeEventFilter(this);
    m_session.contour().FOnPointSelected = nullptr;
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    file->addAction(QStringLiteral("New Project"), this, &MainWindow::newProjectClicked);
    file->addAction(QStringLiteral("Open Project..."), this, &MainWindow::openProjectClicked);
    file->addAction(QStringLiteral("Save Project as..."), this, &MainWindow::saveProjectAs);
    file->addSeparator();
    file->addAction(QStringLiteral("Export Shape..."), this, &MainWindow::exportShapeClicked);
    file->addAction(QStringLiteral("Import Shape..."), this, &MainWindow::importShapeClicked);
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"), this, &QWidget::close);
    buildEditorCommands(file);

    QMenu* shape = menuBar()->addMenu(QStringLiteral("&Shape"));
    m_scaleMenuAct =
        shape->addAction(QStringLiteral("Scale..."), this, [this] { scaleClicked(false); });
    m_rotateMenuAct =
        shape->addAction(QStringLiteral("Rotate.."), this, [this] { rotateClicked(false); });
    m_flipMenu = shape->addMenu(QStringLiteral("Flip"));
    m_flipMenu->addAction(QStringLiteral("From Right to Left"), this,
                          [this] { flipClicked(true); });
    m_flipMenu->addAction(QStringLiteral("From Top to Bottom"), this,
                          [this] { flipClicked(false); });
    shape->addSeparator();
    shape->addAction(QStringLiteral("Add Shape To User`s Tab"), this,
                     &MainWindow::addToUserClicked);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    m_viewMenu = view;
    view->addAction(QStringLiteral("View at center"), this, &MainWindow::viewAtCenter);
    m_testMenuAct = view->addAction(QStringLiteral("Test"), this, &MainWindow::testClicked);
    m_previewAct = view->addAction(QStringLiteral("Preview"));
    m_previewAct->setCheckable(true);
    m_previewAct->setChecked(true);
    buildZoomCommands(view);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Plakett Readme"), this, &MainWindow::readmeClicked)
        ->setShortcut(QKeySequence::HelpContents);
    help->addSeparator();
    help->addAction(QStringLiteral("About..."), this, &MainWindow::aboutClicked);
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    const auto add = [&](const QIcon& icon, const char* text, const char* hint, auto handler) {
        QAction* a = bar->addAction(icon, QString::fromLatin1(text));
        a->setToolTip(QString::fromLatin1(hint));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    add(style()->standardIcon(QStyle::SP_FileIcon), "New", "Create a New Document",
        &MainWindow::newProjectClicked);
    add(style()->standardIcon(QStyle::SP_DialogOpenButton), "Open", "Open an Exiting Document",
        &MainWindow::openProjectClicked);
    add(style()->standardIcon(QStyle::SP_DialogSaveButton), "Save", "Save the Active Document",
        &MainWindow::saveProject);
    bar->addSeparator();
    m_exportAct = add(stripIcon(StripIcon::Export), "Export", "Export Active Images",
                      &MainWindow::exportClicked);
    m_exportSep = bar->addSeparator();
    m_testAct = add(style()->standardIcon(QStyle::SP_MediaPlay), "Test", "Test the Active Button",
                    &MainWindow::testClicked);
    m_testSep = bar->addSeparator();
    m_centerAct =
        add(stripIcon(StripIcon::Center), "Center", "Center Shape", &MainWindow::viewAtCenter);
    m_scaleAct = add(style()->standardIcon(QStyle::SP_TitleBarMaxButton), "Scale", "Scale Shape",
                     [this] { scaleClicked(true); });
    m_rotateAct = add(style()->standardIcon(QStyle::SP_BrowserReload), "Rotate", "Rotate Shape",
                      [this] { rotateClicked(true); });
}

QAction* MainWindow::toolbarAction(const QString& text) const {
    const auto* bar = findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    for (QAction* a : bar->actions())
        if (a->text() == text) return a;
    return nullptr;
}

QWidget* MainWindow::buildLeftStrip() {
    auto* strip = new QWidget;
    strip->setObjectName(QStringLiteral("Panel1"));
    strip->setFixedWidth(kLeftStripWidth);
    auto* layout = new QVBoxLayout(strip);
    layout->setContentsMargins(1, 4, 1, 4);
    layout->setSpacing(2);

    m_shapeTlb = new QWidget;
    auto* shapeLayout = new QVBoxLayout(m_shapeTlb);
    shapeLayout->setContentsMargins(0, 0, 0, 0);
    shapeLayout->setSpacing(2);
    QToolButton* addZoom = stripButton(StripIcon::Enlarge, "Increased Shape Size");
    QToolButton* releaseZoom = stripButton(StripIcon::ActualSize, "Actual Shape Size");
    connect(addZoom, &QToolButton::clicked, this, &MainWindow::enlargeClicked);
    connect(releaseZoom, &QToolButton::clicked, this, &MainWindow::actualSizeClicked);
    shapeLayout->addWidget(addZoom);
    shapeLayout->addWidget(releaseZoom);

    m_renderTlb = new QWidget;
    auto* renderLayout = new QVBoxLayout(m_renderTlb);
    renderLayout->setContentsMargins(0, 0, 0, 0);
    renderLayout->setSpacing(2);
    const std::pair<StripIcon, const char*> tools[5] = {
        {StripIcon::Light, "Show Light Settings"},
        {StripIcon::Text, "Show Text Settings"},
        {StripIcon::Shadow, "Show Shadow Settings"},
        {StripIcon::Glyph, "Show Glyph Settings"},
        {StripIcon::Background, "Show Background Settings"}};
    for (int i = 0; i < 5; ++i) {
        m_renderTools[i] = stripButton(tools[i].first, tools[i].second);
        connect(m_renderTools[i], &QToolButton::clicked, this, [this, i] { showToolWindow(i); });
        renderLayout->addWidget(m_renderTools[i]);
    }

    layout->addWidget(m_shapeTlb);
    layout->addWidget(m_renderTlb);
    layout->addStretch(1);
    return strip;
}

QWidget* MainWindow::buildCentre() {
    m_centre = new QStackedWidget;
    m_centre->setObjectName(QStringLiteral("MainPanel"));

    auto* renderPanel = new QScrollArea;
    m_renderArea = renderPanel;
    renderPanel->setObjectName(QStringLiteral("RenderPanel"));
    renderPanel->setWidgetResizable(true);
    renderPanel->setFrameShape(QFrame::NoFrame);
    m_resultView = new ResultView(m_session);
    renderPanel->setWidget(m_resultView);

    auto* shapeSplit = new QSplitter(Qt::Horizontal);
    m_preview = new PreviewPanel(m_session);
    shapeSplit->addWidget(buildShapePanel());
    shapeSplit->addWidget(m_preview);
    shapeSplit->setStretchFactor(0, 2);
    shapeSplit->setStretchFactor(1, 1);
    shapeSplit->setSizes({640, 320});
    shapeSplit->setCollapsible(0, false);
    connect(m_previewAct, &QAction::toggled, m_preview, &QWidget::setVisible);
    m_centre->addWidget(shapeSplit);
    m_centre->addWidget(renderPanel);
    return m_centre;
}

// The editor with VSB on its right and, below both, the strip HSBParent holding HSB. Both bars
// start hidden; the shape's bounds show them.
QWidget* MainWindow::buildShapePanel() {
    auto* shapePanel = new QWidget;
    shapePanel->setObjectName(QStringLiteral("ShapePanel"));
    shapePanel->setMinimumSize(50, 50);
    shapePanel->setAutoFillBackground(true);
    QPalette white = shapePanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    shapePanel->setPalette(white);
    m_contur = new ConturWidget(m_session, shapePanel);

    const auto scrollBar = [](Qt::Orientation orientation, const char* name) {
        auto* bar = new QScrollBar(orientation);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setRange(0, 100);
        bar->setSingleStep(kScrollSmallChange);
        bar->setPageStep(kScrollLargeChange);
        return bar;
    };
    m_vsb = scrollBar(Qt::Vertical, "VSB");
    m_hsb = scrollBar(Qt::Horizontal, "HSB");
    m_hsbParent = new QWidget;
    m_hsbParent->setObjectName(QStringLiteral("HSBParent"));
    auto* strip = new QHBoxLayout(m_hsbParent);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(0);
    m_scrollCorner = new QWidget;
    m_scrollCorner->setFixedWidth(m_vsb->sizeHint().width());
    strip->addWidget(m_hsb, 1);
    strip->addWidget(m_scrollCorner);

    auto* layout = new QGridLayout(shapePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_contur, 0, 0);
    layout->addWidget(m_vsb, 0, 1);
    layout->addWidget(m_hsbParent, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(0, 1);
    m_vsb->hide();
    m_hsbParent->hide();
    m_scrollCorner->hide();

    connect(m_contur, &ConturWidget::boundsChanged, this, &MainWindow::conturBoundsChanged);
    connect(m_hsb, &QScrollBar::valueChanged, this, &MainWindow::horizontalScrolled);
    connect(m_vsb, &QScrollBar::valueChanged, this, &MainWindow::verticalScrolled);
    return shapePanel;
}

QWidget* MainWindow::buildRightPanel(const std::filesystem::path& dataFolder) {
    m_right = new QStackedWidget;
    m_right->setObjectName(QStringLiteral("PageControlPanel"));
    m_right->setFixedWidth(kRightPanelWidth);
    m_library = new ShapeLibraryWidget(m_session, dataFolder);
    // Damaged library files are left out; say so rather than let shapes vanish silently.
    connect(m_library, &ShapeLibraryWidget::loadingFinished, this, [this] {
        const QStringList& skipped = m_library->skippedFiles();
        if (!skipped.isEmpty())
            statusBar()->showMessage(
                tr("Skipped %n damaged library shape(s): ", nullptr, int(skipped.size())) +
                skipped.front());
    });
    m_stylePanel = new StylePanel(m_session, dataFolder / "Styles");
    m_right->addWidget(m_library);
    m_right->addWidget(m_stylePanel);
    return m_right;
}

QWidget* MainWindow::buildOptionsBar() {
    auto* bar = new QFrame;
    bar->setObjectName(QStringLiteral("OptionsBar"));
    bar->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(8, 4, 8, 4);
    m_pointLabel = new QLabel(QStringLiteral("Point type:"));
    m_pointStyle = new QComboBox;
    m_pointStyle->setObjectName(QStringLiteral("PointStyle"));
    m_pointStyle->addItems(
        {QStringLiteral("Auto"), QStringLiteral("Anchor"), QStringLiteral("Corner")});
    m_pointStyle->setCurrentIndex(0);
    m_pointLabel->setBuddy(m_pointStyle);
    connect(m_pointStyle, &QComboBox::activated, this, [this](int index) {
        m_session.contour().PointStyleChange(index);
        m_session.shapeEdited();
    });
    m_renderBtn = new QPushButton(QStringLiteral("Render"));
    m_renderBtn->setObjectName(QStringLiteral("RenderBtn"));
    m_renderBtn->setToolTip(QStringLiteral("Render Shape"));
    m_shapeBtn = new QPushButton(QStringLiteral("Shape"));
    m_shapeBtn->setObjectName(QStringLiteral("ShapeBtn"));
    m_shapeBtn->setToolTip(QStringLiteral("Edit Shape"));
    connect(m_renderBtn, &QPushButton::clicked, this, [this] { render(); });
    connect(m_shapeBtn, &QPushButton::clicked, this, &MainWindow::backToShape);
    layout->addWidget(m_pointLabel);
    layout->addWidget(m_pointStyle);
    layout->addStretch(1);
    layout->addWidget(m_renderBtn);
    layout->addWidget(m_shapeBtn);
    return bar;
}

void MainWindow::applyMode(bool render) {
    if (render)
        openToolWindows();
    else
        closeToolWindows();
    m_shapeTlb->setVisible(!render);
    m_renderTlb->setVisible(render);
    for (QToolButton* b : m_renderTools)
        b->setEnabled(render);
    m_pointLabel->setVisible(!render);
    m_pointStyle->setVisible(!render);
    m_renderBtn->setVisible(!render);
    m_renderBtn->setEnabled(!render);
    m_shapeBtn->setVisible(render);
    m_shapeBtn->setEnabled(render);
    m_exportAct->setVisible(render);
    m_exportSep->setVisible(render);
    m_testAct->setVisible(render);
    m_testMenuAct->setEnabled(render); // there is nothing to test before a render
    m_testSep->setVisible(false);      // nothing follows it in either mode
    m_centerAct->setVisible(!render);
    m_scaleAct->setVisible(!render);
    m_rotateAct->setVisible(!render);
    // The shape transforms do nothing in render mode; the menu says so.
    m_scaleMenuAct->setEnabled(!render);
    m_rotateMenuAct->setEnabled(!render);
    m_flipMenu->setEnabled(!render);
    m_centre->setCurrentIndex(render ? 1 : 0);
    m_right->setCurrentIndex(render ? 1 : 0);
    if (m_zoomLabel != nullptr) showZoom();
}

void MainWindow::pointSelected(int index) {
    TContur& contour = m_session.contour();
    if (contour.FSelected == -1 || index < 0 ||
        static_cast<std::size_t>(index) >= contour.FPoints.size())
        return;
    const std::uint8_t type = contour.FPoints[static_cast<std::size_t>(index)].FPointType;
    const int comboIndex = type == ptAuto ? 0 : type == ptBezier ? 1 : 2;
    m_pointStyle->setCurrentIndex(comboIndex);
    contour.FNewPointType = static_cast<std::uint8_t>(comboIndex);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_firstShown) return;
    m_firstShown = true;
    // Once the editor has its final size the shape can be centred in it. Without a window
    // manager nobody gives the new window the keyboard: take it.
    QTimer::singleShot(0, this, [this] {
        viewAtCenter();
        giveFocusBack();
    });
}

} // namespace plakett
