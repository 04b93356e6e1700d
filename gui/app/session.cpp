#include "gui/app/session.h"

#include "gui/app/design_history.h"

#include "common/file_write.h"
#include "document/project_file.h"
#include "document/project_settings.h"
#include "effects/style_file.h"
#include "image/bmp.h"
#include "image/jpeg.h"
#include "image/png_writer.h"
#include "image/webp_codec.h"
#include "shape/compute_points.h"
#include "shape/render_refusal.h"
#include "shape/svg_shape_export.h"
#include "shape/svg_shape_import.h"
#include "textraster/qt_caption_rasterizer.h"
#include "textraster/qt_glyph_rasterizer.h"
#include "render/svg_glyph.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

#include <stdexcept>

namespace plakett {
namespace {

ProjectDocument documentOf(const std::vector<TMoveBox>& points, const LightEditor& lights,
                           const RenderSettings& settings) {
    ProjectDocument doc;
    doc.points = points;
    doc.buttonColor = lights.state().ButtonColor;
    doc.lights = lights.state().FLightSet.FLights;
    storeSettingsInProject(settings, doc);
    return doc;
}

} // namespace

Session::Session(int editorWidth, int editorHeight, QObject* parent)
    : QObject(parent), m_contour(std::make_unique<TContur>(editorWidth, editorHeight)),
      m_captions(std::make_unique<QtCaptionRasterizer>()) {
    m_contour->EnterEditMode();
    m_lights.onLightMapChanged = [this](const Bgr24Image&) {
        renderNow();
        recordStep();
    };
    m_lights.onButtonColorChosen = [this](ColorRef c) {
        m_settings.text.effectColor = c;
        emit textEffectColorChosen();
    };
    takeStartupSnapshot();
    m_committed = std::make_unique<DesignSnapshot>(snapshot());
    m_undo.setUndoLimit(200);
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

Session::~Session() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool Session::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        // A run of typed characters (a caption, a font name) is one step.
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool typing = !key->text().isEmpty() && key->text().front().isPrint() &&
                            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (!typing || !m_typing) m_typingGesture = ++m_gestureSerial;
        m_gesture = m_typingGesture;
        m_typing = typing;
        m_wheeling = false;
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Shortcut:
        m_gesture = ++m_gestureSerial;
        m_wheeling = false;
        m_typing = false;
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        m_gesture = 0;
        m_wheeling = false;
        break;
    case QEvent::Wheel:
        // Turning the wheel over one control is one gesture until other input comes.
        if (!m_wheeling) m_gesture = ++m_gestureSerial;
        m_wheeling = true;
        m_typing = false;
        break;
    default:
        break;
    }
    return false;
}

DesignSnapshot Session::snapshot() const {
    DesignSnapshot s;
    s.points = m_contour->FPoints;
    s.zoom = m_zoom;
    s.rotation = m_rotation;
    s.buttonColor = m_lights.state().ButtonColor;
    s.lights = m_lights.state().FLightSet.FLights;
    s.settings = m_settings;
    return s;
}

void Session::recordStep() {
    if (m_quiet > 0 || m_grouping > 0) return;
    DesignSnapshot now = snapshot();
    const unsigned parts = changedParts(*m_committed, now);
    if (parts == 0) return;
    if (!onlyMoved(*m_committed, now))
        m_undo.push(new DesignStep(
            [this](const DesignSnapshot& design, unsigned p) { restoreDesign(design, p); },
            *m_committed, now, parts, m_gesture));
    *m_committed = std::move(now);
}

