// The one open design and everything the windows share: the shape editor, the light editor,
// the live effect settings, the shape field of the last Render and the three state images.
// Windows read and change this state and call the matching notify method; all arithmetic
// stays in the core.
#pragma once

#include "document/export_naming.h"
#include "effects/light_editor.h"
#include "render/button_renderer.h"
#include "render/render_settings.h"
#include "shape/contur.h"
#include "shape/rotate.h"
#include "shape/transforms.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QUndoStack>

#include <cstdint>
#include <filesystem>
#include <memory>

namespace plakett {

class QtCaptionRasterizer;
struct DesignSnapshot;

class Session : public QObject {
    Q_OBJECT
  public:
    explicit Session(int editorWidth = 600, int editorHeight = 400, QObject* parent = nullptr);
    ~Session() override;

    TContur& contour() { return *m_contour; }
    ZoomState& zoom() { return m_zoom; }
    RotateState& rotation() { return m_rotation; }
    LightEditor& lights() { return m_lights; }
    RenderSettings& settings() { return m_settings; }
    const StateImages& states() const { return m_states; }
    bool renderMode() const { return m_renderMode; }
    QImage stateImage(int state) const; // empty before the first render
    // Wc x Hc of the last Render's shape field (what the text and glyph offsets are limited
    // to, half each way); empty before the first render.
    QSize coverageSize() const;

    // The Render button. Returns an error text ("Shape is too small") or an empty string;
    // false from cancelled() afterwards means a field exists.
    QString enterRenderMode(const FieldControl& control = {});
    // What the Render button would refuse with ("Shape is too small"), or an empty string.
    QString renderRefusal() const;
    bool cancelled() const { return m_cancelled; }
    void leaveRenderMode();

    // Called by a window after it changed settings(): re-renders the states in render mode.
    void settingsEdited();
    // After a change of the shadow blur: the blurred mask is rebuilt first.
    void shadowBlurEdited();
    // After the shape changed (editor, transforms, library): repaint and bounds.
    void shapeEdited();

    // Document files; each throws std::exception with a user-facing text and changes
    // nothing on failure.
    void newProject();
    void openProject(const std::filesystem::path& path); // NotAProjectFile: ignored by caller
    std::filesystem::path saveProject(const std::filesystem::path& chosen); // returns the name
    void importShape(const std::filesystem::path& path);
    void importShapePoints(std::vector<TMoveBox> points); // e.g. an SVG outline at a width
    // Draws settings().glyph's SVG at densities 1 to 3. Throws std::exception, leaving the
    // glyph as it was, when Qt SVG cannot draw it.
    void drawSvgGlyph(GlyphLive& glyph) const;
    void exportShape(const std::filesystem::path& path) const; // ".svg": as an SVG path
    void applyStyle(const std::filesystem::path& styleFile);
    void saveStyle(const std::filesystem::path& stylesFolder, const std::string& name) const;
    // Writes the states in export order; returns how many files were written.
    int exportImages(const ExportRequest& request);

    // View at center.
    void centerView();

    // Changes made while one of these lives become a single undo step (a dialog that first
    // releases the zoom, then scales).
    class OneStep {
      public:
        explicit OneStep(Session& session) : m_s(session) { ++m_s.m_grouping; }
        ~OneStep() {
            if (--m_s.m_grouping == 0) m_s.recordStep();
        }
        OneStep(const OneStep&) = delete;
        OneStep& operator=(const OneStep&) = delete;

      private:
        Session& m_s;
    };

    // Every change to the design is one step here; saving marks the stack clean.
    QUndoStack& undoStack() { return m_undo; }
    bool modified() const { return !m_undo.isClean(); }
    // The project file the design was last opened from or saved to; empty for a new one.
    const std::filesystem::path& projectPath() const { return m_projectPath; }

  signals:
    void statesChanged();
    void modeChanged(bool renderMode);
    void shapeChanged();
    // The whole document was replaced (new, open): windows re-read their controls.
    void documentReplaced();
    // A style was applied to the light editor: its window re-reads the lights.
    void lightsChanged();
    // The light editor's button colour was chosen and also became the caption effect
    // colour (settings().text.effectColor).
    void textEffectColorChosen();

  protected:
    // Counts the user's presses: edits made within one press (a drag) form one undo step.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void drawLoadedSvgGlyph();
    void renderNow();
    void takeStartupSnapshot();
    DesignSnapshot snapshot() const;
    void recordStep();
    void restoreDesign(const DesignSnapshot& design, unsigned parts);
    // After New or Open: nothing to undo, nothing unsaved.
    void startHistory();

    std::unique_ptr<TContur> m_contour;
    ZoomState m_zoom;
    RotateState m_rotation;
    LightEditor m_lights;
    RenderSettings m_settings;
    ButtonRenderer m_renderer;
    StateImages m_states;
    bool m_renderMode = false;
    bool m_cancelled = false;
    std::unique_ptr<QtCaptionRasterizer> m_captions;
    std::vector<std::uint8_t> m_startupSnapshot; // what New Project restores

    QUndoStack m_undo;
    std::unique_ptr<DesignSnapshot> m_committed; // the design as the last step left it
    std::uint64_t m_gesture = 0; // the press, key or wheel turn going on; 0 between them
    std::uint64_t m_gestureSerial = 0;
    std::uint64_t m_typingGesture = 0;
    bool m_wheeling = false;
    bool m_typing = false;
    int m_grouping = 0; // OneStep scopes open
    int m_quiet = 0;    // > 0 while the session itself changes the design (restore, render entry)
    std::filesystem::path m_projectPath;
};

} // namespace plakett
