// Damaged inputs are refused with texts that say which file and which part, never echo
// control bytes, and extreme values are held to what the program can draw.
#include "document/project_file.h"
#include "document/project_settings.h"
#include "effects/style_file.h"
#include "shape/render_refusal.h"
#include "shape/shape_file.h"
#include "support/error_text.h"

#include <gtest/gtest.h>

#include <limits>

#include <climits>
#include <filesystem>
#include <fstream>
#include <random>

using namespace plakett;
using plakett::testsupport::errorText;
namespace fs = std::filesystem;

namespace {

fs::path scratchFile(const std::string& name, const std::string& bytes) {
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() /
                           ("plakett_inputs_" + std::to_string(std::random_device{}()));
        fs::create_directories(d);
        return d;
    }();
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return dir / name;
}

ProjectDocument projectWithPictures() {
    ProjectDocument doc;
    doc.points.resize(3);
    doc.points[0].Init(0, 0);
    doc.points[1].Init(40, 0);
    doc.points[2].Init(20, 30);
    doc.records.glyph.GlyphBitmap = 1;
    doc.glyphPicture = Bgr24Image(5, 4, Bgr24{1, 2, 3});
    doc.records.background.UseTexture = 1;
    doc.texture = Bgr24Image(6, 2, Bgr24{4, 5, 6});
    return doc;
}

} // namespace

TEST(InputErrors, TextsNameTheFileThePartAndTheLine) {
    const std::vector<std::uint8_t> whole = projectBytes(projectWithPictures());
    const std::size_t glyphAt = 692 + 3 * kPointRecordSize;
    const std::size_t textureAt = glyphAt + 54 + 4 * 16;
    auto withByte = [&](std::size_t at, char c) {
        std::string bytes(whole.begin(), whole.end());
        bytes[at] = c;
        return bytes;
    };
    const struct {
        std::string name;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"points.tbp", std::string(whole.begin(), whole.begin() + 30),
         "Stream read error in the control points of '"},
        {"glyph.tbp", std::string(whole.begin(), whole.begin() + glyphAt + 60),
         "Stream read error in the glyph picture of '"},
        {"texture.tbp", withByte(textureAt, 'X'),
         "Bitmap image is not valid in the texture picture"},
        {"esc.shp", "Shape\nNumOfPoints = 1;\nPoint Type = Auto;\nPosition X = \x1b[2J; Y = 0;\n",
         "' \\x1B[2J' is not a valid integer value ("},
        {"esc.shp",
         "Shape\r\nNumOfPoints = 3;\r\nPoint Type = Auto;\r\nPosition X = 1; Y = 2;\r\n"
         "Point Type = Auto;\r\nPosition X = 9; Y = two;\r\n",
         "esc.shp', line 6)"},
        {"cut.shp",
         "Shape\nNumOfPoints = 2;\nPoint Type = Angle;\nPosition X = 1; Y = 2;\nPoint Ty",
         "The shape file ends before point 2 of 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + ": " + c.expected);
        const fs::path file = scratchFile(c.name, c.bytes);
        std::vector<TMoveBox> points;
        const std::string error = file.extension() == ".shp"
                                      ? errorText([&] { LoadFromFile(file, points); })
                                      : errorText([&] { readProjectFile(file); });
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        EXPECT_NE(error.find(c.name), std::string::npos) << error;
        EXPECT_EQ(error.find('\x1b'), std::string::npos);
    }
    fs::remove_all(scratchFile("x", "").parent_path());
}

TEST(InputErrors, ExtremeValuesAreHeldToWhatCanBeDrawn) {
    for (const std::int32_t size : {INT_MAX, INT_MIN, 1001, -1001}) {
        ProjectDocument doc;
        doc.records.text.FontSize = size;
        EXPECT_EQ(settingsFromProject(doc).text.fontSize, size > 0 ? 1000 : -1000) << size;
    }
    // A style picture declaring 10000 x 10000 is refused before the codec allocates for it.
    const fs::path huge = fs::path(PLAKETT_TEST_DATA) / "fuzz/style_file/huge_cmyk_picture.jpgs";
    EXPECT_NE(errorText([&] { readStyleIcon(huge); }).find("10000 x 10000"), std::string::npos);

    // Handles of enormous lengths give extents whose field size would overflow 64 bits.
    for (const float length : {1e21f, 3e38f}) {
        std::vector<TMoveBox> points(3);
        points[0].Init(0, 0);
        points[1].Init(100, 0);
        points[2].Init(50, 80);
        points[0].FPointType = ptBezier;
        points[0].FLeftLength = points[0].FRightLength = length;
        points[0].FRx = 0.6f;
        points[0].FRy = 0.8f;
        EXPECT_EQ(errorText([&] {
                      if (const std::string r = renderRefusal(points); !r.empty())
                          throw std::runtime_error(r);
                  }).rfind("Shape is too large", 0),
                  0u)
            << length;
    }
    // Handles that are not numbers are named by point; such a point equals itself, so a
    // design holding one is not taken for changed.
    for (const float bad : {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity()}) {
        std::vector<TMoveBox> points(3);
        points[0].Init(0, 0);
        points[1].Init(100, 0);
        points[2].Init(50, 80);
        points[1].FPointType = ptBezier;
        points[1].FLeftLength = bad;
        EXPECT_EQ(renderRefusal(points), "Shape has a Bezier handle that is not a number (point 2)");
        EXPECT_TRUE(points == std::vector<TMoveBox>(points));
    }
}
