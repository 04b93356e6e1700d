// The page's renderer, run in a worker: project bytes in, state images or export files out.
// The shape field of the last design is kept, so a change of lights or effects costs only
// the re-render, as in the desktop's render window.
#pragma once

#include "image/image.h"
#include "render/button_renderer.h"
#include "shape/move_box.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace plakett::web {

struct ExportOptions {
    std::string format; // bmp, jpg, png; empty: plakett-render's default
    int states = 3;
    int quality = 90;
    int scale = 1;
    bool sprite = false;
    bool html = false;
};

// Where the texture's centre lies from the image centre: the page keeps it beside the
// design, as the desktop keeps it in its session, never in the project bytes.
struct TextureOrigin {
    int x = 0;
    int y = 0;
};

struct NamedFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

class RenderService {
  public:
    // The states 0 .. count - 1 (normal, hot, pushed) at 1x, opaque, as plakett-render's
    // BMP files hold them. Throws with a user-facing message.
    std::vector<Bgr24Image> render(std::span<const std::uint8_t> project, int count,
                                   TextureOrigin origin = {});
    // The files plakett-render writes for the base name "button", by the same code.
    std::vector<NamedFile> exportFiles(std::span<const std::uint8_t> project,
                                       const ExportOptions& options, TextureOrigin origin = {});

  private:
    ButtonRenderer m_renderer;
    std::vector<TMoveBox> m_points; // of the kept field
    int m_blur = -1;                // of the kept shadow mask
};

// RGBA bytes (alpha 255) of an image, for the page's canvas.
std::vector<std::uint8_t> rgbaBytes(const Bgr24Image& image);

} // namespace plakett::web
