// SVG outlines in and out of plakett-render.
#include "cli_run.h"

#include "shape/shape_file.h"
#include "shape/svg_shape_import.h"

#include <gtest/gtest.h>

using namespace plakett;
using namespace plakett::clitest;

// A shipped shape written as SVG renders the same pixels as the shape file, and the outline
// written from that SVG is the same file again.
TEST(CliSvg, OutlineOutAndBackRendersTheSamePixels) {
    TempDir dir;
    const fs::path pill = shippedShape("Buttons/Pill.shp");
    const RunResult out = runRender({"--outline-svg", (dir / "pill.svg").string(), pill.string()});
    ASSERT_EQ(out.exitCode, 0) << out.err;
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"pill.svg"});

    ASSERT_EQ(runRender({pill.string(), (dir / "a").string()}).exitCode, 0);
    const RunResult back = runRender({"--outline-svg", (dir / "again.svg").string(),
                                      (dir / "pill.svg").string(), (dir / "b").string()});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    for (const char* state : {"_off.bmp", "_over.bmp", "_down.bmp"})
        EXPECT_EQ(fileBytes(dir / (std::string("a") + state)),
                  fileBytes(dir / (std::string("b") + state)))
            << state;
    EXPECT_EQ(fileBytes(dir / "again.svg"), fileBytes(dir / "pill.svg"));
}

TEST(CliSvg, BadSvgInputNamesTheFileAndWritesNothing) {
    TempDir dir;
    writeText(dir / "open.svg", "<svg xmlns='http://www.w3.org/2000/svg'><path d='M0 0 H9'/></svg>");
    const RunResult r = runRender({"--outline-svg", (dir / "x.svg").string(),
                                   (dir / "open.svg").string(), (dir / "out").string()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("open.svg' as a shape: it holds no closed shape"), std::string::npos)
        << r.err;
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"open.svg"});
}

// An SVG glyph on a button: drawn, coloured through --glyph-color, and at 2x drawn from the
// vector, so that what it adds to the 2x button, reduced by 2 x 2 averaging, is what it adds
// at 1x.
TEST(CliSvg, SvgGlyphOnAButton) {
    TempDir dir;
    const fs::path pill = shippedShape("Buttons/Pill.shp");
    const std::string star = testData("svg/star_glyph.svg").string();
    auto render = [&](const std::string& base, std::vector<std::string> extra) {
        std::vector<std::string> args = {"--format", "png", "--states", "1", "--scale", "2"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(pill.string());
        args.push_back((dir / base).string());
        const RunResult r = runRender(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return std::pair{decodePng(fileBytes(dir / (base + "_off.png"))),
                         decodePng(fileBytes(dir / (base + "_off@2x.png")))};
    };
    const auto [bare1, bare2] = render("bare", {});
    const auto [star1, star2] = render("star", {"--glyph", star, "--glyph-color", "#c00000"});
    ASSERT_EQ(star1.width(), bare1.width());
    ASSERT_EQ(star2.width(), 2 * star1.width());
    const int cx = star1.width() / 2, cy = star1.height() / 2;
    EXPECT_GT(star1.at(cx, cy).r, bare1.at(cx, cy).r + 60); // red at the default opacity
    int worst = 0;
    for (int y = cy - 14; y < cy + 14; ++y)
        for (int x = cx - 14; x < cx + 14; ++x) {
            int added2 = 0;
            for (int k = 0; k < 4; ++k) {
                const int u = 2 * x + k % 2, v = 2 * y + k / 2;
                added2 += star2.at(u, v).g - bare2.at(u, v).g;
            }
            worst = std::max(worst, std::abs(added2 / 4 - (star1.at(x, y).g - bare1.at(x, y).g)));
        }
    EXPECT_LE(worst, 24);

    const RunResult bad = runRender({"--glyph", (dir / "missing.svg").string(), pill.string(),
                                     (dir / "x").string()});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.err.find("missing.svg"), std::string::npos) << bad.err;
}
