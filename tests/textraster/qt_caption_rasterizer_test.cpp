#include "textraster/qt_caption_rasterizer.h"

#include "effects/light_editor.h"
#include "shape/shape_file.h"
#include "web/caption_check.h"
#include "web/web_export.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { m_scope = std::make_unique<GuiApplicationScope>(); }
    void TearDown() override { m_scope.reset(); }

  private:
    std::unique_ptr<GuiApplicationScope> m_scope;
};

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

CaptionFont arial(int cell, int angle = 0) {
    CaptionFont f;
    f.faceName = "Arial";
    f.cellHeight = cell;
    f.angle = angle;
    return f;
}

constexpr CaptionRect kEverywhere{-10000, -10000, 20000, 20000};

// Bounding box of the non-zero coverage, relative to the reference point.
struct Box {
    int left, top, right, bottom; // inclusive
};

Box inkBox(const CaptionCoverage& c) {
    Box box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (int y = 0; y < c.coverage.height(); ++y) {
        for (int x = 0; x < c.coverage.width(); ++x) {
            if (c.coverage.at(x, y) == 0) continue;
            box.left = std::min(box.left, c.left + x);
            box.right = std::max(box.right, c.left + x);
            box.top = std::min(box.top, c.top + y);
            box.bottom = std::max(box.bottom, c.top + y);
        }
    }
    return box;
}

} // namespace

TEST(QtCaption, ApplicationScopeReusesAnExistingApplication) {
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    GuiApplicationScope nested;
    EXPECT_FALSE(nested.createdApplication());
}

TEST(QtCaption, ArialResolvesToAnInstalledFace) {
    const std::string family = QtCaptionRasterizer::resolvedFamily("Arial");
    ASSERT_FALSE(family.empty());
    EXPECT_TRUE(QFontDatabase::families().contains(QString::fromStdString(family))) << family;
}

TEST(QtCaption, MeasuresGrowWithSizeAndTextAndMatchTheCellHeight) {
    QtCaptionRasterizer r;
    int lastWidth = 0;
    for (int cell : {12, 15, 30, 60, 108}) {
        const CaptionExtent e = r.measure("Mouse Off", arial(cell));
        EXPECT_NEAR(e.height, cell, 1 + cell / 30) << cell;
        EXPECT_GT(e.width, lastWidth);
        lastWidth = e.width;
    }
    EXPECT_GT(r.measure("Mouse Off!", arial(30)).width, r.measure("Mouse Off", arial(30)).width);
    CaptionFont bold = arial(30);
    bold.weight = 700;
    EXPECT_GT(r.measure("Mouse Off", bold).width, r.measure("Mouse Off", arial(30)).width);
    EXPECT_EQ(r.measure("", arial(30)).width, 0);
}

TEST(QtCaption, DrawsBelowAndRightOfTheReferencePoint) {
    QtCaptionRasterizer r;
    const CaptionCoverage c = r.rasterize("Hello", arial(30), kEverywhere);
    ASSERT_FALSE(c.coverage.empty());
    const Box box = inkBox(c);
    const int width = r.measure("Hello", arial(30)).width;
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.left, 5);
    EXPECT_GE(box.top, 1); // the cell's internal leading lies above the capitals
    EXPECT_LE(box.top, 10);
    EXPECT_LE(box.bottom, 30);
    EXPECT_NEAR(box.right, width, 5);
    int full = 0, partial = 0;
    for (Gray8 v : c.coverage.pixels()) {
        full += v == 255;
        partial += v > 0 && v < 255;
    }
    EXPECT_GT(full, 0);
    EXPECT_GT(partial, 0); // anti-aliased

    EXPECT_TRUE(r.rasterize("", arial(30), kEverywhere).coverage.empty());
}

TEST(QtCaption, RotatedByNinetyReadsBottomToTop) {
    QtCaptionRasterizer r;
    const Box whole = inkBox(r.rasterize("IWWW", arial(30, 90), kEverywhere));
    const Box first = inkBox(r.rasterize("I", arial(30, 90), kEverywhere));
    // Upright: the text runs up from the reference point, its top towards +x.
    EXPECT_LE(whole.bottom, 0);
    EXPECT_GE(whole.left, 0);
    EXPECT_LE(whole.right, 30);
    EXPECT_GT(whole.bottom - whole.top, whole.right - whole.left);
    // The first letter is at the bottom.
    EXPECT_GE(first.top, whole.bottom - (whole.bottom - whole.top) / 3);
    // Drawing is the same apart from rotation.
    const Box flat = inkBox(r.rasterize("IWWW", arial(30), kEverywhere));
    EXPECT_NEAR(flat.right - flat.left, whole.bottom - whole.top, 2);
}

