#include "cli_options.h"

#include <charconv>
#include <stdexcept>

namespace plakett::cli {
namespace {

int parseIntIn(const std::string& option, const std::string& text, int lo, int hi) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < lo || value > hi)
        throw std::invalid_argument(option + " takes a whole number from " + std::to_string(lo) +
                                    " to " + std::to_string(hi) + ", not '" + text + "'");
    return value;
}

ExportFormat parseFormat(const std::string& text) {
    if (text == "bmp") return ExportFormat::Bmp;
    if (text == "jpg" || text == "jpeg") return ExportFormat::Jpeg;
    if (text == "png") return ExportFormat::Png;
    throw std::invalid_argument("--format takes bmp, jpg or png, not '" + text + "'");
}

} // namespace

CliOptions parseCliOptions(const std::vector<std::string>& args) {
    CliOptions o;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--states") {
            o.states = parseIntIn(a, value(), 1, 3);
        } else if (a == "--format") {
            o.format = parseFormat(value());
        } else if (a == "--quality") {
            o.quality = parseIntIn(a, value(), 30, 100);
        } else if (a == "--style") {
            o.stylePath = value();
        } else if (a == "--timings") {
            o.timings = true;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            throw std::invalid_argument("unknown option '" + a + "'");
        } else {
            positional.push_back(a);
        }
    }
    if (o.help || o.version) return o;
    if (positional.size() != 2)
        throw std::invalid_argument("expected INPUT and OUTPUT (see --help)");
    o.input = positional[0];
    o.output = positional[1];
    return o;
}

const char* usageText() {
    return R"(usage: plakett-render [options] INPUT OUTPUT

Renders a button design into its state images, pixel for pixel as the desktop program does.

INPUT   a project file (.tbp) or a shape file (.shp). A shape is rendered with every
        setting at its designed default. Points are rendered exactly as stored.
OUTPUT  a file name from which the base name is taken as the export does: the name is cut
        at its first "." and at an upper-case "_OFF", "_OVER" or "_DOWN"; the images are
        written as BASE_off, BASE_over and BASE_down with the format's extension.

options:
  --states 1|2|3        1: BASE_off; 2: BASE_off, BASE_down; 3 (default): BASE_off,
                        BASE_down, BASE_over
  --format bmp|jpg|png  bmp (default): 24-bit BMP; jpg: baseline JPEG; png: 32-bit PNG
                        whose edge and shadow are partly transparent, for any page colour
  --quality 30..100     JPEG quality (default 90)
  --style FILE.jpgs     apply a style file to the light set before rendering
  --timings             print "field_ms=<ms> render_ms=<ms> size=<W>x<H>" to stderr
  --version             show the version
  --help                show this text

On any error a message goes to stderr, the exit code is non-zero and no output file is
left behind: the images are written to temporary files and renamed only when all succeeded.
)";
}

} // namespace plakett::cli
