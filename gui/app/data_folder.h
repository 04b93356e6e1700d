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
    std::optional<std::filesystem::path> openFile;   // a project or shape to open at start
};

// Reads the options this program understands; others are left to Qt.
StartOptions parseStartOptions(const std::vector<std::string>& args);

// $XDG_DATA_HOME/plakett, or ~/.local/share/plakett.
std::filesystem::path defaultDataFolder();

// The places the shipped data/ folder may be, in the order they are tried: beside the
// executable as installed (bin/../share/plakett/data for any prefix), the source tree this
// program was built from, and the prefix it was configured to install into.
std::vector<std::filesystem::path>
shippedDataCandidates(const std::filesystem::path& executableDir);

// The first candidate that holds a shape library. Empty when none does.
std::filesystem::path findShippedData(const std::vector<std::filesystem::path>& candidates);
std::filesystem::path findShippedData(const std::filesystem::path& executableDir);

// Creates the folder and its sub-folders; a sub-folder that is missing or empty is filled
// from the shipped one (when there is one). Files already there are never touched. Returns
// the sub-folders the shipped library would have filled but that stayed empty. Throws
// std::filesystem::filesystem_error when the folder cannot be created.
std::vector<std::string> seedDataFolder(const std::filesystem::path& folder,
                                        const std::filesystem::path& shipped);

} // namespace plakett
