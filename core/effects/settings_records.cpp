#include "effects/settings_records.h"

#include "common/le_bytes.h"

#include <algorithm>
#include <type_traits>
#include <vector>

namespace plakett {

namespace {

// Each record lists its fields once, in file order; reading and writing walk that list.
struct FieldWriter {
    ByteWriter& w;
    void operator()(std::uint8_t v) { w.u8(v); }
    void operator()(std::int32_t v) { w.i32(v); }
    void operator()(std::uint32_t v) { w.u32(v); }
    template <std::size_t N> void operator()(const std::array<std::uint8_t, N>& a) { w.bytes(a); }
    template <std::size_t C> void operator()(const ShortString<C>& s) {
        w.u8(s.length);
        w.bytes(s.chars);
    }
};

struct FieldReader {
    ByteReader& r;
    void operator()(std::uint8_t& v) { v = r.u8(); }
    void operator()(std::int32_t& v) { v = r.i32(); }
    void operator()(std::uint32_t& v) { v = r.u32(); }
    template <std::size_t N> void operator()(std::array<std::uint8_t, N>& a) {
        const auto b = r.bytes(N);
        std::copy(b.begin(), b.end(), a.begin());
    }
    template <std::size_t C> void operator()(ShortString<C>& s) {
        s.length = r.u8();
        (*this)(s.chars);
    }
};

template <class T, class F> void visitFields(T& t, F&& f) {
    using R = std::remove_const_t<T>;
    if constexpr (std::is_same_v<R, TextSettings>) {
        f(t.FontName), f(t.Padding51), f(t.FontSize), f(t.FontStyle), f(t.CaptionText);
        f(t.Padding343), f(t.TextX), f(t.TextY), f(t.NormalTextColor), f(t.HotTextColor);
        f(t.PushTextColor), f(t.NormalTextEffect), f(t.HotTextEffect), f(t.PushTextEffect);
        f(t.TextEffectColor), f(t.TextAngle), f(t.TextOpacity), f(t.Padding385);
    } else if constexpr (std::is_same_v<R, ShadowSettings>) {
        f(t.ShadowEnabled), f(t.Padding1), f(t.ShadowColor), f(t.ShadowBlur);
        f(t.NormalShadowHeight), f(t.HotShadowHeight), f(t.PushShadowHeight), f(t.ShadowAngle);
    } else if constexpr (std::is_same_v<R, GlyphSettings>) {
        f(t.UseGlyph), f(t.GlyphTransparent), f(t.Padding2), f(t.GlyphBitmap);
        f(t.GlyphTransparentColor), f(t.GlyphX), f(t.GlyphY), f(t.GlyphOpacity), f(t.Padding21);
    } else {
        static_assert(std::is_same_v<R, BackgroundSettings>);
        f(t.BackgroundColor), f(t.BackRed), f(t.BackGreen), f(t.BackBlue), f(t.TextureOpacity);
        f(t.Padding17), f(t.BackRedCopy), f(t.BackGreenCopy), f(t.UseTexture), f(t.Padding29);
    }
}

template <class Record> typename Record::Bytes recordBytes(const Record& record) {
    std::vector<std::uint8_t> out;
    out.reserve(Record::kSize);
    ByteWriter w(out);
    visitFields(record, FieldWriter{w});
    typename Record::Bytes bytes{};
    std::copy(out.begin(), out.end(), bytes.begin());
    return bytes;
}

template <class Record> Record recordFrom(std::span<const std::uint8_t, Record::kSize> bytes) {
    ByteReader r(bytes);
    Record record;
    visitFields(record, FieldReader{r});
    return record;
}

} // namespace

TextSettings::Bytes TextSettings::toBytes() const {
    return recordBytes(*this);
}
TextSettings TextSettings::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    return recordFrom<TextSettings>(bytes);
}
ShadowSettings::Bytes ShadowSettings::toBytes() const {
    return recordBytes(*this);
}
ShadowSettings ShadowSettings::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    return recordFrom<ShadowSettings>(bytes);
}
GlyphSettings::Bytes GlyphSettings::toBytes() const {
    return recordBytes(*this);
}
GlyphSettings GlyphSettings::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    return recordFrom<GlyphSettings>(bytes);
}
BackgroundSettings::Bytes BackgroundSettings::toBytes() const {
    return recordBytes(*this);
}
BackgroundSettings BackgroundSettings::fromBytes(std::span<const std::uint8_t, kSize> bytes) {
    return recordFrom<BackgroundSettings>(bytes);
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
