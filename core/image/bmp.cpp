#include "image/bmp.h"

#include "common/file_write.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

namespace plakett {

namespace {

enum : std::uint32_t {
    kBiRgb = 0,
    kBiRle8 = 1,
    kBiRle4 = 2,
    kBiBitfields = 3,
    kBiAlphaBitfields = 6
};

// The bytes of one image. Running out inside them is a read error when the data ends
// there, and a damaged image when the size field cut the image short.
struct Source {
    std::span<const std::uint8_t> bytes;
    bool endsAtData = true;

    [[noreturn]] void shortOfData() const {
        if (endsAtData) throw StreamReadError();
        throw InvalidBitmapError();
    }
    std::span<const std::uint8_t> at(std::uint64_t offset, std::uint64_t size) const {
        if (offset > bytes.size() || size > bytes.size() - offset) shortOfData();
        return bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
    }
    std::uint32_t u16(std::uint64_t offset) const {
        const auto b = at(offset, 2);
        return b[0] | (b[1] << 8u);
    }
    std::uint32_t u32(std::uint64_t offset) const {
        const auto b = at(offset, 4);
        return b[0] | (b[1] << 8u) | (b[2] << 16u) | (static_cast<std::uint32_t>(b[3]) << 24u);
    }
};

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8u) | (p[2] << 16u) | (static_cast<std::uint32_t>(p[3]) << 24u);
}

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255 with rounding.
struct MaskChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;

    static MaskChannel of(std::uint32_t mask) {
        MaskChannel c;
        if (mask == 0) return c;
        c.mask = mask;
        c.shift = std::countr_zero(mask);
        const std::uint32_t bits = mask >> c.shift;
        if ((bits & (bits + 1)) != 0) throw InvalidBitmapError(); // not one run of ones
        c.max = bits;
        return c;
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (max == 0) return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
    }
};

struct Header {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::uint64_t paletteOffset = 0;
    int paletteEntrySize = 4;
    std::uint64_t paletteCount = 0;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue
    std::uint64_t pixelOffset = 0;
};

bool knownInfoSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

void readInfoHeader(const Source& src, std::uint32_t infoSize, Header& h) {
    const auto info = src.at(14, infoSize);
    const auto width = static_cast<std::int32_t>(le32(&info[4]));
    const auto height = static_cast<std::int32_t>(le32(&info[8]));
    h.bpp = info[14] | (info[15] << 8);
    h.compression = le32(&info[16]);
    const std::uint32_t colorsUsed = le32(&info[32]);
    if (width < 0 || height < -kMaxBmpDimension) throw InvalidBitmapError();
    h.width = width;
    h.topDown = height < 0;
    h.height = h.topDown ? -std::int64_t{height} : height;
    h.paletteOffset = 14 + std::uint64_t{infoSize};
    if (h.bpp <= 8) {
        const std::uint64_t full = std::uint64_t{1} << h.bpp;
        h.paletteCount = colorsUsed == 0 ? full : std::min<std::uint64_t>(colorsUsed, full);
    }
    if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
        if (infoSize >= 52) {
            h.masks = {le32(&info[40]), le32(&info[44]), le32(&info[48])};
        } else {
            const auto m = src.at(h.paletteOffset, 12);
            h.masks = {le32(&m[0]), le32(&m[4]), le32(&m[8])};
            h.paletteOffset += h.compression == kBiAlphaBitfields ? 16 : 12;
        }
    } else if (h.bpp == 16) {
        h.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (h.bpp == 32) {
        h.masks = {0xFF0000, 0xFF00, 0xFF};
    }
}

void readCoreHeader(const Source& src, Header& h) {
    h.width = src.u16(18);
    h.height = src.u16(20);
    h.bpp = static_cast<int>(src.u16(24));
    h.paletteOffset = 26;
    h.paletteEntrySize = 3;
    if (h.bpp <= 8) h.paletteCount = std::uint64_t{1} << h.bpp;
}