// An undo or redo. A step that changes the shape leaves render mode as the Shape button
// does; one that changes only lights or settings re-renders.
void Session::restoreDesign(const DesignSnapshot& design, unsigned parts) {
    ++m_quiet;
    if (parts & kShapePart) {
        if (m_renderMode) leaveRenderMode();
        m_contour->setPoints(design.points);
        m_zoom = design.zoom;
        m_rotation = design.rotation;
        Center(*m_contour);
    }
    if (parts & kLightsPart) m_lights.loadProjectLights(design.buttonColor, design.lights);
    if (parts & kSettingsPart) {
        const bool blur = m_settings.shadow.blur != design.settings.shadow.blur;
        m_settings = design.settings;
        if (blur && m_renderer.ready()) m_renderer.rebuildShadowMask(m_settings.shadow.blur);
    }
    *m_committed = snapshot();
    --m_quiet;
    emit shapeChanged();
    emit documentReplaced();
    if (parts & kLightsPart) emit lightsChanged();
    renderNow();
}

void Session::startHistory() {
    *m_committed = snapshot();
    m_undo.clear();
    m_undo.setClean();
}

void Session::takeStartupSnapshot() {
    m_startupSnapshot = projectBytes(documentOf(m_contour->FPoints, m_lights, m_settings),
                                     ProjectKind::StartupSnapshot);
}

QImage Session::stateImage(int state) const {
    if (state < 0 || state >= kStateCount || m_states[state].empty()) return {};
    const Bgr24Image& img = m_states[state];
    QImage out(img.width(), img.height(), QImage::Format_RGB888);
    for (int y = 0; y < img.height(); ++y) {
        const Bgr24* in = img.scanline(y);
        uchar* o = out.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            o[3 * x] = in[x].r;
            o[3 * x + 1] = in[x].g;
            o[3 * x + 2] = in[x].b;
        }
    }
    return out;
}

QString Session::renderRefusal() const {
    const TContur& c = *m_contour;
    if (c.FMaxX - c.FMinX < 2 || c.FMaxY - c.FMinY < 2) return QStringLiteral("Shape is too small");
    if (const std::string refusal = plakett::renderRefusal(c.FPoints); !refusal.empty())
        return QString::fromStdString(refusal);
    return {};
}

QString Session::enterRenderMode(const FieldControl& control) {
    // Releasing the zoom and fitting the offsets to the new field are no edits of the user.
    struct Quiet {
        Session& s;
        explicit Quiet(Session& session) : s(session) { ++s.m_quiet; }
        ~Quiet() {
            --s.m_quiet;
            *s.m_committed = s.snapshot();
        }
    } quiet(*this);
    TContur& c = *m_contour;
    if (QString refusal = renderRefusal(); !refusal.isEmpty()) return refusal;
    ActualSize(c, m_zoom);
    if (const std::string refusal = plakett::renderRefusal(c.FPoints); !refusal.empty())
        return QString::fromStdString(refusal);
    m_states = {};
    m_renderMode = true;
    emit modeChanged(true);
    m_cancelled = !m_renderer.enter(c.FPoints, m_settings, control);
    if (m_cancelled) {
        leaveRenderMode();
        return {};
    }
    m_lights.setRenderMode(true);
    m_lights.UpdateGradient(); // builds the light map, which renders through the callback
    return {};
}

void Session::leaveRenderMode() {
    m_lights.setRenderMode(false);
    m_states = {};
    const bool was = m_renderMode;
    m_renderMode = false;
    centerView();
    emit statesChanged();
    if (was) emit modeChanged(false);
}

void Session::renderNow() {
    if (!m_renderMode || !m_renderer.ready()) return;
    m_states = m_renderer.render(m_lights.lightMap(), m_settings, m_captions.get());
    emit statesChanged();
}

QSize Session::coverageSize() const {
    if (!m_renderer.ready()) return {};
    const Gray8Image& coverage = m_renderer.field().coverage;
    return QSize(coverage.width(), coverage.height());
}

void Session::settingsEdited() {
    renderNow();
    recordStep();
}

void Session::shadowBlurEdited() {
    m_renderer.rebuildShadowMask(m_settings.shadow.blur);
    renderNow();
    recordStep();
}

void Session::shapeEdited() {
    emit shapeChanged();
    recordStep();
}

void Session::centerView() {
    Center(*m_contour);
    emit shapeChanged();
    recordStep();
}

