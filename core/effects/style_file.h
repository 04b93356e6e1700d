// Style files ".jpgs": a 32x32 JPEG thumbnail of the button followed by a 118-byte trailer
// holding the button colour and the four lights, so any picture viewer can show a style.
#pragma once

#include "effects/light_rec.h"
#include "effects/style_data.h"
#include "image/color.h"
#include "image/image.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace plakett {

inline constexpr std::size_t kStyleTrailerSize = 118;
inline constexpr int kStyleThumbnailSize = 32;
inline constexpr int kStyleJpegQuality = 90;
inline constexpr char kStyleExtension[] = ".jpgs";
inline constexpr char kStylesFolderName[] = "Styles";

using StyleTrailer = std::array<std::uint8_t, kStyleTrailerSize>;

// Trailer bytes, little-endian: button colour at 0; light i at 4 + 21 i (Enabled, PadX, PadY,
// Color, MapRadius, MapPower); font name at 88 as a length byte (at most 35) and the first
// 29 bytes of the name, zero-filled.
StyleTrailer encodeStyleTrailer(const TGradientBox& lightSet, ColorRef buttonColor,
                                const std::string& fontName);
StyleData decodeStyleTrailer(const StyleTrailer& trailer);

// The 32x32 thumbnail: the normal-state image centred, drawn at (15 - w div 2, 15 - h div 2)
// and cut off at the edges. Where it does not reach, the image's top-left pixel (its
// background colour) shows; white for an empty image.
Bgr24Image StyleThumbnail(const Bgr24Image& normalImage);

// folder / (name + ".jpgs"). Refuses names that are empty, "." or "..", or hold a path
// separator, so that a style is never written outside its folder.
std::filesystem::path styleFilePath(const std::filesystem::path& stylesFolder,
                                    const std::string& styleName);

// JPEG thumbnail at quality 90 followed by the trailer, written atomically: a failure leaves
// any previous file of that name as it was.
void writeStyleFile(const std::filesystem::path& path, const TGradientBox& lightSet,
                    ColorRef buttonColor, const Bgr24Image& normalImage,
                    const std::string& fontName);

// A style picture is 32x32; larger ones are shrunk by the codec while decoding, and ones
// declaring more than this on a side are refused unread, as are style files beyond
// kMaxStyleFileBytes.
inline constexpr int kMaxStylePictureSide = 256;
inline constexpr std::size_t kMaxStyleFileBytes = 1 << 20;

// The trailer of a style file. A file shorter than the trailer or unreadable is refused
// with an error naming the file; with StyleCheck::Picture so is one whose picture is not a
// JPEG of at most kMaxStylePictureSide a side (the style library reads trailers alone).
enum class StyleCheck { TrailerOnly, Picture };
StyleData readStyleFile(const std::filesystem::path& path,
                        StyleCheck check = StyleCheck::TrailerOnly);
StyleData decodeStyle(std::span<const std::uint8_t> bytes, const std::filesystem::path& name,
                      StyleCheck check = StyleCheck::TrailerOnly);

// The style's picture drawn at (0, 0) on a 32x32 icon (black where it does not reach).
Bgr24Image readStyleIcon(const std::filesystem::path& path);
Bgr24Image decodeStyleIcon(std::span<const std::uint8_t> bytes, const std::filesystem::path& name);

// Style names (file names without the final ".jpgs") of the regular files in `folder`,
// sorted byte-wise. A missing or unreadable folder gives an empty list.
std::vector<std::string> ListStyles(const std::filesystem::path& folder);

} // namespace plakett
