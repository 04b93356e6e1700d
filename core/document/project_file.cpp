#include "document/project_file.h"

#include "common/file_write.h"
#include "common/le_bytes.h"
#include "image/bmp.h"

#include <algorithm>
#include <limits>

namespace plakett {

namespace {

void writePoint(ByteWriter& w, const TMoveBox& p) {
    w.f32(p.FLeftLength);
    w.u8(p.FPointType);
    w.f32(p.FRightLength);
    w.f32(p.FRx);
    w.f32(p.FRy);
    w.i32(p.FPos.X);
    w.i32(p.FPos.Y);
}

TMoveBox readPoint(ByteReader& r) {
    TMoveBox p;
    p.FLeftLength = r.f32();
    p.FPointType = r.u8();
    p.FRightLength = r.f32();
    p.FRx = r.f32();
    p.FRy = r.f32();
    TPoint pos;
    pos.X = r.i32();
    pos.Y = r.i32();
    p.SetPos(pos);
    return p;
}

void writeLight(ByteWriter& w, const TLightRec& l) {
    for (std::int32_t v : {l.Radius, l.Power, l.MapX, l.MapY, l.MapRadius, l.AddRed, l.AddGreen,
                           l.AddBlue, l.PadX, l.PadY})
        w.i32(v);
    w.u8(l.Enabled);
    w.bytes(l.EnabledPadding);
    w.u32(l.Color);
    w.i32(l.MapPower);
}

TLightRec readLight(ByteReader& r) {
    TLightRec l;
    for (std::int32_t* v : {&l.Radius, &l.Power, &l.MapX, &l.MapY, &l.MapRadius, &l.AddRed,
                            &l.AddGreen, &l.AddBlue, &l.PadX, &l.PadY})
        *v = r.i32();
    l.Enabled = r.u8();
    const auto pad = r.bytes(3);
    std::copy(pad.begin(), pad.end(), l.EnabledPadding.begin());
    l.Color = r.u32();
    l.MapPower = r.i32();
    return l;
}

template <class Record> Record readRecord(ByteReader& r) {
    return Record::fromBytes(
        std::span<const std::uint8_t, Record::kSize>(r.bytes(Record::kSize).data(), Record::kSize));
}

bool carriesTexture(const ProjectDocument& doc, ProjectKind kind) {
    return kind == ProjectKind::Project && doc.records.background.UseTexture != 0;
}

} // namespace

namespace {

// Records newer programs add after the pictures; a file that ends within one is damaged.
void readTrailingRecords(ByteReader& r, ProjectDocument& doc) {
    while (r.remaining() >= 8) {
        char tag[4];
        for (char& c : tag)
            c = static_cast<char>(r.u8());
        const std::uint32_t length = r.u32();
        if (length > r.remaining()) throw StreamReadError();
        if (std::equal(tag, tag + 4, kSvgGlyphTag) && length >= 4) {
            SvgGlyphRecord g;
            g.currentColor = r.u32();
            for (std::uint32_t i = 4; i < length; ++i)
                g.source += static_cast<char>(r.u8());
            doc.svgGlyph = std::move(g);
        } else {
            for (std::uint32_t i = 0; i < length; ++i)
                (void)r.u8();
        }
    }
}

// Reads the parts in file order; `part` names the one being read, for error texts.
ProjectDocument readParts(std::span<const std::uint8_t> bytes, ProjectKind kind,
                          const char*& part) {
    ByteReader r(bytes);
    part = "in the header";
    if (r.remaining() < 4 || r.u32() != kProjectMagic) throw NotAProjectFile("Not a project file");
    const std::int32_t count = r.i32();
    if (count < 0)
        throw ProjectFormatError("'" + std::to_string(count) + "' is not a valid point count");
    part = "in the control points";
    // A count the rest of the file cannot hold means the file ends early.
    if (static_cast<std::uint64_t>(count) * kPointRecordSize > r.remaining())
        throw StreamReadError();

    ProjectDocument doc;
    doc.points.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i)
        doc.points.push_back(readPoint(r));
    part = "in the lights";
    doc.buttonColor = r.u32();
    for (TLightRec& l : doc.lights)
        l = readLight(r);
    part = "in the text settings";
    doc.records.text = readRecord<TextSettings>(r);
    part = "in the shadow settings";
    doc.records.shadow = readRecord<ShadowSettings>(r);
    part = "in the glyph settings";
    doc.records.glyph = readRecord<GlyphSettings>(r);
    part = "in the background settings";
    doc.records.background = readRecord<BackgroundSettings>(r);
    part = "in the glyph picture";
    if (doc.records.glyph.GlyphBitmap != 0) doc.glyphPicture = readBmp(r);
    part = "in the texture picture";
    if (carriesTexture(doc, kind)) doc.texture = readBmp(r);
    part = "in the records after the pictures";
    readTrailingRecords(r, doc);
    return doc;
}

} // namespace

