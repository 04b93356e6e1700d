// Names, caption files, sprites and style sheets of the web output, and the 1x files of
// the web export being byte for byte those of the plain export.
#include "effects/light_editor.h"
#include "image/bmp.h"
#include "image/png_writer.h"
#include "render/button_renderer.h"
#include "shape/shape_file.h"
#include "web/caption_list.h"
#include "web/caption_names.h"
#include "web/sprite.h"
#include "web/web_export.h"
#include "web/web_page.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<std::string> pathStrings(const std::vector<fs::path>& paths) {
    std::vector<std::string> out;
    for (const fs::path& p : paths)
        out.push_back(p.generic_string());
    return out;
}

} // namespace

TEST(WebNames, SlugsUniqueNamesAndClassNames) {
    const std::vector<std::pair<std::string, std::string>> slugs = {
        {"Home", "home"},
        {"  Contact us! ", "contact-us"},
        {"a--b__c", "a-b-c"},
        {"C++ & C#", "c-c"},
        {"\xC3\x9C"
         "ber Stra\xC3\x9F"
         "e",
         "uber-strasse"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", ""},
        {"3 \xC3\x97 4", "3-4"},
        {std::string(30, 'x') + " " + std::string(30, 'y'),
         std::string(30, 'x') + "-" + std::string(9, 'y')},
        {std::string(39, 'x') + " y", std::string(39, 'x')},
    };
    for (const auto& [caption, slug] : slugs)
        EXPECT_EQ(captionSlug(caption), slug) << caption;

    EXPECT_EQ(
        uniqueCaptionNames({"Home", "home", "HOME!", "", "\xE6\x97\xA5", "home-2"}),
        (std::vector<std::string>{"home", "home-3", "home-4", "caption", "caption-2", "home-2"}));

    for (const auto& [base, cls] : std::vector<std::pair<std::string, std::string>>{
             {"menu", "menu"}, {"My Buttons", "my-buttons"}, {"3d", "button-3d"}, {"", "button"}})
        EXPECT_EQ(cssClassName(base), cls);
}

TEST(WebNames, FilesOfEachRequestInWriteOrder) {
    struct Case {
        WebExportRequest request;
        std::vector<std::string> captions;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {{"out/b.bmp", 2, ExportFormat::Bmp, 90, 2, false, false},
         {},
         {"out/b_off.bmp", "out/b_down.bmp", "out/b_off@2x.bmp", "out/b_down@2x.bmp"}},
        {{"out/b_OFF.png", 3, ExportFormat::Png, 90, 3, true, false},
         {"Home", "Home"},
         {"out/b-home.png", "out/b-home@2x.png", "out/b-home@3x.png", "out/b-home-2.png",
          "out/b-home-2@2x.png", "out/b-home-2@3x.png", "out/b.css"}},
        {{"menu.jpg", 1, ExportFormat::Jpeg, 90, 1, false, true},
         {},
         {"menu.jpg", "menu.css", "menu.html"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pathStrings(webExportNames(c.request, c.captions)), c.names);
}

TEST(CaptionList, LinesAreTrimmedAndBadFilesRefused) {
    EXPECT_EQ(
        parseCaptionList(bytesOf("\xEF\xBB\xBFHome\r\n\r\n  About us \n\t\nCaf\xC3\xA9"), "f"),
        (std::vector<std::string>{"Home", "About us", "Caf\xC3\xA9"}));
    std::string many;
    for (std::size_t i = 0; i < kMaxCaptions; ++i)
        many += "x\n";
    EXPECT_EQ(parseCaptionList(bytesOf(many), "f").size(), kMaxCaptions);
    many += "one too many\n";

    const std::vector<std::pair<std::string, std::string>> bad = {
        {"", "holds no caption"},
        {" \r\n\t\n\n", "holds no caption"},
        {"ok\n\xC3\x28", "line 2: not UTF-8"},
        {"\xC0\xAF", "line 1: not UTF-8"},     // overlong "/"
        {"\xED\xA0\x80", "line 1: not UTF-8"}, // a surrogate
        {"a\x01"
         "b",
         "line 1: holds a control character"},
        {std::string(kMaxCaptionBytes + 1, 'w'), "line 1: longer than 200 bytes"},
        {many, "holds more than 500 captions"},
    };
    for (const auto& [text, message] : bad) {
        try {
            parseCaptionList(bytesOf(text), "'menu.txt'");
            ADD_FAILURE() << "accepted: " << text.substr(0, 20);
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("'menu.txt'"), std::string::npos);
        }
    }
    EXPECT_THROW(readCaptionFile("/nonexistent/menu.txt"), std::runtime_error);
}

TEST(Sprite, StatesStackTopToBottomAndTheRulesFollow) {
    std::array<Bgr24Image, 3> states;
    for (int s = 0; s < 3; ++s)
        states[s].reset(4, 2, Bgr24{static_cast<std::uint8_t>(s), 0, 0});
    for (const auto& [count, order] :
         std::vector<std::pair<int, std::vector<int>>>{{1, {0}}, {2, {0, 2}}, {3, {0, 1, 2}}}) {
        const Bgr24Image sprite = stackStates(states, count);
        ASSERT_EQ(sprite.height(), 2 * static_cast<int>(order.size()));
        for (std::size_t row = 0; row < order.size(); ++row)
            EXPECT_EQ(sprite.at(3, 2 * static_cast<int>(row) + 1).b, order[row]);
    }

    SpriteSheet sheet{{{"menu-home", "Home", "menu-home.png", 120, 40}}, 3, 2};
    EXPECT_EQ(spriteCss(sheet), ".menu-home {\n"
                                "  display: inline-block;\n"
                                "  width: 120px;\n"
                                "  height: 40px;\n"
                                "  background-image: url(\"menu-home.png\");\n"
                                "  background-image: -webkit-image-set(url(\"menu-home.png\") 1x, "
                                "url(\"menu-home@2x.png\") 2x);\n"
                                "  background-image: image-set(url(\"menu-home.png\") 1x, "
                                "url(\"menu-home@2x.png\") 2x);\n"
                                "  background-size: 120px 120px;\n"
                                "  background-repeat: no-repeat;\n"
                                "  background-position: 0 0;\n"
                                "}\n"
                                ".menu-home:hover { background-position: 0 -40px; }\n"
                                ".menu-home:active { background-position: 0 -80px; }\n");
    sheet.stateCount = 2;
    sheet.maxScale = 1;
    const std::string two = spriteCss(sheet);
    EXPECT_EQ(two.find(":hover"), std::string::npos);
    EXPECT_EQ(two.find("image-set"), std::string::npos);
    EXPECT_NE(two.find(".menu-home:active { background-position: 0 -40px; }"), std::string::npos);

    sheet.buttons[0].caption = "<Tom & \"Jerry\">";
    const std::string page = spritePage(sheet, "menu", "menu.css", 0xFFFFFF, 0x000000);
    EXPECT_NE(page.find("aria-label=\"&lt;Tom &amp; &quot;Jerry&quot;&gt;\""), std::string::npos);
    EXPECT_NE(page.find("<link rel=\"stylesheet\" href=\"menu.css\">"), std::string::npos);
    EXPECT_NE(page.find("background: #ffffff"), std::string::npos);
    EXPECT_NE(page.find("background: #000000"), std::string::npos);
}

// At density 1 without sprites the web export writes what the plain export writes, byte
// for byte; its high-density sprites are exactly s times the 1x size.
TEST(WebExport, OneTimesFilesAreThePlainExportAndDenseSpritesScaleExactly) {
    WebDesign design;
    LoadFromFile(fs::path(PLAKETT_TEST_DATA) / ".." / ".." / "data" / "Other" / "Heart.shp",
                 design.points);
    LightEditor editor;
    editor.setRenderMode(true);
    editor.UpdateGradient();
    design.lightMap = editor.CopyLightMap();
    RenderSettings settings = design.settings;
    ButtonRenderer renderer;
    renderer.enter(design.points, settings);
    const StateImages plain = renderer.render(design.lightMap, settings, nullptr);
    const TransparentStateImages alpha =
        renderer.renderTransparent(design.lightMap, settings, nullptr);

    const auto bmp = buildWebExport(design, {"x/h.bmp", 3, ExportFormat::Bmp, 90, 1}, {});
    ASSERT_EQ(bmp.size(), 3u);
    EXPECT_EQ(bmp[0].bytes, encodeBmp(plain[0]));
    EXPECT_EQ(bmp[1].bytes, encodeBmp(plain[2]));
    EXPECT_EQ(bmp[2].bytes, encodeBmp(plain[1]));
    const auto png = buildWebExport(design, {"x/h.png", 1, ExportFormat::Png, 90, 1}, {});
    ASSERT_EQ(png.size(), 1u);
    EXPECT_EQ(png[0].bytes, encodePng(alpha[0]));

    const auto sprites =
        buildWebExport(design, {"x/h.png", 3, ExportFormat::Bmp, 90, 3, true, true}, {"One", "Two"},
                       {nullptr, {}, 2});
    ASSERT_EQ(sprites.size(), 8u);
    const int w = plain[0].width(), h = plain[0].height();
    for (int s = 1; s <= 3; ++s) {
        const Bgr24Image sprite = decodeBmpFile(sprites[static_cast<std::size_t>(s - 1)].bytes);
        EXPECT_EQ(sprite.width(), s * w);
        EXPECT_EQ(sprite.height(), 3 * s * h);
    }
    EXPECT_EQ(sprites[0].bytes, sprites[3].bytes); // no caption is drawn without a rasterizer
    const std::string css(sprites[6].bytes.begin(), sprites[6].bytes.end());
    EXPECT_NE(css.find("width: " + std::to_string(w) + "px;"), std::string::npos);
    EXPECT_EQ(sprites[7].path.generic_string(), "x/h.html");
}
