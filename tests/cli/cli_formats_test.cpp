// JPEG and transparent PNG output against the BMP of the same state.
#include "cli_run.h"

#include "image/bmp.h"
#include "image/jpeg.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace plakett;
using namespace plakett::clitest;

namespace {

const char* const kStates[] = {"_off", "_over", "_down"};

std::string stateFile(const char* base, const char* state, const char* extension) {
    std::string name = base;
    name += state;
    name += extension;
    return name;
}

double meanChannelDifference(const Bgr24Image& a, const Bgr24Image& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels().size(); ++i) {
        const Bgr24 p = a.pixels()[i];
        const Bgr24 q = b.pixels()[i];
        sum += std::abs(p.b - q.b) + std::abs(p.g - q.g) + std::abs(p.r - q.r);
    }
    return sum / (3.0 * static_cast<double>(a.pixels().size()));
}

// A pill over a coloured page with a soft, offset shadow.
fs::path writeColouredProject(const TempDir& dir) {
    ProjectDocument doc = pillProject();
    doc.buttonColor = makeColorRef(40, 60, 150);
    BackgroundSettings& bg = doc.records.background;
    bg.BackgroundColor = makeColorRef(230, 200, 160);
    bg.BackRed = bg.BackRedCopy = 230;
    bg.BackGreen = bg.BackGreenCopy = 200;
    bg.BackBlue = 160;
    doc.records.shadow.ShadowBlur = 12;
    doc.records.shadow.ShadowColor = makeColorRef(80, 0, 0);
    doc.records.shadow.NormalShadowHeight = 7;
    const fs::path path = dir / "coloured.tbp";
    writeProjectFile(path, doc);
    return path;
}

int composite(int c, int a, int bg) {
    return static_cast<int>(std::lround((c * a + bg * (255 - a)) / 255.0));
}

} // namespace

TEST(CliFormats, JpegFilesDecodeToTheBmpPicture) {
    TempDir dir;
    const std::string pill = shippedShape("Buttons/Pill.shp").string();
    ASSERT_EQ(runRender({pill, (dir / "b.bmp").string()}).exitCode, 0);
    const RunResult hi =
        runRender({"--format", "jpg", "--quality", "100", pill, (dir / "hi.jpg").string()});
    ASSERT_EQ(hi.exitCode, 0) << hi.err;
    const RunResult lo =
        runRender({"--format", "jpg", "--quality", "30", pill, (dir / "lo.jpg").string()});
    ASSERT_EQ(lo.exitCode, 0) << lo.err;

    for (const char* s : kStates) {
        SCOPED_TRACE(s);
        const Bgr24Image bmp = readBmpFile(dir / stateFile("b", s, ".bmp"));
        const auto hiBytes = fileBytes(dir / stateFile("hi", s, ".jpg"));
        const auto loBytes = fileBytes(dir / stateFile("lo", s, ".jpg"));
        ASSERT_GE(hiBytes.size(), 4u);
        EXPECT_EQ(hiBytes[0], 0xFF);
        EXPECT_EQ(hiBytes[1], 0xD8);
        const Bgr24Image h = decodeJpeg(hiBytes);
        const Bgr24Image l = decodeJpeg(loBytes);
        ASSERT_EQ(h.width(), bmp.width());
        ASSERT_EQ(h.height(), bmp.height());
        ASSERT_EQ(l.width(), bmp.width());
        // Same picture, channels in the same order; the lower quality loses more.
        EXPECT_LT(meanChannelDifference(h, bmp), 1.5);
        const Bgr24 centre = bmp.at(bmp.width() / 2, bmp.height() / 2);
        const Bgr24 jc = h.at(bmp.width() / 2, bmp.height() / 2);
        EXPECT_NEAR(jc.r, centre.r, 8);
        EXPECT_NEAR(jc.g, centre.g, 8);
        EXPECT_NEAR(jc.b, centre.b, 8);
        EXPECT_LT(loBytes.size(), hiBytes.size());
        EXPECT_GT(meanChannelDifference(l, bmp), meanChannelDifference(h, bmp));
    }
}

TEST(CliFormats, QualityBounds) {
    const std::string pill = shippedShape("Buttons/Pill.shp").string();
    for (const char* q : {"30", "100"}) {
        TempDir dir;
        const RunResult r = runRender(
            {"--states", "1", "--format", "jpg", "--quality", q, pill, (dir / "q").string()});
        EXPECT_EQ(r.exitCode, 0) << q << ": " << r.err;
        EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"q_off.jpg"})) << q;
    }
    for (const char* q : {"29", "101", "0", "-50", "90.5", "9O", "", " 90"}) {
        TempDir dir;
        const RunResult r =
            runRender({"--format", "jpg", "--quality", q, pill, (dir / "q.jpg").string()});
        EXPECT_NE(r.exitCode, 0) << "'" << q << "'";
        EXPECT_NE(r.err.find("--quality"), std::string::npos) << r.err;
        EXPECT_TRUE(folderEntries(dir.path()).empty()) << q;
    }
}

TEST(CliFormats, PngIsRgbaWhoseCompositeOverTheBackgroundIsTheBmp) {
    TempDir dir;
    const fs::path project = writeColouredProject(dir);
    ASSERT_EQ(runRender({project.string(), (dir / "b.bmp").string()}).exitCode, 0);
    const RunResult r = runRender({"--format", "png", project.string(), (dir / "p.png").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    const int bg[3] = {230, 200, 160}; // r, g, b
    for (const char* s : kStates) {
        SCOPED_TRACE(s);
        const auto bytes = fileBytes(dir / stateFile("p", s, ".png"));
        ASSERT_GT(bytes.size(), 33u);
        EXPECT_EQ(bytes[24], 8); // bit depth
        EXPECT_EQ(bytes[25], 6); // colour type: RGBA
        const Rgba8Image png = decodePng(bytes);
        const Bgr24Image bmp = readBmpFile(dir / stateFile("b", s, ".bmp"));
        ASSERT_EQ(png.width(), bmp.width());
        ASSERT_EQ(png.height(), bmp.height());

        int worst = 0;
        int partial = 0;
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x) {
                const Rgba8 p = png.at(x, y);
                const Bgr24 q = bmp.at(x, y);
                worst = std::max({worst, std::abs(composite(p.r, p.a, bg[0]) - q.r),
                                  std::abs(composite(p.g, p.a, bg[1]) - q.g),
                                  std::abs(composite(p.b, p.a, bg[2]) - q.b)});
                partial += p.a > 0 && p.a < 255;
            }
        EXPECT_LE(worst, 2);
        EXPECT_GT(partial, 0); // the edge and the shadow are see-through
        for (auto [x, y] : {std::pair{0, 0},
                            {png.width() - 1, 0},
                            {0, png.height() - 1},
                            {png.width() - 1, png.height() - 1}})
            EXPECT_EQ(png.at(x, y).a, 0) << x << "," << y;
        EXPECT_EQ(png.at(png.width() / 2, png.height() / 2).a, 255);
    }
}
