// The project file: control points, the light set, the four settings records and the
// glyph and texture pictures, little-endian, without padding between the parts.
#pragma once

#include "effects/light_rec.h"
#include "effects/settings_records.h"
#include "image/image.h"
#include "shape/move_box.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace plakett {

inline constexpr std::uint32_t kProjectMagic = 0x49847509;
inline constexpr std::size_t kPointRecordSize = 25;
inline constexpr std::size_t kLightRecordSize = 52;

// The file does not start with the project magic. The desktop program ignores such a
// file without a message; the command line reports it.
class NotAProjectFile : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The file starts like a project but its content cannot be one.
class ProjectFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An SVG glyph, kept in a record after the pictures that older readers do not look at.
struct SvgGlyphRecord {
    std::string source;         // the SVG document as UTF-8
    ColorRef currentColor = 0;  // what its currentColor paints
    friend bool operator==(const SvgGlyphRecord&, const SvgGlyphRecord&) = default;
};

// Trailing records: a 4-byte tag, a uint32 body length, the body. Unknown tags are skipped.
inline constexpr char kSvgGlyphTag[4] = {'S', 'V', 'G', 'G'};

struct ProjectDocument {
    std::vector<TMoveBox> points;
    ColorRef buttonColor = kDefaultButtonColor;
    std::array<TLightRec, 4> lights{};
    SettingsRecords records;
    // Present when records.glyph.GlyphBitmap is non-zero (written empty when missing).
    std::optional<Bgr24Image> glyphPicture;
    // Present when records.background.UseTexture is non-zero, except in the snapshot.
    std::optional<Bgr24Image> texture;
    // Written only when present, so a project without one keeps its bytes.
    std::optional<SvgGlyphRecord> svgGlyph;

    friend bool operator==(const ProjectDocument&, const ProjectDocument&) = default;
};

// The start-up snapshot has the project layout but never carries the texture.
enum class ProjectKind { Project, StartupSnapshot };

// Parses the whole file before returning anything. Throws NotAProjectFile, "Stream read
// error" (StreamReadError) when the file ends early, ProjectFormatError for a negative
// point count, and the bitmap reader's errors for a damaged picture.
ProjectDocument readProject(std::span<const std::uint8_t> bytes,
                            ProjectKind kind = ProjectKind::Project);
// As above; NotAProjectFile then reads "'<path>' is not a project file".
ProjectDocument readProjectFile(const std::filesystem::path& path,
                                ProjectKind kind = ProjectKind::Project);

std::vector<std::uint8_t> projectBytes(const ProjectDocument& doc,
                                       ProjectKind kind = ProjectKind::Project);
// Written beside the target first, then renamed over it.
void writeProjectFile(const std::filesystem::path& path, const ProjectDocument& doc,
                      ProjectKind kind = ProjectKind::Project);

// The chosen save name with ".tbp" appended when its file name has no '.' at all;
// dots in folder names do not count.
std::filesystem::path withProjectExtension(const std::filesystem::path& chosen);

} // namespace plakett
