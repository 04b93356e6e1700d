// The one binding layer between the page's JavaScript and the core: the document the
// editor changes (main thread) and the renderer (worker). Errors come back as
// {error: message}, never as a thrown C++ exception.
#include "page_document.h"
#include "page_values.h"
#include "render_service.h"

#include "common/version.h"
#include "document/project_file.h"
#include "field/shape_field.h"
#include "image/bmp.h"
#include "shape/compute_points.h"
#include "shape/rotate.h"
#include "shape/transforms.h"

#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <exception>
#include <new>

using emscripten::val;

namespace plakett::web {
namespace {

std::vector<std::uint8_t> bytesOf(const val& array) {
    return emscripten::convertJSArrayToNumberVector<std::uint8_t>(array);
}

Bgr24Image bgrOfRgba(const std::vector<std::uint8_t>& rgba, int width, int height) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<std::size_t>(width) * height * 4)
        throw std::invalid_argument("picture size and pixels disagree");
    Bgr24Image picture;
    picture.reset(width, height);
    for (int y = 0; y < height; ++y) {
        Bgr24* row = picture.scanline(y);
        const std::uint8_t* in = rgba.data() + static_cast<std::size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x)
            row[x] = Bgr24{in[4 * x + 2], in[4 * x + 1], in[4 * x]};
    }
    return picture;
}

template <class Work> val guarded(Work work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        val r = val::object();
        r.set("error", std::string("not enough memory for this design"));
        return r;
    } catch (const std::exception& e) {
        val r = val::object();
        r.set("error", std::string(e.what()));
        return r;
    }
}

val ok() {
    val r = val::object();
    r.set("ok", true);
    return r;
}

val pointView(const TMoveBox& box) {
    val p = val::object();
    p.set("x", box.FPos.X);
    p.set("y", box.FPos.Y);
    p.set("type", static_cast<int>(box.FPointType));
    const HandlePair h = TContur::paintHandles(box);
    p.set("rx", h.right.X);
    p.set("ry", h.right.Y);
    p.set("lx", h.left.X);
    p.set("ly", h.left.Y);
    return p;
}

class Document {
  public:
    Document(int width, int height) : m_doc(width, height) {}

    val load(const val& bytes, const std::string& name) {
        return guarded([&] {
            const std::vector<std::uint8_t> b = bytesOf(bytes);
            const DesignKind kind = m_doc.load(b, name);
            val r = ok();
            r.set("kind", std::string(kind == DesignKind::Project ? "project" : "shape"));
            return r;
        });
    }
    val restore(const val& bytes) {
        return guarded([&] {
            m_doc.restore(bytesOf(bytes));
            return ok();
        });
    }
    void newProject() { m_doc.newProject(); }
    val projectBytes() const { return uint8Array(m_doc.projectBytes()); }
    std::string shapeText() const { return m_doc.shapeText(); }

    val view() {
        TContur& c = m_doc.contour();
        c.UpdateBounds();
        val v = val::object();
        val points = val::array();
        for (const TMoveBox& box : c.FPoints)
            points.call<void>("push", pointView(box));
        v.set("points", points);
        std::vector<std::int32_t> flat;
        flat.reserve(c.outline().size() * 2);
        for (const TPoint& p : c.outline()) {
            flat.push_back(p.X);
            flat.push_back(p.Y);
        }
        v.set("outline", val::global("Int32Array")
                             .new_(val(emscripten::typed_memory_view(flat.size(), flat.data()))));
        v.set("selected", c.FSelected);
        v.set("minX", c.FMinX);
        v.set("maxX", c.FMaxX);
        v.set("minY", c.FMinY);
        v.set("maxY", c.FMaxY);
        v.set("newPointType", static_cast<int>(c.FNewPointType));
        return v;
    }

