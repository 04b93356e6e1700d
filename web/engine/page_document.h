// The design the editor page shows and changes: the browser's counterpart of the desktop's
// session (control points through the core's contour editor, the light set, the settings).
// Every change goes through here; the page keeps undo steps as project bytes.
#pragma once

#include "document/project_file.h"
#include "effects/light_editor.h"
#include "render/render_settings.h"
#include "shape/contur.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace plakett::web {

enum class DesignKind { Project, Shape };

class PageDocument {
  public:
    PageDocument(int width, int height);

    // A project or a shape file, told apart by content; `name` appears in the messages as
    // the file name does on the desktop. Throws with the desktop's message; nothing changes
    // then. A shape keeps the lights and settings, as an import does.
    DesignKind load(std::span<const std::uint8_t> bytes, const std::string& name);
    // Back to a state taken with projectBytes() (undo, redo); the selected light stays.
    void restore(std::span<const std::uint8_t> bytes);
    void newProject();
    std::vector<std::uint8_t> projectBytes() const;
    std::string shapeText() const;

    TContur& contour() { return m_contour; }
    LightEditor& lights() { return m_lights; }
    const LightEditor& lights() const { return m_lights; }
    RenderSettings& settings() { return m_settings; }
    const RenderSettings& settings() const { return m_settings; }
    void applyStyle(std::span<const std::uint8_t> bytes, const std::string& name);
    // A picture for the glyph or the texture, as the desktop's windows take it: the glyph's
    // transparent colour becomes its top-left pixel. Throws on an empty picture.
    enum class Picture { Glyph, Texture };
    void setPicture(Picture which, Bgr24Image picture);

    // The light set as a style file named `name` (the desktop's "Save" of the light editor),
    // its picture made from the normal state. Throws on a name that is not a file name.
    std::vector<std::uint8_t> styleBytes(const std::string& name, const Bgr24Image& normal) const;

  private:
    void apply(const ProjectDocument& doc);
    void showLights();

    TContur m_contour;
    LightEditor m_lights;
    RenderSettings m_settings;
};

} // namespace plakett::web
