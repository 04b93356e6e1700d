// The styles and textures shipped in data/ load and work with the renderer.
#include "cli_run.h"

#include "effects/style_file.h"
#include "image/jpeg.h"

#include <gtest/gtest.h>

using namespace plakett;
using namespace plakett::clitest;

TEST(ShippedData, StylesLoadAndEachGivesItsOwnButton) {
    const std::vector<std::string> names = ListStyles(shippedShape("Styles"));
    ASSERT_GE(names.size(), 4u);
    const std::string pill = shippedShape("Buttons/Pill.shp").string();
    TempDir dir;
    ASSERT_EQ(runRender({"--states", "1", pill, (dir / "plain").string()}).exitCode, 0);
    std::vector<std::vector<std::uint8_t>> seen{fileBytes(dir / "plain_off.bmp")};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const fs::path path = styleFilePath(shippedShape("Styles"), name);
        const std::vector<std::uint8_t> bytes = fileBytes(path);
        ASSERT_GT(bytes.size(), kStyleTrailerSize);
        // A picture viewer sees a 32 x 32 JPEG; the trailer follows it.
        const Bgr24Image icon = decodeJpeg(bytes);
        EXPECT_EQ(icon.width(), kStyleThumbnailSize);
        EXPECT_EQ(icon.height(), kStyleThumbnailSize);
        const StyleData style = readStyleFile(path);
        for (const StyleLight& l : style.lights) {
            EXPECT_LE(l.Enabled, 1);
            EXPECT_TRUE(l.PadX >= 0 && l.PadX <= 64 && l.PadY >= 0 && l.PadY <= 64);
            EXPECT_TRUE(l.Radius >= 40 && l.Radius <= 200);
            EXPECT_TRUE(l.Power >= 0 && l.Power <= 100);
        }

        const RunResult r =
            runRender({"--states", "1", "--style", path.string(), pill, (dir / name).string()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::vector<std::uint8_t> img = fileBytes(dir / (name + "_off.bmp"));
        for (const auto& other : seen)
            EXPECT_NE(img, other);
        seen.push_back(std::move(img));
    }
}

// The renderer repeats a texture every width - 1 columns, so the last column repeats the first.
TEST(ShippedData, BackgroundTexturesTileSeamlessly) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(shippedShape("Backgrounds"))) {
        SCOPED_TRACE(entry.path().filename().string());
        ++count;
        const Bgr24Image t = readJpegFile(entry.path());
        ASSERT_GE(t.width(), 16);
        ASSERT_GE(t.height(), 16);
        Bgr24Image first(1, t.height());
        Bgr24Image last(1, t.height());
        for (int y = 0; y < t.height(); ++y) {
            first.at(0, y) = t.at(0, y);
            last.at(0, y) = t.at(t.width() - 1, y);
        }
        EXPECT_LE(maxChannelDifference(first, last), 14); // JPEG keeps them close, not equal
    }
    EXPECT_GE(count, 2);
}
