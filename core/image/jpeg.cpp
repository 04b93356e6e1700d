#include "image/jpeg.h"

#include "common/file_write.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
// jerror.h turns the message table into the J_MESSAGE_CODE enumeration.
#include <jerror.h>

namespace plakett {

namespace {

// The codec reports errors through error_exit, which must not return. We longjmp back to the
// codec call inside a function that holds only trivial locals, and throw once we are out of
// the codec's C frames.
struct CodecErrors {
    jpeg_error_mgr mgr; // first member: the codec only sees this part
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    char warning[JMSG_LENGTH_MAX];
    bool dataEndedEarly;
};

extern "C" {

static void onCodecError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<CodecErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

// Warnings are corrupt-data notes; the codec recovers from all but one of them. Running out
// of data makes it invent an end-of-image marker and pad the picture with grey, which we
// treat as an error (see dataEndedEarly) rather than hand out a half-grey picture.
static void onCodecMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return; // trace output
    auto* errors = reinterpret_cast<CodecErrors*>(cinfo->err);
    if (cinfo->err->msg_code == JWRN_JPEG_EOF && !errors->dataEndedEarly) {
        errors->dataEndedEarly = true;
        (*cinfo->err->format_message)(cinfo, errors->warning);
    }
    cinfo->err->num_warnings++;
}

static void onCodecOutput(j_common_ptr) {}

} // extern "C"

void installErrors(CodecErrors& errors) {
    std::memset(&errors, 0, sizeof errors);
    jpeg_std_error(&errors.mgr);
    errors.mgr.error_exit = onCodecError;
    errors.mgr.emit_message = onCodecMessage;
    errors.mgr.output_message = onCodecOutput;
}

// ---- decoding ----

struct Decoder {
    jpeg_decompress_struct cinfo;
    CodecErrors errors;
    bool created = false;

    Decoder() {
        std::memset(&cinfo, 0, sizeof cinfo);
        installErrors(errors);
        cinfo.err = &errors.mgr;
    }
    ~Decoder() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

bool readHeader(Decoder* dec, const unsigned char* data, unsigned long size) {
    if (setjmp(dec->errors.jump)) return false;
    jpeg_create_decompress(&dec->cinfo);
    dec->created = true;
    jpeg_mem_src(&dec->cinfo, data, size);
    jpeg_read_header(&dec->cinfo, TRUE);
    return true;
}

void cmykToBgr(const unsigned char* cmyk, unsigned char* bgr, unsigned width, bool inverted) {
    for (unsigned x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int ch = 0; ch < 3; ++ch) {
            unsigned v = inverted ? cmyk[ch] : 255u - cmyk[ch];
            bgr[2 - ch] = static_cast<unsigned char>((v * k + 127) / 255);
        }
    }
}

// `pixels` holds width * height BGR triples; `cmykRow` width * 4 bytes when the picture is CMYK.
bool decodeRows(Decoder* dec, unsigned char* pixels, unsigned char* cmykRow) {
    if (setjmp(dec->errors.jump)) return false;
    jpeg_decompress_struct* cinfo = &dec->cinfo;
    jpeg_start_decompress(cinfo);
    const bool cmyk = cinfo->out_color_space == JCS_CMYK;
    if (cinfo->output_components != (cmyk ? 4 : 3)) ERREXIT(cinfo, JERR_BAD_J_COLORSPACE);
    const std::size_t stride = static_cast<std::size_t>(cinfo->output_width) * 3;
    while (cinfo->output_scanline < cinfo->output_height) {
        unsigned char* dst = pixels + cinfo->output_scanline * stride;
        JSAMPROW row = cmyk ? cmykRow : dst;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) ERREXIT(cinfo, JERR_INPUT_EOF);
        if (cmyk) cmykToBgr(cmykRow, dst, cinfo->output_width, cinfo->saw_Adobe_marker);
        if (dec->errors.dataEndedEarly) return true; // the rest would be padding
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

[[noreturn]] void failDecode(const std::string& sourceName, const std::string& reason) {
    if (sourceName.empty()) throw std::runtime_error("Cannot read JPEG image: " + reason);
    throw std::runtime_error("Cannot read JPEG image " + quotedPath(sourceName) + ": " + reason);
}

[[noreturn]] void failFromCodec(const Decoder& dec, const std::string& sourceName) {
    failDecode(sourceName, dec.errors.dataEndedEarly ? dec.errors.warning : dec.errors.message);
}

J_COLOR_SPACE chooseOutputSpace(const jpeg_decompress_struct& cinfo) {
    switch (cinfo.jpeg_color_space) {
    case JCS_CMYK:
    case JCS_YCCK:
        return JCS_CMYK;
    case JCS_GRAYSCALE:
    case JCS_RGB:
    case JCS_YCbCr:
        return JCS_EXT_BGR;
    default:
        return JCS_UNKNOWN;
    }
}

// ---- encoding ----

struct MemoryDestination {
    jpeg_destination_mgr pub; // first member
    unsigned char* buffer;
    std::size_t capacity;
    std::size_t size;
};

extern "C" {

static void initDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    dest->capacity = 16384;
    dest->buffer = static_cast<unsigned char*>(std::malloc(dest->capacity));
    if (!dest->buffer) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = dest->capacity;
}

static boolean growDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    const std::size_t grown = dest->capacity * 2;
    auto* bigger = static_cast<unsigned char*>(std::realloc(dest->buffer, grown));
    if (!bigger) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    dest->buffer = bigger;
    dest->pub.next_output_byte = bigger + dest->capacity;
    dest->pub.free_in_buffer = grown - dest->capacity;
    dest->capacity = grown;
    return TRUE;
}

static void termDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    dest->size = dest->capacity - dest->pub.free_in_buffer;
}

} // extern "C"

