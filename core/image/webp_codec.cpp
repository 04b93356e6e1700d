#include "image/webp_codec.h"

#include <stdexcept>
#include <string>

#ifdef PLAKETT_HAVE_WEBP

#include <webp/decode.h>
#include <webp/encode.h>

#include <algorithm>
#include <memory>

namespace plakett {

namespace {

struct PictureGuard {
    WebPPicture* picture;
    ~PictureGuard() { WebPPictureFree(picture); }
};

struct WriterGuard {
    WebPMemoryWriter* writer;
    ~WriterGuard() { WebPMemoryWriterClear(writer); }
};

} // namespace

std::vector<std::uint8_t> encodeWebp(const Rgba8Image& image, int quality) {
    WebPConfig config;
    if (!WebPConfigInit(&config)) throw std::runtime_error("libwebp does not match its headers");
    if (quality <= 0) {
        WebPConfigLosslessPreset(&config, 6);
        config.exact = 1;
    } else {
        config.quality = static_cast<float>(std::min(quality, 100));
        config.alpha_compression = 1; // lossless
        config.alpha_quality = 100;
    }
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) throw std::runtime_error("libwebp does not match its headers");
    picture.use_argb = 1;
    picture.width = image.width();
    picture.height = image.height();
    const PictureGuard pictureGuard{&picture};
    if (!WebPPictureImportRGBA(&picture,
                               reinterpret_cast<const std::uint8_t*>(image.pixels().data()),
                               image.width() * 4))
        throw std::runtime_error("not enough memory for the WebP picture");
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    const WriterGuard writerGuard{&writer};
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    if (!WebPEncode(&config, &picture))
        throw std::runtime_error("WebP encoding failed (error " +
                                 std::to_string(picture.error_code) + ")");
    return {writer.mem, writer.mem + writer.size};
}

Rgba8Image decodeWebp(std::span<const std::uint8_t> bytes) {
    int width = 0, height = 0;
    const std::unique_ptr<std::uint8_t, void (*)(void*)> pixels(
        WebPDecodeRGBA(bytes.data(), bytes.size(), &width, &height), WebPFree);
    if (!pixels) throw std::runtime_error("not a WebP picture");
    Rgba8Image image(width, height);
    std::copy_n(pixels.get(), static_cast<std::size_t>(width) * height * 4,
                reinterpret_cast<std::uint8_t*>(image.pixels().data()));
    return image;
}

} // namespace plakett

#else

namespace plakett {

std::vector<std::uint8_t> encodeWebp(const Rgba8Image&, int) {
    throw std::runtime_error("this build writes no WebP");
}

Rgba8Image decodeWebp(std::span<const std::uint8_t>) {
    throw std::runtime_error("this build reads no WebP");
}

} // namespace plakett

#endif
