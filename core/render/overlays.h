// What the user adds onto the shaded base image: a tiled texture and a glyph (kept inside
// the shape) and the caption (not confined), in that order.
#pragma once

#include "image/image.h"
#include "render/caption_rasterizer.h"
#include "render/half_size_blend.h"
#include "render/render_settings.h"

namespace plakett {

// The caption as the font engine drew it; text and font are the same in every state, so
// it is drawn once per render.
struct PreparedCaption {
    int x = 0; // the text's top-left reference point at double scale, (2X, 2Y)
    int y = 0;
    CaptionCoverage shape; // empty coverage: nothing to draw
    int scale = 1;         // output density: the effect copies lie this much farther out
};

// Cell heights of the caption font: the normal size measures, the double size draws.
int CaptionCellHeight(int fontSize);
int DoubleCaptionCellHeight(int fontSize);
CaptionFont CaptionFontFor(const TextLive& text, int cellHeight);

// Measures the caption at the normal size, places it centred on the image centre plus
// (TextX, TextY) and draws it at double size. Nothing is drawn for an empty caption, a
// null rasterizer or a font size that gives no height.
PreparedCaption PrepareCaption(const TextLive& text, int baseWidth, int baseHeight,
                               CaptionRasterizer* rasterizer, int scale = 1);

void DrawTexture(Bgr24Image& base, const Gray8Image& coverage, const BackgroundLive& background);
// An SVG glyph is drawn from its raster for the density `scale`, blended by its alpha.
void DrawGlyph(Bgr24Image& base, const Gray8Image& coverage, const GlyphLive& glyph,
               Bgr24 background, int scale = 1);

// The effect copies and then the text in the state's colour, later copies over earlier
// ones, limited to the double-scale area of a canvasWidth x canvasHeight image.
CoverageLayer BuildCaptionLayer(const PreparedCaption& caption, const TextLive& text,
                                ButtonState state, int canvasWidth, int canvasHeight);

// The caption's half-size pass with TextOpacity; it runs over the whole image even when
// nothing is drawn.
void DrawCaption(Bgr24Image& base, const PreparedCaption& caption, const TextLive& text,
                 ButtonState state);

// Texture, glyph and caption of one state, in place.
void DrawOverlays(Bgr24Image& base, const Gray8Image& coverage, const RenderSettings& settings,
                  ButtonState state, const PreparedCaption& caption);

Bgr24 BackgroundPixel(const BackgroundLive& background);

} // namespace plakett
