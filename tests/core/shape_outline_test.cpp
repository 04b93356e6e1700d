#include "shape/compute_points.h"
#include "shape/shape_error.h"
#include "shape/shape_file.h"

#include "shape_test_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <random>

using namespace plakett;

namespace {

// Step 5 of the double-scale outline, word for word, with vector erase.
void removeDuplicatesSlowly(TArrayPoint& a) {
    long i = 0;
    while (i <= static_cast<long>(a.size()) - 1) {
        const long last = static_cast<long>(a.size()) - 1;
        const long j = i == last ? 0 : i + 1;
        if (a[i] == a[j]) {
            a.erase(a.begin() + (i == last ? i : j));
            i = std::max(0L, i - 2);
        }
        ++i;
    }
}

TArrayPoint xs(std::initializer_list<int> values) {
    TArrayPoint out;
    for (int v : values)
        out.push_back({v, 0});
    return out;
}

} // namespace

TEST(ShapeOutline, VectorAngleCases) {
    const double pi = std::numbers::pi;
    EXPECT_EQ(VectorAngle(0, 0), 0.0f);
    EXPECT_EQ(VectorAngle(0, 3), 1.5707964f);
    EXPECT_EQ(VectorAngle(0, -3), 4.712389f);
    EXPECT_EQ(VectorAngle(5, 0), 0.0f);
    EXPECT_EQ(VectorAngle(-120, 0), static_cast<float>(pi));
    // The 0.01 goes onto dx before its absolute value: 3.01 to the right, 2.99 to the left.
    const float right = static_cast<float>(std::atan(4 / 3.01));
    const float left = static_cast<float>(std::atan(4 / 2.99));
    EXPECT_EQ(VectorAngle(3, 4), right);
    EXPECT_EQ(VectorAngle(-3, 4), static_cast<float>(pi - left));
    EXPECT_EQ(VectorAngle(3, -4), static_cast<float>(2 * pi - right));
    EXPECT_EQ(VectorAngle(-3, -4), static_cast<float>(pi + left));
}

TEST(ShapeOutline, LensOfTwoAutoPoints) {
    // Both neighbours are the same point: controls perpendicular, 30 % of 120 away.
    const AutoControlSet c = AutoControls({80, 100}, {200, 100}, {80, 100});
    EXPECT_EQ(c.L1, 36.0f);
    EXPECT_EQ(c.L2, 36.0f);
    EXPECT_EQ(c.d, 1.5707964f);
    EXPECT_EQ(c.InX, 200.0f);
    EXPECT_EQ(c.InY, 136.0f);
    EXPECT_EQ(c.OutX, 200.0f);
    EXPECT_EQ(c.OutY, 64.0f);

    const TArrayPoint outline = ComputeEditorOutline({point(200, 100), point(80, 100)});
    ASSERT_EQ(outline.size(), 2u * (92 + 1) + 1); // 120 px: 60 + 30 + 2 steps each way
    EXPECT_EQ(outline[0], (TPoint{200, 100}));
    EXPECT_EQ(outline[46], (TPoint{140, 73})); // t = 1/2 on the upper arc
    EXPECT_EQ(outline[93 + 46], (TPoint{140, 127}));
    EXPECT_EQ(outline.back(), outline.front());
    for (const TPoint& p : outline) {
        EXPECT_GE(p.Y, 73);
        EXPECT_LE(p.Y, 127);
    }
}

TEST(ShapeOutline, StepCountsAndLayout) {
    EXPECT_EQ(SegmentLength({0, 0}, {6, 8}), 10.0f);
    EXPECT_EQ(EditorSteps(10.0f), 9);
    EXPECT_EQ(DoubleSteps(20.0f), 63);
    EXPECT_EQ(EditorSteps(0.0f), 2);
    EXPECT_EQ(DoubleSteps(0.0f), 3);

    const TArrayPoint outline = ComputeEditorOutline({point(0, 0, ptAngle), point(6, 8, ptAngle)});
    ASSERT_EQ(outline.size(), 21u); // (9 + 1) per segment and the closing copy
    EXPECT_EQ(outline[9], (TPoint{6, 8}));
    EXPECT_EQ(outline[10], (TPoint{6, 8})); // joints are emitted twice
    EXPECT_EQ(outline[20], (TPoint{0, 0}));
}

