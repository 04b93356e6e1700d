// The main window: the shape editor in shape mode, the rendered states and the style list in
// render mode, the menus, the toolbar, the left tool strip and the options bar. It stays thin
// over the Session, which holds the document and does the work.
#pragma once

#include <QMainWindow>
#include <QMessageBox>

#include <array>
#include <filesystem>
#include <functional>
#include <vector>

class QAction;
class QApplication;
class QComboBox;
class QDockWidget;
class QScrollArea;
class QLabel;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QToolButton;

namespace plakett {

class ConturWidget;
class PreviewPanel;
class HelpWindow;
class ProgressWindow;
class RecentProjects;
class ResultView;
class Session;
class ShapeLibraryWidget;
class StylePanel;

// Sets up the data folder, creates the windows and runs the event loop.
int runPlakett(QApplication& app);

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // `dataFolder` holds the shape folders and "Styles" (normally the working directory).
    MainWindow(Session& session, const std::filesystem::path& dataFolder,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    Session& session() { return m_session; }
    bool renderMode() const;

    // The workflow, as the buttons and menus run it.
    bool render();      // "Render": false when refused or cancelled
    void backToShape(); // "Shape"
    void newProject();
    void openProjectFile(const QString& path);
    bool saveProjectFile(const QString& path); // false after an error box
    void importShapeFile(const QString& path);
    void importSvgShape(const std::filesystem::path& path);
    static constexpr int kMaxImportWidth = 10000;
    void exportShapeFile(const QString& path);
    void viewAtCenter();

    // Parts a test looks at.
    QPushButton* renderButton() const { return m_renderBtn; }
    QPushButton* shapeButton() const { return m_shapeBtn; }
    QComboBox* pointStyle() const { return m_pointStyle; }
    ProgressWindow* progressWindow() const { return m_progress; }
    PreviewPanel* previewPanel() const { return m_preview; }
    ResultView* resultView() const { return m_resultView; }
    // The five effect panels and the dock widgets that hold them.
    const std::array<QWidget*, 5>& toolWindows() const { return m_toolWindows; }
    const std::array<QDockWidget*, 5>& panelDocks() const { return m_docks; }
    ConturWidget* editor() const { return m_contur; }
    // The view zoom of the current mode's view (editor or states); never changes the design.
    double viewZoom() const;
    void setViewZoom(double zoom);
    void zoomIn();
    void zoomOut();
    void zoomToFit();
    QString zoomText() const; // as the status bar shows it
    const std::array<QToolButton*, 5>& renderToolButtons() const { return m_renderTools; }
    QAction* toolbarAction(const QString& text) const;

    // The readme that came with the program, opened when the data folder has none.
    void setReadmeFile(const QString& path) { m_readmeFile = path; }
    // The user guide shown by Help > "Plakett Readme".
    void setGuideFile(const QString& path) { m_guideFile = path; }

    // Unsaved changes: asks "Save changes to NAME?" (Save / Discard / Cancel) when the design
    // changed since it was opened or saved; false when the user chose Cancel or a save failed.
    bool confirmDiscard();
    // Replaces the question box (tests answer it without a dialog).
    using SavePrompt = std::function<QMessageBox::StandardButton(const QString& name)>;
    void setSavePrompt(SavePrompt prompt) { m_savePrompt = std::move(prompt); }
    bool saveProject();   // Ctrl+S: to the project's file, or Save As for a new project
    bool saveProjectAs(); // the save dialog
    QString documentName() const;
    HelpWindow* helpWindow();
    RecentProjects* recentProjects() const { return m_recent; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Watches the program's dialogs close, to give the keyboard back to this window.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    // Undo and redo, the keyboard shortcuts, the recent projects and the title's modified mark.
    void buildEditorCommands(QMenu* file);
    void updateTitle();
    void newProjectClicked();
    void openRecent(const QString& path);
    void projectFileUsed(); // opened or saved: recent list and title
    void deletePointPressed();
    void installShapeKeys(); // Delete, and the wheel over the editor
    void buildToolBar();
    QWidget* buildLeftStrip();
    QWidget* buildCentre();
    QWidget* buildRightPanel(const std::filesystem::path& dataFolder);
    QWidget* buildOptionsBar();
    void createToolWindows();
    QDockWidget* makeDock(QWidget* panel, const QString& title, const QString& name);
    void applyMode(bool render);
    void pointSelected(int index);
    void showToolWindow(int index);
    // Leaving render mode: the panel layout is kept for the next render, the panels hidden.
    void closeToolWindows();
    void openToolWindows();
    void savePanelLayout();
    // After Render, or when a dialog of ours closed without a window manager to do it.
    void giveFocusBack();
    void buildZoomCommands(QMenu* view);
    void showZoom();
    void fitShapeIfTooLarge();
    void fitStatesIfTooLarge();
    void zoomStatesAt(int steps, QPointF position);
    QWidget* buildShapePanel();

    // The editor's scroll bars follow the shape's bounds; moving one scrolls the shape.
    void conturBoundsChanged();
    void showScrollBars();
    void horizontalScrolled(int position);
    void verticalScrolled(int position);

    // Menu and toolbar handlers.
    void openProjectClicked();
    void importShapeClicked();
    void exportShapeClicked();
    void scaleClicked(bool fromToolbar);
    void rotateClicked(bool fromToolbar);
    void flipClicked(bool rightToLeft);
    void addToUserClicked();
    void enlargeClicked();
    void actualSizeClicked();
    void testClicked();
    void exportClicked();
    void readmeClicked();
    void aboutClicked();
    void showError(const std::exception& error);

    Session& m_session;
    bool m_firstShown = false;
    QString m_readmeFile;
    QString m_guideFile;
    SavePrompt m_savePrompt;
    HelpWindow* m_help = nullptr;
    RecentProjects* m_recent = nullptr;
    QMenu* m_flipMenu = nullptr;
    QAction* m_scaleMenuAct = nullptr;
    QAction* m_rotateMenuAct = nullptr;

    ConturWidget* m_contur = nullptr;
    QScrollBar* m_vsb = nullptr;       // VSB
    QScrollBar* m_hsb = nullptr;       // HSB
    QWidget* m_hsbParent = nullptr;    // HSBParent: the strip below the editor holding HSB
    QWidget* m_scrollCorner = nullptr; // fills the strip below VSB
    int LastVScrollPos = 0;
    // Whether the bars are shown as far as the scrolling goes; the widgets follow once the
    // outline computation that changed it has finished.
    bool m_vsbShown = false;
    bool m_hsbShown = false;
    bool m_showPending = false;
    ResultView* m_resultView = nullptr;
    QScrollArea* m_renderArea = nullptr;
    ShapeLibraryWidget* m_library = nullptr;
    StylePanel* m_stylePanel = nullptr;
    QStackedWidget* m_centre = nullptr;
    QStackedWidget* m_right = nullptr;
    ProgressWindow* m_progress = nullptr;
    PreviewPanel* m_preview = nullptr;
    QAction* m_previewAct = nullptr; // View > "Preview"

    QWidget* m_shapeTlb = nullptr;
    QWidget* m_renderTlb = nullptr;
    std::array<QToolButton*, 5> m_renderTools{};
    std::array<QWidget*, 5> m_toolWindows{};
    std::array<QDockWidget*, 5> m_docks{};
    QByteArray m_panelLayout; // saveState() of render mode, empty for the default layout
    QMenu* m_viewMenu = nullptr;
    QLabel* m_zoomLabel = nullptr;
    bool m_focusPending = false;
    bool m_statesFitted = false; // render mode keeps the states fitted until a zoom is chosen

    QLabel* m_pointLabel = nullptr;
    QComboBox* m_pointStyle = nullptr;
    QPushButton* m_renderBtn = nullptr;
    QPushButton* m_shapeBtn = nullptr;

    QAction* m_exportAct = nullptr;
    QAction* m_exportSep = nullptr;
    QAction* m_testAct = nullptr;
    QAction* m_testMenuAct = nullptr;
    QAction* m_testSep = nullptr;
    QAction* m_centerAct = nullptr;
    QAction* m_scaleAct = nullptr;
    QAction* m_rotateAct = nullptr;
};

} // namespace plakett
