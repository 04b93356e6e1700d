#include "effects/settings_records.h"

#include <gtest/gtest.h>

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

TEST(SettingsRecordsLayout, FieldsSitAtTheirOffsets) {
    const auto traw = countingBytes<TextSettings::kSize>();
    const TextSettings t = TextSettings::fromBytes(traw);
    EXPECT_EQ(t.FontName.length, traw[0]);
    EXPECT_EQ(t.FontStyle.length, traw[56]);
    EXPECT_EQ(t.CaptionText.length, traw[87]);
    const std::pair<std::int64_t, std::size_t> text[] = {
        {t.FontSize, 52},          {t.TextX, 344},         {t.TextY, 348},
        {t.NormalTextColor, 352},  {t.HotTextColor, 356},  {t.PushTextColor, 360},
        {t.NormalTextEffect, 364}, {t.HotTextEffect, 368}, {t.PushTextEffect, 372},
        {t.TextEffectColor, 376},  {t.TextAngle, 380}};
    for (auto [value, at] : text)
        EXPECT_EQ(static_cast<std::uint32_t>(value), le32(traw, at)) << at;
    EXPECT_EQ(t.TextOpacity, traw[384]);
    EXPECT_EQ(t.toBytes(), traw); // padding and string tails carried as read

    const auto sraw = countingBytes<ShadowSettings::kSize>();
    const ShadowSettings s = ShadowSettings::fromBytes(sraw);
    EXPECT_EQ(s.ShadowEnabled, sraw[0]);
    const std::pair<std::int64_t, std::size_t> shadow[] = {
        {s.ShadowColor, 4},      {s.ShadowBlur, 8},        {s.NormalShadowHeight, 12},
        {s.HotShadowHeight, 16}, {s.PushShadowHeight, 20}, {s.ShadowAngle, 24}};
    for (auto [value, at] : shadow)
        EXPECT_EQ(static_cast<std::uint32_t>(value), le32(sraw, at));
    EXPECT_EQ(s.toBytes(), sraw);

    const auto graw = countingBytes<GlyphSettings::kSize>();
    const GlyphSettings g = GlyphSettings::fromBytes(graw);
    EXPECT_EQ(g.UseGlyph, graw[0]);
    EXPECT_EQ(g.GlyphTransparent, graw[1]);
    const std::pair<std::int64_t, std::size_t> glyph[] = {
        {g.GlyphBitmap, 4}, {g.GlyphTransparentColor, 8}, {g.GlyphX, 12}, {g.GlyphY, 16}};
    for (auto [value, at] : glyph)
        EXPECT_EQ(static_cast<std::uint32_t>(value), le32(graw, at));
    EXPECT_EQ(g.GlyphOpacity, graw[20]);
    EXPECT_EQ(g.toBytes(), graw);

    const auto braw = countingBytes<BackgroundSettings::kSize>();
    const BackgroundSettings b = BackgroundSettings::fromBytes(braw);
    const std::pair<std::int64_t, std::size_t> back[] = {
        {b.BackgroundColor, 0}, {b.BackRed, 4},      {b.BackGreen, 8},
        {b.BackBlue, 12},       {b.BackRedCopy, 20}, {b.BackGreenCopy, 24}};
    for (auto [value, at] : back)
        EXPECT_EQ(static_cast<std::uint32_t>(value), le32(braw, at));
    EXPECT_EQ(b.TextureOpacity, braw[16]);
    EXPECT_EQ(b.UseTexture, braw[28]);
    EXPECT_EQ(b.toBytes(), braw);
}

TEST(SettingsRecordsDefaults, WhatTheWindowsStartWith) {
    const auto t = TextSettings{}.toBytes();
    EXPECT_EQ(std::string(t.begin(), t.begin() + 6), "\x05"
                                                     "Arial");
    EXPECT_EQ(le32(t, 52), 10u);
    EXPECT_EQ(std::string(t.begin() + 56, t.begin() + 58), "\x01"
                                                           "0");
    EXPECT_EQ(t[87], 0);
    EXPECT_EQ(t[384], 180);

    const std::array<std::uint8_t, 28> shadow{1, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0,    0, 4, 0,
                                              0, 0, 4, 0, 0, 0, 1, 0, 0, 0, 0x3B, 1, 0, 0};
    EXPECT_EQ(ShadowSettings{}.toBytes(), shadow);
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
    EXPECT_EQ(s.bytes(), "abcde");
    s.assign("xy");
    EXPECT_EQ(s.bytes(), "xy");
    EXPECT_EQ(s.chars[2], 0); // the rest is cleared on assignment
    s.length = 200;           // a damaged length byte reads as the whole field
    EXPECT_EQ(s.bytes().size(), 5u);

    EXPECT_EQ(fontStyleString(false, false, false), "0");
    EXPECT_EQ(fontStyleString(true, false, true), "[1,0,1]");
    EXPECT_EQ(fontStyleString(false, true, true), "[0,1,1]");
}
