// Inputs that used to cost far more than their size, and names and files that cannot be
// outputs or inputs: each ends quickly, within a small memory limit, with a clear message.
#include "cli_run.h"

#include "effects/style_file.h"
#include "shape/shape_file.h"

#include <gtest/gtest.h>

using namespace plakett;
using namespace plakett::clitest;

namespace {

std::vector<TMoveBox> squareAt(int x, int y) {
    std::vector<TMoveBox> points(4);
    const TPoint corners[] = {{x, y}, {x + 50, y}, {x + 50, y + 50}, {x, y + 50}};
    for (int i = 0; i < 4; ++i) {
        points[i].Init(corners[i].X, corners[i].Y);
        points[i].FPointType = ptAngle;
    }
    return points;
}

} // namespace

TEST(CliLimits, TheSameShapeAnywhereGivesTheSameImagesAtTheSameCost) {
    TempDir dir;
    std::vector<std::uint8_t> reference;
    for (const TPoint corner :
         {TPoint{100, 100}, TPoint{16000, 16000}, TPoint{-12000, 9000}, TPoint{-600000, 700000}}) {
        SCOPED_TRACE(testing::Message() << corner.X << "," << corner.Y);
        SaveToFile(squareAt(corner.X, corner.Y), dir / "square.shp");
        const RunResult r =
            runRenderLimited({(dir / "square.shp").string(), (dir / "s.bmp").string()}, 400);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::vector<std::uint8_t> off = fileBytes(dir / "s_off.bmp");
        if (reference.empty()) reference = off;
        EXPECT_TRUE(off == reference) << off.size() << " bytes against " << reference.size();
    }
}

TEST(CliLimits, RefusedInputsAndOutputsSayWhy) {
    TempDir dir;
    SaveToFile(squareAt(0, 0), dir / "square.shp");
    fs::create_directory(dir / "folder");
    fs::create_symlink("/dev/zero", dir / "zero.shp"); // a shape that never ends
    writeText(dir / "cut.shp", "Shape\nNumOfPoints = 2;\nPoint Type = Auto;\n"
                               "Position X = 1; Y = 2;\nPoint Type = Au");
    writeText(dir / "plain.jpgs", std::string(300, 'x')); // a trailer, no picture
    std::vector<std::uint8_t> wide = fileBytes(testData("fuzz/style_file/huge_cmyk_picture.jpgs"));
    writeBytes(dir / "wide.jpgs", wide);
    const std::string square = (dir / "square.shp").string();
    const std::string out = (dir / "o.bmp").string();
    const struct {
        std::vector<std::string> args;
        const char* expected;
    } cases[] = {
        {{square, (dir / "folder").string()}, "is a folder"},
        {{square, (dir / "folder").string() + "/"}, "is a folder"},
        {{square, (dir / ".png").string()}, "leaves no base name"},
        {{square, (dir / "_OFF.bmp").string()}, "leaves no base name"},
        {{"/dev/zero", out}, "not a regular file"},
        {{(dir / "zero.shp").string(), out}, "not a regular file"},
        {{(dir / "cut.shp").string(), out}, "ends before point 2 of 2"},
        {{"--style", (dir / "plain.jpgs").string(), square, out}, "not a JPEG image"},
        {{"--style", (dir / "wide.jpgs").string(), square, out}, "10000 x 10000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back() + " " + c.args.front());
        const RunResult r = runRenderLimited(c.args, 400);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
    }
    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{"cut.shp", "folder", "plain.jpgs", "square.shp",
                                        "wide.jpgs", "zero.shp"}));
    EXPECT_TRUE(fs::is_empty(dir / "folder"));
}