TEST(ShapeOutline, BezierPointRoundsHalfToEven) {
    const TBezierNode a{0, 0, 0, 0, 0, 0};
    EXPECT_EQ(BezierPoint(a, TBezierNode{5, 0, 5, 0, 5, 0}, 0.5f).X, 2);
    EXPECT_EQ(BezierPoint(a, TBezierNode{7, 0, 7, 0, 7, 0}, 0.5f).X, 4);
}

TEST(ShapeOutline, RenderOutlineOfALine) {
    // Two corners 10 apart: 63 steps each way at double scale, repeats removed, one repeat
    // kept at the very start.
    TArrayPoint expected = xs({0, 0});
    for (int x = 1; x <= 20; ++x)
        expected.push_back({x, 0});
    for (int x = 19; x >= 1; --x)
        expected.push_back({x, 0});
    EXPECT_EQ(ComputeRenderOutline({point(0, 0, ptAngle), point(10, 0, ptAngle)}), expected);
}

TEST(ShapeOutline, DuplicateRemovalMatchesTheLiteralRule) {
    TArrayPoint a = xs({1, 1, 1, 2});
    RemoveRingDuplicates(a);
    EXPECT_EQ(a, xs({1, 1, 2}));
    a = xs({1, 2, 1, 1});
    RemoveRingDuplicates(a);
    EXPECT_EQ(a, xs({1, 2}));
    a = xs({4, 4, 4, 4, 4, 4, 4, 4});
    RemoveRingDuplicates(a);
    EXPECT_EQ(a, xs({4}));

    std::mt19937 rng(11);
    for (int trial = 0; trial < 3000; ++trial) {
        TArrayPoint input(std::uniform_int_distribution<int>(0, 40)(rng));
        for (TPoint& p : input)
            p = {std::uniform_int_distribution<int>(0, 2)(rng), 0};
        TArrayPoint fast = input;
        TArrayPoint slow = input;
        RemoveRingDuplicates(fast);
        removeDuplicatesSlowly(slow);
        ASSERT_EQ(fast, slow) << "trial " << trial;
    }
}

TEST(ShapeOutline, ZeroLengthBezierIsACorner) {
    std::vector<TMoveBox> corner{point(0, 0, ptAngle), point(100, 0, ptAngle), point(50, 80)};
    std::vector<TMoveBox> bezier = corner;
    bezier[1].FPointType = ptBezier;
    bezier[1].FLeftLength = bezier[1].FRightLength = 0.0f;
    bezier[1].FRx = 0.6f;
    bezier[1].FRy = 0.8f;
    EXPECT_EQ(ComputeEditorOutline(bezier), ComputeEditorOutline(corner));
    EXPECT_EQ(ComputeRenderOutline(bezier), ComputeRenderOutline(corner));
}

TEST(ShapeOutline, CornersMakeAPolygon) {
    const std::vector<TMoveBox> square{point(10, 10, ptAngle), point(110, 10, ptAngle),
                                       point(110, 60, ptAngle), point(10, 60, ptAngle)};
    const auto onEdge = [](TPoint p, int lo, int hiX, int hiY) {
        const bool horizontal = (p.Y == lo || p.Y == hiY) && p.X >= lo && p.X <= hiX;
        const bool vertical = (p.X == lo || p.X == hiX) && p.Y >= lo && p.Y <= hiY;
        return horizontal || vertical;
    };
    for (const TPoint& p : ComputeEditorOutline(square))
        EXPECT_TRUE(onEdge(p, 10, 110, 60));
    const TArrayPoint render = ComputeRenderOutline(square);
    for (const TPoint& p : render)
        EXPECT_TRUE(onEdge(p, 20, 220, 120));
    for (std::size_t i = 2; i < render.size(); ++i)
        EXPECT_NE(render[i], render[i - 1]);
    EXPECT_NE(render.back(), render.front());
}

