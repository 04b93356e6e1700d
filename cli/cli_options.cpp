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

template <class Value> bool parseWebOption(const std::string& a, Value& value, CliOptions& o) {
    if (a == "--scale") {
        o.scale = parseIntIn(a, value(), 1, 3);
    } else if (a == "--sprite") {
        o.sprite = true;
    } else if (a == "--html") {
        o.html = o.sprite = true;
    } else if (a == "--live-text") {
        o.liveText = o.sprite = true;
    } else if (a == "--webp") {
        o.webpCopies = true;
    } else if (a == "--sheet") {
        o.sheet = o.sprite = true;
    } else if (a == "--caption") {
        o.caption = value();
    } else if (a == "--captions") {
        o.captionsPath = value();
    } else {
        return false;
    }
    return true;
}

void finishWebOptions(CliOptions& o, bool formatGiven) {
    if (o.caption && !o.captionsPath.empty())
        throw std::invalid_argument("--caption and --captions cannot be used together");
    if (o.sprite && !formatGiven) o.format = ExportFormat::Png;
    if (o.webpCopies && (!o.sprite || o.format != ExportFormat::Png))
        throw std::invalid_argument("--webp adds WebP copies to PNG sprites: it needs --sprite "
                                    "(or --html, --sheet, --live-text) and PNG");
}

// RRGGBB in hexadecimal, with or without a leading '#'.
ColorRef parseColor(const std::string& option, const std::string& text) {
    const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    unsigned value = 0;
    const char* end = hex.data() + hex.size();
    auto [ptr, ec] = std::from_chars(hex.data(), end, value, 16);
    if (hex.size() != 6 || ec != std::errc() || ptr != end)
        throw std::invalid_argument(option + " takes a colour as RRGGBB, not '" + text + "'");
    return makeColorRef(static_cast<int>(value >> 16), static_cast<int>(value >> 8 & 0xFF),
                        static_cast<int>(value & 0xFF));
}

// X,Y with each from -255 to 255, as the background window's track bars allow.
void parseTextureOrigin(const std::string& text, CliOptions& o) {
    const auto refuse = [&] {
        return std::invalid_argument(
            "--texture-origin takes X,Y, two whole numbers from -255 to 255, not '" + text + "'");
    };
    const auto part = [&](std::size_t from, std::size_t to) {
        int value = 0;
        const char* last = text.data() + to;
        auto [ptr, ec] = std::from_chars(text.data() + from, last, value);
        if (from == to || ec != std::errc() || ptr != last || value < -255 || value > 255)
            throw refuse();
        return value;
    };
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) throw refuse();
    o.textureOriginX = part(0, comma);
    o.textureOriginY = part(comma + 1, text.size());
}

ExportFormat parseFormat(const std::string& text) {
    if (text == "bmp") return ExportFormat::Bmp;
    if (text == "jpg" || text == "jpeg") return ExportFormat::Jpeg;
    if (text == "png") return ExportFormat::Png;
    if (text == "webp") return ExportFormat::Webp;
    throw std::invalid_argument("--format takes bmp, jpg, png or webp, not '" + text + "'");
}

} // namespace

CliOptions parseCliOptions(const std::vector<std::string>& args) {
    CliOptions o;
    bool formatGiven = false;
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
            formatGiven = true;
        } else if (a == "--quality") {
            o.quality = parseIntIn(a, value(), 30, 100);
            o.qualityGiven = true;
        } else if (a == "--style") {
            o.stylePath = value();
        } else if (a == "--glyph") {
            o.glyphPath = value();
        } else if (a == "--glyph-color") {
            o.glyphColor = parseColor(a, value());
        } else if (a == "--texture-origin") {
            parseTextureOrigin(value(), o);
        } else if (a == "--outline-svg") {
            o.outlineSvgPath = value();
        } else if (a == "--timings") {
            o.timings = true;
        } else if (parseWebOption(a, value, o)) {
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            throw std::invalid_argument("unknown option '" + a + "'");
        } else {
            positional.push_back(a);
        }
    }
    if (o.help || o.version) return o;
    finishWebOptions(o, formatGiven);
    const bool outlineOnly = !o.outlineSvgPath.empty() && positional.size() == 1;
    if (positional.size() != 2 && !outlineOnly)
        throw std::invalid_argument("expected INPUT and OUTPUT (see --help)");
    o.input = positional[0];
    if (!outlineOnly) o.output = positional[1];
    return o;
}