Header parseHeader(const Source& src) {
    if (src.at(0, 2)[0] != 'B' || src.at(0, 2)[1] != 'M') throw InvalidBitmapError();
    Header h;
    h.pixelOffset = src.u32(10);
    const std::uint32_t infoSize = src.u32(14);
    if (infoSize == 12)
        readCoreHeader(src, h);
    else if (knownInfoSize(infoSize))
        readInfoHeader(src, infoSize, h);
    else
        throw InvalidBitmapError();

    const bool paletted = h.bpp == 1 || h.bpp == 4 || h.bpp == 8;
    if (!paletted && h.bpp != 16 && h.bpp != 24 && h.bpp != 32) throw InvalidBitmapError();
    switch (h.compression) {
    case kBiRgb:
        break;
    case kBiRle8:
    case kBiRle4:
        if (h.topDown || h.bpp != (h.compression == kBiRle8 ? 8 : 4)) throw InvalidBitmapError();
        break;
    case kBiBitfields:
    case kBiAlphaBitfields:
        if (h.bpp != 16 && h.bpp != 32) throw InvalidBitmapError();
        break;
    default:
        throw InvalidBitmapError();
    }
    if (h.width > kMaxBmpDimension || h.height > kMaxBmpDimension ||
        h.width * h.height > kMaxBmpPixels)
        throw InvalidBitmapError();
    if (h.pixelOffset < h.paletteOffset) throw InvalidBitmapError();
    // Some writers announce more colours than they leave room for before the pixels.
    h.paletteCount = std::min(h.paletteCount, (h.pixelOffset - h.paletteOffset) /
                                                  static_cast<std::uint64_t>(h.paletteEntrySize));
    return h;
}

std::vector<Bgr24> readPalette(const Source& src, const Header& h) {
    std::vector<Bgr24> palette(256, Bgr24{0, 0, 0}); // indices past the table show black
    const auto table = src.at(h.paletteOffset, h.paletteCount * h.paletteEntrySize);
    for (std::size_t i = 0; i < h.paletteCount; ++i) {
        const std::uint8_t* e = &table[i * h.paletteEntrySize];
        palette[i] = Bgr24{e[0], e[1], e[2]};
    }
    return palette;
}

