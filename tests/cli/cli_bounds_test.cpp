// Small inputs that once cost gigabytes, hung or wrote where they should not: each case is
// built here from a few numbers, runs under an address-space and a time limit, and must
// end as stated with a peak resident size inside the program's 600 MB budget.
#include "cli_run.h"

#include "image/bmp.h"
#include "shape/render_refusal.h"
#include "shape/shape_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace plakett;
using namespace plakett::clitest;

namespace {

constexpr long kBudgetKb = 600 * 1024;

std::vector<TMoveBox> rectangle(int width, int height) {
    std::vector<TMoveBox> points(4);
    const TPoint corners[] = {{0, 0}, {width, 0}, {width, height}, {0, height}};
    for (int i = 0; i < 4; ++i) {
        points[i].Init(corners[i].X, corners[i].Y);
        points[i].FPointType = ptAngle;
    }
    return points;
}

void le(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A side x side run-length picture of 64 bytes: its data ends at once, so every pixel
// keeps colour 0 of the palette.
std::vector<std::uint8_t> tinyHugeBmp(int side, std::uint32_t colour) {
    std::vector<std::uint8_t> b{'B', 'M'};
    le(b, 64, 4);
    le(b, 0, 4);
    le(b, 62, 4);
    for (const std::uint32_t v : {40u, std::uint32_t(side), std::uint32_t(side)})
        le(b, v, 4);
    le(b, 1, 2);
    le(b, 8, 2);
    for (const std::uint32_t v : {1u, 2u, 0u, 0u, 2u, 0u}) // RLE8, 2 data bytes, 2 colours
        le(b, v, 4);
    le(b, colour, 4);
    le(b, 0, 4);
    b.push_back(0);
    b.push_back(1); // end of picture
    return b;
}

// A 200 x 60 button whose glyph and texture are 4096 x 4096 pictures: under a kilobyte.
std::vector<std::uint8_t> pictureProject() {
    ProjectDocument doc;
    doc.points = rectangle(200, 60);
    doc.records.glyph.GlyphBitmap = 1;
    doc.records.glyph.GlyphTransparent = 0;
    doc.records.background.UseTexture = 1;
    doc.glyphPicture = Bgr24Image(1, 1);
    doc.texture = Bgr24Image(1, 1);
    std::vector<std::uint8_t> bytes = projectBytes(doc);
    bytes.resize(bytes.size() - 2 * encodeBmp(Bgr24Image(1, 1)).size());
    for (const std::uint32_t colour : {0x2040C0u, 0xC08020u}) {
        const std::vector<std::uint8_t> bmp = tinyHugeBmp(4096, colour);
        bytes.insert(bytes.end(), bmp.begin(), bmp.end());
    }
    return bytes;
}

std::string captionLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "Item " + std::to_string(i) + "\n";
    return text;
}

// The side of the largest square the renderer accepts up to density `scale`.
int largestSquare(int scale) {
    int lo = 2, hi = 4000; // lo accepted, hi refused
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        (renderRefusal(rectangle(mid, mid), scale).empty() ? lo : hi) = mid;
    }
    return lo;
}

int fileCount(const fs::path& folder) {
    return fs::is_directory(folder) ? static_cast<int>(folderEntries(folder).size()) : -1;
}

} // namespace