struct Encoder {
    jpeg_compress_struct cinfo;
    CodecErrors errors;
    MemoryDestination dest;
    bool created = false;

    Encoder() {
        std::memset(&cinfo, 0, sizeof cinfo);
        std::memset(&dest, 0, sizeof dest);
        installErrors(errors);
        cinfo.err = &errors.mgr;
        dest.pub.init_destination = initDestination;
        dest.pub.empty_output_buffer = growDestination;
        dest.pub.term_destination = termDestination;
    }
    ~Encoder() {
        if (created) jpeg_destroy_compress(&cinfo);
        std::free(dest.buffer);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

bool compressRows(Encoder* enc, const unsigned char* pixels, int width, int height, int quality) {
    if (setjmp(enc->errors.jump)) return false;
    jpeg_compress_struct* cinfo = &enc->cinfo;
    jpeg_create_compress(cinfo);
    enc->created = true;
    cinfo->dest = &enc->dest.pub;
    cinfo->image_width = static_cast<JDIMENSION>(width);
    cinfo->image_height = static_cast<JDIMENSION>(height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<unsigned char*>(pixels + cinfo->next_scanline * stride);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

} // namespace

namespace {

void openDecoder(Decoder& dec, std::span<const std::uint8_t> data, const std::string& sourceName) {
    if (data.empty()) failDecode(sourceName, "the file is empty");
    if (data.size() > std::numeric_limits<unsigned long>::max())
        failDecode(sourceName, "the file is too large");
    if (!readHeader(&dec, data.data(), static_cast<unsigned long>(data.size())))
        failFromCodec(dec, sourceName);
}

[[noreturn]] void failTooLarge(const std::string& sourceName, std::int64_t w, std::int64_t h) {
    failDecode(sourceName, "the picture is " + std::to_string(w) + " x " + std::to_string(h) +
                               " pixels, too large to open");
}

// Header already read; `scaleDenom` is 1, 2, 4 or 8.
Bgr24Image decodeOpened(Decoder& dec, const std::string& sourceName, unsigned scaleDenom) {
    jpeg_decompress_struct& cinfo = dec.cinfo;
    cinfo.out_color_space = chooseOutputSpace(cinfo);
    if (cinfo.out_color_space == JCS_UNKNOWN)
        failDecode(sourceName, "unsupported colour format (" +
                                   std::to_string(cinfo.num_components) + " components)");
    cinfo.scale_num = 1;
    cinfo.scale_denom = scaleDenom;
    jpeg_calc_output_dimensions(&cinfo);
    const std::int64_t width = cinfo.output_width;
    const std::int64_t height = cinfo.output_height;
    if (width <= 0 || height <= 0) failTooLarge(sourceName, width, height);

    Bgr24Image image(static_cast<int>(width), static_cast<int>(height));
    std::vector<unsigned char> cmykRow;
    if (cinfo.out_color_space == JCS_CMYK) cmykRow.resize(static_cast<std::size_t>(width) * 4);
    auto* pixels = reinterpret_cast<unsigned char*>(image.pixels().data());
    if (!decodeRows(&dec, pixels, cmykRow.data())) failFromCodec(dec, sourceName);
    if (dec.errors.dataEndedEarly) failDecode(sourceName, dec.errors.warning);
    return image;
}

} // namespace

JpegSize readJpegSize(std::span<const std::uint8_t> data, const std::string& sourceName) {
    Decoder dec;
    openDecoder(dec, data, sourceName);
    return {static_cast<int>(std::min<JDIMENSION>(dec.cinfo.image_width, 65535)),
            static_cast<int>(std::min<JDIMENSION>(dec.cinfo.image_height, 65535))};
}

Bgr24Image decodeJpeg(std::span<const std::uint8_t> data, const std::string& sourceName) {
    Decoder dec;
    openDecoder(dec, data, sourceName);
    const std::int64_t width = dec.cinfo.image_width;
    const std::int64_t height = dec.cinfo.image_height;
    if (width <= 0 || height <= 0 || width * height > kMaxJpegPixels)
        failTooLarge(sourceName, width, height);
    return decodeOpened(dec, sourceName, 1);
}

Bgr24Image decodeJpegThumbnail(std::span<const std::uint8_t> data, const std::string& sourceName,
                               int fitSide, int maxSide) {
    Decoder dec;
    openDecoder(dec, data, sourceName);
    const std::int64_t width = dec.cinfo.image_width;
    const std::int64_t height = dec.cinfo.image_height;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide)
        failTooLarge(sourceName, width, height);
    unsigned denom = 1;
    while (denom < 8 && std::max(width, height) > std::int64_t{fitSide} * denom)
        denom *= 2;
    return decodeOpened(dec, sourceName, denom);
}

Bgr24Image readJpegFile(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = readFileBytes(path);
    return decodeJpeg(bytes, path.string());
}

std::vector<std::uint8_t> encodeJpeg(const Bgr24Image& image, int quality) {
    if (quality < kMinJpegQuality || quality > kMaxJpegQuality)
        throw std::invalid_argument("JPEG quality " + std::to_string(quality) +
                                    " is outside 30..100");
    if (image.empty()) throw std::runtime_error("Cannot write JPEG image: the picture is empty");
    Encoder enc;
    const auto* pixels = reinterpret_cast<const unsigned char*>(image.pixels().data());
    if (!compressRows(&enc, pixels, image.width(), image.height(), quality))
        throw std::runtime_error(std::string("Cannot write JPEG image: ") + enc.errors.message);
    return std::vector<std::uint8_t>(enc.dest.buffer, enc.dest.buffer + enc.dest.size);
}

void writeJpegFile(const std::filesystem::path& path, const Bgr24Image& image, int quality) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = encodeJpeg(image, quality);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error("Cannot write file " + quotedPath(path) + ": " + e.what());
    }
    writeFileAtomically(path, bytes);
}

} // namespace plakett
