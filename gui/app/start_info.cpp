#include "gui/app/start_info.h"

#include "common/version.h"

#include <string_view>

namespace plakett {

namespace {

constexpr const char* kUsage = R"(usage: plakett [--data DIR] [FILE]

Makes shaded, cushion-like button images from a closed Bezier outline.

FILE                a project (.tbp) to open, or a shape (.shp, .svg) to import, at start
--data DIR          work in DIR instead of $XDG_DATA_HOME/plakett (~/.local/share/plakett);
                    its missing or empty library folders are filled from the shipped ones
--render-at-start   press Render once the window is up
--version           show the version and exit
--help              show this text and exit
)";

} // namespace

std::optional<int> runInfoOption(int argc, char** argv, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--version") {
            out << "plakett " << versionString() << "\n";
            return 0;
        }
        if (a == "--help" || a == "-h") {
            out << kUsage;
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace plakett
