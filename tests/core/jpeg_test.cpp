#include "common/file_write.h"
#include "image/jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

// Flat 8x8-aligned colour blocks survive JPEG almost unchanged away from the block edges.
Bgr24Image blockPicture(int width, int height) {
    const Bgr24 colours[] = {{0, 0, 255}, {0, 200, 0}, {180, 40, 20}, {240, 240, 240}};
    Bgr24Image img(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.at(x, y) = colours[((x / 16) + (y / 16)) % 4];
    return img;
}

int channelDistance(Bgr24 a, Bgr24 b) {
    return std::max({std::abs(a.b - b.b), std::abs(a.g - b.g), std::abs(a.r - b.r)});
}

fs::path scratchDir(const std::string& name) {
    fs::path dir = fs::temp_directory_path() /
                   ("plakett_jpeg_" + name + "_" + std::to_string(std::random_device{}()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string decodeError(const std::vector<std::uint8_t>& bytes, const std::string& name = {}) {
    try {
        decodeJpeg(bytes, name);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

} // namespace

TEST(JpegCodec, RoundTripKeepsSizeAndColours) {
    const Bgr24Image original = blockPicture(48, 32);
    const auto bytes = encodeJpeg(original, 90);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
    EXPECT_EQ(bytes.back(), 0xD9);

    const Bgr24Image decoded = decodeJpeg(bytes);
    ASSERT_EQ(decoded.width(), 48);
    ASSERT_EQ(decoded.height(), 32);
    for (int y = 4; y < 32; y += 16)
        for (int x = 4; x < 48; x += 16)
            EXPECT_LE(channelDistance(decoded.at(x + 4, y + 4), original.at(x + 4, y + 4)), 12)
                << "block at " << x << "," << y;
}

TEST(JpegCodec, QualityIsValidatedAndBaseline) {
    const Bgr24Image img = blockPicture(32, 32);
    EXPECT_THROW(encodeJpeg(img, 29), std::invalid_argument);
    EXPECT_THROW(encodeJpeg(img, 101), std::invalid_argument);
    const auto low = encodeJpeg(img, kMinJpegQuality);
    const auto high = encodeJpeg(img, kMaxJpegQuality);
    EXPECT_LT(low.size(), high.size());
    // Baseline frames carry SOF0, never the progressive SOF2.
    const std::string text(high.begin(), high.end());
    EXPECT_NE(text.find("\xFF\xC0"), std::string::npos);
    EXPECT_EQ(text.find("\xFF\xC2"), std::string::npos);
    EXPECT_THROW(encodeJpeg(Bgr24Image(), 90), std::runtime_error);
}

TEST(JpegCodec, TrailingBytesAfterTheImageAreIgnored) {
    auto bytes = encodeJpeg(blockPicture(32, 32), 90);
    const Bgr24Image plain = decodeJpeg(bytes);
    bytes.insert(bytes.end(), 118, 0xAB);
    EXPECT_EQ(decodeJpeg(bytes), plain);
}

TEST(JpegCodec, TruncatedOrCorruptDataThrowsInsteadOfCrashing) {
    const auto bytes = encodeJpeg(blockPicture(40, 24), 90);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + cut);
        EXPECT_FALSE(decodeError(prefix).empty()) << "prefix of " << cut << " bytes decoded";
    }
    EXPECT_NE(decodeError({bytes.begin(), bytes.end() - 40}).find("Premature end"),
              std::string::npos);
    EXPECT_FALSE(decodeError({'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}).empty());

    // Flipped bytes anywhere: either a picture of the right size or an exception.
    std::srand(7);
    for (int trial = 0; trial < 300; ++trial) {
        auto damaged = bytes;
        for (int k = 0; k < 3; ++k)
            damaged[static_cast<std::size_t>(std::rand()) % damaged.size()] ^=
                static_cast<std::uint8_t>(1 + std::rand() % 255);
        try {
            const Bgr24Image img = decodeJpeg(damaged);
            EXPECT_FALSE(img.empty());
        } catch (const std::runtime_error&) {
        }
    }
}

TEST(JpegCodec, AbsurdDimensionsAreRefusedBeforeDecoding) {
    auto bytes = encodeJpeg(blockPicture(16, 16), 90);
    std::size_t sof = 0;
    for (std::size_t i = 2; i + 8 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) sof = i;
    ASSERT_NE(sof, 0u);
    // height and width follow the segment length and the sample precision
    bytes[sof + 5] = 0xFD;
    bytes[sof + 6] = 0xE8;
    bytes[sof + 7] = 0xFD;
    bytes[sof + 8] = 0xE8;
    EXPECT_NE(decodeError(bytes).find("too large"), std::string::npos);
}

TEST(JpegCodec, GrayscaleAndCmykComeBackAsBgr) {
    const Bgr24Image gray = readJpegFile(fs::path(PLAKETT_TEST_DATA) / "jpeg" / "gray.jpg");
    ASSERT_EQ(gray.width(), 16);
    ASSERT_EQ(gray.height(), 8);
    for (const Bgr24 p : gray.pixels()) {
        EXPECT_EQ(p.b, p.g);
        EXPECT_EQ(p.g, p.r);
    }
    EXPECT_LT(gray.at(0, 0).r, 40); // gradient runs black (top) to white (bottom)
    EXPECT_GT(gray.at(0, 7).r, gray.at(0, 0).r);

    const Bgr24Image cmyk = readJpegFile(fs::path(PLAKETT_TEST_DATA) / "jpeg" / "cmyk.jpg");
    ASSERT_EQ(cmyk.width(), 16);
    EXPECT_LE(channelDistance(cmyk.at(8, 8), Bgr24{0, 0, 255}), 16);
}

TEST(JpegFile, ErrorsNameTheFile) {
    const fs::path dir = scratchDir("errors");
    const fs::path empty = dir / "empty.jpg";
    std::ofstream(empty).close();
    try {
        readJpegFile(empty);
        FAIL() << "an empty file decoded";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(empty.string()), std::string::npos) << e.what();
    }
    EXPECT_THROW(readJpegFile(dir / "missing.jpg"), std::runtime_error);

    const fs::path good = dir / "good.jpg";
    writeJpegFile(good, blockPicture(20, 10), 75);
    EXPECT_EQ(readJpegFile(good).width(), 20);
    // a failed encode leaves the previous file alone
    const auto before = readFileBytes(good);
    EXPECT_THROW(writeJpegFile(good, Bgr24Image(), 75), std::runtime_error);
    EXPECT_EQ(readFileBytes(good), before);
    fs::remove_all(dir);
}