TEST(QtCaption, ClipLimitsTheDrawnArea) {
    QtCaptionRasterizer r;
    const CaptionCoverage c = r.rasterize("Hello world", arial(60), CaptionRect{10, 5, 30, 20});
    ASSERT_FALSE(c.coverage.empty());
    EXPECT_GE(c.left, 10);
    EXPECT_GE(c.top, 5);
    EXPECT_LE(c.left + c.coverage.width(), 40);
    EXPECT_LE(c.top + c.coverage.height(), 25);
    EXPECT_TRUE(r.rasterize("Hello", arial(30), CaptionRect{500, 500, 10, 10}).coverage.empty());
}

// Characters that no installed font draws are named, each once; the rest are not. The
// caption check names a caption that the image cuts off.
TEST(QtCaption, MissingCharactersAndClippedCaptionsAreNamed) {
    QtCaptionRasterizer r;
    EXPECT_EQ(r.missingCharacters("Caf\xC3\xA9 menu", arial(30)), "");
    // U+10FFFD, a private-use character no font has, twice; U+200D (joiner) is invisible.
    const std::string odd = "\xF4\x8F\xBF\xBD";
    EXPECT_EQ(r.missingCharacters("a" + odd + "\xE2\x80\x8D" + odd + "b", arial(30)), odd);

    TextLive text;
    text.fontSize = 10;
    text.caption = "OK";
    EXPECT_TRUE(captionWarnings(text, 120, 40, &r).empty());
    text.caption = "A much longer caption than fits";
    const std::vector<std::string> clipped = captionWarnings(text, 120, 40, &r);
    ASSERT_EQ(clipped.size(), 1u);
    EXPECT_NE(clipped[0].find("\"A much longer caption than fits\" does not fit"),
              std::string::npos);
    text.caption = "OK" + odd;
    const std::vector<std::string> missing = captionWarnings(text, 120, 40, &r);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_NE(missing[0].find("no installed font draws: \"" + odd + "\""), std::string::npos);
}

// A caption set of scripts that the fonts draw by fallback (Arabic within Latin, CJK) and
// characters none draws: the same bytes on every run, with one thread or several.
TEST(QtCaption, CaptionSetsRenderTheSameBytesWithAnyNumberOfThreads) {
    WebDesign design;
    LoadFromFile(fs::path(PLAKETT_TEST_DATA) / ".." / ".." / "data" / "Buttons" / "Pill.shp",
                 design.points);
    LightEditor editor;
    editor.setRenderMode(true);
    editor.UpdateGradient();
    design.lightMap = editor.CopyLightMap();
    design.settings.text.fontSize = 9;
    // Latin, Arabic alone and within Latin, CJK, Hangul, Cyrillic, Greek, Hebrew, Devanagari,
    // Thai, and a character no font has.
    const std::vector<std::string> captions = {
        "Home",
        "\xD8\xA7\xD9\x84\xD8\xB1\xD8\xA6\xD9\x8A\xD8\xB3\xD9\x8A\xD8\xA9 Home",
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
        "Menu \xD9\x82\xD8\xA7\xD8\xA6\xD9\x85\xD8\xA9 1",
        "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 / \xD0\x9F\xD1\x80\xD0\xB8",
        "\xF4\x8F\xBF\xBD box",
        "Caf\xC3\xA9 \xE2\x82\xAC",
        "\xE4\xB8\xAD\xE6\x96\x87 and \xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A",
        "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD9\x83\xD9\x85",
        "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC",
        "\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA",
        "\xE0\xA4\xB9\xE0\xA4\xBF\xE0\xA4\xA8\xE0\xA5\x8D\xE0\xA4\xA6\xE0\xA5\x80",
        "\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2",
        "Preise \xE4\xBE\xA1\xE6\xA0\xBC",
    };
    WebExportRequest request{"menu.png", 3, ExportFormat::Png, 90, 3, true, false};
    auto render = [&](int threads) {
        WebExportRun run;
        run.threads = threads;
        run.rasterizers = [] { return std::make_unique<QtCaptionRasterizer>(); };
        return buildWebExport(design, request, captions, run);
    };
    const std::vector<FileContent> first = render(1);
    for (int round = 0; round < 4; ++round) {
        const int threads = round % 2 == 0 ? 3 : 1;
        const std::vector<FileContent> again = render(threads);
        ASSERT_EQ(again.size(), first.size());
        for (std::size_t i = 0; i < first.size(); ++i)
            EXPECT_TRUE(again[i].bytes == first[i].bytes)
                << first[i].path << " differs with " << threads << " threads, round " << round;
    }
}
