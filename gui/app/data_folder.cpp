#include "gui/app/data_folder.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace plakett {

namespace fs = std::filesystem;

StartOptions parseStartOptions(const std::vector<std::string>& args) {
    StartOptions options;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--data" && i + 1 < args.size())
            options.dataFolder = fs::path(args[++i]);
        else if (a.starts_with("--data="))
            options.dataFolder = fs::path(a.substr(7));
        else if (a == "--render-at-start")
            options.renderAtStart = true;
        else if (!a.starts_with("-") && !options.openFile)
            options.openFile = fs::path(a);
    }
    return options;
}

fs::path defaultDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg != '\0' && fs::path(xdg).is_absolute())
        return fs::path(xdg) / "plakett";
    const char* home = std::getenv("HOME");
    const fs::path base = home != nullptr && *home != '\0' ? fs::path(home) : fs::current_path();
    return base / ".local" / "share" / "plakett";
}

namespace {

bool looksLikeShippedData(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir / "Buttons", ec) || fs::is_directory(dir / "Other", ec);
}

bool isEmptyDirectory(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec) && fs::is_empty(dir, ec) && !ec;
}

} // namespace

std::vector<fs::path> shippedDataCandidates(const fs::path& executableDir) {
    std::vector<fs::path> candidates;
#ifdef PLAKETT_BIN_TO_DATA
    candidates.push_back(executableDir / PLAKETT_BIN_TO_DATA);
#else
    candidates.push_back(executableDir / ".." / "share" / "plakett" / "data");
#endif
#ifdef PLAKETT_SOURCE_DATA
    candidates.emplace_back(PLAKETT_SOURCE_DATA);
#endif
#ifdef PLAKETT_INSTALLED_DATA
    candidates.emplace_back(PLAKETT_INSTALLED_DATA);
#endif
    return candidates;
}

fs::path findShippedData(const std::vector<fs::path>& candidates) {
    for (const fs::path& c : candidates) {
        if (c.empty() || !looksLikeShippedData(c)) continue;
        std::error_code ec;
        const fs::path canonical = fs::weakly_canonical(c, ec);
        return ec ? c : canonical;
    }
    return {};
}

fs::path findShippedData(const fs::path& executableDir) {
    return findShippedData(shippedDataCandidates(executableDir));
}

std::vector<std::string> seedDataFolder(const fs::path& folder, const fs::path& shipped) {
    fs::create_directories(folder);
    std::vector<std::string> leftEmpty;
    for (const char* name : kDataSubfolders) {
        const fs::path target = folder / name;
        std::error_code ec;
        const bool missing = !fs::exists(target, ec);
        // A folder left empty (say by a start that found no shipped library) is filled
        // like a missing one; one with anything in it belongs to the user.
        if (!missing && !isEmptyDirectory(target)) continue;
        const fs::path source = shipped.empty() ? fs::path() : shipped / name;
        if (!source.empty() && fs::is_directory(source, ec)) {
            // A copy that fails half-way leaves what it copied; the program still runs.
            fs::copy(source, target, fs::copy_options::recursive, ec);
            if (!ec) continue;
        }
        fs::create_directories(target, ec);
        // "User" is the user's own tab and ships empty.
        if (std::string_view(name) != "User" && isEmptyDirectory(target))
            leftEmpty.emplace_back(name);
    }
    return leftEmpty;
}

} // namespace plakett
