#include "common/le_bytes.h"
#include "document/project_file.h"
#include "image/bmp.h"

#include "support/error_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

const fs::path kGolden = fs::path(PLAKETT_TEST_DATA) / "projects" / "glyph_texture.tbp";

std::vector<std::uint8_t> fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

float f32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    const std::uint32_t v = le32(b, at);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

ProjectDocument startupDocument() {
    ProjectDocument doc;
    doc.points.resize(2);
    doc.points[0].Init(310, 200);
    doc.points[1].Init(190, 200);
    return doc;
}

using testsupport::errorText;

struct TempDir {
    fs::path path =
        fs::temp_directory_path() / ("plakett_project_test_" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

} // namespace

TEST(ProjectFileLayout, StartupShapeIs742Bytes) {
    const ProjectDocument doc = startupDocument();
    const std::vector<std::uint8_t> b = projectBytes(doc);
    ASSERT_EQ(b.size(), 742u);
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin(), b.begin() + 8)),
              (std::vector<std::uint8_t>{0x09, 0x75, 0x84, 0x49, 2, 0, 0, 0}));
    // Point record: left length, type, right length, rx, ry, X, Y.
    EXPECT_EQ(f32At(b, 8), 30.0f);
    EXPECT_EQ(b[12], ptAuto);
    EXPECT_EQ(f32At(b, 13), 30.0f);
    EXPECT_EQ(f32At(b, 17), 1.0f);
    EXPECT_EQ(f32At(b, 21), 0.0f);
    EXPECT_EQ(le32(b, 25), 310u);
    EXPECT_EQ(le32(b, 29), 200u);
    EXPECT_EQ(le32(b, 33 + 17), 190u);
    EXPECT_EQ(le32(b, 58), 0x006C00u);         // button colour
    EXPECT_EQ(le32(b, 62), 120u);              // light 1 Radius
    EXPECT_EQ(le32(b, 62 + 44), 0xFFFFFFu);    // light 1 Color
    EXPECT_EQ(le32(b, 62 + 3 * 52 + 48), 20u); // light 4 MapPower
    EXPECT_EQ(b[270], 5);                      // text: "Arial"
    EXPECT_EQ(b[271], 'A');
    EXPECT_EQ(b[658], 1);               // shadow enabled
    EXPECT_EQ(le32(b, 658 + 24), 315u); // shadow angle
    EXPECT_EQ(b[686 + 20], 50);         // glyph opacity
    EXPECT_EQ(le32(b, 710), 0xFFFFFFu); // background colour
    EXPECT_EQ(b[710 + 16], 220);        // texture opacity
    EXPECT_EQ(readProject(b), doc);
}

TEST(ProjectFileLayout, GlyphAndTextureBackToBack) {
    const std::vector<std::uint8_t> golden = fileBytes(kGolden);
    ASSERT_EQ(golden.size(), 903u);
    const ProjectDocument doc = readProjectFile(kGolden);
    ASSERT_EQ(doc.points.size(), 3u);
    EXPECT_EQ(doc.points[1].FPointType, ptBezier);
    EXPECT_EQ(doc.points[1].FLeftLength, 12.5f);
    EXPECT_EQ(doc.points[1].FRightLength, 7.25f);
    EXPECT_EQ(doc.points[1].FRx, 0.6f);
    EXPECT_EQ(doc.points[1].FRy, -0.8f);
    EXPECT_EQ(doc.points[2].FPos, (TPoint{80, 200}));
    EXPECT_EQ(doc.buttonColor, 0x336699u);
    EXPECT_EQ(doc.lights[1].Enabled, 1);
    EXPECT_EQ(doc.lights[1].EnabledPadding, (std::array<std::uint8_t, 3>{7, 0, 0}));
    EXPECT_EQ(doc.lights[2].MapX, 256);
    EXPECT_EQ(doc.records.text.CaptionText.bytes(), "Caf\xE9");
    EXPECT_EQ(doc.records.shadow.ShadowAngle, 300);
    EXPECT_EQ(doc.records.glyph.GlyphY, -9);
    EXPECT_EQ(doc.records.background.BackBlue, 0xE0);
    ASSERT_TRUE(doc.glyphPicture && doc.texture);
    EXPECT_EQ(doc.glyphPicture->width(), 2);
    EXPECT_EQ(doc.glyphPicture->at(0, 0), (Bgr24{255, 0, 255}));
    EXPECT_EQ(doc.glyphPicture->at(1, 1), (Bgr24{255, 0, 0}));
    EXPECT_EQ(doc.texture->width(), 3);
    EXPECT_EQ(doc.texture->at(2, 0), (Bgr24{70, 80, 90}));
    EXPECT_EQ(projectBytes(doc), golden); // byte for byte

    TempDir dir;
    const fs::path target = dir.path / "copy.tbp";
    std::ofstream(target) << "old content";
    writeProjectFile(target, doc);
    EXPECT_EQ(fileBytes(target), golden);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator{}), 1);
}

