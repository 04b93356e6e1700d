// The optimised shape field against the plain reference, bit for bit, on many outlines.
#include "reference/field_shapes.h"
#include "reference/shape_field_reference.h"
#include "field/field_nearest_sample.h"
#include "field/field_passes.h"
#include "field/field_smooth_kernels.h"
#include "field/polygon_mask.h"
#include "field/shape_field.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

using namespace plakett;

namespace {

struct Run {
    Gray8Image mask;
    Matrix map;
    Gray8Image coverage;
    std::vector<int> progress;
    int ends = 0;
};

// Every step of entering render mode, with a cancel once progress reaches cancelAt.
template <class Computer, class Smooth, class Cover, class Targets>
Run runSteps(const PointsArray& outline, int cancelAt, Targets targets, Smooth smooth,
             Cover cover) {
    Run run;
    std::atomic<bool> cancel{false};
    FieldControl control;
    control.cancelRequested = &cancel;
    control.onProgress = [&](int p) {
        run.progress.push_back(p);
        if (p >= cancelAt) cancel = true;
    };
    Computer c;
    c.FOnComputeEnd = [&] { ++run.ends; };
    c.Prepare(outline);
    run.mask = c.FMask;
    c.SetTargets(targets(outline));
    c.Compute(control);
    run.progress.push_back(c.FProgress);
    smooth(c.FCurrentMap, 18);
    run.map = c.FCurrentMap;
    run.coverage = cover(run.map);
    return run;
}

void expectSameField(const PointsArray& outline, int cancelAt = 1000) {
    SCOPED_TRACE(testing::Message() << "outline of " << outline.size() << " points, first ("
                                    << (outline.empty() ? 0 : outline[0].x) << ", "
                                    << (outline.empty() ? 0 : outline[0].y) << ")");
    EXPECT_EQ(ComputeRimTargets(outline), reference::ComputeRimTargets(outline));
    const Run fast = runSteps<MatrixComputer>(
        outline, cancelAt, [](const PointsArray& o) { return ComputeRimTargets(o); },
        [](Matrix& m, int p) { SmoothMap(m, p); },
        [](const Matrix& m) { return BuildCoverage(m); });
    const Run slow = runSteps<reference::MatrixComputer>(
        outline, cancelAt, [](const PointsArray& o) { return reference::ComputeRimTargets(o); },
        [](Matrix& m, int p) { reference::SmoothMap(m, p); },
        [](const Matrix& m) { return reference::BuildCoverage(m); });
    // The one-call road smooths in one sweep and skips smoothing an empty or cancelled map.
    std::atomic<bool> cancel{false};
    FieldControl control;
    control.cancelRequested = &cancel;
    control.onProgress = [&](int p) { cancel = cancel || p >= cancelAt; };
    const ShapeField whole = ComputeShapeField(outline, control);
    EXPECT_TRUE(whole.map.sameCells(slow.map));
    EXPECT_TRUE(whole.coverage == slow.coverage);
    EXPECT_TRUE(fast.mask == slow.mask);
    EXPECT_TRUE(fast.map.sameCells(slow.map));
    EXPECT_TRUE(fast.coverage == slow.coverage);
    EXPECT_EQ(fast.progress, slow.progress);
    EXPECT_EQ(fast.ends, slow.ends);
}

} // namespace

TEST(FieldEquivalence, ManySmallOutlines) {
    for (const PointsArray& outline : testshapes::generatedOutlines(11, 400, 40))
        expectSameField(outline);
}

TEST(FieldEquivalence, MediumOutlines) {
    for (const PointsArray& outline : testshapes::generatedOutlines(23, 48, 120))
        expectSameField(outline);
}

TEST(FieldEquivalence, OutlinesLargeEnoughForThreads) {
    using namespace testshapes;
    expectSameField(roundedRectangle(260, 140, 70));
    expectSameField(lineChain(ellipseVertices(0, 0, 120, 90, 90, 0.3)));
    expectSameField(lineChain(starVertices(0, 0, 130, 50, 7)));
    expectSameField(lineChain({{0, 0}, {220, 170}, {220, 0}, {0, 170}})); // bow tie
    expectSameField(roundedRectangle(400, 9, 4));                         // thin pill
}

// Outlines with more samples than 16 bits can number keep them in 32 bits; the passes must
// give the same map either way.
TEST(FieldEquivalence, WideSampleNumbersGiveTheSameMap) {
    using namespace testshapes;
    for (const PointsArray& outline :
         {roundedRectangle(260, 140, 70), lineChain(starVertices(0, 0, 90, 40, 5)),
          lineChain({{0, 0}, {150, 110}, {150, 0}, {0, 110}})}) {
        Matrix maps[2];
        for (std::size_t limit : {std::size_t{0xFFFE}, std::size_t{0}}) {
            MatrixComputer c;
            c.Prepare(outline);
            c.SetTargets(ComputeRimTargets(outline));
            for (std::size_t k = 0; k < c.FOutline.size(); ++k)
                c.FCurrentMap.at(c.FOutline[k].x, c.FOutline[k].y) = c.FTargets[k];
            int progress = 0;
            const FieldControl control;
            RowReporter reporter(progress, control);
            FieldPasses passes(c.FMask, c.FOutline, c.FTargets, c.FCurrentMap, limit);
            ASSERT_TRUE(passes.interpolationPass(reporter) && passes.distancePass(reporter) &&
                        passes.anglePass(reporter));
            maps[limit == 0] = c.FCurrentMap;
        }
        EXPECT_TRUE(maps[0].sameCells(maps[1])) << outline.size() << " outline points";
        EXPECT_FALSE(maps[0].sharesCellsWith(maps[1]));
    }
}

