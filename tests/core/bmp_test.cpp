#include "image/bmp.h"

#include "support/error_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <utility>

using namespace plakett;

namespace {

void put16(std::vector<std::uint8_t>& v, std::uint32_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// A hand-made BMP file: BITMAPINFOHEADER (or a larger one, zero-filled past 40 bytes
// unless masks are given), then `table` (masks or palette), then `pixels`.
struct BmpBuilder {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bpp = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t infoSize = 40;
    std::vector<std::uint32_t> headerMasks; // written at offset 40 of a V4/V5 header
    std::vector<std::uint8_t> table;
    std::vector<std::uint8_t> pixels;

    std::vector<std::uint8_t> build() const {
        std::vector<std::uint8_t> info;
        for (std::uint32_t v : {infoSize, static_cast<std::uint32_t>(width),
                                static_cast<std::uint32_t>(height), 1u | (bpp << 16u), compression,
                                static_cast<std::uint32_t>(pixels.size()), 0u, 0u, colorsUsed, 0u})
            put32(info, v);
        for (std::uint32_t m : headerMasks)
            put32(info, m);
        info.resize(infoSize, 0);
        const auto offset = static_cast<std::uint32_t>(14 + info.size() + table.size());
        std::vector<std::uint8_t> file{'B', 'M'};
        for (std::uint32_t v : {static_cast<std::uint32_t>(offset + pixels.size()), 0u, offset})
            put32(file, v);
        for (const std::vector<std::uint8_t>* part : {&std::as_const(info), &table, &pixels})
            file.insert(file.end(), part->begin(), part->end());
        return file;
    }
};

std::vector<std::uint8_t> palette(std::initializer_list<Bgr24> colors) {
    std::vector<std::uint8_t> t;
    for (Bgr24 c : colors)
        t.insert(t.end(), {c.b, c.g, c.r, 0});
    return t;
}

Bgr24Image decodeOnly(const std::vector<std::uint8_t>& file) {
    const BmpImage bmp = readBmp(file);
    EXPECT_EQ(bmp.bytesUsed, file.size());
    return bmp.image;
}

using testsupport::errorText;

constexpr Bgr24 kRed{0, 0, 255};
constexpr Bgr24 kGreen{0, 255, 0};
constexpr Bgr24 kBlue{255, 0, 0};
constexpr Bgr24 kWhite{255, 255, 255};
constexpr Bgr24 kBlack{0, 0, 0};

} // namespace

using Pixels = std::vector<Bgr24>; // top row first

TEST(BmpDecode, PalettedFormats) {
    BmpBuilder one; // 3 x 2, bottom-up: file row 0 is the picture's bottom row
    one.width = 3;
    one.height = 2;
    one.bpp = 1;
    one.table = palette({kRed, kWhite});
    one.pixels = {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0};
    EXPECT_EQ(decodeOnly(one.build()).pixels(), (Pixels{kRed, kWhite, kRed, kWhite, kRed, kWhite}));

    BmpBuilder four; // index 7 lies past the 3 colours: black
    four.width = 3;
    four.bpp = 4;
    four.colorsUsed = 3;
    four.table = palette({kRed, kGreen, kBlue});
    four.pixels = {0x21, 0x70, 0, 0};
    EXPECT_EQ(decodeOnly(four.build()).pixels(), (Pixels{kBlue, kGreen, kBlack}));

    BmpBuilder eight; // top-down
    eight.width = 2;
    eight.height = -2;
    eight.bpp = 8;
    eight.colorsUsed = 2;
    eight.table = palette({kGreen, kBlue});
    eight.pixels = {1, 0, 0, 0, 0, 1, 0, 0};
    EXPECT_EQ(decodeOnly(eight.build()).pixels(), (Pixels{kBlue, kGreen, kGreen, kBlue}));

    // OS/2 core header: 16-bit sizes and 3-byte palette entries.
    std::vector<std::uint8_t> core{'B', 'M'};
    for (std::uint32_t v : {14u + 12 + 768 + 4, 0u, 14u + 12 + 768, 12u})
        put32(core, v);
    for (std::uint32_t v : {2u, 1u, 1u, 8u})
        put16(core, v);
    for (int i = 0; i < 256; ++i)
        core.insert(core.end(), {0, 0, static_cast<std::uint8_t>(i)});
    core.insert(core.end(), {7, 200, 0, 0});
    EXPECT_EQ(decodeOnly(core).pixels(), (Pixels{{0, 0, 7}, {0, 0, 200}}));
}

TEST(BmpDecode, DirectColourFormats) {
    BmpBuilder b555; // 16-bit BI_RGB is 5-5-5; 16 of 31 rounds to 132
    b555.width = 3;
    b555.bpp = 16;
    b555.pixels = {0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x00, 0, 0};
    EXPECT_EQ(decodeOnly(b555.build()).pixels(), (Pixels{kWhite, kRed, {132, 0, 0}}));

    BmpBuilder b565; // masks behind the info header; 1 of 63 green rounds to 4
    b565.width = 3;
    b565.bpp = 16;
    b565.compression = 3;
    b565.table = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    b565.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0, 0};
    EXPECT_EQ(decodeOnly(b565.build()).pixels(), (Pixels{kRed, kGreen, {0, 4, 0}}));

