// The shape library loader's steps, safe to run off the GUI thread: finding a folder's shape
// files and turning one file into a library entry.
#pragma once

#include "gui/shape/shape_library.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plakett {

inline constexpr const char* kLibraryFolders[] = {"Buttons", "Other", "User"};

// The ".shp" and ".svg" files (any letter case) of a folder, sorted by name; none when it is missing.
std::vector<std::filesystem::path> libraryFiles(const std::filesystem::path& folder);

// The file read, outlined at editor scale and drawn as a thumbnail; nothing when the file
// cannot be read or outlined.
std::optional<LibraryEntry> loadLibraryEntry(const std::filesystem::path& file,
                                             const QString& folder);
// As above; `problem` then says why the file was skipped.
std::optional<LibraryEntry> loadLibraryEntry(const std::filesystem::path& file,
                                             const QString& folder, std::string& problem);

} // namespace plakett