TEST(FieldEquivalence, CancelAtTheSameRow) {
    const PointsArray outline = testshapes::roundedRectangle(230, 160, 40);
    for (int cancelAt : {0, 17, 50, 63, 75, 99, 100})
        expectSameField(outline, cancelAt);
}

TEST(FieldEquivalence, SmoothingOfArbitraryMaps) {
    // Values across every branch: outside, zero components, out of range, negative (and
    // negative sums, which truncate towards zero); sizes around the 4 x 4, 8 x 8 and 16 x 16
    // tiles and 8- and 16-column groups; one map holds values too large for packed cells,
    // two have negative components only in outside cells, as fields do. Every width of
    // kernels the processor has.
    struct Case {
        int columns, rows, largest;
        bool outsideOnlyNegative = false; // as in fields: negative cells are (-1, -1)
    };
    for (const int width : {16, 8, 4}) {
        smoothkernels::setKernelWidth(width);
        testshapes::Lcg rng(5);
        for (const Case& c : {Case{7, 5, 300},
                              {26, 19, 300},
                              {35, 18, 300},
                              {10, 17, 300},
                              {40, 33, 300},
                              {300, 170, 300},
                              {2, 9, 300},
                              {190, 2, 300},
                              {13, 6, 300},
                              {9, 7, 300},
                              {17, 10, 300},
                              {21, 11, 300},
                              {12, 3, 300},
                              {18, 34, 300},
                              {49, 51, 300},
                              {50, 40, 1000000},
                              {45, 37, 3}, // negative sums are common
                              {67, 50, 300, true},
                              {40, 33, 300, true}}) {
            Matrix fast(c.columns, c.rows, kOutsideCell);
            for (int x = 0; x < c.columns; ++x)
                for (int y = 0; y < c.rows; ++y)
                    if (rng.uniform(0, 5) > 0)
                        fast.at(x, y) = c.outsideOnlyNegative
                                            ? IntPoints{rng.uniform(0, c.largest), rng.uniform(0, c.largest)}
                                            : IntPoints{rng.uniform(-2, c.largest), rng.uniform(-2, c.largest)};
            Matrix slow(c.columns, c.rows, {});
            for (int x = 0; x < c.columns; ++x)
                for (int y = 0; y < c.rows; ++y)
                    slow.at(x, y) = fast.at(x, y);
            for (int passes : {0, 1, 2, 7}) {
                SmoothMap(fast, passes);
                reference::SmoothMap(slow, passes);
                EXPECT_TRUE(fast.sameCells(slow)) << c.columns << "x" << c.rows << " " << passes;
            }
            SmoothMapTwice(fast, 3, 4);
            reference::SmoothMap(slow, 3);
            reference::SmoothMap(slow, 4);
            EXPECT_TRUE(fast.sameCells(slow)) << c.columns << "x" << c.rows << " twice";
            EXPECT_TRUE(BuildCoverage(fast) == reference::BuildCoverage(slow));
        }
    }
    smoothkernels::setKernelWidth(16);
}

TEST(FieldEquivalence, NearestSamplesMatchTheScan) {
    // Far away, 5000^2 and 5000^2 + 1 are the same float32: the later sample wins although
    // it is farther. One column on, 4999^2 rounds apart from 4999^2 + 1.
    const NearestSamples far({{5000, 0}, {5000, 1}}, 5001, 2);
    auto scratch = far.makeScratch();
    std::vector<std::uint8_t> mask(5001, kMaskInside);
    std::vector<std::int32_t> nearest(5001);
    far.row(0, scratch, mask.data(), nearest.data());
    EXPECT_EQ(nearest[0], 1);
    EXPECT_EQ(nearest[1], 0);
    for (int x = 0; x < 5001; x += 7)
        EXPECT_EQ(nearest[x], far.scan(x, 0)) << x;

    // Near ties are exact: (0, 0) is 5 from (3, 4), (5, 0), (0, 5) and (3, 4) again; the
    // last of them, index 3, wins.
    const NearestSamples near({{3, 4}, {5, 0}, {0, 5}, {3, 4}, {9, 9}}, 10, 10);
    auto nearScratch = near.makeScratch();
    for (int y = 0; y < 10; ++y) {
        near.row(y, nearScratch, mask.data(), nearest.data());
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(nearest[x], near.scan(x, y)) << x << "," << y;
    }
    auto fresh = near.makeScratch();
    near.row(0, fresh, mask.data(), nearest.data());
    EXPECT_EQ(nearest[0], 3);

    // Many samples on a wide raster: the envelope's exact products need more than 64 bits.
    testshapes::Lcg rng(17);
    PointsArray many;
    for (int k = 0; k < 1500; ++k)
        many.push_back({rng.uniform(0, 2999), rng.uniform(0, 59)});
    const NearestSamples wide(many, 3000, 60);
    auto wideScratch = wide.makeScratch();
    std::vector<std::uint8_t> wideMask(3000, kMaskInside);
    std::vector<std::int32_t> wideNearest(3000);
    for (int y = 0; y < 60; y += 7) {
        wide.row(y, wideScratch, wideMask.data(), wideNearest.data());
        for (int x = 0; x < 3000; x += 3)
            ASSERT_EQ(wideNearest[x], wide.scan(x, y)) << x << "," << y;
    }
}
