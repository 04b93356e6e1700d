// Names, caption files, sprites and style sheets of the web output, and the 1x files of
// the web export being byte for byte those of the plain export.
#include "effects/light_editor.h"
#include "image/bmp.h"
#include "image/png_writer.h"
#include "image/webp_codec.h"
#include "render/button_renderer.h"
#include "shape/shape_file.h"
#include "web/caption_list.h"
#include "web/caption_names.h"
#include "web/live_text_style.h"
#include "web/sprite.h"
#include "web/web_export.h"
#include "web/web_page.h"

#include <gtest/gtest.h>

#include <set>
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

TEST(WebNames, SlugsUniqueNamesClassNamesAndUrls) {
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
        // U+FB01 "fi", U+0153 "oe", U+0141 "L", U+00F3, U+017A, U+0111 "d", U+0131 dotless i
        {"\xEF\xAC\x81le \xC5\x93uvre \xC5\x81\xC3\xB3"
         "d\xC5\xBA \xC4\x91"
         "ak \xC4\xB1i",
         "file-oeuvre-lodz-dak-ii"},
        {"\xC8\x98i \xE1\xBA\x9E", "si-ss"}, // U+0218, U+1E9E
        {"a\xFF"
         "b\xE2\x82",
         "a-b"}, // broken UTF-8 separates
        {std::string(30, 'x') + " " + std::string(30, 'y'),
         std::string(30, 'x') + "-" + std::string(9, 'y')},
        {std::string(39, 'x') + " y", std::string(39, 'x')},
    };
    for (const auto& [caption, slug] : slugs)
        EXPECT_EQ(captionSlug(caption), slug) << caption;

    const std::string longA = std::string(39, 'a') + "b", longC = std::string(39, 'a') + "c";
    const struct {
        std::vector<std::string> lines;
        std::vector<std::string> names;
    } sets[] = {
        {{"Home", "home", "HOME!", "", "\xE6\x97\xA5", "home-2"},
         {"home", "home-3", "home-4", "caption", "caption-2", "home-2"}},
        // A line's own name is kept; derived names step aside for it.
        {{"Home", "Startseite\thome", "\xE6\x97\xA5\xE6\x9C\xAC\t Japan ",
          "\xC3\x9C"
          "ber uns\t\xC3\x9C"
          "ber Uns"},
         {"home-2", "home", "japan", "uber-uns"}},
        {{longA + " x", longC + " x"}, {longA, longC}},
    };
    for (const auto& set : sets) {
        const std::vector<std::string> names = uniqueCaptionNames(set.lines);
        EXPECT_EQ(names, set.names);
        // Class names follow the whole file name, so they stay as distinct as the files.
        std::set<std::string> classes;
        for (const std::string& n : names)
            classes.insert(cssClassName("menu-" + n));
        EXPECT_EQ(classes.size(), names.size());
    }
    EXPECT_THROW(uniqueCaptionNames({"A\tx", "B\tX"}), std::invalid_argument);
    EXPECT_THROW(uniqueCaptionNames({"A\t\xE6\x97\xA5"}), std::invalid_argument);

    for (const auto& [base, cls] :
         std::vector<std::pair<std::string, std::string>>{{"menu", "menu"},
                                                          {"My Buttons", "my-buttons"},
                                                          {"3d", "button-3d"},
                                                          {"", "button"},
                                                          {"menu-" + longA, "menu-" + longA}})
        EXPECT_EQ(cssClassName(base), cls);

    for (const auto& [file, url] : std::vector<std::pair<std::string, std::string>>{
             {"nav#1.png", "nav%231.png"},
             {"a?b.png", "a%3Fb.png"},
             {"50%.png", "50%25.png"},
             {"a b\"c'(d).png", "a%20b%22c%27%28d%29.png"},
             {"c:\\x.png", "c%3A%5Cx.png"},
             {"Caf\xC3\xA9_1~@2x.png", "Caf%C3%A9_1~@2x.png"}})
        EXPECT_EQ(urlPathSegment(file), url);
    SpriteSheet odd;
    odd.buttons = {{"nav-1", "", "nav#1.png"}};
    odd.stateCount = 1;
    odd.maxScale = 2;
    const std::string css = spriteCss(odd);
    EXPECT_NE(css.find("url(\"nav%231.png\") 1x, url(\"nav%231@2x.png\") 2x"), std::string::npos)
        << css;
    EXPECT_NE(spritePage(odd, "t", "nav#1.css", 0, 0xFFFFFF).find("href=\"nav%231.css\""),
              std::string::npos);
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
        {"ok\nA\tb\tc", "line 2: holds more than one tab"},
        {"A\t!!", "line 1: the name after the tab holds no letter or digit"},
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

    SpriteSheet sheet;
    sheet.buttons = {{"menu-home", "Home", "menu-home.png"}};
    sheet.maxScale = 2;
    sheet.width = 120;
    sheet.height = 40;
    sheet.box = {20, 22, 80, 18};
    sheet.pictureWidth = 120;
    sheet.pictureHeight = 120;
    const std::string css = spriteCss(sheet);
    // The box is the button: its own size, the sprite around it behind a pseudo-element that
    // takes no space and no pointer; the rows move on hover, press and the "pressed" class.
    for (const char* part :
         {".menu-home {\n  -webkit-appearance: none;",
          "  width: 80px;\n  height: 18px;\n  margin: 0;\n  padding: 0;\n  border: 0;",
          "  background: none;\n  color: inherit;\n  font: inherit;",
          ".menu-home::before {\n  content: \"\";\n  position: absolute;\n  z-index: -1;\n"
          "  left: -20px;\n  top: -22px;\n  width: 120px;\n  height: 40px;\n"
          "  background-size: 120px 120px;",
          "  pointer-events: none;", ".menu-home {\n  --sprite-y: 0px;\n}",
          "  background-image: url(\"menu-home.png\");\n"
          "  background-image: -webkit-image-set(url(\"menu-home.png\") 1x, "
          "url(\"menu-home@2x.png\") 2x);\n"
          "  background-image: image-set(url(\"menu-home.png\") 1x, url(\"menu-home@2x.png\") 2x);",
          ".menu-home:hover::before {\n  background-position: 0 calc(var(--sprite-y, 0px) - 40px);",
          ".menu-home:active::before,\n.menu-home.pressed::before {\n"
          "  background-position: 0 calc(var(--sprite-y, 0px) - 80px);",
          ".menu-home:focus-visible {\n  outline: 2px solid",
          ".menu-home:disabled::before,\n.menu-home[aria-disabled=\"true\"]::before {\n"
          "  background-position: 0 var(--sprite-y, 0px);\n  opacity: 0.5;"})
        EXPECT_NE(css.find(part), std::string::npos) << part << "\nin\n" << css;
    EXPECT_EQ(css.find("webp"), std::string::npos);

    sheet.stateCount = 2;
    sheet.maxScale = 1;
    const std::string two = spriteCss(sheet);
    EXPECT_EQ(two.find(":hover"), std::string::npos);
    EXPECT_EQ(two.find("image-set"), std::string::npos);
    EXPECT_NE(two.find(".menu-home:active::before,\n.menu-home.pressed::before {\n"
                       "  background-position: 0 calc(var(--sprite-y, 0px) - 40px);"),
              std::string::npos);

    sheet.buttons[0].caption = "<Tom & \"Jerry\">";
    const std::string page = spritePage(sheet, "menu", "menu.css", 0xFFFFFF, 0x000000);
    EXPECT_NE(page.find("<button type=\"button\" class=\"menu-home\" "
                        "aria-label=\"&lt;Tom &amp; &quot;Jerry&quot;&gt;\"></button>"),
              std::string::npos);
    EXPECT_NE(page.find("<button type=\"button\" class=\"menu-home\" disabled aria-label="),
              std::string::npos);
    EXPECT_EQ(page.find("title="), std::string::npos);
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
                       {nullptr, {}, 2, {}, {}, {}});
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

