#include "fuzz_entries.h"

#include "document/project_file.h"
#include "document/project_settings.h"
#include "effects/light_editor.h"
#include "effects/style_file.h"
#include "image/bmp.h"
#include "image/jpeg.h"
#include "render/button_renderer.h"
#include "render/caption_rasterizer.h"
#include "shape/compute_points.h"
#include "shape/render_refusal.h"
#include "shape/shape_file.h"
#include "shape/svg_shape_export.h"
#include "shape/svg_shape_import.h"
#include "web/caption_list.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <string>
#include <string_view>

namespace plakett::fuzz {
namespace {

// The formats report damage as exceptions; anything else (a crash, a sanitizer report,
// a leak, a hang) is what the fuzzer looks for.
template <typename F> void expectingErrors(F&& f) {
    try {
        f();
    } catch (const std::exception&) {
    }
}

void shapeFile(std::span<const std::uint8_t> data) {
    expectingErrors([&] {
        std::istringstream in(std::string(data.begin(), data.end()));
        (void)readShape(in);
    });
}

// An outline from SVG, then written out and read back by the same reader.
void svgShape(std::span<const std::uint8_t> data) {
    expectingErrors([&] {
        const std::vector<TMoveBox> points =
            readSvgShape({reinterpret_cast<const char*>(data.data()), data.size()});
        if (points.size() <= 4096) (void)readSvgShape(shapeSvgText(points));
    });
}

void projectFile(std::span<const std::uint8_t> data) {
    expectingErrors([&] {
        const ProjectDocument doc = readProject(data);
        (void)settingsFromProject(doc);
        (void)projectBytes(doc);
    });
}

void styleFile(std::span<const std::uint8_t> data) {
    expectingErrors([&] { (void)decodeStyle(data, "fuzz.jpgs", StyleCheck::Picture); });
    expectingErrors([&] { (void)decodeStyleIcon(data, "fuzz.jpgs"); });
}

// A few hundred bytes may declare up to the decoders' limit of 16 million pixels, which is
// allowed but takes seconds under the sanitizers; the fuzzer looks at smaller pictures.
constexpr std::int64_t kMaxFuzzedPixels = 1 << 20;

// The pixels a BMP header declares (compressed data may be far smaller), for the same
// reason as kMaxFuzzedPixels.
std::int64_t declaredBmpPixels(std::span<const std::uint8_t> d) {
    if (d.size() < 26) return 0;
    auto le = [&](std::size_t at, int n) {
        std::int64_t v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = v << 8 | d[at + i];
        return n == 4 ? std::int64_t{static_cast<std::int32_t>(v)} : v;
    };
    const bool core = le(14, 4) == 12;
    const std::int64_t w = core ? le(18, 2) : le(18, 4);
    const std::int64_t h = core ? le(20, 2) : le(22, 4);
    return std::abs(w) * std::abs(h);
}

void bmp(std::span<const std::uint8_t> data) {
    if (declaredBmpPixels(data) > kMaxFuzzedPixels) return;
    expectingErrors([&] { (void)readBmp(data); });
    expectingErrors([&] { (void)decodeBmpFile(data); });
}

void jpeg(std::span<const std::uint8_t> data) {
    expectingErrors([&] {
        const JpegSize size = readJpegSize(data, "fuzz.jpg");
        if (std::int64_t{size.width} * size.height <= kMaxFuzzedPixels)
            (void)decodeJpeg(data, "fuzz.jpg");
    });
}

// Editor-pixel extent beyond which an input is skipped, so that each run stays fast.
constexpr int kMaxRenderExtent = 160;

bool smallEnough(const std::vector<TMoveBox>& points) {
    const TArrayPoint outline = ComputeEditorOutline(points);
    if (outline.empty()) return true;
    auto [minX, maxX] = std::minmax_element(outline.begin(), outline.end(),
                                            [](TPoint a, TPoint b) { return a.X < b.X; });
    auto [minY, maxY] = std::minmax_element(outline.begin(), outline.end(),
                                            [](TPoint a, TPoint b) { return a.Y < b.Y; });
    return std::int64_t{maxX->X} - minX->X <= kMaxRenderExtent &&
           std::int64_t{maxY->Y} - minY->Y <= kMaxRenderExtent;
}

// Extents that grow with the text and the font like a real face's, and a solid block of
// coverage inside the clip, so that the caption's arithmetic runs on fuzzed settings.
class BlockCaptions : public CaptionRasterizer {
  public:
    CaptionExtent measure(const std::string& text, const CaptionFont& font) override {
        const std::int64_t w = std::int64_t{font.cellHeight} * std::int64_t(text.size()) / 2;
        return {static_cast<int>(std::clamp<std::int64_t>(w, 0, 1 << 20)), font.cellHeight};
    }
    CaptionCoverage rasterize(const std::string&, const CaptionFont&,
                              const CaptionRect& clip) override {
        CaptionCoverage c{clip.left, clip.top, {}};
        c.coverage = Gray8Image(std::clamp(clip.width, 0, 4096), std::clamp(clip.height, 0, 4096),
                                std::uint8_t{200});
        return c;
    }
};

// Caption files and single captions: the checks of every line and of --caption.
void captionList(std::span<const std::uint8_t> data) {
    expectingErrors([&] { (void)parseCaptionList(data, "fuzz.txt"); });
    expectingErrors([&] {
        checkCaption(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()),
                     "--caption");
    });
}

// A project file drives the whole renderer: outline, lights and every effect setting.
void render(std::span<const std::uint8_t> data) {
    expectingErrors([&] {
        const ProjectDocument doc = readProject(data);
        // The density checks run on every input, before the size filter below.
        for (int scale = 2; scale <= 3 && doc.points.size() <= 64; ++scale)
            (void)renderRefusal(doc.points, scale);
        if (doc.points.size() > 64 || !renderRefusal(doc.points).empty() ||
            !smallEnough(doc.points))
            return;
        RenderSettings settings = settingsFromProject(doc);
        LightEditor editor;
        editor.loadProjectLights(doc.buttonColor, doc.lights);
        editor.setRenderMode(true);
        editor.UpdateGradient();
        ButtonRenderer renderer;
        renderer.enter(doc.points, settings);
        BlockCaptions captions;
        if (doc.records.text.FontSize % 2 == 0)
            (void)renderer.render(editor.CopyLightMap(), settings, &captions);
        else
            (void)renderer.renderTransparent(editor.CopyLightMap(), settings, &captions);
    });
}

constexpr std::array kTargets{
    Target{"shape_file", shapeFile},
    Target{"project_file", projectFile},
    Target{"style_file", styleFile},
    Target{"bmp", bmp},
    Target{"jpeg", jpeg},
    Target{"render", render},
    Target{"svg_shape", svgShape},
    Target{"caption_list", captionList},
};

} // namespace

std::span<const Target> targets() {
    return kTargets;
}

} // namespace plakett::fuzz