void decodeRows(const Source& src, const Header& h, const std::vector<Bgr24>& palette,
                Bgr24Image& out) {
    if (out.empty()) return;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(h.width) * h.bpp + 31) / 32) * 4;
    const auto pixels = src.at(h.pixelOffset, stride * static_cast<std::uint64_t>(h.height));
    const std::array<MaskChannel, 3> ch{MaskChannel::of(h.masks[0]), MaskChannel::of(h.masks[1]),
                                        MaskChannel::of(h.masks[2])};
    const int w = static_cast<int>(h.width);
    for (int fileRow = 0; fileRow < out.height(); ++fileRow) {
        const std::uint8_t* p = &pixels[fileRow * stride];
        Bgr24* row = out.scanline(h.topDown ? fileRow : out.height() - 1 - fileRow);
        for (int x = 0; x < w; ++x) {
            switch (h.bpp) {
            case 1:
                row[x] = palette[(p[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                row[x] = palette[(p[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                break;
            case 8:
                row[x] = palette[p[x]];
                break;
            case 24:
                row[x] = Bgr24{p[3 * x], p[3 * x + 1], p[3 * x + 2]};
                break;
            case 16: {
                const std::uint32_t v = p[2 * x] | (p[2 * x + 1] << 8u);
                row[x] = Bgr24{ch[2](v), ch[1](v), ch[0](v)};
                break;
            }
            default: {
                const std::uint32_t v = le32(&p[4 * x]);
                row[x] = Bgr24{ch[2](v), ch[1](v), ch[0](v)};
                break;
            }
            }
        }
    }
}

// Run-length data is decoded defensively: pixels outside the picture are dropped and the
// data simply stops where the image's bytes end; undrawn pixels keep colour index 0.
void decodeRle(const Source& src, const Header& h, const std::vector<Bgr24>& palette,
               Bgr24Image& out) {
    if (h.pixelOffset > src.bytes.size()) src.shortOfData();
    const auto data = src.bytes.subspan(static_cast<std::size_t>(h.pixelOffset));
    const bool four = h.compression == kBiRle4;
    const std::int64_t w = h.width;
    const std::int64_t ht = h.height;
    std::vector<std::uint8_t> index(static_cast<std::size_t>(w * ht), 0);
    std::int64_t x = 0;
    std::int64_t y = 0; // from the bottom row
    auto put = [&](std::uint8_t v) {
        if (x < w && y < ht) index[static_cast<std::size_t>(y * w + x)] = v;
        ++x;
    };
    std::size_t i = 0;
    while (i + 1 < data.size() && y < ht) {
        const std::uint8_t count = data[i];
        const std::uint8_t value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(four ? static_cast<std::uint8_t>((k & 1) ? value & 15 : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (i + 1 >= data.size()) break;
            x += data[i];
            y += data[i + 1];
            i += 2;
        } else {
            const std::size_t used = four ? (value + 1u) / 2u : value;
            if (used > data.size() - i) break;
            for (int k = 0; k < value; ++k) {
                const std::uint8_t b = data[i + (four ? k / 2 : k)];
                put(four ? static_cast<std::uint8_t>((k & 1) ? b & 15 : b >> 4) : b);
            }
            i += used + (used & 1);
        }
    }
    for (std::int64_t row = 0; row < ht; ++row) {
        Bgr24* line = out.scanline(static_cast<int>(ht - 1 - row));
        for (std::int64_t col = 0; col < w; ++col)
            line[col] = palette[index[static_cast<std::size_t>(row * w + col)]];
    }
}

Bgr24Image decode(const Source& src) {
    const Header h = parseHeader(src);
    const std::vector<Bgr24> palette =
        h.bpp <= 8 ? readPalette(src, h) : std::vector<Bgr24>(256, Bgr24{});
    Bgr24Image out(static_cast<int>(h.width), static_cast<int>(h.height));
    if (h.compression == kBiRle8 || h.compression == kBiRle4)
        decodeRle(src, h, palette, out);
    else
        decodeRows(src, h, palette, out);
    return out;
}

} // namespace

BmpImage readBmp(std::span<const std::uint8_t> data) {
    if (data.size() < 14) throw StreamReadError();
    if (data[0] != 'B' || data[1] != 'M') throw InvalidBitmapError();
    const std::uint32_t total = le32(&data[2]);
    if (total < 14 + 12) throw InvalidBitmapError();
    if (total > data.size()) throw StreamReadError();
    const Source src{data.first(total), total == data.size()};
    return BmpImage{decode(src), total};
}

Bgr24Image readBmp(ByteReader& reader) {
    BmpImage bmp = readBmp(reader.rest());
    reader.skip(bmp.bytesUsed);
    return std::move(bmp.image);
}

Bgr24Image decodeBmpFile(std::span<const std::uint8_t> file) {
    if (file.size() < 14) throw StreamReadError();
    return decode(Source{file, true});
}

Bgr24Image readBmpFile(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = readFileBytes(path);
    try {
        return decodeBmpFile(bytes);
    } catch (const InvalidBitmapError&) {
        throw InvalidBitmapError("in " + quotedPath(path));
    } catch (const StreamReadError&) {
        throw StreamReadError("in " + quotedPath(path));
    }
}

void appendBmp(std::vector<std::uint8_t>& out, const Bgr24Image& image) {
    const std::uint64_t stride = (static_cast<std::uint64_t>(image.width()) * 3 + 3) & ~3ull;
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(image.height());
    if (pixelBytes + 54 > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("picture too large for a BMP file");
    out.reserve(out.size() + 54 + pixelBytes);
    ByteWriter w(out);
    w.u8('B');
    w.u8('M');
    w.u32(static_cast<std::uint32_t>(54 + pixelBytes));
    w.u16(0);
    w.u16(0);
    w.u32(54);
    w.u32(40);
    w.i32(image.width());
    w.i32(image.height());
    w.u16(1);
    w.u16(24);
    w.u32(kBiRgb);
    w.u32(static_cast<std::uint32_t>(pixelBytes));
    w.i32(0);
    w.i32(0);
    w.u32(0);
    w.u32(0);
    const std::size_t padding = static_cast<std::size_t>(stride) - 3 * image.width();
    for (int y = image.height() - 1; y >= 0; --y) {
        const Bgr24* row = image.scanline(y);
        for (int x = 0; x < image.width(); ++x) {
            w.u8(row[x].b);
            w.u8(row[x].g);
            w.u8(row[x].r);
        }
        for (std::size_t k = 0; k < padding; ++k)
            w.u8(0);
    }
}

std::vector<std::uint8_t> encodeBmp(const Bgr24Image& image) {
    std::vector<std::uint8_t> out;
    appendBmp(out, image);
    return out;
}

void writeBmpFile(const std::filesystem::path& path, const Bgr24Image& image) {
    writeFileAtomically(path, encodeBmp(image));
}

} // namespace plakett
