// Which files the renderer writes, under which names, and their size.
#include "cli_run.h"

#include "image/bmp.h"
#include "field/shape_field.h"
#include "shape/compute_points.h"
#include "shape/shape_file.h"

#include <gtest/gtest.h>

using namespace plakett;
using namespace plakett::clitest;

namespace {

// Coverage size of a shape, from the same field computation the renderer uses.
std::pair<int, int> coverageSize(const fs::path& shape) {
    std::vector<TMoveBox> points;
    LoadFromFile(shape, points);
    PointsArray outline;
    for (const TPoint& p : ComputeRenderOutline(points))
        outline.push_back({p.X, p.Y});
    const ShapeField field = ComputeShapeField(outline);
    return {field.coverage.width(), field.coverage.height()};
}

} // namespace

TEST(CliOutput, EveryLibraryButtonGivesThreeStatesOfTheFieldSizePlus53) {
    int shapes = 0;
    for (const auto& entry : fs::directory_iterator(shippedShape("Buttons"))) {
        if (entry.path().extension() != ".shp") continue;
        ++shapes;
        SCOPED_TRACE(entry.path().filename().string());
        TempDir dir;
        const RunResult r = runRender({entry.path().string(), (dir / "b.bmp").string()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        ASSERT_EQ(folderEntries(dir.path()),
                  (std::vector<std::string>{"b_down.bmp", "b_off.bmp", "b_over.bmp"}));
        const auto [wc, hc] = coverageSize(entry.path());
        ASSERT_GT(wc, 0);
        for (const char* name : {"b_off.bmp", "b_down.bmp", "b_over.bmp"}) {
            const std::vector<std::uint8_t> bytes = fileBytes(dir / name);
            ASSERT_GE(bytes.size(), 54u);
            EXPECT_EQ(bytes[28], 24) << name; // bits per pixel
            const Bgr24Image img = decodeBmpFile(bytes);
            EXPECT_EQ(img.width(), wc + 53) << name;
            EXPECT_EQ(img.height(), hc + 53) << name;
        }
    }
    EXPECT_GE(shapes, 1);
}

TEST(CliOutput, StateCountSelectsTheFiles) {
    const fs::path pill = shippedShape("Buttons/Pill.shp");
    const struct {
        const char* states;
        std::vector<std::string> files;
    } cases[] = {
        {"1", {"p_off.bmp"}},
        {"2", {"p_down.bmp", "p_off.bmp"}},
        {"3", {"p_down.bmp", "p_off.bmp", "p_over.bmp"}},
    };
    TempDir all;
    ASSERT_EQ(runRender({pill.string(), (all / "p.bmp").string()}).exitCode, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.states);
        TempDir dir;
        const RunResult r = runRender({"--states", c.states, pill.string(), (dir / "p").string()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(folderEntries(dir.path()), c.files);
        for (const std::string& f : c.files) // the same state, whatever the count
            EXPECT_EQ(fileBytes(dir / f), fileBytes(all / f)) << f;
    }
}

TEST(CliOutput, BaseNameRules) {
    const fs::path pill = shippedShape("Buttons/Pill.shp");
    const struct {
        std::string output; // relative to the case's folder
        std::vector<std::string> args;
        std::vector<std::string> files; // relative to the case's folder, sorted
    } cases[] = {
        {"x/ok.bmp", {"--states", "2"}, {"x/ok_down.bmp", "x/ok_off.bmp"}},
        {"star_OFF.jpg", {"--states", "1", "--format", "jpg"}, {"star_off.jpg"}},
        {"star_off.jpg", {"--states", "1", "--format", "jpg"}, {"star_off_off.jpg"}},
        {"btn_OVER_OFF.bmp", {"--states", "1"}, {"btn_off.bmp"}},
        {"btn_DOWN.png", {"--states", "1"}, {"btn_off.bmp"}}, // the format gives the extension
        {"btn_DOWN", {"--states", "1", "--format", "png"}, {"btn_off.png"}},
        {"a.b.c", {"--states", "1"}, {"a_off.bmp"}},
        {"noext", {"--states", "1", "--format", "jpeg"}, {"noext_off.jpg"}},
        // Dots in folder names are left alone.
        {"my.files/b.bmp", {"--states", "1"}, {"my.files/b_off.bmp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        TempDir dir;
        const fs::path out = dir / c.output;
        fs::create_directories(out.parent_path());
        std::vector<std::string> args = c.args;
        args.push_back(pill.string());
        args.push_back(out.string());
        const RunResult r = runRender(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::vector<std::string> written;
        for (const auto& e : fs::recursive_directory_iterator(dir.path()))
            if (e.is_regular_file())
                written.push_back(fs::relative(e.path(), dir.path()).generic_string());
        std::sort(written.begin(), written.end());
        EXPECT_EQ(written, c.files);
    }
}

TEST(CliOutput, RelativeOutputLandsInTheWorkingDirectory) {
    TempDir dir;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    const RunResult r =
        runRender({"--states", "1", shippedShape("Buttons/Pill.shp").string(), "rel.bmp"});
    fs::current_path(previous);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"rel_off.bmp"}));
}

TEST(CliOutput, ExistingFilesAreReplaced) {
    TempDir dir;
    writeText(dir / "p_off.bmp", "old");
    const RunResult r = runRender(
        {"--states", "1", shippedShape("Buttons/Pill.shp").string(), (dir / "p.bmp").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"p_off.bmp"}));
    EXPECT_GT(fileBytes(dir / "p_off.bmp").size(), 54u);
}

TEST(CliOutput, HelpPrintsUsageAndWritesNothing) {
    TempDir dir;
    const RunResult r =
        runRender({"--help", shippedShape("Buttons/Pill.shp").string(), (dir / "p.bmp").string()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("usage: plakett-render"), std::string::npos);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(folderEntries(dir.path()).empty());
}

namespace {

fs::path movedPill(const TempDir& dir, int dx, int dy) {
    std::vector<TMoveBox> points;
    LoadFromFile(shippedShape("Buttons/Pill.shp"), points);
    for (TMoveBox& b : points)
        b.SetPos({b.FPos.X + dx, b.FPos.Y + dy});
    const fs::path path = dir / ("moved" + std::to_string(dx) + "_" + std::to_string(dy) + ".shp");
    SaveToFile(points, path);
    return path;
}

std::vector<std::uint8_t> renderOff(const fs::path& shape) {
    TempDir out;
    const RunResult r = runRender({"--states", "1", shape.string(), (out / "b").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return fs::exists(out / "b_off.bmp") ? fileBytes(out / "b_off.bmp")
                                         : std::vector<std::uint8_t>{};
}

} // namespace

TEST(CliOutput, WhereTheShapeLiesDoesNotMatter) {
    TempDir dir;
    const std::vector<std::uint8_t> home = renderOff(shippedShape("Buttons/Pill.shp"));
    ASSERT_FALSE(home.empty());
    for (auto [dx, dy] : {std::pair{4000, 4000}, {-4000, 3000}, {-120, -150}})
        EXPECT_EQ(renderOff(movedPill(dir, dx, dy)), home) << dx << "," << dy;
}
