#include "image/color.h"
#include "image/image.h"
#include "common/matrix.h"

#include <gtest/gtest.h>

using namespace plakett;

TEST(Image, RowsAreBoundsChecked) {
    Bgr24Image img(3, 2, Bgr24{1, 2, 3});
    EXPECT_EQ(img.scanline(1)[2], (Bgr24{1, 2, 3}));
    EXPECT_THROW(img.scanline(2), std::out_of_range);
    EXPECT_THROW(img.at(3, 0), std::out_of_range);
    EXPECT_THROW(Gray8Image(-1, 1), std::invalid_argument);
}

TEST(Color, ByteOrdersAreExplicit) {
    const ColorRef c = 0x00112233; // blue 0x11, green 0x22, red 0x33
    EXPECT_EQ(bgrFromColorRef(c), (Bgr24{0x11, 0x22, 0x33}));
    EXPECT_EQ(xrgbFromColorRef(c), 0x00332211u);
    EXPECT_EQ(bgrFromXrgb(0x00332211u), (Bgr24{0x11, 0x22, 0x33}));
}

TEST(Matrix, CopiesShareCells) {
    Matrix a(4, 3, kOutsideCell);
    Matrix b = a;
    b.at(3, 2) = {7, 8};
    EXPECT_EQ(a.at(3, 2), (IntPoints{7, 8}));
    EXPECT_TRUE(a.sharesCellsWith(b));
    EXPECT_EQ(a.columns(), 4);
    EXPECT_EQ(a.rows(), 3);
}
