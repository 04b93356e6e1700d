#include "common/file_write.h"
#include "effects/style_file.h"
#include "image/jpeg.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#if defined(__unix__)
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace plakett;
namespace fs = std::filesystem;

namespace {

std::uint32_t le32(const StyleTrailer& t, std::size_t at) {
    return std::uint32_t{t[at]} | (std::uint32_t{t[at + 1]} << 8) |
           (std::uint32_t{t[at + 2]} << 16) | (std::uint32_t{t[at + 3]} << 24);
}

// Every cell different, and Radius/Power unlike MapRadius/MapPower, so swaps show.
TGradientBox distinctLights() {
    TGradientBox set;
    for (int i = 0; i < 4; ++i) {
        TLightRec& l = set.FLights[static_cast<std::size_t>(i)];
        l.Enabled = static_cast<std::uint8_t>(i % 2);
        l.PadX = 10 + i;
        l.PadY = i == 3 ? -5 : 20 + i;
        l.Color = 0x00102030u + static_cast<ColorRef>(i);
        l.Radius = 40 + i;
        l.MapRadius = 140 + i;
        l.Power = 7 + i;
        l.MapPower = 70 + i;
    }
    return set;
}

Bgr24Image normalStateImage() {
    Bgr24Image img(80, 60, Bgr24{200, 210, 220});
    for (int y = 20; y < 40; ++y)
        for (int x = 25; x < 55; ++x)
            img.at(x, y) = Bgr24{0, 120, 0};
    return img;
}

fs::path scratchDir(const std::string& name) {
    fs::path dir = fs::temp_directory_path() /
                   ("plakett_style_" + name + "_" + std::to_string(std::random_device{}()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string loadError(const fs::path& path) {
    try {
        readStyleFile(path);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

} // namespace

TEST(StyleTrailer, BytesSitAtTheirOffsets) {
    const StyleTrailer t = encodeStyleTrailer(distinctLights(), 0x00ABCDEFu, "Arial");
    EXPECT_EQ(le32(t, 0), 0x00ABCDEFu);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t at = 4 + 21 * i;
        SCOPED_TRACE(i);
        EXPECT_EQ(t[at], i % 2);
        EXPECT_EQ(le32(t, at + 1), i == 3 ? 13u : 10 + i);
        EXPECT_EQ(le32(t, at + 5), i == 3 ? 0xFFFFFFFBu : 20 + i);
        EXPECT_EQ(le32(t, at + 9), 0x00102030u + i);
        EXPECT_EQ(le32(t, at + 13), 140 + i); // MapRadius, not Radius
        EXPECT_EQ(le32(t, at + 17), 70 + i);  // MapPower, not Power
    }
    EXPECT_EQ(t[88], 5);
    EXPECT_EQ(std::string(t.begin() + 89, t.begin() + 94), "Arial");
    for (std::size_t k = 94; k < kStyleTrailerSize; ++k)
        EXPECT_EQ(t[k], 0) << k;
}

TEST(StyleTrailer, LongFontNamesKeepLengthUpTo35ButOnly29Characters) {
    const std::string name40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    StyleTrailer t = encodeStyleTrailer(TGradientBox{}, 0, name40);
    EXPECT_EQ(t[88], 35);
    EXPECT_EQ(std::string(t.begin() + 89, t.end()), name40.substr(0, 29));

    t = encodeStyleTrailer(TGradientBox{}, 0, name40.substr(0, 32));
    EXPECT_EQ(t[88], 32);
    EXPECT_EQ(std::string(t.begin() + 89, t.end()), name40.substr(0, 29));

    t = encodeStyleTrailer(TGradientBox{}, 0, "");
    for (std::size_t k = 88; k < kStyleTrailerSize; ++k)
        EXPECT_EQ(t[k], 0);
}

TEST(StyleTrailer, DecodingGivesMapRadiusAndMapPowerBack) {
    const TGradientBox set = distinctLights();
    const StyleData style = decodeStyleTrailer(encodeStyleTrailer(set, 0x123456u, "Verdana"));
    EXPECT_EQ(style.buttonColor, 0x123456u);
    for (std::size_t i = 0; i < 4; ++i) {
        const TLightRec& l = set.FLights[i];
        EXPECT_EQ(style.lights[i],
                  (StyleLight{l.Enabled, l.PadX, l.PadY, l.Color, l.MapRadius, l.MapPower}));
    }
}

TEST(StyleThumbnailDrawing, CentresTheImageAndCutsTheRest) {
    Bgr24Image small(4, 2, Bgr24{1, 2, 3});
    small.at(0, 0) = Bgr24{9, 9, 9};
    const Bgr24Image thumb = StyleThumbnail(small);
    ASSERT_EQ(thumb.width(), 32);
    ASSERT_EQ(thumb.height(), 32);
    // drawn at (15 - 4 div 2, 15 - 2 div 2) = (13, 14); the corner pixel fills the rest
    EXPECT_EQ(thumb.at(13, 14), (Bgr24{9, 9, 9}));
    EXPECT_EQ(thumb.at(16, 15), (Bgr24{1, 2, 3}));
    EXPECT_EQ(thumb.at(17, 15), (Bgr24{9, 9, 9}));
    EXPECT_EQ(thumb.at(0, 0), (Bgr24{9, 9, 9}));

    Bgr24Image big(101, 61);
    for (int y = 0; y < 61; ++y)
        for (int x = 0; x < 101; ++x)
            big.at(x, y) = Bgr24{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0};
    const Bgr24Image cut = StyleThumbnail(big);
    // origin (15 - 50, 15 - 30) = (-35, -15)
    EXPECT_EQ(cut.at(0, 0), (Bgr24{35, 15, 0}));
    EXPECT_EQ(cut.at(31, 31), (Bgr24{66, 46, 0}));

    EXPECT_EQ(StyleThumbnail(Bgr24Image()).at(5, 5), (Bgr24{255, 255, 255}));
}

TEST(StyleFile, WriteThenReadRoundTrips) {
    const fs::path dir = scratchDir("roundtrip");
    const fs::path path = styleFilePath(dir, "Green.Glass");
    EXPECT_EQ(path, dir / "Green.Glass.jpgs");
    const Bgr24Image normal = normalStateImage();
    writeStyleFile(path, distinctLights(), 0x00336699u, normal, "Liberation Sans");

    const auto bytes = readFileBytes(path);
    const auto jpeg = encodeJpeg(StyleThumbnail(normal), 90);
    ASSERT_EQ(bytes.size(), jpeg.size() + kStyleTrailerSize);
    EXPECT_TRUE(std::equal(jpeg.begin(), jpeg.end(), bytes.begin()));

    const Bgr24Image picture = decodeJpeg(bytes);
    EXPECT_EQ(picture.width(), 32);
    EXPECT_EQ(picture.height(), 32);
    EXPECT_EQ(readStyleIcon(path), picture);

    const StyleData style = readStyleFile(path);
    EXPECT_EQ(style, decodeStyleTrailer(encodeStyleTrailer(distinctLights(), 0x00336699u, "")));
    fs::remove_all(dir);
}

TEST(StyleFile, ShortMissingOrFolderFilesAreRefusedNamingTheFile) {
    const fs::path dir = scratchDir("short");
    const fs::path path = dir / "Short.jpgs";
    for (std::size_t size : {0, 1, 60, 117}) {
        std::ofstream(path, std::ios::binary) << std::string(size, '\x01');
        const std::string error = loadError(path);
        EXPECT_NE(error.find(path.string()), std::string::npos) << size << ": " << error;
    }
    std::ofstream(path, std::ios::binary) << std::string(118, '\0');
    EXPECT_EQ(readStyleFile(path).lights[2].PadX, 0);

    EXPECT_NE(loadError(dir / "Missing.jpgs").find("Missing.jpgs"), std::string::npos);
    EXPECT_FALSE(loadError(dir).empty());
    EXPECT_THROW(readStyleIcon(dir / "Missing.jpgs"), std::runtime_error);
    fs::remove_all(dir);
}

TEST(StyleFile, NamesThatWouldLeaveTheFolderAreRefused) {
    for (const char* bad : {"", ".", "..", "../Escape", "sub/dir", "back\\slash"})
        EXPECT_THROW(styleFilePath("Styles", bad), std::runtime_error) << bad;
    EXPECT_EQ(styleFilePath("Styles", "Old.Style"), fs::path("Styles") / "Old.Style.jpgs");
}

TEST(StyleFile, FailedSaveKeepsThePreviousFile) {
    const fs::path dir = scratchDir("failsave");
    const fs::path path = dir / "Keep.jpgs";
    writeStyleFile(path, TGradientBox{}, 0x111111u, normalStateImage(), "Arial");
    const auto before = readFileBytes(path);

    const fs::path missing = dir / "NoSuchFolder" / "X.jpgs";
    try {
        writeStyleFile(missing, TGradientBox{}, 0, normalStateImage(), "Arial");
        FAIL() << "saved into a missing folder";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(missing.string()), std::string::npos) << e.what();
    }

#if defined(__unix__)
    // A file-size limit makes the write fail half-way, even for root.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit tight = old;
    tight.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    EXPECT_THROW(writeStyleFile(path, distinctLights(), 0x222222u, normalStateImage(), "Arial"),
                 std::runtime_error);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    EXPECT_EQ(readFileBytes(path), before);

    // A read-only folder (not read-only for root, who skips this half).
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir.c_str(), W_OK) != 0) {
        EXPECT_THROW(writeStyleFile(path, distinctLights(), 0x222222u, normalStateImage(), "A"),
                     std::runtime_error);
        EXPECT_EQ(readFileBytes(path), before);
    }
    fs::permissions(dir, fs::perms::owner_all);
#endif
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
        ++entries;
    EXPECT_EQ(entries, 1) << "temporary files left behind";
    fs::remove_all(dir);
}

TEST(StyleListing, StripsOnlyTheFinalExtensionAndSortsByName) {
    const fs::path dir = scratchDir("listing");
    for (const char* file :
         {"Old.Style.jpgs", "Beta.jpgs", "alpha.jpgs", "notes.txt", "Upper.JPGS", ".jpgs"})
        std::ofstream(dir / file) << "x";
    fs::create_directories(dir / "Folder.jpgs");
    EXPECT_EQ(ListStyles(dir), (std::vector<std::string>{"Beta", "Old.Style", "alpha"}));
    EXPECT_TRUE(ListStyles(dir / "absent").empty());
    fs::remove_all(dir);
}

TEST(StyleListing, ShippedSampleLoads) {
    const fs::path folder = fs::path(PLAKETT_TEST_DATA) / "styles";
    const auto names = ListStyles(folder);
    ASSERT_EQ(names, (std::vector<std::string>{"Old.Style"}));
    const StyleData style = readStyleFile(styleFilePath(folder, names[0]));
    EXPECT_EQ(style.buttonColor, 0x00336699u);
    EXPECT_EQ(style.lights[1].Radius, 141);
    EXPECT_EQ(readStyleIcon(styleFilePath(folder, names[0])).width(), 32);
}
