// The renderer under node has no font engine: a design with a caption is refused before
// anything is written.
#include "caption_engine.h"

#include <stdexcept>

namespace plakett::cli {

std::unique_ptr<CaptionEngine> startCaptionEngine() {
    throw std::runtime_error(
        "this design has a caption, and captions cannot be drawn here: they need a font "
        "engine, which the editor page and the desktop program have; use plakett-render, or "
        "remove the caption");
}

} // namespace plakett::cli
