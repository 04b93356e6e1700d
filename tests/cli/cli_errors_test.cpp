// Refused inputs and command lines: a message, a non-zero exit and nothing left behind.
#include "cli_run.h"

#include "effects/style_file.h"
#include "shape/shape_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <regex>

using namespace plakett;
using namespace plakett::clitest;

namespace {

const std::string kPill = shippedShape("Buttons/Pill.shp").string();

// Runs with the output in a fresh folder holding only `keep` (set up by `prepare`) and
// checks the refusal: non-zero exit, a message, no new file of any kind.
std::string expectRefused(const std::vector<std::string>& options, const std::string& input,
                          const std::string& outputName = "out.bmp",
                          const std::function<void(const TempDir&)>& prepare = {}) {
    TempDir dir;
    if (prepare) prepare(dir);
    const std::vector<std::string> before = folderEntries(dir.path());
    std::vector<std::string> args = options;
    if (!input.empty()) args.push_back(input);
    args.push_back((dir / outputName).string());
    const RunResult r = runRender(args);
    EXPECT_GT(r.exitCode, 0) << "crashed or succeeded; stderr: " << r.err;
    EXPECT_NE(r.err, "");
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err; // one line
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(folderEntries(dir.path()), before);
    return r.err;
}

std::vector<TMoveBox> ring(std::initializer_list<TPoint> points, TPointType type = ptAuto) {
    std::vector<TMoveBox> out;
    for (TPoint p : points) {
        TMoveBox b;
        b.Init(p.X, p.Y);
        b.FPointType = type;
        out.push_back(b);
    }
    return out;
}

} // namespace

TEST(CliErrors, UnreadableInputs) {
    TempDir in;
    EXPECT_NE(expectRefused({}, (in / "missing.shp").string()).find("missing.shp"),
              std::string::npos);
    EXPECT_NE(expectRefused({}, (in / "missing.tbp").string()), "");
    EXPECT_NE(expectRefused({}, in.path().string()), ""); // a folder

    writeText(in / "other.tbp", "GIF89a, not a design at all");
    EXPECT_NE(expectRefused({}, (in / "other.tbp").string()).find("is not a project file"),
              std::string::npos);
    writeText(in / "empty.tbp", "");
    EXPECT_NE(expectRefused({}, (in / "empty.tbp").string()).find("is not a project file"),
              std::string::npos);

    EXPECT_TRUE(std::regex_search(expectRefused({}, testData("shapes/bad_integer.shp").string()),
                                  std::regex("'[^']*' is not a valid integer value")));
    EXPECT_NE(expectRefused({}, testData("shapes/truncated.shp").string()), "");
}

TEST(CliErrors, DamagedProjects) {
    TempDir in;
    ProjectDocument doc = pillProject();
    doc.records.text.CaptionText.assign("Cut");
    doc.records.background.UseTexture = 1;
    doc.texture = Bgr24Image(4, 4, Bgr24{1, 2, 3});
    const std::vector<std::uint8_t> whole = projectBytes(doc);
    const std::size_t recordsEnd = 692 + 25 * doc.points.size();
    // Cut inside the count, the points, the lights, the records and the picture.
    for (std::size_t n : {std::size_t{6}, std::size_t{40}, std::size_t{300}, recordsEnd - 1,
                          recordsEnd + 20, whole.size() - 1}) {
        SCOPED_TRACE(n);
        writeBytes(in / "cut.tbp", {whole.begin(), whole.begin() + static_cast<long>(n)});
        expectRefused({}, (in / "cut.tbp").string());
    }

    std::vector<std::uint8_t> negative = whole;
    negative[4] = negative[5] = negative[6] = negative[7] = 0xFF; // count -1
    writeBytes(in / "negative.tbp", negative);
    expectRefused({}, (in / "negative.tbp").string());

    std::vector<std::uint8_t> huge = whole;
    huge[7] = 0x7F; // a count no file holds
    writeBytes(in / "huge.tbp", huge);
    expectRefused({}, (in / "huge.tbp").string());

    std::vector<std::uint8_t> badPicture = whole;
    badPicture[recordsEnd] = 'X'; // no longer "BM"
    writeBytes(in / "picture.tbp", badPicture);
    expectRefused({}, (in / "picture.tbp").string());
}