    // Mouse rules of shape mode, in the document's coordinates.
    val press(int x, int y) {
        return guarded([&] {
            m_doc.contour().leftPress(x, y);
            return ok();
        });
    }
    val move(int x, int y) {
        return guarded([&] {
            m_doc.contour().mouseMove(x, y);
            return ok();
        });
    }
    void release() { m_doc.contour().leftRelease(); }
    val rightPress(int x, int y) {
        return guarded([&] {
            m_doc.contour().rightPress(x, y);
            return ok();
        });
    }
    val deleteSelected() {
        return guarded([&] {
            m_doc.contour().deleteSelected();
            return ok();
        });
    }
    val setPointType(int type) {
        return guarded([&] {
            TContur& c = m_doc.contour();
            c.FNewPointType = static_cast<std::uint8_t>(type);
            if (c.hasSelection()) c.PointStyleChange(type);
            return ok();
        });
    }
    void resize(int width, int height) { m_doc.contour().resize(width, height); }

    val transform(const std::string& what, int a, int b) {
        return guarded([&] {
            TContur& c = m_doc.contour();
            c.UpdateBounds();
            const int w0 = c.FMaxX - c.FMinX, h0 = c.FMaxY - c.FMinY;
            if (what == "centre")
                Center(c);
            else if (what == "flipH")
                FlipRightToLeft(c);
            else if (what == "flipV")
                FlipTopToBottom(c);
            else if (what == "rotate")
                RotateShape(c, a);
            else if (what == "scale")
                ScaleFree(c, a, b, w0, h0);
            else
                throw std::invalid_argument("unknown transform '" + what + "'");
            return ok();
        });
    }

    val applyStyle(const val& bytes, const std::string& name) {
        return guarded([&] {
            m_doc.applyStyle(bytesOf(bytes), name);
            return ok();
        });
    }
    void generateLights() { m_doc.lights().Generate(); }

    // A BMP file (the core's own reader, as on the desktop), or the RGBA pixels of a
    // picture the browser decoded (PNG, JPEG...), whose alpha is dropped as Qt's
    // conversion to RGB does.
    val setPicture(const std::string& which, const val& bytes, int width, int height) {
        return guarded([&] {
            const std::vector<std::uint8_t> b = bytesOf(bytes);
            Bgr24Image picture = width <= 0 ? decodeBmpFile(b) : bgrOfRgba(b, width, height);
            m_doc.setPicture(which == "glyph" ? PageDocument::Picture::Glyph
                                              : PageDocument::Picture::Texture,
                             std::move(picture));
            return ok();
        });
    }

    val settings() { return settingsValue(m_doc.settings(), m_doc.lights()); }
    val setSettings(const val& v) {
        return guarded([&] {
            applySettingsValue(v, m_doc.settings());
            // After the settings: a chosen button colour also becomes the text effect colour.
            if (v.hasOwnProperty("buttonColor"))
                m_doc.lights().ButtonColorClick(colorRefOf(v["buttonColor"].as<int>()));
            return ok();
        });
    }
    // The style file of the light set; `normal` is the shown normal state's RGBA pixels.
    val styleBytes(const std::string& name, const val& normal, int width, int height) {
        return guarded([&] {
            val r = ok();
            r.set("bytes", uint8Array(m_doc.styleBytes(
                               name, bgrOfRgba(bytesOf(normal), width, height))));
            return r;
        });
    }
    val glyphPicture() const { return pictureValue(m_doc.settings().glyph.picture); }

    val lights() const { return lightsValue(m_doc.lights()); }
    // The light editor's controls: the light buttons, check boxes, bars, colour and pad (in
    // pad pixels, left button only).
    val lightAction(const std::string& what, int a, int b) {
        return guarded([&] {
            LightEditor& l = m_doc.lights();
            if (what == "select")
                l.selectLight(a);
            else if (what == "on")
                l.LightOnClick(a, b != 0);
            else if (what == "power")
                l.setPower(a);
            else if (what == "radius")
                l.setRadius(a);
            else if (what == "color")
                l.LightColorClick(colorRefOf(a));
            else if (what == "press")
                l.PaintBox1MouseDown(a, b, true);
            else if (what == "move")
                l.PaintBox1MouseMove(a, b);
            else if (what == "release")
                l.PaintBox1MouseUp(a, b, true);
            else
                throw std::invalid_argument("unknown light action '" + what + "'");
            return ok();
        });
    }

  private:
    PageDocument m_doc;
};