    BmpBuilder b32;
    b32.bpp = 32;
    b32.pixels = {10, 20, 30, 99};
    EXPECT_EQ(decodeOnly(b32.build()).pixels(), (Pixels{{10, 20, 30}}));

    BmpBuilder v5; // masks inside a V5 header, bytes in R, G, B, X order
    v5.infoSize = 124;
    v5.bpp = 32;
    v5.compression = 3;
    v5.headerMasks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    v5.pixels = {10, 20, 30, 0};
    EXPECT_EQ(decodeOnly(v5.build()).pixels(), (Pixels{{30, 20, 10}}));

    BmpBuilder b24; // 2 x 2, rows padded to 8 bytes
    b24.width = 2;
    b24.height = 2;
    b24.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    EXPECT_EQ(decodeOnly(b24.build()).pixels(),
              (Pixels{{7, 8, 9}, {10, 11, 12}, {1, 2, 3}, {4, 5, 6}}));
}

TEST(BmpDecode, RunLengthFormats) {
    BmpBuilder rle8; // 4 x 2
    rle8.width = 4;
    rle8.height = 2;
    rle8.bpp = 8;
    rle8.compression = 1;
    rle8.colorsUsed = 3;
    rle8.table = palette({kBlack, kRed, kGreen});
    // bottom row: 3 x index 1, end of line; top row: absolute 2,1,2 (padded); end of bitmap.
    // Pixels never drawn keep index 0.
    rle8.pixels = {3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 1};
    EXPECT_EQ(decodeOnly(rle8.build()).pixels(),
              (Pixels{kGreen, kRed, kGreen, kBlack, kRed, kRed, kRed, kBlack}));

    BmpBuilder rle4; // 8 x 1: run 1,2,1; absolute 2,1,2; delta one right; run of one 2; EOB
    rle4.width = 8;
    rle4.bpp = 4;
    rle4.compression = 2;
    rle4.colorsUsed = 3;
    rle4.table = palette({kBlack, kRed, kGreen});
    rle4.pixels = {3, 0x12, 0, 3, 0x21, 0x20, 0, 2, 1, 0, 1, 0x20, 0, 1};
    EXPECT_EQ(decodeOnly(rle4.build()).pixels(),
              (Pixels{kRed, kGreen, kRed, kGreen, kRed, kGreen, kBlack, kGreen}));

    // A run past the row end, a delta off the picture and no end mark stop quietly.
    rle8.pixels = {255, 2, 0, 2, 200, 200, 3, 1};
    EXPECT_EQ(decodeOnly(rle8.build()).pixels(),
              (Pixels{kBlack, kBlack, kBlack, kBlack, kGreen, kGreen, kGreen, kGreen}));
}

