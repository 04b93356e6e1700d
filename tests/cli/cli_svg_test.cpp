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
