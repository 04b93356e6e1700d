#include "gui/app/data_folder.h"

#include <cstdlib>
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

} // namespace

fs::path findShippedData(const fs::path& executableDir) {
    const fs::path candidates[] = {executableDir / ".." / ".." / "data",
                                   executableDir / ".." / "data",
                                   executableDir / "data",
                                   executableDir / ".." / "share" / "plakett" / "data",
                                   "/usr/local/share/plakett/data",
                                   "/usr/share/plakett/data"};
    for (const fs::path& c : candidates) {
        if (looksLikeShippedData(c)) {
            std::error_code ec;
            const fs::path canonical = fs::weakly_canonical(c, ec);
            return ec ? c : canonical;
        }
    }
    return {};
}

void seedDataFolder(const fs::path& folder, const fs::path& shipped) {
    fs::create_directories(folder);
    for (const char* name : kDataSubfolders) {
        const fs::path target = folder / name;
        std::error_code ec;
        if (fs::exists(target, ec)) continue;
        const fs::path source = shipped.empty() ? fs::path() : shipped / name;
        if (!source.empty() && fs::is_directory(source, ec)) {
            // A copy that fails half-way leaves what it copied; the program still runs.
            fs::copy(source, target, fs::copy_options::recursive, ec);
            if (!ec) continue;
        }
        fs::create_directories(target, ec);
    }
}

} // namespace plakett