void Session::newProject() {
    const ProjectDocument doc = readProject(m_startupSnapshot, ProjectKind::StartupSnapshot);
    if (m_renderMode) leaveRenderMode();
    m_contour->resetToDefaultShape();
    m_lights.loadProjectLights(doc.buttonColor, doc.lights);
    m_settings = RenderSettings{};
    applyProjectToSettings(doc, m_settings);
    drawLoadedSvgGlyph();
    centerView();
    m_projectPath.clear();
    startHistory();
    emit documentReplaced();
}

void Session::openProject(const std::filesystem::path& path) {
    ProjectDocument doc = readProjectFile(path, ProjectKind::Project);
    if (m_renderMode) leaveRenderMode();
    m_contour->setPoints(doc.points);
    m_lights.loadProjectLights(doc.buttonColor, doc.lights);
    applyProjectToSettings(doc, m_settings);
    drawLoadedSvgGlyph();
    centerView();
    m_projectPath = path;
    startHistory();
    emit documentReplaced();
}

std::filesystem::path Session::saveProject(const std::filesystem::path& chosen) {
    const std::filesystem::path path = withProjectExtension(chosen);
    writeProjectFile(path, documentOf(m_contour->FPoints, m_lights, m_settings),
                     ProjectKind::Project);
    m_projectPath = path;
    m_undo.setClean();
    return path;
}

void Session::importShape(const std::filesystem::path& path) {
    m_contour->LoadFromFile(path);
    centerView();
}

void Session::drawSvgGlyph(GlyphLive& glyph) const {
    QtGlyphRasterizer rasterizer;
    rasterizeSvgGlyph(glyph, rasterizer, 3);
}

// A project's SVG glyph that Qt cannot draw is dropped rather than failing the whole load.
void Session::drawLoadedSvgGlyph() {
    try {
        drawSvgGlyph(m_settings.glyph);
    } catch (const std::exception&) {
        m_settings.glyph.svgSource.clear();
        m_settings.glyph.svgRasters.clear();
    }
}

void Session::importShapePoints(std::vector<TMoveBox> points) {
    m_contour->setPoints(std::move(points));
    centerView();
}

void Session::exportShape(const std::filesystem::path& path) const {
    if (isSvgFileName(path))
        SaveSvgFile(m_contour->FPoints, path);
    else
        m_contour->SaveToFile(path);
}

void Session::applyStyle(const std::filesystem::path& styleFile) {
    const StyleData style = readStyleFile(styleFile);
    m_lights.applyStyle(style); // re-renders through the light-map callback
    emit lightsChanged();
}

void Session::saveStyle(const std::filesystem::path& stylesFolder, const std::string& name) const {
    writeStyleFile(styleFilePath(stylesFolder, name), m_lights.state().FLightSet,
                   m_lights.state().ButtonColor, m_states[0], m_settings.text.fontName);
}

int Session::exportImages(const ExportRequest& request) {
    if (m_states[0].empty()) throw std::runtime_error("There is no rendered button to export");
    TransparentStateImages transparent;
    if (request.format == ExportFormat::Png || request.format == ExportFormat::Webp)
        transparent =
            m_renderer.renderTransparent(m_lights.lightMap(), m_settings, m_captions.get());
    return exportButtonStates(
        m_states, request,
        [&](const Bgr24Image& image, const std::filesystem::path& path, ExportFormat format,
            int quality) {
            switch (format) {
            case ExportFormat::Bmp:
                writeBmpFile(path, image);
                break;
            case ExportFormat::Jpeg:
                writeJpegFile(path, image, quality);
                break;
            case ExportFormat::Png:
                writePngFile(path, transparent[static_cast<std::size_t>(&image - m_states.data())]);
                break;
            case ExportFormat::Webp:
                writeFileAtomically(
                    path,
                    encodeWebp(transparent[static_cast<std::size_t>(&image - m_states.data())]));
                break;
            }
        });
}

} // namespace plakett