// Lossless WebP gives back every pixel, colour under full transparency too; lossy WebP
// keeps the alpha channel exactly and the colour close.
TEST(WebExport, WebpRoundTrip) {
    Rgba8Image image(37, 23);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.at(x, y) =
                Rgba8{static_cast<std::uint8_t>(7 * x), static_cast<std::uint8_t>(11 * y),
                      static_cast<std::uint8_t>(x * y),
                      static_cast<std::uint8_t>(x < 5 ? 0 : 255 - 6 * y)};
    EXPECT_EQ(decodeWebp(encodeWebp(image)), image);
    const Rgba8Image lossy = decodeWebp(encodeWebp(image, 85));
    ASSERT_EQ(lossy.width(), image.width());
    double sum = 0;
    for (std::size_t i = 0; i < image.pixels().size(); ++i) {
        const Rgba8 a = image.pixels()[i], b = lossy.pixels()[i];
        EXPECT_EQ(a.a, b.a);
        if (a.a == 255) sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }
    EXPECT_LT(sum / (3.0 * static_cast<double>(image.pixels().size())), 6.0);
    EXPECT_THROW(decodeWebp(bytesOf("RIFF....WEBPVP8 nonsense")), std::runtime_error);
}

// Live text: the state colours, effects, font and placement of the design become CSS.
TEST(Sprite, LiveTextRulesFollowTheTextSettings) {
    SpriteSheet sheet;
    sheet.buttons = {{"menu", "Home", "menu.png"}, {"menu", "About", "menu.png"}};
    sheet.width = 120;
    sheet.height = 40;
    sheet.box = {20, 10, 80, 20};
    sheet.pictureWidth = 120;
    sheet.pictureHeight = 120;
    TextLive text;
    text.fontName = "Comic \"Neue\"";
    text.fontSize = 10;
    text.bold = true;
    text.weight = 700;
    text.x = 6;
    text.colors = {0x0000FF, 0x00FF00, 0xFF0000};
    text.effects = {TextEffect::Normal, TextEffect::Shadow, TextEffect::Bordered};
    text.effectColor = 0x202020;
    text.opacity = 0; // the text alone, nothing of the button through it
    Gray8Image coverage(90, 30);
    sheet.liveText = liveTextStyle(text, coverage, 5, 5, nullptr);
    EXPECT_DOUBLE_EQ(sheet.liveText->centreX, 45 + 6 - 5);
    EXPECT_DOUBLE_EQ(sheet.liveText->centreY, 15 - 5);
    const std::string css = spriteCss(sheet);
    for (const char* part :
         {"font-family: \"Comic \\\"Neue\\\"\", Arial, \"Liberation Sans\", Helvetica, sans-serif;",
          "font-size: 13.04px;", "font-weight: 700;", "color: #ff0000;\n  text-shadow: none;",
          ".menu:hover {\n  color: #00ff00;\n  text-shadow: 2px 2px 0 #202020;",
          ".menu:active,\n.menu.pressed {\n  color: #0000ff;\n  text-shadow: 1px 1px 0 #202020",
          // centre 46 in a box 80 wide: 6 px right of the middle
          "padding: 0 0 0 12px;"})
        EXPECT_NE(css.find(part), std::string::npos) << part << "\nin\n" << css;
    EXPECT_EQ(css.find(".menu,\n.menu"), std::string::npos); // one class, one rule set
    const std::string page = spritePage(sheet, "menu", "menu.css", 0xFFFFFF, 0);
    EXPECT_NE(page.find("<button type=\"button\" class=\"menu\">About</button>"),
              std::string::npos);
}
