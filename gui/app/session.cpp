#include "gui/app/session.h"

#include "document/project_file.h"
#include "document/project_settings.h"
#include "effects/style_file.h"
#include "image/bmp.h"
#include "image/jpeg.h"
#include "image/png_writer.h"
#include "shape/compute_points.h"
#include "shape/render_refusal.h"
#include "textraster/qt_caption_rasterizer.h"

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
    m_lights.onLightMapChanged = [this](const Bgr24Image&) { renderNow(); };
    m_lights.onButtonColorChosen = [this](ColorRef c) {
        m_settings.text.effectColor = c;
        emit textEffectColorChosen();
    };
    takeStartupSnapshot();
}

Session::~Session() = default;

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
}

void Session::shadowBlurEdited() {
    m_renderer.rebuildShadowMask(m_settings.shadow.blur);
    renderNow();
}

void Session::shapeEdited() {
    emit shapeChanged();
}

void Session::centerView() {
    Center(*m_contour);
    emit shapeChanged();
}

void Session::newProject() {
    const ProjectDocument doc = readProject(m_startupSnapshot, ProjectKind::StartupSnapshot);
    if (m_renderMode) leaveRenderMode();
    m_contour->resetToDefaultShape();
    m_lights.loadProjectLights(doc.buttonColor, doc.lights);
    m_settings = RenderSettings{};
    applyProjectToSettings(doc, m_settings);
    centerView();
    emit documentReplaced();
}

void Session::openProject(const std::filesystem::path& path) {
    ProjectDocument doc = readProjectFile(path, ProjectKind::Project);
    if (m_renderMode) leaveRenderMode();
    m_contour->setPoints(doc.points);
    m_lights.loadProjectLights(doc.buttonColor, doc.lights);
    applyProjectToSettings(doc, m_settings);
    centerView();
    emit documentReplaced();
}

std::filesystem::path Session::saveProject(const std::filesystem::path& chosen) {
    const std::filesystem::path path = withProjectExtension(chosen);
    writeProjectFile(path, documentOf(m_contour->FPoints, m_lights, m_settings),
                     ProjectKind::Project);
    return path;
}

void Session::importShape(const std::filesystem::path& path) {
    m_contour->LoadFromFile(path);
    centerView();
}

void Session::exportShape(const std::filesystem::path& path) const {
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
    if (request.format == ExportFormat::Png)
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
            }
        });
}

} // namespace plakett
