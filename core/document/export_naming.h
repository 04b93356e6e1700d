// Names and order of the exported button-state files: one base name, the suffixes "_off",
// "_over", "_down", and the picture format's extension.
#pragma once

#include "image/image.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace plakett {

enum class ExportFormat { Bmp, Jpeg, Png, Webp };

// State image indices: 0 normal (off), 1 hot (over), 2 pushed (down).
inline constexpr int kStateOff = 0;
inline constexpr int kStateOver = 1;
inline constexpr int kStateDown = 2;

inline constexpr int kMinQualityBar = 3;
inline constexpr int kMaxQualityBar = 10;
inline constexpr int kDefaultQualityBar = 9;

// JPEG quality from the quality bar: position x 10 (30..100). Throws outside 3..10.
int exportJpegQuality(int barPosition);

// ".bmp", ".jpg" or ".png".
std::string exportExtension(ExportFormat format);

// The base of the exported names, from the chosen file name: the file-name part is cut at
// its first ".", then at the first "_OFF", "_OVER" and "_DOWN" (upper case only). Dots
// and suffixes in folder names are left alone.
std::filesystem::path exportBase(const std::filesystem::path& chosenName);

// Why the chosen name cannot name exported files, or empty: an existing folder, or a name
// that leaves no base ("out/", ".png", "_OFF.bmp").
std::string exportNameProblem(const std::filesystem::path& chosenName);

struct ExportFile {
    int stateIndex = kStateOff;
    std::filesystem::path path;
    friend bool operator==(const ExportFile&, const ExportFile&) = default;
};

// The files in write order: off; off, down; off, down, over (stateCount 1, 2, 3).
std::vector<ExportFile> exportWriteOrder(const std::filesystem::path& chosenName, int stateCount,
                                         ExportFormat format);

// The same files in the order the preview list shows them: off, over, down.
std::vector<ExportFile> exportPreviewOrder(const std::filesystem::path& chosenName, int stateCount,
                                           ExportFormat format);

struct ExportRequest {
    std::filesystem::path chosenName; // empty: nothing chosen yet, nothing is written
    int stateCount = 1;
    ExportFormat format = ExportFormat::Bmp;
    int qualityBar = kDefaultQualityBar;
};

// Writes one picture file; throws on failure.
using ExportImageWriter =
    std::function<void(const Bgr24Image& image, const std::filesystem::path& path,
                       ExportFormat format, int jpegQuality)>;

// Writes the selected states in write order through `write` and returns how many files were
// written. The first failure stops the export with an error naming that file; files written
// before it stay.
int exportButtonStates(const std::array<Bgr24Image, 3>& states, const ExportRequest& request,
                       const ExportImageWriter& write);

} // namespace plakett
