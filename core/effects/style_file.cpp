#include "effects/style_file.h"

#include "common/file_write.h"
#include "image/jpeg.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace plakett {

namespace {

constexpr std::size_t kLightStride = 21;
constexpr std::size_t kFirstLightOffset = 4;
constexpr std::size_t kFontNameOffset = 88;
constexpr std::size_t kFontNameLengthCap = 35;
constexpr std::size_t kFontNameStoredChars = 29;

void putU32(StyleTrailer& t, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        t[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t getU32(const StyleTrailer& t, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(t[at + i]) << (8 * i);
    return v;
}

std::int32_t getI32(const StyleTrailer& t, std::size_t at) {
    return static_cast<std::int32_t>(getU32(t, at));
}

[[noreturn]] void failLoad(const std::filesystem::path& path, const std::string& reason) {
    throw std::runtime_error("Cannot load style " + quotedPath(path) + ": " + reason);
}

} // namespace

StyleTrailer encodeStyleTrailer(const TGradientBox& lightSet, ColorRef buttonColor,
                                const std::string& fontName) {
    StyleTrailer t{};
    putU32(t, 0, buttonColor);
    for (std::size_t i = 0; i < lightSet.FLights.size(); ++i) {
        const TLightRec& light = lightSet.FLights[i];
        const std::size_t at = kFirstLightOffset + kLightStride * i;
        t[at] = light.Enabled;
        putU32(t, at + 1, static_cast<std::uint32_t>(light.PadX));
        putU32(t, at + 5, static_cast<std::uint32_t>(light.PadY));
        putU32(t, at + 9, light.Color);
        putU32(t, at + 13, static_cast<std::uint32_t>(light.MapRadius));
        putU32(t, at + 17, static_cast<std::uint32_t>(light.MapPower));
    }
    // The length byte says up to 35 but the field only has room for 29 characters.
    t[kFontNameOffset] = static_cast<std::uint8_t>(std::min(fontName.size(), kFontNameLengthCap));
    const std::size_t stored = std::min(fontName.size(), kFontNameStoredChars);
    std::copy_n(fontName.begin(), stored, t.begin() + kFontNameOffset + 1);
    return t;
}

StyleData decodeStyleTrailer(const StyleTrailer& t) {
    StyleData style;
    style.buttonColor = getU32(t, 0);
    for (std::size_t i = 0; i < style.lights.size(); ++i) {
        StyleLight& light = style.lights[i];
        const std::size_t at = kFirstLightOffset + kLightStride * i;
        light.Enabled = t[at];
        light.PadX = getI32(t, at + 1);
        light.PadY = getI32(t, at + 5);
        light.Color = getU32(t, at + 9);
        light.Radius = getI32(t, at + 13);
        light.Power = getI32(t, at + 17);
    }
    return style;
}

Bgr24Image StyleThumbnail(const Bgr24Image& normalImage) {
    const Bgr24 background = normalImage.empty() ? Bgr24{255, 255, 255} : normalImage.at(0, 0);
    Bgr24Image thumb(kStyleThumbnailSize, kStyleThumbnailSize, background);
    const int left = 15 - normalImage.width() / 2;
    const int top = 15 - normalImage.height() / 2;
    for (int y = 0; y < kStyleThumbnailSize; ++y) {
        const int sy = y - top;
        if (sy < 0 || sy >= normalImage.height()) continue;
        const Bgr24* src = normalImage.scanline(sy);
        Bgr24* dst = thumb.scanline(y);
        for (int x = 0; x < kStyleThumbnailSize; ++x) {
            const int sx = x - left;
            if (sx >= 0 && sx < normalImage.width()) dst[x] = src[sx];
        }
    }
    return thumb;
}

std::filesystem::path styleFilePath(const std::filesystem::path& stylesFolder,
                                    const std::string& styleName) {
    const bool invalid = styleName.empty() || styleName == "." || styleName == ".." ||
                         styleName.find_first_of(std::string("/\\\0", 3)) != std::string::npos;
    if (invalid) throw std::runtime_error("'" + styleName + "' is not a valid style name");
    return stylesFolder / (styleName + kStyleExtension);
}

void writeStyleFile(const std::filesystem::path& path, const TGradientBox& lightSet,
                    ColorRef buttonColor, const Bgr24Image& normalImage,
                    const std::string& fontName) {
    std::vector<std::uint8_t> bytes = encodeJpeg(StyleThumbnail(normalImage), kStyleJpegQuality);
    const StyleTrailer trailer = encodeStyleTrailer(lightSet, buttonColor, fontName);
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    writeFileAtomically(path, bytes);
}

namespace {

void checkStylePicture(std::span<const std::uint8_t> picture, const std::filesystem::path& name) {
    JpegSize size;
    try {
        size = readJpegSize(picture);
    } catch (const std::runtime_error&) {
        failLoad(name, "its picture is not a JPEG image");
    }
    if (size.width > kMaxStylePictureSide || size.height > kMaxStylePictureSide)
        failLoad(name, "its picture is " + std::to_string(size.width) + " x " +
                           std::to_string(size.height) + " pixels, not a style thumbnail");
}

} // namespace

StyleData decodeStyle(std::span<const std::uint8_t> bytes, const std::filesystem::path& name,
                      StyleCheck check) {
    if (bytes.size() < kStyleTrailerSize)
        failLoad(name, "the file is too short to hold style data (" + std::to_string(bytes.size()) +
                           " bytes)");
    if (check == StyleCheck::Picture)
        checkStylePicture(bytes.first(bytes.size() - kStyleTrailerSize), name);
    StyleTrailer trailer{};
    std::copy_n(bytes.end() - kStyleTrailerSize, kStyleTrailerSize, trailer.begin());
    return decodeStyleTrailer(trailer);
}

StyleData readStyleFile(const std::filesystem::path& path, StyleCheck check) {
    return decodeStyle(readFileBytes(path, kMaxStyleFileBytes), path, check);
}

Bgr24Image decodeStyleIcon(std::span<const std::uint8_t> bytes, const std::filesystem::path& name) {
    const Bgr24Image picture =
        decodeJpegThumbnail(bytes, name.string(), kStyleThumbnailSize, kMaxStylePictureSide);
    Bgr24Image icon(kStyleThumbnailSize, kStyleThumbnailSize);
    const int w = std::min(picture.width(), kStyleThumbnailSize);
    const int h = std::min(picture.height(), kStyleThumbnailSize);
    for (int y = 0; y < h; ++y)
        std::copy_n(picture.scanline(y), w, icon.scanline(y));
    return icon;
}

Bgr24Image readStyleIcon(const std::filesystem::path& path) {
    return decodeStyleIcon(readFileBytes(path, kMaxStyleFileBytes), path);
}

std::vector<std::string> ListStyles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    const std::string extension = kStyleExtension;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        const std::string file = it->path().filename().string();
        // Only the final extension goes: "Old.Style.jpgs" is the style "Old.Style".
        if (file.size() <= extension.size() ||
            file.compare(file.size() - extension.size(), extension.size(), extension) != 0)
            continue;
        names.push_back(file.substr(0, file.size() - extension.size()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace plakett
