#include "canvas_caption_rasterizer.h"

#include <emscripten.h>

#include <algorithm>

namespace plakett::web {
namespace {

// The bodies below are JavaScript, kept as written.
// clang-format off

// The CSS font of a caption font: the face's size chosen so that ascent + descent is the
// cell height, as the desktop sizes its fonts.
EM_JS(void, plakett_caption_font, (const char* face, int cellHeight, int weight, int italic), {
    const quote = String.fromCharCode(34), backslash = String.fromCharCode(92);
    const name = UTF8ToString(face).split(quote).join("").split(backslash).join("");
    if (!Module.captionContext)
        Module.captionContext = new OffscreenCanvas(1, 1).getContext("2d", {willReadFrequently: true});
    const ctx = Module.captionContext;
    function css(px) {
        return (italic ? "italic " : "") + (weight > 0 ? weight : 400) + " " + px + "px " +
               quote + name + quote + ", Liberation Sans, Arial, sans-serif";
    }
    const probe = 1000;
    ctx.font = css(probe);
    const m = ctx.measureText("Hg");
    const ratio = (m.fontBoundingBoxAscent + m.fontBoundingBoxDescent) / probe || 1.15;
    const px = Math.max(1, cellHeight / ratio);
    ctx.font = css(px);
    const n = ctx.measureText("Hg");
    Module.captionAscent = n.fontBoundingBoxAscent || px * 0.9;
    Module.captionPx = px;
});

EM_JS(int, plakett_caption_width, (const char* text), {
    return Math.round(Module.captionContext.measureText(UTF8ToString(text)).width);
});

// Draws the text into a clip-sized canvas and copies its alpha into out (width x height).
EM_JS(void, plakett_caption_draw, (const char* text, int left, int top, int width, int height,
                                   int angle, int underline, unsigned char* out), {
    const canvas = new OffscreenCanvas(width, height);
    const ctx = canvas.getContext("2d", {willReadFrequently: true});
    ctx.font = Module.captionContext.font;
    ctx.fillStyle = "#fff";
    ctx.textBaseline = "alphabetic";
    ctx.translate(-left, -top);
    ctx.rotate(-angle * Math.PI / 180);
    const s = UTF8ToString(text);
    const ascent = Module.captionAscent;
    ctx.fillText(s, 0, ascent);
    if (underline) {
        const w = ctx.measureText(s).width;
        const thick = Math.max(1, Math.round(Module.captionPx / 14));
        ctx.fillRect(0, Math.round(ascent + thick * 1.5), w, thick);
    }
    const data = ctx.getImageData(0, 0, width, height).data;
    for (let i = 0, j = 3; i < width * height; ++i, j += 4) HEAPU8[out + i] = data[j];
});

// clang-format on

// Canvases this large are refused by browsers; a caption never needs more.
constexpr int kMaxSide = 8192;

void selectFont(const CaptionFont& font) {
    plakett_caption_font(font.faceName.c_str(), std::max(1, font.cellHeight), font.weight,
                         font.italic ? 1 : 0);
}

} // namespace

CaptionExtent CanvasCaptionRasterizer::measure(const std::string& text, const CaptionFont& font) {
    selectFont(font);
    return {plakett_caption_width(text.c_str()), std::max(1, font.cellHeight)};
}

CaptionCoverage CanvasCaptionRasterizer::rasterize(const std::string& text, const CaptionFont& font,
                                                   const CaptionRect& clip) {
    CaptionCoverage out;
    out.left = clip.left;
    out.top = clip.top;
    const int width = std::min(clip.width, kMaxSide);
    const int height = std::min(clip.height, kMaxSide);
    if (width <= 0 || height <= 0 || text.empty()) return out;
    selectFont(font);
    out.coverage.reset(width, height);
    plakett_caption_draw(text.c_str(), clip.left, clip.top, width, height, font.angle,
                         font.underline ? 1 : 0, out.coverage.pixels().data());
    return out;
}

} // namespace plakett::web
