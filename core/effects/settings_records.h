// Snapshots of the text, shadow, glyph and background windows as project files store
// them, byte for byte. Padding and the bytes behind a string's length are carried as
// read so that a record written back is the record that was read.
#pragma once

#include "image/color.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace plakett {

// A length byte followed by Capacity character bytes (Windows-1252 in files).
template <std::size_t Capacity> struct ShortString {
    std::uint8_t length = 0;
    std::array<std::uint8_t, Capacity> chars{};

    constexpr ShortString() = default;
    constexpr ShortString(std::string_view bytes) { assign(bytes); }

    // Cuts at the capacity; the unused bytes become zero.
    constexpr void assign(std::string_view bytes) {
        const std::size_t n = std::min(bytes.size(), Capacity);
        length = static_cast<std::uint8_t>(n);
        chars.fill(0);
        for (std::size_t i = 0; i < n; ++i)
            chars[i] = static_cast<std::uint8_t>(bytes[i]);
    }
    // A length byte beyond the capacity reads as the whole field.
    std::string bytes() const {
        const std::size_t n = std::min<std::size_t>(length, Capacity);
        return std::string(chars.begin(), chars.begin() + static_cast<std::ptrdiff_t>(n));
    }
    static constexpr std::size_t kBytes = Capacity + 1;

    friend bool operator==(const ShortString&, const ShortString&) = default;
};

struct TextSettings {
    static constexpr std::size_t kSize = 388;
    using Bytes = std::array<std::uint8_t, kSize>;

    ShortString<50> FontName{"Arial"};
    std::uint8_t Padding51 = 0;
    std::int32_t FontSize = 10;
    ShortString<30> FontStyle{"0"};
    ShortString<255> CaptionText;
    std::uint8_t Padding343 = 0;
    std::int32_t TextX = 0;
    std::int32_t TextY = 0;
    ColorRef NormalTextColor = 0;
    ColorRef HotTextColor = 0;
    ColorRef PushTextColor = 0;
    std::int32_t NormalTextEffect = 0;
    std::int32_t HotTextEffect = 0;
    std::int32_t PushTextEffect = 0;
    ColorRef TextEffectColor = 0;
    std::int32_t TextAngle = 0;
    std::uint8_t TextOpacity = 180;
    std::array<std::uint8_t, 3> Padding385{};

    Bytes toBytes() const;
    static TextSettings fromBytes(std::span<const std::uint8_t, kSize> bytes);
    friend bool operator==(const TextSettings&, const TextSettings&) = default;
};

struct ShadowSettings {
    static constexpr std::size_t kSize = 28;
    using Bytes = std::array<std::uint8_t, kSize>;

    std::uint8_t ShadowEnabled = 1;
    std::array<std::uint8_t, 3> Padding1{};
    ColorRef ShadowColor = 0;
    std::int32_t ShadowBlur = 5;
    std::int32_t NormalShadowHeight = 4;
    std::int32_t HotShadowHeight = 4;
    std::int32_t PushShadowHeight = 1;
    std::int32_t ShadowAngle = 315;

    Bytes toBytes() const;
    static ShadowSettings fromBytes(std::span<const std::uint8_t, kSize> bytes);
    friend bool operator==(const ShadowSettings&, const ShadowSettings&) = default;
};

struct GlyphSettings {
    static constexpr std::size_t kSize = 24;
    using Bytes = std::array<std::uint8_t, kSize>;

    std::uint8_t UseGlyph = 1;
    std::uint8_t GlyphTransparent = 1;
    std::array<std::uint8_t, 2> Padding2{};
    std::uint32_t GlyphBitmap = 0; // in files only zero (no picture follows) or not matters
    ColorRef GlyphTransparentColor = 0xFFFFFF;
    std::int32_t GlyphX = 0;
    std::int32_t GlyphY = 0;
    std::uint8_t GlyphOpacity = 50;
    std::array<std::uint8_t, 3> Padding21{};

    Bytes toBytes() const;
    static GlyphSettings fromBytes(std::span<const std::uint8_t, kSize> bytes);
    friend bool operator==(const GlyphSettings&, const GlyphSettings&) = default;
};

struct BackgroundSettings {
    static constexpr std::size_t kSize = 32;
    using Bytes = std::array<std::uint8_t, kSize>;

    ColorRef BackgroundColor = 0xFFFFFF;
    std::int32_t BackRed = 255;
    std::int32_t BackGreen = 255;
    std::int32_t BackBlue = 255;
    std::uint8_t TextureOpacity = 220;
    std::array<std::uint8_t, 3> Padding17{};
    std::int32_t BackRedCopy = 255;
    std::int32_t BackGreenCopy = 255;
    std::uint8_t UseTexture = 0; // a texture picture follows in project files when set
    std::array<std::uint8_t, 3> Padding29{};

    Bytes toBytes() const;
    static BackgroundSettings fromBytes(std::span<const std::uint8_t, kSize> bytes);
    friend bool operator==(const BackgroundSettings&, const BackgroundSettings&) = default;
};

// The four records together, in their file order.
struct SettingsRecords {
    TextSettings text;
    ShadowSettings shadow;
    GlyphSettings glyph;
    BackgroundSettings background;
    friend bool operator==(const SettingsRecords&, const SettingsRecords&) = default;
};

// "0" or "[b,i,u]" with 1/0 flags, as the text window names the caption's font style.
std::string fontStyleString(bool bold, bool italic, bool underline);

} // namespace plakett
