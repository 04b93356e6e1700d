#include "effects/settings_records.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace plakett;

namespace {

template <std::size_t N> std::uint32_t le32(const std::array<std::uint8_t, N>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// Every byte a different value, so a field read from the wrong offset shows.
template <std::size_t N> std::array<std::uint8_t, N> countingBytes() {
    std::array<std::uint8_t, N> b{};
    for (std::size_t i = 0; i < N; ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return b;
}

} // namespace

TEST(SettingsRecordsLayout, TextFieldsSitAtTheirOffsets) {
    TextSettings t;
    t.FontName.assign("Tahoma");
    t.FontSize = 12;
    t.FontStyle.assign("[1,0,1]");
    t.CaptionText.assign("OK");
    t.TextX = -3;
    t.TextY = 7;
    t.NormalTextColor = 0x010203;
    t.HotTextColor = 0x040506;
    t.PushTextColor = 0x070809;
    t.NormalTextEffect = 1;
    t.HotTextEffect = 2;
    t.PushTextEffect = 4;
    t.TextEffectColor = 0x0A0B0C;
    t.TextAngle = 90;
    t.TextOpacity = 200;
    const auto b = t.toBytes();
    EXPECT_EQ(b[0], 6);
    EXPECT_EQ(b[1], 'T');
    EXPECT_EQ(le32(b, 52), 12u);
    EXPECT_EQ(b[56], 7);
    EXPECT_EQ(b[57], '[');
    EXPECT_EQ(b[87], 2);
    EXPECT_EQ(b[88], 'O');
    EXPECT_EQ(le32(b, 344), static_cast<std::uint32_t>(-3));
    EXPECT_EQ(le32(b, 348), 7u);
    EXPECT_EQ(le32(b, 352), 0x010203u);
    EXPECT_EQ(le32(b, 356), 0x040506u);
    EXPECT_EQ(le32(b, 360), 0x070809u);
    EXPECT_EQ(le32(b, 364), 1u);
    EXPECT_EQ(le32(b, 368), 2u);
    EXPECT_EQ(le32(b, 372), 4u);
    EXPECT_EQ(le32(b, 376), 0x0A0B0Cu);
    EXPECT_EQ(le32(b, 380), 90u);
    EXPECT_EQ(b[384], 200);
    EXPECT_EQ(TextSettings::fromBytes(b), t);

    const auto raw = countingBytes<TextSettings::kSize>();
    const TextSettings r = TextSettings::fromBytes(raw);
    EXPECT_EQ(r.FontSize, static_cast<std::int32_t>(le32(raw, 52)));
    EXPECT_EQ(r.TextAngle, static_cast<std::int32_t>(le32(raw, 380)));
    EXPECT_EQ(r.Padding51, raw[51]);
    EXPECT_EQ(r.Padding343, raw[343]);
    EXPECT_EQ(r.toBytes(), raw); // padding and string tails carried as read
    EXPECT_EQ(r.FontName.bytes().size(), std::min<std::size_t>(raw[0], 50));
}

TEST(SettingsRecordsLayout, ShadowGlyphBackgroundOffsets) {
    const auto sraw = countingBytes<ShadowSettings::kSize>();
    const ShadowSettings s = ShadowSettings::fromBytes(sraw);
    EXPECT_EQ(s.ShadowEnabled, sraw[0]);
    EXPECT_EQ(s.ShadowColor, le32(sraw, 4));
    EXPECT_EQ(static_cast<std::uint32_t>(s.ShadowBlur), le32(sraw, 8));
    EXPECT_EQ(static_cast<std::uint32_t>(s.NormalShadowHeight), le32(sraw, 12));
    EXPECT_EQ(static_cast<std::uint32_t>(s.HotShadowHeight), le32(sraw, 16));
    EXPECT_EQ(static_cast<std::uint32_t>(s.PushShadowHeight), le32(sraw, 20));
    EXPECT_EQ(static_cast<std::uint32_t>(s.ShadowAngle), le32(sraw, 24));
    EXPECT_EQ(s.toBytes(), sraw);

    const auto graw = countingBytes<GlyphSettings::kSize>();
    const GlyphSettings g = GlyphSettings::fromBytes(graw);
    EXPECT_EQ(g.UseGlyph, graw[0]);
    EXPECT_EQ(g.GlyphTransparent, graw[1]);
    EXPECT_EQ(g.GlyphBitmap, le32(graw, 4));
    EXPECT_EQ(g.GlyphTransparentColor, le32(graw, 8));
    EXPECT_EQ(static_cast<std::uint32_t>(g.GlyphX), le32(graw, 12));
    EXPECT_EQ(static_cast<std::uint32_t>(g.GlyphY), le32(graw, 16));
    EXPECT_EQ(g.GlyphOpacity, graw[20]);
    EXPECT_EQ(g.toBytes(), graw);

    const auto braw = countingBytes<BackgroundSettings::kSize>();
    const BackgroundSettings bg = BackgroundSettings::fromBytes(braw);
    EXPECT_EQ(bg.BackgroundColor, le32(braw, 0));
    EXPECT_EQ(static_cast<std::uint32_t>(bg.BackRed), le32(braw, 4));
    EXPECT_EQ(static_cast<std::uint32_t>(bg.BackGreen), le32(braw, 8));
    EXPECT_EQ(static_cast<std::uint32_t>(bg.BackBlue), le32(braw, 12));
    EXPECT_EQ(bg.TextureOpacity, braw[16]);
    EXPECT_EQ(static_cast<std::uint32_t>(bg.BackRedCopy), le32(braw, 20));
    EXPECT_EQ(static_cast<std::uint32_t>(bg.BackGreenCopy), le32(braw, 24));
    EXPECT_EQ(bg.UseTexture, braw[28]);
    EXPECT_EQ(bg.toBytes(), braw);
}

TEST(SettingsRecordsDefaults, WhatTheWindowsStartWith) {
    const auto t = TextSettings{}.toBytes();
    EXPECT_EQ(t[0], 5);
    EXPECT_EQ(std::string(t.begin() + 1, t.begin() + 6), "Arial");
    EXPECT_EQ(le32(t, 52), 10u);
    EXPECT_EQ(t[56], 1);
    EXPECT_EQ(t[57], '0');
    EXPECT_EQ(t[87], 0);
    EXPECT_EQ(t[384], 180);
    EXPECT_EQ(std::accumulate(t.begin() + 88, t.begin() + 384, 0), 0);

    const auto s = ShadowSettings{}.toBytes();
    const std::array<std::uint8_t, 28> shadow{1, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0,    0, 4, 0,
                                              0, 0, 4, 0, 0, 0, 1, 0, 0, 0, 0x3B, 1, 0, 0};
    EXPECT_EQ(s, shadow);
    const std::array<std::uint8_t, 24> glyph{1, 1, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0,
                                             0, 0, 0, 0, 0, 0, 0, 0, 50,   0,    0,    0};
    EXPECT_EQ(GlyphSettings{}.toBytes(), glyph);
    const std::array<std::uint8_t, 32> back{0xFF, 0xFF, 0xFF, 0, 255, 0,   0, 0, 255, 0,   0,
                                            0,    255,  0,    0, 0,   220, 0, 0, 0,   255, 0,
                                            0,    0,    255,  0, 0,   0,   0, 0, 0,   0};
    EXPECT_EQ(BackgroundSettings{}.toBytes(), back);
}

TEST(SettingsRecordsStrings, CapacityAndStyleNames) {
    ShortString<5> s("abcdefgh");
    EXPECT_EQ(s.length, 5);
    EXPECT_EQ(s.bytes(), "abcde");
    s.assign("xy");
    EXPECT_EQ(s.bytes(), "xy");
    EXPECT_EQ(s.chars[2], 0); // the rest is cleared on assignment
    s.length = 200;           // a damaged length byte reads as the whole field
    EXPECT_EQ(s.bytes().size(), 5u);

    EXPECT_EQ(fontStyleString(false, false, false), "0");
    EXPECT_EQ(fontStyleString(true, false, true), "[1,0,1]");
    EXPECT_EQ(fontStyleString(false, true, true), "[0,1,1]");
    EXPECT_EQ(fontStyleString(true, true, true), "[1,1,1]");
}
