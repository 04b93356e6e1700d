#include "textraster/qt_caption_rasterizer.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace plakett;

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