TEST(CliBounds, SmallInputsStayWithinTheBudgetAndEndAsStated) {
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all); // the unprivileged cases write here too
    writeBytes(dir / "pictures.tbp", pictureProject());
    SaveToFile(rectangle(200, 100), dir / "rect.shp");
    SaveToFile(rectangle(46341, 10), dir / "long.shp");
    writeText(dir / "fifty.txt", captionLines(50));
    for (int scale = 1; scale <= 3; ++scale) {
        const int side = largestSquare(scale);
        SaveToFile(rectangle(side, side), dir / ("largest" + std::to_string(scale) + ".shp"));
        SaveToFile(rectangle(side + 1, side + 1), dir / ("over" + std::to_string(scale) + ".shp"));
    }
    ::mkfifo((dir / "pipe.shp").c_str(), 0666);
    ::mkfifo((dir / "pipe.txt").c_str(), 0666);
    const std::string rect = (dir / "rect.shp").string();
    const std::string pictures = (dir / "pictures.tbp").string();
    const std::string textured = testData("projects/glyph_texture.tbp").string();
    auto out = [&](const std::string& name) { return (dir / name).string(); };

    // Prepared by the cases that need it.
    fs::create_directories(dir / "links" / "real");
    fs::create_symlink("real/kept.bmp", dir / "links" / "b_off.bmp");
    fs::create_directory(dir / "ro");
    fs::permissions(dir / "ro", fs::perms::all);
    writeText(dir / "ro" / "b_off.bmp", "old");
    fs::permissions(dir / "ro" / "b_off.bmp", fs::perms::owner_read | fs::perms::others_read);
    fs::create_directory(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_all | fs::perms::others_read |
                                         fs::perms::others_exec);

    const struct {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        const char* message; // in stderr; "" for none
        std::function<bool()> after = [] { return true; };
        bool unprivileged = false;
        int seconds = 300;
    } cases[] = {
        {"pictures 1x", {pictures, out("p1/p.bmp")}, 0, "", {}},
        {"pictures to 2x", {"--scale", "2", pictures, out("p2/p.bmp")}, 0, ""},
        {"pictures to 3x", {"--scale", "3", pictures, out("p3/p.png")}, 0, ""},
        {"pictures as sprites to 3x",
         {"--scale", "3", "--sprite", pictures, out("p4/p.png")},
         0,
         ""},
        {"the largest square at 1x", {out("largest1.shp"), out("l1.bmp")}, 0, "", {}},
        {"the largest square to 2x",
         {"--scale", "2", out("largest2.shp"), out("l2.bmp")},
         0,
         ""},
        {"the largest square to 3x",
         {"--scale", "3", out("largest3.shp"), out("l3.bmp")},
         0,
         ""},
        {"one pixel more at 1x", {out("over1.shp"), out("o1.bmp")}, 1, "Shape is too large"},
        {"one pixel more to 2x",
         {"--scale", "2", out("over2.shp"), out("o2.bmp")},
         1,
         "Shape is too large"},
        {"one pixel more to 3x",
         {"--scale", "3", out("over3.shp"), out("o3.bmp")},
         1,
         "Shape is too large"},
        {"50 captions at 3x",
         {"--scale", "3", "--format", "png", "--captions", out("fifty.txt"), rect,
          out("set/m.png")},
         0,
         "",
         [&] { return fileCount(dir / "set") == 450; }},
        {"a pipe as shape", {out("pipe.shp"), out("x.bmp")}, 1, "not a regular file", {}, false,
         20},
        {"a pipe as caption file",
         {"--captions", out("pipe.txt"), rect, out("x.png")},
         1,
         "not a regular file",
         {},
         false,
         20},
        {"through a link",
         {"--states", "1", rect, out("links/b.bmp")},
         0,
         "",
         [&] {
             return fs::is_symlink(dir / "links" / "b_off.bmp") &&
                    fileBytes(dir / "links" / "real" / "kept.bmp").size() > 1000;
         }},
        {"a read-only target",
         {"--states", "1", rect, out("ro/b.bmp")},
         1,
         "the file may not be written",
         [&] { return fileBytes(dir / "ro" / "b_off.bmp").size() == 3; },
         true},
        {"a read-only folder before a long render",
         {"--scale", "3", "--captions", out("fifty.txt"), rect, out("locked/m.png")},
         1,
         "may not be written",
         [&] { return fileCount(dir / "locked") == 0; },
         true,
         20},
        {"missing folders", {rect, out("new/sub/b.bmp")}, 0, "",
         [&] { return fileCount(dir / "new" / "sub") == 3; }},
        {"a caption with a control character",
         {"--sprite", "--caption", "a\x01z", rect, out("c.png")},
         1,
         "--caption: holds a control character"},
        {"a texture at its origin", {"--states", "1", textured, out("t0/t.bmp")}, 0, ""},
        {"a texture moved to the corner of its origin's range",
         {"--states", "1", "--texture-origin", "255,-255", textured, out("t1/t.bmp")},
         0,
         "",
         [&] {
             const Bgr24Image at = decodeBmpFile(fileBytes(dir / "t0" / "t_off.bmp"));
             const Bgr24Image moved = decodeBmpFile(fileBytes(dir / "t1" / "t_off.bmp"));
             return at.width() == moved.width() && at.height() == moved.height() && at != moved;
         }},
        {"a texture origin past its range",
         {"--texture-origin", "0,256", textured, out("t2/t.bmp")},
         1,
         "--texture-origin takes X,Y, two whole numbers from -255 to 255, not '0,256'",
         [&] { return fileCount(dir / "t2") == -1; }},
        {"a texture origin of one number",
         {"--texture-origin", "12", textured, out("t3/t.bmp")},
         1,
         "--texture-origin takes X,Y",
         [&] { return fileCount(dir / "t3") == -1; }},
        {"a side longer than the field's",
         {out("long.shp"), out("long.bmp")},
         1,
         "cells a side of its field may have"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult r =
            runRenderBounded(c.args, {2000, c.seconds, c.unprivileged});
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        if (*c.message) {
            EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        }
        EXPECT_LT(r.peakKb, kBudgetKb);
        if (c.exitCode != 0) {
            EXPECT_LT(r.peakKb, 100 * 1024) << "refused after allocating";
        }
        if (c.after) {
            EXPECT_TRUE(c.after());
        }
        std::cerr << "[ bounds   ] " << c.name << ": peak " << r.peakKb / 1024 << " MB\n";
    }
    for (const char* folder : {"", "set", "links", "ro", "new/sub"})
        for (const std::string& name : folderEntries(dir / folder))
            EXPECT_NE(name.find(".tmp-"), 0u) << name;
}

// --version and --help into a full device are write errors like any other.
TEST(CliBounds, OutputToAFullDeviceFails) {
    for (const char* option : {"--version", "--help"}) {
        const std::string command = std::string("'") + PLAKETT_RENDER_EXE + "' " + option +
                                    " > /dev/full 2> /dev/null";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << option << " " << status;
    }
}
