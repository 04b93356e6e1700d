#include "common/file_write.h"
#include "image/png_writer.h"

#include "support/png_decode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

Rgba8Image readBack(const std::vector<std::uint8_t>& bytes) {
    return testsupport::decodePng(bytes);
}

std::uint32_t bigEndian32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

Rgba8Image translucentPicture() {
    Rgba8Image img(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            img.at(x, y) =
                Rgba8{static_cast<std::uint8_t>(50 * x), static_cast<std::uint8_t>(90 * y), 7,
                      static_cast<std::uint8_t>(x * 60 + y)};
    return img;
}

} // namespace

TEST(PngWriter, RgbaKeepsStraightAlphaExactly) {
    const Rgba8Image original = translucentPicture();
    const auto bytes = encodePng(original);
    ASSERT_GT(bytes.size(), 33u);
    // IHDR: width, height, bit depth 8, colour type 6 (RGBA)
    EXPECT_EQ(bigEndian32(bytes, 16), 5u);
    EXPECT_EQ(bigEndian32(bytes, 20), 3u);
    EXPECT_EQ(bytes[24], 8);
    EXPECT_EQ(bytes[25], 6);
    EXPECT_EQ(readBack(bytes), original);
}

TEST(PngWriter, RgbVariantTakesBgrRowsAndWritesOpaqueRgb) {
    Bgr24Image original(4, 2);
    original.at(0, 0) = Bgr24{255, 0, 0}; // blue
    original.at(3, 1) = Bgr24{10, 20, 30};
    const auto bytes = encodePng(original);
    EXPECT_EQ(bytes[25], 2); // colour type 2 (RGB)
    const Rgba8Image back = readBack(bytes);
    EXPECT_EQ(back.at(0, 0), (Rgba8{0, 0, 255, 255}));
    EXPECT_EQ(back.at(3, 1), (Rgba8{30, 20, 10, 255}));
    EXPECT_EQ(back.at(1, 0), (Rgba8{0, 0, 0, 255}));
}

TEST(PngWriter, FilesAreWrittenAtomicallyAndErrorsNameTheFile) {
    const fs::path dir =
        fs::temp_directory_path() / ("plakett_png_" + std::to_string(std::random_device{}()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path target = dir / "button.png";
    writePngFile(target, translucentPicture());
    const auto written = readFileBytes(target);
    EXPECT_EQ(readBack(written), translucentPicture());

    // an empty picture fails before anything is touched
    EXPECT_THROW(writePngFile(target, Rgba8Image()), std::runtime_error);
    EXPECT_EQ(readFileBytes(target), written);

    const fs::path nowhere = dir / "button.png" / "inside-a-file.png";
    try {
        writePngFile(nowhere, translucentPicture());
        FAIL() << "wrote below a regular file";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(nowhere.string()), std::string::npos) << e.what();
    }
    // only the target is left in the folder: no temporary files behind
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
        ++entries;
    EXPECT_EQ(entries, 1);
    fs::remove_all(dir);
}
