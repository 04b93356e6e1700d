// Qt's libraries come with the caption module and only for runs that draw a caption: the
// dynamic loader's own record of what it mapped shows it. Without the module only caption
// runs fail, with a message and no files.
#include "cli_run.h"

#include "document/project_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace plakett;
using namespace plakett::clitest;

namespace {

// Every object the loader mapped into the child, as LD_DEBUG=files reports them.
RunResult runTracingLoads(const std::vector<std::string>& args) {
    setenv("LD_DEBUG", "files", 1);
    RunResult r = runRender(args);
    unsetenv("LD_DEBUG");
    return r;
}

} // namespace

TEST(CliCaptionModule, QtIsMappedOnlyWhenACaptionIsDrawn) {
    TempDir dir;
    ProjectDocument captioned = pillProject();
    captioned.records.text.CaptionText.assign("Go");
    const fs::path project = dir / "captioned.tbp";
    writeProjectFile(project, captioned);
    const std::string pill = shippedShape("Buttons/Pill.shp").string();
    const struct {
        std::vector<std::string> args;
        bool caption;
    } cases[] = {
        {{"--version"}, false},
        {{pill, (dir / "a.bmp").string()}, false},
        {{"--format", "png", pill, (dir / "b.png").string()}, false},
        {{"--scale", "2", "--sprite", pill, (dir / "c.png").string()}, false},
        {{project.string(), (dir / "d.bmp").string()}, true},
        {{"--caption", "Go", pill, (dir / "e.png").string()}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const RunResult r = runTracingLoads(c.args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err.find("libQt6Gui") != std::string::npos, c.caption);
        EXPECT_EQ(r.err.find("plakett-captions.so") != std::string::npos, c.caption);
    }
}

TEST(CliCaptionModule, WithoutTheModuleOnlyCaptionRunsFailAndWriteNothing) {
    TempDir dir;
    fs::create_directories(dir / "bin");
    const fs::path lonely = dir / "bin" / "plakett-render";
    fs::copy_file(PLAKETT_RENDER_EXE, lonely);
    fs::create_directories(dir / "out");
    const std::string pill = shippedShape("Buttons/Pill.shp").string();

    const RunResult plain = runProgram({lonely.string(), pill, (dir / "out" / "a.bmp").string()});
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    const RunResult captioned = runProgram(
        {lonely.string(), "--caption", "Go", pill, (dir / "out" / "b.png").string()});
    EXPECT_EQ(captioned.exitCode, 1);
    EXPECT_NE(captioned.err.find("caption module plakett-captions.so"), std::string::npos)
        << captioned.err;
    EXPECT_EQ(folderEntries(dir / "out"),
              (std::vector<std::string>{"a_down.bmp", "a_off.bmp", "a_over.bmp"}));
}