TEST(CliErrors, ShapesTooSmallToRender) {
    TempDir in;
    const struct {
        const char* name;
        std::vector<TMoveBox> points;
    } cases[] = {
        {"dot", ring({{100, 100}, {101, 100}})},
        {"flat", ring({{100, 100}, {200, 100}, {150, 101}}, ptAngle)},
        {"one", ring({{100, 100}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path shape = in / (std::string(c.name) + ".shp");
        SaveToFile(c.points, shape);
        EXPECT_NE(expectRefused({}, shape.string()).find("Shape is too small"), std::string::npos);
    }
    ProjectDocument empty = pillProject();
    empty.points.clear();
    writeProjectFile(in / "empty.tbp", empty);
    EXPECT_NE(expectRefused({}, (in / "empty.tbp").string()).find("Shape is too small"),
              std::string::npos);
}

TEST(CliErrors, BadCommandLines) {
    EXPECT_NE(expectRefused({"--bogus"}, kPill).find("--bogus"), std::string::npos);
    for (const char* states : {"4", "0", "-1", "three"})
        EXPECT_NE(expectRefused({"--states", states}, kPill).find("--states"), std::string::npos);
    EXPECT_NE(expectRefused({"--format", "gif"}, kPill).find("gif"), std::string::npos);
    expectRefused({"--format"}, "");   // takes OUTPUT as its value
    expectRefused({}, "");             // OUTPUT only
    expectRefused({kPill, kPill}, ""); // three names
}

TEST(CliErrors, UnwritableOutput) {
    const auto withFile = [](const TempDir& d) { writeText(d / "plain", "a regular file"); };
    // A folder under a regular file cannot exist, not even for root.
    EXPECT_NE(expectRefused({}, kPill, "plain/sub/b.bmp", withFile).find("b_"), std::string::npos);
    expectRefused({"--format", "png"}, kPill, "plain/b.png", withFile);
    // A missing folder is made instead (CliBounds).
}

// One target that cannot be replaced (a folder of that name) stops the whole set.
TEST(CliErrors, NoPartialSetWhenOneTargetFails) {
    const auto blockDown = [](const TempDir& d) { fs::create_directory(d / "b_down.bmp"); };
    expectRefused({}, kPill, "b.bmp", blockDown);
    const auto blockOver = [](const TempDir& d) { fs::create_directory(d / "b_over.jpg"); };
    expectRefused({"--format", "jpg"}, kPill, "b.jpg", blockOver);
}

TEST(CliErrors, FailedRunKeepsEarlierFiles) {
    TempDir dir;
    writeText(dir / "b_off.bmp", "earlier export");
    fs::create_directory(dir / "b_down.bmp");
    const RunResult r = runRender({kPill, (dir / "b.bmp").string()});
    EXPECT_NE(r.exitCode, 0);
    const std::vector<std::uint8_t> off = fileBytes(dir / "b_off.bmp");
    EXPECT_TRUE(std::string(off.begin(), off.end()) == "earlier export")
        << "b_off.bmp was replaced by " << off.size() << " new bytes";
}

TEST(CliErrors, StyleFiles) {
    TempDir in;
    std::vector<std::uint8_t> fifty(50);
    for (std::size_t i = 0; i < fifty.size(); ++i)
        fifty[i] = static_cast<std::uint8_t>(i * 7);
    writeBytes(in / "short.jpgs", fifty);
    EXPECT_NE(expectRefused({"--style", (in / "short.jpgs").string()}, kPill).find("short.jpgs"),
              std::string::npos);
    expectRefused({"--style", (in / "missing.jpgs").string()}, kPill);
    expectRefused({"--style", in.path().string()}, kPill);
}

// Whatever the trailer holds, the renderer ends in an orderly way.
TEST(CliErrors, ExtremeStyleValuesDoNotCrash) {
    TempDir dir;
    TGradientBox set;
    set.FButtonColor = 0xFFFFFFFF;
    const std::int32_t extremes[] = {INT_MIN, -1, 0, INT_MAX};
    for (int i = 0; i < 4; ++i) {
        TLightRec& l = set.FLights[i];
        l.Enabled = 0xFF;
        l.PadX = extremes[i];
        l.PadY = extremes[3 - i];
        l.Color = 0xFFFFFFFF;
        l.MapRadius = extremes[(i + 1) % 4];
        l.MapPower = extremes[(i + 2) % 4];
    }
    writeStyleFile(dir / "wild.jpgs", set, set.FButtonColor, Bgr24Image(1, 1), "");
    const RunResult r =
        runRender({"--style", (dir / "wild.jpgs").string(), kPill, (dir / "w.bmp").string()});
    ASSERT_GE(r.exitCode, 0) << "crashed: " << r.err;
    if (r.exitCode == 0)
        EXPECT_TRUE(fs::exists(dir / "w_off.bmp"));
    else
        EXPECT_NE(r.err, "");
}

TEST(CliTimings, OneLineOnStderr) {
    TempDir dir;
    const RunResult r = runRender({"--timings", kPill, (dir / "t.bmp").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_match(
        r.err, m,
        std::regex(
            R"(field_ms=([0-9]+(\.[0-9]+)?) render_ms=([0-9]+(\.[0-9]+)?) size=([0-9]+)x([0-9]+)\n)")))
        << r.err;
    const std::vector<std::uint8_t> bmp = fileBytes(dir / "t_off.bmp");
    ASSERT_GE(bmp.size(), 26u);
    EXPECT_EQ(std::stoi(m[5]), bmp[18] | (bmp[19] << 8));
    EXPECT_EQ(std::stoi(m[6]), bmp[22] | (bmp[23] << 8));
    EXPECT_EQ(r.out, "");

    const RunResult quiet = runRender({kPill, (dir / "q.bmp").string()});
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(quiet.out, "");
}

// Shapes whose double-scale outline leaves the 32-bit range, or whose field could never be
// allocated, deserve the same kind of message as a tiny one.
TEST(CliErrors, HugeOrFarAwayShapesAreRefusedClearly) {
    TempDir in;
    const struct {
        const char* name;
        std::vector<TMoveBox> points;
    } cases[] = {
        {"huge", ring({{0, 0}, {60000, 0}, {60000, 60000}, {0, 60000}}, ptAngle)},
        {"far", ring({{2000000000, 2000000000}, {2000000100, 2000000000}, {2000000100, 2000000100}},
                     ptAngle)},
        {"edge",
         ring({{1073741800, 1073741800}, {1073741900, 1073741800}, {1073741900, 1073741900}},
              ptAngle)},
        {"span", ring({{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}}, ptAngle)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path shape = in / (std::string(c.name) + ".shp");
        SaveToFile(c.points, shape);
        TempDir out;
        const RunResult r =
            runRenderLimited({"--states", "1", shape.string(), (out / "b.bmp").string()}, 2048);
        ASSERT_GE(r.exitCode, 0) << "crashed: " << r.err;
        if (r.exitCode == 0) continue; // rendering it is fine too
        EXPECT_EQ(r.err.find("bad_alloc"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("negative image size"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Shape is too small"), std::string::npos) << r.err;
        EXPECT_TRUE(folderEntries(out.path()).empty());
    }
}
