// The contract between plakett-render and its caption module, a shared object that holds
// Qt's font engine. The program loads it only for a run that draws a caption, so a run
// without one never maps Qt's libraries (start-up and exit stay a few milliseconds).
#pragma once

namespace plakett::cli {
class CaptionEngine;
}

// The module's file name, and the one function it exports (C linkage, so that the loader
// finds it by this name). It returns a new engine, or null where the font engine cannot
// start; the engine is deleted through its virtual destructor.
#define PLAKETT_CAPTION_MODULE_FILE "plakett-captions.so"
#define PLAKETT_CAPTION_MODULE_ENTRY "plakett_start_caption_engine"
extern "C" plakett::cli::CaptionEngine* plakett_start_caption_engine();
