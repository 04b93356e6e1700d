#include "effects/settings_records.h"

#include "common/le_bytes.h"

#include <vector>

namespace plakett {

namespace {

template <std::size_t N> void put(ByteWriter& w, const std::array<std::uint8_t, N>& a) {
    w.bytes(a);
}
template <std::size_t C> void put(ByteWriter& w, const ShortString<C>& s) {
    w.u8(s.length);
    w.bytes(s.chars);
}
template <std::size_t N> void get(ByteReader& r, std::array<std::uint8_t, N>& a) {
    const auto b = r.bytes(N);
    std::copy(b.begin(), b.end(), a.begin());
}
template <std::size_t C> void get(ByteReader& r, ShortString<C>& s) {
    s.length = r.u8();
    get(r, s.chars);
}

template <class Record> typename Record::Bytes finish(const std::vector<std::uint8_t>& out) {
    typename Record::Bytes bytes{};
    std::copy(out.begin(), out.end(), bytes.begin());
    return bytes;
}

} // namespace

TextSettings::Bytes TextSettings::toBytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(kSize);
    ByteWriter w(out);
    put(w, FontName);
    w.u8(Padding51);
    w.i32(FontSize);
    put(w, FontStyle);
    put(w, CaptionText);
    w.u8(Padding343);
    w.i32(TextX);
    w.i32(TextY);
    w.u32(NormalTextColor);
    w.u32(HotTextColor);
    w.u32(PushTextColor);
    w.i32(NormalTextEffect);
    w.i32(HotTextEffect);
    w.i32(PushTextEffect);
    w.u32(TextEffectColor);
    w.i32(TextAngle);
    w.u8(TextOpacity);
    put(w, Padding385);
    return finish<TextSettings>(out);
}

TextSettings TextSettings::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    ByteReader r(bytes);
    TextSettings t;
    get(r, t.FontName);
    t.Padding51 = r.u8();
    t.FontSize = r.i32();
    get(r, t.FontStyle);
    get(r, t.CaptionText);
    t.Padding343 = r.u8();
    t.TextX = r.i32();
    t.TextY = r.i32();
    t.NormalTextColor = r.u32();
    t.HotTextColor = r.u32();
    t.PushTextColor = r.u32();
    t.NormalTextEffect = r.i32();
    t.HotTextEffect = r.i32();
    t.PushTextEffect = r.i32();
    t.TextEffectColor = r.u32();
    t.TextAngle = r.i32();
    t.TextOpacity = r.u8();
    get(r, t.Padding385);
    return t;
}

ShadowSettings::Bytes ShadowSettings::toBytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(kSize);
    ByteWriter w(out);
    w.u8(ShadowEnabled);
    put(w, Padding1);
    w.u32(ShadowColor);
    w.i32(ShadowBlur);
    w.i32(NormalShadowHeight);
    w.i32(HotShadowHeight);
    w.i32(PushShadowHeight);
    w.i32(ShadowAngle);
    return finish<ShadowSettings>(out);
}

ShadowSettings ShadowSettings::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    ByteReader r(bytes);
    ShadowSettings s;
    s.ShadowEnabled = r.u8();
    get(r, s.Padding1);
    s.ShadowColor = r.u32();
    s.ShadowBlur = r.i32();
    s.NormalShadowHeight = r.i32();
    s.HotShadowHeight = r.i32();
    s.PushShadowHeight = r.i32();
    s.ShadowAngle = r.i32();
    return s;
}

GlyphSettings::Bytes GlyphSettings::toBytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(kSize);
    ByteWriter w(out);
    w.u8(UseGlyph);
    w.u8(GlyphTransparent);
    put(w, Padding2);
    w.u32(GlyphBitmap);
    w.u32(GlyphTransparentColor);
    w.i32(GlyphX);
    w.i32(GlyphY);
    w.u8(GlyphOpacity);
    put(w, Padding21);
    return finish<GlyphSettings>(out);
}

GlyphSettings GlyphSettings::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    ByteReader r(bytes);
    GlyphSettings g;
    g.UseGlyph = r.u8();
    g.GlyphTransparent = r.u8();
    get(r, g.Padding2);
    g.GlyphBitmap = r.u32();
    g.GlyphTransparentColor = r.u32();
    g.GlyphX = r.i32();
    g.GlyphY = r.i32();
    g.GlyphOpacity = r.u8();
    get(r, g.Padding21);
    return g;
}

BackgroundSettings::Bytes BackgroundSettings::toBytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(kSize);
    ByteWriter w(out);
    w.u32(BackgroundColor);
    w.i32(BackRed);
    w.i32(BackGreen);
    w.i32(BackBlue);
    w.u8(TextureOpacity);
    put(w, Padding17);
    w.i32(BackRedCopy);
    w.i32(BackGreenCopy);
    w.u8(UseTexture);
    put(w, Padding29);
    return finish<BackgroundSettings>(out);
}

BackgroundSettings BackgroundSettings::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    ByteReader r(bytes);
    BackgroundSettings b;
    b.BackgroundColor = r.u32();
    b.BackRed = r.i32();
    b.BackGreen = r.i32();
    b.BackBlue = r.i32();
    b.TextureOpacity = r.u8();
    get(r, b.Padding17);
    b.BackRedCopy = r.i32();
    b.BackGreenCopy = r.i32();
    b.UseTexture = r.u8();
    get(r, b.Padding29);
    return b;
}

std::string fontStyleString(bool bold, bool italic, bool underline) {
    if (!bold && !italic && !underline) return "0";
    std::string s = "[0,0,0]";
    if (bold) s[1] = '1';
    if (italic) s[3] = '1';
    if (underline) s[5] = '1';
    return s;
}

} // namespace plakett