TEST(ShapeOutline, DegenerateRings) {
    EXPECT_TRUE(ComputeEditorOutline({}).empty());
    EXPECT_TRUE(ComputeRenderOutline({}).empty());
    EXPECT_EQ(ComputeEditorOutline({point(3, 4)}), (TArrayPoint{{3, 4}, {3, 4}}));
    EXPECT_EQ(ComputeRenderOutline({point(3, 4)}), (TArrayPoint{{6, 8}}));
    // Coinciding points: three equal samples per segment, one point at double scale.
    EXPECT_EQ(ComputeEditorOutline({point(3, 4), point(3, 4)}), TArrayPoint(7, {3, 4}));
    EXPECT_EQ(ComputeRenderOutline({point(3, 4, ptAngle), point(3, 4)}), (TArrayPoint{{6, 8}}));
}

TEST(ShapeOutline, ComputeNotifiesAtEditorScaleAndRefusesHugeRings) {
    std::vector<TMoveBox> boxes{point(0, 0), point(10, 0)};
    ComputePoints c;
    int notified = 0;
    c.FOnComputed = [&] { ++notified; };
    c.FBoxes = &boxes;
    c.FInput = {{0, 0}, {10, 0}};
    c.Compute();
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(c.FCount, 20);
    EXPECT_EQ(c.FOutline.size(), 21u);
    c.FDoubleRes = 1;
    c.Compute();
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(boxes[1].FPos, (TPoint{10, 0})); // the control points stay as they were

    c.FDoubleRes = 0;
    c.Compute();
    const TArrayPoint before = c.FOutline;
    std::vector<TMoveBox> huge;
    for (int i = 0; i < 400; ++i)
        huge.push_back(point(i % 2 ? 40000 : 0, 0, ptAngle));
    c.FBoxes = &huge;
    c.FInput.clear();
    for (const TMoveBox& b : huge)
        c.FInput.push_back(b.FPos);
    EXPECT_THROW(c.Compute(), ShapeError);
    EXPECT_EQ(c.FOutline, before);
}

namespace {

// Twice the signed area of a closed polygon, screen coordinates (y down).
long long doubleArea(const TArrayPoint& ring) {
    long long sum = 0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i)
        sum += static_cast<long long>(ring[i].X) * ring[i + 1].Y -
               static_cast<long long>(ring[i + 1].X) * ring[i].Y;
    return sum;
}

} // namespace

TEST(ShapeLibraryFiles, ShippedShapesAreButtonSizedAndRunLikeTheDefault) {
    const std::filesystem::path data =
        std::filesystem::path(PLAKETT_TEST_DATA) / ".." / ".." / "data";
    const long long defaultArea =
        doubleArea(ComputeEditorOutline({point(260, 150), point(140, 150)}));
    int count = 0;
    for (const char* folder : {"Buttons", "Other"}) {
        for (const auto& entry : std::filesystem::directory_iterator(data / folder)) {
            if (entry.path().extension() != ".shp") continue;
            std::vector<TMoveBox> points;
            LoadFromFile(entry.path(), points);
            const TArrayPoint outline = ComputeEditorOutline(points);
            int minX = 1 << 30, maxX = -minX, minY = minX, maxY = -minX;
            for (const TPoint& p : outline) {
                minX = std::min(minX, p.X);
                maxX = std::max(maxX, p.X);
                minY = std::min(minY, p.Y);
                maxY = std::max(maxY, p.Y);
            }
            const std::string name = entry.path().filename().string();
            EXPECT_GE(points.size(), 3u) << name;
            EXPECT_GE(std::max(maxX - minX, maxY - minY), 60) << name;
            EXPECT_LE(std::max(maxX - minX, maxY - minY), 200) << name;
            EXPECT_EQ(doubleArea(outline) > 0, defaultArea > 0) << name;
            ++count;
        }
    }
    EXPECT_GE(count, 10);
    EXPECT_TRUE(std::filesystem::exists(data / "Buttons" / "Pill.shp"));
}