TEST(BmpRoundTrip, WriteReadAndBackToBack) {
    std::mt19937 rng(7);
    for (int w = 1; w <= 5; ++w) {
        Bgr24Image img(w, 3);
        for (auto& p : img.pixels())
            p = Bgr24{static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()),
                      static_cast<std::uint8_t>(rng())};
        const std::vector<std::uint8_t> file = encodeBmp(img);
        const std::size_t stride = (w * 3 + 3) / 4 * 4;
        ASSERT_EQ(file.size(), 54 + stride * 3);
        EXPECT_EQ(file[2] | (file[3] << 8), static_cast<int>(file.size()));
        EXPECT_EQ(file[10], 54);
        EXPECT_EQ(file[14], 40);
        EXPECT_EQ(file[28], 24);
        EXPECT_EQ(file[34] | (file[35] << 8), static_cast<int>(stride * 3));
        // bottom row first
        EXPECT_EQ(file[54], img.at(0, 2).b);
        EXPECT_EQ(decodeOnly(file), img);
    }
    // Two images back to back: each read takes exactly its own bytes.
    Bgr24Image a(2, 1, kRed);
    Bgr24Image b(1, 2, kBlue);
    std::vector<std::uint8_t> both = encodeBmp(a);
    appendBmp(both, b);
    both.push_back(0xEE);
    ByteReader reader(both);
    EXPECT_EQ(readBmp(reader), a);
    EXPECT_EQ(readBmp(reader), b);
    EXPECT_EQ(reader.remaining(), 1u);

    EXPECT_EQ(encodeBmp(Bgr24Image{}).size(), 54u); // an empty picture stays readable
    EXPECT_TRUE(decodeOnly(encodeBmp(Bgr24Image{})).empty());

    const auto path = std::filesystem::temp_directory_path() / "plakett_bmp_test.bmp";
    writeBmpFile(path, b);
    EXPECT_EQ(readBmpFile(path), b);
    std::filesystem::remove(path);
}

TEST(BmpErrors, TruncatedAndDamagedFiles) {
    const std::string readError = "Stream read error";
    const std::string notValid = "Bitmap image is not valid";
    BmpBuilder good;
    good.width = 2;
    good.height = 2;
    good.pixels.assign(16, 0x40);
    const std::vector<std::uint8_t> file = good.build();
    auto cut = [&file](std::size_t n) {
        return std::vector<std::uint8_t>(file.begin(), file.begin() + n);
    };
    auto damaged = [&file](std::size_t at, std::uint8_t v) {
        std::vector<std::uint8_t> f = file;
        f[at] = v;
        return f;
    };
    auto variant = [&good](auto change) {
        BmpBuilder b = good;
        change(b);
        return b.build();
    };
    const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
        {cut(10), readError},
        {cut(file.size() - 1), readError},
        {damaged(0, 'X'), notValid}, // magic
        {damaged(14, 41), notValid}, // header size
        {damaged(28, 7), notValid},  // bits per pixel
        {damaged(30, 4), notValid},  // JPEG compression
        {damaged(10, 20), notValid}, // pixels inside the header
        {damaged(2, 60), notValid},  // the size field cuts the pixels short
        {damaged(2, 10), notValid},  // a size smaller than any header
        {variant([](BmpBuilder& b) { b.width = 100000; }), notValid},
        {variant([](BmpBuilder& b) { b.width = b.height = 20000; }), notValid}, // the area
        {variant([](BmpBuilder& b) { b.width = -2; }), notValid},
        {variant([](BmpBuilder& b) { b.width = 30000; }), readError}, // pixels not there
        {variant([](BmpBuilder& b) { b.bpp = 8, b.compression = 1, b.height = -2; }), notValid},
        {variant([](BmpBuilder& b) {
             b.bpp = 16, b.compression = 3;
             b.table = {0x0F, 0xF0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; // two runs of ones
         }),
         notValid},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(errorText([&] { readBmp(bytes); }), text) << bytes.size();
    EXPECT_EQ(errorText([&] { decodeBmpFile(cut(file.size() - 1)); }), readError);
}

TEST(BmpErrors, MutatedFilesFailCleanly) {
    BmpBuilder pal;
    pal.width = 5;
    pal.height = 3;
    pal.bpp = 8;
    pal.compression = 1;
    pal.table = palette({kRed, kGreen, kBlue});
    pal.pixels = {3, 1, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 1, 1, 4, 2, 0, 1};
    BmpBuilder masks;
    masks.width = 3;
    masks.height = 2;
    masks.bpp = 16;
    masks.compression = 3;
    masks.table = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    masks.pixels.assign(16, 0x5A);
    std::mt19937 rng(99);
    for (const auto& seed : {pal.build(), masks.build(), encodeBmp(Bgr24Image(3, 3, kRed))}) {
        for (int round = 0; round < 3000; ++round) {
            std::vector<std::uint8_t> f = seed;
            for (int k = 0; k < 3; ++k)
                f[rng() % f.size()] = static_cast<std::uint8_t>(rng());
            f.resize(f.size() - rng() % 4);
            try {
                const BmpImage bmp = readBmp(f);
                ASSERT_LE(bmp.bytesUsed, f.size());
            } catch (const StreamReadError&) {
            } catch (const InvalidBitmapError&) {
            }
        }
    }
}