ProjectDocument readProject(std::span<const std::uint8_t> bytes, ProjectKind kind) {
    const char* part = "";
    return readParts(bytes, kind, part);
}

ProjectDocument readProjectFile(const std::filesystem::path& path, ProjectKind kind) {
    const std::vector<std::uint8_t> bytes = readFileBytes(path);
    const char* part = "";
    try {
        return readParts(bytes, kind, part);
    } catch (const NotAProjectFile&) {
        throw NotAProjectFile(quotedPath(path) + " is not a project file");
    } catch (const StreamReadError&) {
        throw StreamReadError(std::string(part) + " of " + quotedPath(path));
    } catch (const InvalidBitmapError&) {
        throw InvalidBitmapError(std::string(part) + " of " + quotedPath(path));
    } catch (const ProjectFormatError& e) {
        throw ProjectFormatError(std::string(e.what()) + " in " + quotedPath(path));
    } catch (const std::bad_alloc&) {
        throw std::runtime_error("Not enough memory to read " + quotedPath(path));
    }
}

std::vector<std::uint8_t> projectBytes(const ProjectDocument& doc, ProjectKind kind) {
    if (doc.points.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("too many points for a project file");
    std::vector<std::uint8_t> out;
    out.reserve(692 + kPointRecordSize * doc.points.size());
    ByteWriter w(out);
    w.u32(kProjectMagic);
    w.i32(static_cast<std::int32_t>(doc.points.size()));
    for (const TMoveBox& p : doc.points)
        writePoint(w, p);
    w.u32(doc.buttonColor);
    for (const TLightRec& l : doc.lights)
        writeLight(w, l);
    w.bytes(doc.records.text.toBytes());
    w.bytes(doc.records.shadow.toBytes());
    w.bytes(doc.records.glyph.toBytes());
    w.bytes(doc.records.background.toBytes());
    // A flag set without a picture still gets one (empty), so the file stays readable.
    if (doc.records.glyph.GlyphBitmap != 0) appendBmp(out, doc.glyphPicture.value_or(Bgr24Image{}));
    if (carriesTexture(doc, kind)) appendBmp(out, doc.texture.value_or(Bgr24Image{}));
    if (doc.svgGlyph) {
        if (doc.svgGlyph->source.size() > std::numeric_limits<std::uint32_t>::max() - 4)
            throw std::length_error("the SVG glyph is too large for a project file");
        out.insert(out.end(), kSvgGlyphTag, kSvgGlyphTag + 4);
        w.u32(static_cast<std::uint32_t>(doc.svgGlyph->source.size() + 4));
        w.u32(doc.svgGlyph->currentColor);
        out.insert(out.end(), doc.svgGlyph->source.begin(), doc.svgGlyph->source.end());
    }
    return out;
}

void writeProjectFile(const std::filesystem::path& path, const ProjectDocument& doc,
                      ProjectKind kind) {
    writeFileAtomically(path, projectBytes(doc, kind));
}

std::filesystem::path withProjectExtension(const std::filesystem::path& chosen) {
    if (chosen.filename().string().find('.') != std::string::npos) return chosen;
    std::filesystem::path named = chosen;
    named += ".tbp";
    return named;
}

} // namespace plakett
