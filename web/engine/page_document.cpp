#include "page_document.h"

#include "document/project_file.h"
#include "document/project_settings.h"
#include "effects/style_file.h"
#include "image/color.h"
#include "shape/shape_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace plakett::web {
namespace {

bool isProject(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) return false;
    const std::uint32_t magic =
        bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return magic == kProjectMagic;
}

// The loaders read files: the bytes are staged under the user's file name in the page's
// own memory file system, so that messages name the file as the desktop's do.
std::string staged(std::span<const std::uint8_t> bytes, const std::string& name) {
    std::string file = name.empty() ? std::string("design") : name;
    std::replace(file.begin(), file.end(), '/', '_');
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return file;
}

} // namespace

PageDocument::PageDocument(int width, int height) : m_contour(width, height) {
    m_contour.EnterEditMode();
    showLights();
}

// The page shows the light pad and the button at all times, as the desktop does with its
// render panel and light window open: every change keeps the light records up to date and
// paints the pad.
void PageDocument::showLights() {
    m_lights.setRenderMode(true);
    m_lights.onButtonColorChosen = [this](ColorRef c) { m_settings.text.effectColor = c; };
    m_lights.FormShow();
}

DesignKind PageDocument::load(std::span<const std::uint8_t> bytes, const std::string& name) {
    const std::string file = staged(bytes, name);
    struct Cleanup {
        std::string file;
        ~Cleanup() { std::remove(file.c_str()); }
    } cleanup{file};
    if (!isProject(bytes)) {
        m_contour.LoadFromFile(file);
        return DesignKind::Shape;
    }
    apply(readProjectFile(file, ProjectKind::Project));
    return DesignKind::Project;
}

void PageDocument::restore(std::span<const std::uint8_t> bytes) {
    const int selected = m_lights.state().FCurrentLight;
    apply(readProject(bytes, ProjectKind::Project));
    m_lights.selectLight(selected);
}

void PageDocument::apply(const ProjectDocument& doc) {
    m_contour.setPoints(doc.points);
    m_lights.loadProjectLights(doc.buttonColor, doc.lights);
    m_lights.UpdateGradient();
    RenderSettings settings;
    applyProjectToSettings(doc, settings);
    m_settings = std::move(settings);
}

void PageDocument::newProject() {
    m_contour.resetToDefaultShape();
    m_lights = LightEditor();
    showLights();
    m_settings = RenderSettings();
}

std::vector<std::uint8_t> PageDocument::projectBytes() const {
    ProjectDocument doc;
    doc.points = m_contour.FPoints;
    doc.buttonColor = m_lights.state().ButtonColor;
    doc.lights = m_lights.state().FLightSet.FLights;
    storeSettingsInProject(m_settings, doc);
    return plakett::projectBytes(doc);
}

std::string PageDocument::shapeText() const {
    return shapeFileText(m_contour.FPoints);
}

void PageDocument::applyStyle(std::span<const std::uint8_t> bytes, const std::string& name) {
    m_lights.applyStyle(decodeStyle(bytes, name, StyleCheck::Picture));
}

void PageDocument::setPicture(Picture which, Bgr24Image picture) {
    if (picture.empty()) throw std::runtime_error("The picture is empty");
    switch (which) {
    case Picture::Glyph: {
        const Bgr24 corner = picture.at(0, 0);
        m_settings.glyph.useGlyph = true;
        m_settings.glyph.picture = std::move(picture);
        m_settings.glyph.transparentColor = makeColorRef(corner.r, corner.g, corner.b);
        return;
    }
    case Picture::Texture:
        m_settings.background.useTexture = true;
        m_settings.background.texture = std::move(picture);
        return;
    }
}

std::vector<std::uint8_t> PageDocument::styleBytes(const std::string& name,
                                                   const Bgr24Image& normal) const {
    const std::filesystem::path folder = "styles";
    const std::filesystem::path file = styleFilePath(folder, name);
    std::filesystem::create_directories(folder);
    writeStyleFile(file, m_lights.state().FLightSet, m_lights.state().ButtonColor, normal,
                   m_settings.text.fontName);
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    in.close();
    std::filesystem::remove(file);
    return bytes;
}

} // namespace plakett::web