const char* usageText() {
    return R"(usage: plakett-render [options] INPUT OUTPUT
       plakett-render --outline-svg FILE INPUT

Renders a button design into its state images, pixel for pixel as the desktop program does.

INPUT   a project file (.tbp), a shape file (.shp) or an SVG file (.svg). A shape is
        rendered with every setting at its designed default; points are rendered exactly as
        stored. Of an SVG file the largest closed outline is taken, one SVG px to one pixel.
OUTPUT  a file name from which the base name is taken as the export does: the name is cut
        at its first "." and at an upper-case "_OFF", "_OVER" or "_DOWN"; the images are
        written as BASE_off, BASE_over and BASE_down with the format's extension.

options:
  --states 1|2|3        1: BASE_off; 2: BASE_off, BASE_down; 3 (default): BASE_off,
                        BASE_down, BASE_over
  --format bmp|jpg|png|webp
                        bmp (default): 24-bit BMP; jpg: baseline JPEG; png: 32-bit PNG
                        whose edge and shadow are partly transparent, for any page colour;
                        webp: the same as WebP, lossless unless --quality is given
  --quality 30..100     JPEG quality (default 90); with webp: lossy colour at this quality,
                        the transparency still lossless
  --style FILE.jpgs     apply a style file to the light set before rendering
  --timings             print "field_ms=<ms> render_ms=<ms> size=<W>x<H>" to stderr
                        (with the options below: "total_ms=<ms> files=<count>")
  --scale 1|2|3         also write the images at 2x (and 3x) density, named with "@2x"
                        ("@3x") before the extension: BASE_off@2x.png
  --sprite              one image per button, the states stacked top to bottom, and
                        BASE.css switching them on :hover and :active (PNG unless
                        --format says otherwise)
  --html                --sprite, and BASE.html showing the buttons on the background
                        colour and on a contrasting one
  --live-text           --sprite with the images drawn without the caption: the caption
                        is the buttons' HTML text, styled by BASE.css from the design; one
                        sprite, BASE.png, serves every caption
  --webp                with PNG sprites: a WebP copy of each (lossless unless --quality),
                        which the style sheet offers first
  --sheet               --sprite with all buttons in one picture per density, BASE.png;
                        refused above 16,777,216 pixels in one picture
  --caption TEXT        use TEXT as the caption instead of the project's
  --captions FILE       one button per non-empty line of a UTF-8 file, named
                        BASE-<caption in lower-case letters, digits and "-">; a line
                        "caption<TAB>name" names its button BASE-name
  --glyph FILE          use FILE as the glyph: an SVG icon (drawn at each density from
                        the vector and blended by its alpha) or a BMP picture (its
                        top-left pixel's colour transparent, as the glyph window does)
  --glyph-color RRGGBB  the colour an SVG glyph's currentColor paints (default 000000)
  --texture-origin X,Y  where the texture's centre lies from the image centre, in pixels
                        at 1x, each from -255 to 255 (default 0,0), as the background
                        window's Texture Origin sets it; projects do not store it
  --outline-svg FILE    also write the design's outline to FILE as one SVG path at
                        editor scale; with this option OUTPUT may be left out, and only
                        FILE is written
  --version             show the version
  --help                show this text

On any error a message goes to stderr, the exit code is non-zero and no output file is
left behind: the images are written to temporary files and renamed only when all succeeded.
)";
}

} // namespace plakett::cli
