// plakett-render's web output: the 1x files stay those of the plain run, caption sets
// write one sprite per caption with one style sheet and page, bad input writes nothing.
#include "cli_run.h"

#include "document/project_file.h"
#include "image/png_writer.h"
#include "image/webp_codec.h"

#include <gtest/gtest.h>

using namespace plakett;
using namespace plakett::clitest;

namespace {

fs::path captionedProject(const TempDir& dir) {
    ProjectDocument doc = pillProject();
    TextSettings& t = doc.records.text;
    t.CaptionText.assign("Press");
    t.FontSize = 14;
    t.NormalTextColor = makeColorRef(255, 255, 255);
    const fs::path path = dir / "design.tbp";
    writeProjectFile(path, doc);
    return path;
}

std::vector<std::vector<std::uint8_t>> outputs(const fs::path& folder) {
    std::vector<std::vector<std::uint8_t>> all;
    for (const std::string& name : folderEntries(folder))
        all.push_back(fileBytes(folder / name));
    return all;
}

} // namespace

// --caption routes through the web export; with the design's own caption (or none) its
// files are the plain run's, byte for byte.
TEST(CliWeb, OneTimesOutputIsUnchanged) {
    TempDir inputs;
    const fs::path project = captionedProject(inputs);
    const struct {
        fs::path input;
        std::string caption;
        std::string format;
    } cases[] = {{project, "Press", "bmp"},
                 {project, "Press", "png"},
                 {shippedShape("Other/Star.shp"), "", "jpg"},
                 {shippedShape("Buttons/Pill.shp"), "", "png"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input.filename().string() + " " + c.format);
        TempDir plain, web, scaleOne;
        const std::string out = "b." + c.format;
        ASSERT_EQ(
            runRender({"--format", c.format, c.input.string(), (plain / out).string()}).exitCode,
            0);
        const RunResult r = runRender(
            {"--format", c.format, "--caption", c.caption, c.input.string(), (web / out).string()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        ASSERT_EQ(runRender({"--scale", "1", "--format", c.format, c.input.string(),
                             (scaleOne / out).string()})
                      .exitCode,
                  0);
        EXPECT_EQ(folderEntries(web.path()), folderEntries(plain.path()));
        EXPECT_EQ(outputs(web.path()), outputs(plain.path()));
        EXPECT_EQ(outputs(scaleOne.path()), outputs(plain.path()));
    }
}

TEST(CliWeb, CaptionSetWritesSpritesStyleSheetAndPage) {
    TempDir dir;
    const fs::path project = captionedProject(dir);
    writeText(dir / "menu.txt", "Home\r\n\nAbout us\n  home  \n");
    fs::create_directory(dir / "out");
    const RunResult r =
        runRender({"--scale", "2", "--sprite", "--html", "--captions", (dir / "menu.txt").string(),
                   project.string(), (dir / "out" / "menu.png").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(folderEntries(dir / "out"),
              (std::vector<std::string>{"menu-about-us.png", "menu-about-us@2x.png",
                                        "menu-home-2.png", "menu-home-2@2x.png", "menu-home.png",
                                        "menu-home@2x.png", "menu.css", "menu.html"}));
    EXPECT_NE(r.err.find("rendered 6 of 6\n"), std::string::npos) << r.err;

    const Rgba8Image one = decodePng(fileBytes(dir / "out" / "menu-home.png"));
    const Rgba8Image two = decodePng(fileBytes(dir / "out" / "menu-home@2x.png"));
    EXPECT_EQ(two.width(), 2 * one.width());
    EXPECT_EQ(two.height(), 2 * one.height());
    EXPECT_EQ(one.height() % 3, 0);
    EXPECT_NE(fileBytes(dir / "out" / "menu-home.png"),
              fileBytes(dir / "out" / "menu-about-us.png"));
    const auto css = fileBytes(dir / "out" / "menu.css");
    const std::string text(css.begin(), css.end());
    for (const char* cls : {".menu-home {", ".menu-home-2:hover", ".menu-about-us:active"})
        EXPECT_NE(text.find(cls), std::string::npos) << cls;
    EXPECT_NE(text.find("height: " + std::to_string(one.height() / 3) + "px;"), std::string::npos);

    // Rendered on worker threads, a caption of the set is drawn as a single run draws it.
    const RunResult single = runRender({"--scale", "2", "--sprite", "--caption", "About us",
                                        project.string(), (dir / "single.png").string()});
    ASSERT_EQ(single.exitCode, 0) << single.err;
    EXPECT_EQ(fileBytes(dir / "single@2x.png"), fileBytes(dir / "out" / "menu-about-us@2x.png"));
}

TEST(CliWeb, BadInputIsRefusedAndNothingIsWritten) {
    TempDir dir;
    const std::string shape = shippedShape("Buttons/Pill.shp").string();
    writeText(dir / "empty.txt", "\n \n");
    writeBytes(dir / "latin1.txt", {'C', 'a', 'f', 0xE9, '\n'});
    std::string many;
    for (int i = 0; i < 2000; ++i)
        many += "Item " + std::to_string(i) + "\n";
    writeText(dir / "many.txt", many);
    writeText(dir / "tabs.txt", "Home\nA\tb\tc\n");
    writeText(dir / "names.txt", "Start\thome\nHaus\tHome\n");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--captions", (dir / "missing.txt").string()}, "missing.txt"},
        {{"--captions", "/dev/zero"}, "not a regular file"}, // never ends
        {{"--captions", dir.path().string()}, "cannot read caption file"},
        {{"--captions", (dir / "empty.txt").string()}, "holds no caption"},
        {{"--captions", (dir / "latin1.txt").string()}, "line 1: not UTF-8"},
        {{"--captions", (dir / "many.txt").string()}, "holds more than 500 captions"},
        {{"--caption", "a", "--captions", (dir / "empty.txt").string()}, "cannot be used together"},
        {{"--scale", "4"}, "--scale takes a whole number from 1 to 3"},
        {{"--caption", std::string(201, 'x')}, "longer than 200 bytes"},
        {{"--webp", "--format", "jpg"}, "--webp adds WebP copies to PNG sprites"},
        {{"--captions", (dir / "tabs.txt").string()}, "line 2: holds more than one tab"},
        {{"--captions", (dir / "names.txt").string()}, "two captions name their button 'home'"},
    };
    for (const auto& c : cases) {
        TempDir out;
        std::vector<std::string> args = c.args;
        args.push_back("--sprite");
        args.push_back(shape);
        args.push_back((out / "m.png").string());
        const RunResult r = runRender(args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(folderEntries(out.path()).empty());
    }
}

// The whole menu with live text, WebP copies and one sheet: one sprite drawn with an empty
// caption (as --caption "" draws it) in PNG and lossless WebP, a style sheet that offers
// WebP first and a page of real buttons carrying the captions; stderr holds only progress.
TEST(CliWeb, LiveTextSheetWithWebpCopiesAndAQuietStderr) {
    TempDir dir;
    const fs::path project = captionedProject(dir);
    writeText(dir / "menu.txt", "Home\nAbout <us>\nKontakt\tcontact\n");
    fs::create_directory(dir / "out");
    const RunResult r = runRender({"--scale", "2", "--html", "--live-text", "--webp", "--sheet",
                                   "--captions", (dir / "menu.txt").string(), project.string(),
                                   (dir / "out" / "menu.png").string()},
                                  {"XDG_RUNTIME_DIR"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "rendered 1 of 2\nrendered 2 of 2\n");
    EXPECT_EQ(folderEntries(dir / "out"),
              (std::vector<std::string>{"menu.css", "menu.html", "menu.png", "menu.webp",
                                        "menu@2x.png", "menu@2x.webp"}));
    ASSERT_EQ(runRender({"--scale", "2", "--sprite", "--caption", "", project.string(),
                         (dir / "bare.png").string()})
                  .exitCode,
              0);
    for (const char* density : {"", "@2x"}) {
        const auto png = fileBytes(dir / "out" / ("menu" + std::string(density) + ".png"));
        EXPECT_EQ(png, fileBytes(dir / ("bare" + std::string(density) + ".png")));
        EXPECT_EQ(decodeWebp(fileBytes(dir / "out" / ("menu" + std::string(density) + ".webp"))),
                  decodePng(png));
    }
    const auto cssBytes = fileBytes(dir / "out" / "menu.css");
    const std::string css(cssBytes.begin(), cssBytes.end());
    EXPECT_NE(
        css.find("image-set(url(\"menu.webp\") type(\"image/webp\") 1x, url(\"menu@2x.webp\") "
                 "type(\"image/webp\") 2x, url(\"menu.png\") type(\"image/png\") 1x"),
        std::string::npos)
        << css;
    EXPECT_NE(css.find("font-family: Arial, \"Liberation Sans\""), std::string::npos);
    const auto pageBytes = fileBytes(dir / "out" / "menu.html");
    const std::string page(pageBytes.begin(), pageBytes.end());
    for (const char* button : {"<button type=\"button\" class=\"menu\">Home</button>",
                               "<button type=\"button\" class=\"menu\">About &lt;us&gt;</button>",
                               "<button type=\"button\" class=\"menu\">Kontakt</button>"})
        EXPECT_NE(page.find(button), std::string::npos) << button;
}

// Without live text the sheet stacks the set's sprites in caption order, each as --sprite
// draws it; a sheet past the pixel limit is refused before anything is drawn.
TEST(CliWeb, SheetStacksTheSpritesAndRefusesTooLargeOnes) {
    TempDir dir;
    const fs::path project = captionedProject(dir);
    writeText(dir / "menu.txt", "Home\nAbout us\n");
    fs::create_directory(dir / "sheet");
    fs::create_directory(dir / "sprites");
    ASSERT_EQ(runRender({"--sheet", "--captions", (dir / "menu.txt").string(), project.string(),
                         (dir / "sheet" / "m.png").string()})
                  .exitCode,
              0);
    ASSERT_EQ(runRender({"--sprite", "--captions", (dir / "menu.txt").string(), project.string(),
                         (dir / "sprites" / "m.png").string()})
                  .exitCode,
              0);
    EXPECT_EQ(folderEntries(dir / "sheet"), (std::vector<std::string>{"m.css", "m.png"}));
    const Rgba8Image sheet = decodePng(fileBytes(dir / "sheet" / "m.png"));
    const Rgba8Image home = decodePng(fileBytes(dir / "sprites" / "m-home.png"));
    const Rgba8Image about = decodePng(fileBytes(dir / "sprites" / "m-about-us.png"));
    ASSERT_EQ(sheet.width(), home.width());
    ASSERT_EQ(sheet.height(), 2 * home.height());
    for (int y = 0; y < home.height(); ++y)
        for (int x = 0; x < home.width(); ++x) {
            ASSERT_EQ(sheet.at(x, y), home.at(x, y));
            ASSERT_EQ(sheet.at(x, y + home.height()), about.at(x, y));
        }
    const auto cssBytes = fileBytes(dir / "sheet" / "m.css");
    const std::string css(cssBytes.begin(), cssBytes.end());
    EXPECT_NE(css.find(".m-about-us {\n  --sprite-y: -" + std::to_string(home.height()) + "px;"),
              std::string::npos)
        << css;

    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "Item " + std::to_string(i) + "\n";
    writeText(dir / "many.txt", many);
    TempDir out;
    const RunResult big =
        runRender({"--scale", "3", "--sheet", "--captions", (dir / "many.txt").string(),
                   project.string(), (out / "m.png").string()});
    EXPECT_NE(big.exitCode, 0);
    EXPECT_NE(big.err.find("more than 16777216 in one picture"), std::string::npos) << big.err;
    EXPECT_EQ(big.err.find("rendered"), std::string::npos) << big.err;
    EXPECT_TRUE(folderEntries(out.path()).empty());
}
