// Writes the shipped styles (data/Styles/*.jpgs) and background textures (data/Backgrounds)
// through the program's own pipeline. Not part of the main build:
//   cmake -S tools -B build-tools -G Ninja && cmake --build build-tools
//   build-tools/make_styles data
// Each thumbnail is the normal state of the default pill (data/Buttons/Pill.shp) lit by the
// style, exactly as the light editor's Save writes it; the textures are generated, so the
// output is the same on every run.
#include "library_styles.h"

#include "textures.h"

#include "effects/light_editor.h"
#include "effects/style_file.h"
#include "image/jpeg.h"
#include "render/button_renderer.h"
#include "shape/compute_points.h"
#include "shape/shape_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

using namespace plakett;
using namespace plakett::tools;
namespace fs = std::filesystem;

namespace {

PointsArray renderOutline(const fs::path& shape) {
    std::vector<TMoveBox> points;
    LoadFromFile(shape, points);
    PointsArray outline;
    for (const TPoint& p : ComputeRenderOutline(points))
        outline.push_back({p.X, p.Y});
    return outline;
}

void writeStyles(const fs::path& data) {
    RenderSettings settings;
    ButtonRenderer renderer;
    renderer.enter(renderOutline(data / "Buttons" / "Pill.shp"), settings);
    fs::create_directories(data / kStylesFolderName);
    for (const Style& s : libraryStyles()) {
        LightEditor editor;
        editor.setRenderMode(true);
        const Bgr24Image lightMap = editor.applyStyle(styleData(s));
        const StateImages states = renderer.render(lightMap, settings, nullptr);
        writeStyleFile(styleFilePath(data / kStylesFolderName, s.name), editor.state().FLightSet,
                       editor.state().ButtonColor, states[0], settings.text.fontName);
    }
}

void writeBackgrounds(const fs::path& data) {
    const fs::path folder = data / "Backgrounds";
    fs::create_directories(folder);
    for (const NamedTexture& t : libraryTextures())
        writeJpegFile(folder / t.fileName, t.picture, 92);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_styles DATA_FOLDER\n";
        return 2;
    }
    try {
        writeStyles(argv[1]);
        writeBackgrounds(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "make_styles: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
