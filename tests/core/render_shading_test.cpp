#include "render/mul_table.h"
#include "render/shading.h"

#include <gtest/gtest.h>

using namespace plakett;

namespace {

constexpr Bgr24 kWhite{255, 255, 255};

Bgr24Image lightMapOf(Bgr24 colour) {
    return Bgr24Image(kLightMapSize, kLightMapSize, colour);
}

} // namespace

TEST(RenderShading, OutsideCellsGiveTheBackgroundAndInsideCellsTheLightMap) {
    const Bgr24 back{10, 20, 30};
    const Matrix outside(4, 4, kOutsideCell);
    const Bgr24Image allOut = ShadeBase(outside, lightMapOf({0, 0, 0}), back);
    ASSERT_EQ(allOut.width(), 2);
    ASSERT_EQ(allOut.height(), 2);
    for (const Bgr24& p : allOut.pixels())
        EXPECT_EQ(p, back);

    // One black cell among three white outside ones: (3 * 255 + 0) >> 2.
    Matrix one(2, 2, kOutsideCell);
    one.at(1, 1) = {0, 0};
    EXPECT_EQ(ShadeBase(one, lightMapOf({0, 0, 0}), kWhite).at(0, 0), (Bgr24{191, 191, 191}));

    // The light map is read at row v, column u.
    Bgr24Image light = lightMapOf({0, 0, 0});
    light.at(5, 7) = Bgr24{40, 80, 120}; // column 5, row 7
    light.at(7, 5) = Bgr24{255, 255, 255};
    Matrix cell(2, 2, kOutsideCell);
    cell.at(0, 1) = {5, 7};
    EXPECT_EQ(ShadeBase(cell, light, Bgr24{0, 0, 0}).at(0, 0), (Bgr24{10, 20, 30}));

    // Four distinct samples: the plain sum shifted right by 2, per channel.
    Matrix four(2, 2, IntPoints{0, 0});
    four.at(1, 0) = {1, 0};
    four.at(0, 1) = {2, 0};
    four.at(1, 1) = {3, 0};
    Bgr24Image ramp = lightMapOf({0, 0, 0});
    for (int u = 0; u < 4; ++u)
        ramp.at(u, 0) = Bgr24{static_cast<std::uint8_t>(u), 100, 255};
    EXPECT_EQ(ShadeBase(four, ramp, kWhite).at(0, 0), (Bgr24{1, 100, 255}));
}

TEST(RenderShading, LastColumnAndRowTakeMissingCellsFromTheBackground) {
    const Bgr24Image black = lightMapOf({0, 0, 0});
    // 3 x 3 cells: the largest index 2 is even, so the last base column and row have only
    // one real cell across (and down).
    const Bgr24Image odd = ShadeBase(Matrix(3, 3, IntPoints{0, 0}), black, kWhite);
    ASSERT_EQ(odd.width(), 2);
    ASSERT_EQ(odd.height(), 2);
    EXPECT_EQ(odd.at(0, 0).g, 0);
    EXPECT_EQ(odd.at(1, 0).g, 127); // (0 + 255 + 0 + 255) >> 2
    EXPECT_EQ(odd.at(0, 1).g, 127);
    EXPECT_EQ(odd.at(1, 1).g, 191);
    // 4 x 2 cells: every base pixel has all four cells.
    const Bgr24Image even = ShadeBase(Matrix(4, 2, IntPoints{0, 0}), black, kWhite);
    ASSERT_EQ(even.width(), 2);
    ASSERT_EQ(even.height(), 1);
    EXPECT_EQ(even.at(1, 0), (Bgr24{0, 0, 0}));
}

TEST(RenderShading, RefusesABadLightMapAndShadesNothingForAnEmptyMap) {
    EXPECT_THROW(ShadeBase(Matrix(2, 2, kOutsideCell), Bgr24Image(255, 256), kWhite),
                 std::invalid_argument);
    EXPECT_TRUE(ShadeBase(Matrix(), lightMapOf(kWhite), kWhite).empty());
    // A damaged cell beyond the light map is read clamped, not out of bounds.
    Matrix damaged(2, 2, IntPoints{300, -5});
    EXPECT_NO_THROW(ShadeBase(damaged, lightMapOf(kWhite), kWhite));
}

TEST(RenderMulTable, HoldsTheProductShiftedRight) {
    const MulTable& mul = MulTable::instance();
    EXPECT_EQ(mul(255, 255), 254);
    EXPECT_EQ(mul(0, 200), 0);
    EXPECT_EQ(mul(128, 2), 1);
    EXPECT_EQ(mul(100, 255), 99);
    EXPECT_EQ(mul.row(17)[33], (17 * 33) >> 8);
}