TEST(ProjectFileErrors, TruncatedFilesFailWhole) {
    const std::vector<std::uint8_t> golden = fileBytes(kGolden);
    for (std::size_t n = 0; n < golden.size(); ++n) {
        const std::span<const std::uint8_t> part(golden.data(), n);
        if (n < 4) {
            EXPECT_THROW(readProject(part), NotAProjectFile) << n;
        } else {
            EXPECT_EQ(errorText([&] { readProject(part); }), "Stream read error") << n;
        }
    }
}

TEST(ProjectFileErrors, MagicCountsAndPictures) {
    std::vector<std::uint8_t> b = projectBytes(startupDocument());
    std::vector<std::uint8_t> other = b;
    other[0] = 0x0A;
    EXPECT_THROW(readProject(other), NotAProjectFile);

    TempDir dir;
    const fs::path path = dir.path / "notes.txt";
    std::ofstream(path) << "hello, world";
    EXPECT_EQ(errorText([&] { readProjectFile(path); }),
              "'" + path.string() + "' is not a project file");
    EXPECT_THROW(readProjectFile(dir.path / "missing.tbp"), std::runtime_error);

    std::vector<std::uint8_t> huge = b;
    huge[7] = 0x40; // 2^30 points in a 742-byte file
    EXPECT_EQ(errorText([&] { readProject(huge); }), "Stream read error");
    std::vector<std::uint8_t> negative = b;
    negative[7] = 0xFF;
    EXPECT_THROW(readProject(negative), ProjectFormatError);

    // A glyph picture announced but damaged stops the load with the bitmap reader's error.
    std::vector<std::uint8_t> golden = fileBytes(kGolden);
    golden[767] = 'X';
    EXPECT_EQ(errorText([&] { readProject(golden); }), "Bitmap image is not valid");
}

TEST(ProjectFileKinds, SnapshotAndEmptyPictures) {
    ProjectDocument doc = startupDocument();
    doc.records.background.UseTexture = 1;
    doc.texture = Bgr24Image(2, 2, Bgr24{1, 2, 3});
    const auto snapshot = projectBytes(doc, ProjectKind::StartupSnapshot);
    EXPECT_EQ(snapshot.size(), 742u); // the texture never goes into the snapshot
    const ProjectDocument back = readProject(snapshot, ProjectKind::StartupSnapshot);
    EXPECT_FALSE(back.texture);
    EXPECT_EQ(back.records.background.UseTexture, 1);

    // A flag without a picture writes an empty one, so the file can be read again.
    ProjectDocument flagged = startupDocument();
    flagged.records.glyph.GlyphBitmap = 0x0BADF00D;
    const auto bytes = projectBytes(flagged);
    EXPECT_EQ(bytes.size(), 742u + 54u);
    const ProjectDocument read = readProject(bytes);
    ASSERT_TRUE(read.glyphPicture);
    EXPECT_TRUE(read.glyphPicture->empty());
    EXPECT_EQ(read.records.glyph.GlyphBitmap, 0x0BADF00Du);
    EXPECT_EQ(projectBytes(read), bytes);
}

TEST(ProjectFileNames, ExtensionOnlyWhenTheFileNameHasNoDot) {
    EXPECT_EQ(withProjectExtension("button"), fs::path("button.tbp"));
    EXPECT_EQ(withProjectExtension("button.old"), fs::path("button.old"));
    EXPECT_EQ(withProjectExtension("/home/me/buttons/ok.tbp"), fs::path("/home/me/buttons/ok.tbp"));
    // A dot in a folder name does not count.
    EXPECT_EQ(withProjectExtension("/home/me/site.v2/button"),
              fs::path("/home/me/site.v2/button.tbp"));
}

TEST(ProjectFileErrors, FailedSaveKeepsTheTarget) {
    TempDir dir;
    EXPECT_THROW(writeProjectFile(dir.path / "no" / "such" / "dir.tbp", startupDocument()),
                 std::runtime_error);
    // A directory in the target's place cannot be replaced: the old entry stays, no leftovers.
    fs::create_directory(dir.path / "taken.tbp");
    fs::create_directory(dir.path / "taken.tbp" / "inner");
    EXPECT_THROW(writeProjectFile(dir.path / "taken.tbp", startupDocument()), std::runtime_error);
    EXPECT_TRUE(fs::is_directory(dir.path / "taken.tbp"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator{}), 1);
}