class Renderer {
  public:
    val render(const val& project, int count, int originX, int originY) {
        return guarded([&] {
            const std::vector<Bgr24Image> states =
                m_service.render(bytesOf(project), count, {originX, originY});
            val r = ok();
            r.set("width", states[0].width());
            r.set("height", states[0].height());
            val images = val::array();
            for (const Bgr24Image& s : states)
                images.call<void>("push", uint8Array(rgbaBytes(s)));
            r.set("states", images);
            return r;
        });
    }
    val exportFiles(const val& project, const val& options, int originX, int originY) {
        return guarded([&] {
            ExportOptions o;
            if (options.hasOwnProperty("format")) o.format = options["format"].as<std::string>();
            if (options.hasOwnProperty("states")) o.states = options["states"].as<int>();
            if (options.hasOwnProperty("quality")) o.quality = options["quality"].as<int>();
            if (options.hasOwnProperty("scale")) o.scale = options["scale"].as<int>();
            if (options.hasOwnProperty("sprite")) o.sprite = options["sprite"].as<bool>();
            if (options.hasOwnProperty("html")) o.html = options["html"].as<bool>();
            val files = val::array();
            for (const NamedFile& f :
                 m_service.exportFiles(bytesOf(project), o, {originX, originY})) {
                val file = val::object();
                file.set("name", f.name);
                file.set("bytes", uint8Array(f.bytes));
                files.call<void>("push", file);
            }
            val r = ok();
            r.set("files", files);
            return r;
        });
    }

  private:
    RenderService m_service;
};

std::string version() {
    return versionString();
}

} // namespace
} // namespace plakett::web

EMSCRIPTEN_BINDINGS(plakett) {
    using namespace plakett::web;
    emscripten::function("version", &version);
    emscripten::class_<Document>("Document")
        .constructor<int, int>()
        .function("load", &Document::load)
        .function("restore", &Document::restore)
        .function("newProject", &Document::newProject)
        .function("projectBytes", &Document::projectBytes)
        .function("shapeText", &Document::shapeText)
        .function("view", &Document::view)
        .function("press", &Document::press)
        .function("move", &Document::move)
        .function("release", &Document::release)
        .function("rightPress", &Document::rightPress)
        .function("deleteSelected", &Document::deleteSelected)
        .function("setPointType", &Document::setPointType)
        .function("resize", &Document::resize)
        .function("transform", &Document::transform)
        .function("applyStyle", &Document::applyStyle)
        .function("generateLights", &Document::generateLights)
        .function("setPicture", &Document::setPicture)
        .function("settings", &Document::settings)
        .function("setSettings", &Document::setSettings)
        .function("glyphPicture", &Document::glyphPicture)
        .function("styleBytes", &Document::styleBytes)
        .function("lights", &Document::lights)
        .function("lightAction", &Document::lightAction);
    emscripten::class_<Renderer>("Renderer")
        .constructor<>()
        .function("render", &Renderer::render)
        .function("exportFiles", &Renderer::exportFiles);
}

// The field alone, for the speed figures: `runs` computations of the field of a project's
// outline, each one's milliseconds (the first run before the engine's code has warmed up).
namespace plakett::web {
namespace {

val fieldTimes(const val& project, int runs) {
    return guarded([&] {
        const ProjectDocument doc = readProject(bytesOf(project), ProjectKind::Project);
        PointsArray ring;
        for (const TPoint& p : ComputeRenderOutline(doc.points))
            ring.push_back({p.X, p.Y});
        val times = val::array();
        long long cells = 0;
        for (int i = 0; i < runs; ++i) {
            const double started = emscripten_get_now();
            const ShapeField field = ComputeShapeField(ring);
            times.call<void>("push", emscripten_get_now() - started);
            cells = static_cast<long long>(field.map.columns()) * field.map.rows();
        }
        val r = ok();
        r.set("times", times);
        r.set("cells", static_cast<double>(cells));
        return r;
    });
}

} // namespace
} // namespace plakett::web

EMSCRIPTEN_BINDINGS(plakett_speed) {
    emscripten::function("fieldTimes", &plakett::web::fieldTimes);
}
