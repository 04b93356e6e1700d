// Where the program keeps its shape folders, styles and backgrounds: the working directory,
// seeded from the shipped library on first use.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plakett {

// Sub-folders of a data folder, in the order they are seeded.
inline constexpr const char* kDataSubfolders[] = {"Buttons", "Other", "User", "Styles",
                                                  "Backgrounds"};

struct StartOptions {
    std::optional<std::filesystem::path> dataFolder; // --data DIR
    bool renderAtStart = false;                      // --render-at-start (for screenshots)
};

// Reads the options this program understands; others are left to Qt.
StartOptions parseStartOptions(const std::vector<std::string>& args);

// $XDG_DATA_HOME/plakett, or ~/.local/share/plakett.
std::filesystem::path defaultDataFolder();

// The shipped data/ folder: beside the source tree of a build (bin/../../data) or the
// installed copy. Empty when none is found.
std::filesystem::path findShippedData(const std::filesystem::path& executableDir);

// Creates the folder and its sub-folders; a sub-folder that does not exist yet is copied from
// the shipped one (when there is one). Existing files are never touched. Throws
// std::filesystem::filesystem_error when the folder cannot be created.
void seedDataFolder(const std::filesystem::path& folder, const std::filesystem::path& shipped);

} // namespace plakett
