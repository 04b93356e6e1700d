#include "shape/svg_document.h"

#include "shape/shape_error.h"
#include "shape/shape_file.h"
#include "shape/svg_outline_fit.h"
#include "shape/svg_path_data.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <string>

namespace plakett::svg {
namespace {

constexpr std::size_t kMaxSegments = static_cast<std::size_t>(kMaxShapePoints);

// Element name without a namespace prefix ("svg:path" is a path).
std::string_view localName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::optional<double> numberAttr(const pugi::xml_node& node, const char* name) {
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) return std::nullopt;
    const std::vector<double> v = parseNumberList(a.value(), 1);
    if (v.empty()) return std::nullopt;
    return v[0];
}

// A length in px: plain numbers and px, absolute units at 96 per inch; percentages and
// font-relative units count as absent.
std::optional<double> lengthAttr(const pugi::xml_node& node, const char* name) {
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) return std::nullopt;
    std::string text = a.value();
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    struct Unit {
        const char* suffix;
        double px;
    };
    static const Unit kUnits[] = {{"px", 1},         {"in", 96},     {"cm", 96 / 2.54},
                                  {"mm", 9.6 / 2.54}, {"pt", 96.0 / 72}, {"pc", 16}};
    double factor = 1;
    for (const Unit& u : kUnits) {
        const std::size_t n = std::strlen(u.suffix);
        if (text.size() > n && text.compare(text.size() - n, n, u.suffix) == 0) {
            text.resize(text.size() - n);
            factor = u.px;
            break;
        }
    }
    // Whatever is left must be the number alone ("50%" or "2em" is not a length here).
    const bool endsInNumber = !text.empty() && (std::isdigit(static_cast<unsigned char>(
                                                    text.back())) != 0 || text.back() == '.');
    const std::vector<double> v = parseNumberList(text, 2);
    if (v.size() != 1 || !endsInNumber) return std::nullopt;
    return v[0] * factor;
}

// A transform list; nullopt when it is in error (the element is then not drawn).
std::optional<Affine> parseTransform(std::string_view text) {
    Affine result;
    std::size_t pos = 0;
    for (;;) {
        while (pos < text.size() && (std::isspace(static_cast<unsigned char>(text[pos])) ||
                                     text[pos] == ','))
            ++pos;
        if (pos >= text.size()) return result;
        const std::size_t open = text.find('(', pos);
        if (open == std::string_view::npos) return std::nullopt;
        const std::size_t close = text.find(')', open);
        if (close == std::string_view::npos) return std::nullopt;
        std::string_view name = text.substr(pos, open - pos);
        while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back())))
            name.remove_suffix(1);
        const std::vector<double> v = parseNumberList(text.substr(open + 1, close - open - 1), 7);
        const double rad = v.empty() ? 0 : v[0] * std::numbers::pi / 180;
        Affine m;
        if (name == "matrix" && v.size() == 6) {
            m = {v[0], v[1], v[2], v[3], v[4], v[5]};
        } else if (name == "translate" && (v.size() == 1 || v.size() == 2)) {
            m.e = v[0];
            m.f = v.size() == 2 ? v[1] : 0;
        } else if (name == "scale" && (v.size() == 1 || v.size() == 2)) {
            m.a = v[0];
            m.d = v.size() == 2 ? v[1] : v[0];
        } else if (name == "rotate" && (v.size() == 1 || v.size() == 3)) {
            const double c = std::cos(rad), s = std::sin(rad);
            const Affine r{c, s, -s, c, 0, 0};
            if (v.size() == 3) {
                const Affine to{1, 0, 0, 1, v[1], v[2]}, back{1, 0, 0, 1, -v[1], -v[2]};
                m = to.after(r).after(back);
            } else {
                m = r;
            }
        } else if (name == "skewX" && v.size() == 1) {
            m.c = std::tan(rad);
        } else if (name == "skewY" && v.size() == 1) {
            m.b = std::tan(rad);
        } else {
            return std::nullopt;
        }
        result = result.after(m);
        pos = close + 1;
    }
}

// The root's viewport: the viewBox mapped onto width x height as preserveAspectRatio says.
Affine rootTransform(const pugi::xml_node& svg) {
    std::optional<double> width = lengthAttr(svg, "width");
    std::optional<double> height = lengthAttr(svg, "height");
    const std::vector<double> box = parseNumberList(svg.attribute("viewBox").value(), 4);
    if (box.size() != 4 || box[2] <= 0 || box[3] <= 0 || (!width && !height)) return {};
    if (!width) width = *height * box[2] / box[3];
    if (!height) height = *width * box[3] / box[2];
    double sx = *width / box[2], sy = *height / box[3];
    const std::string aspect = svg.attribute("preserveAspectRatio").value();
    double ax = 0.5, ay = 0.5; // xMidYMid
    if (aspect.find("none") == std::string::npos) {
        const double s = aspect.find("slice") != std::string::npos ? std::max(sx, sy)
                                                                   : std::min(sx, sy);
        sx = sy = s;
        if (aspect.find("xMin") != std::string::npos) ax = 0;
        if (aspect.find("xMax") != std::string::npos) ax = 1;
        if (aspect.find("YMin") != std::string::npos) ay = 0;
        if (aspect.find("YMax") != std::string::npos) ay = 1;
    }
    const double tx = (*width - box[2] * sx) * ax - box[0] * sx;
    const double ty = (*height - box[3] * sy) * ay - box[1] * sy;
    return {sx, 0, 0, sy, tx, ty};
}

// The outline of one basic shape, as SVG defines its equivalent path.
std::vector<SubPath> rectPath(const pugi::xml_node& n, double tol) {
    const double x = numberAttr(n, "x").value_or(0), y = numberAttr(n, "y").value_or(0);
    const double w = numberAttr(n, "width").value_or(0), h = numberAttr(n, "height").value_or(0);
    if (w <= 0 || h <= 0) return {};
    std::optional<double> rx = numberAttr(n, "rx"), ry = numberAttr(n, "ry");
    if (rx && *rx < 0) rx.reset();
    if (ry && *ry < 0) ry.reset();
    if (!rx) rx = ry;
    if (!ry) ry = rx;
    const double r1 = std::min(rx.value_or(0), w / 2), r2 = std::min(ry.value_or(0), h / 2);
    SubPath p{{x + r1, y}, {}, true};
    auto corner = [&](Vec2 from, Vec2 to) {
        for (const Cubic& c : arcCubics(from, r1, r2, 0, false, true, to, tol))
            p.segments.push_back(c);
    };
    auto edge = [&](Vec2 a, Vec2 b) {
        if (a != b) p.segments.push_back(lineCubic(a, b));
    };
    edge({x + r1, y}, {x + w - r1, y});
    corner({x + w - r1, y}, {x + w, y + r2});
    edge({x + w, y + r2}, {x + w, y + h - r2});
    corner({x + w, y + h - r2}, {x + w - r1, y + h});
    edge({x + w - r1, y + h}, {x + r1, y + h});
    corner({x + r1, y + h}, {x, y + h - r2});
    edge({x, y + h - r2}, {x, y + r2});
    corner({x, y + r2}, {x + r1, y});
    return {p};
}

std::vector<SubPath> ellipsePath(double cx, double cy, double rx, double ry, double tol) {
    if (rx <= 0 || ry <= 0) return {};
    SubPath p{{cx + rx, cy}, {}, true};
    const Vec2 q[] = {{cx + rx, cy}, {cx, cy + ry}, {cx - rx, cy}, {cx, cy - ry}, {cx + rx, cy}};
    for (int i = 0; i < 4; ++i)
        for (const Cubic& c : arcCubics(q[i], rx, ry, 0, false, true, q[i + 1], tol))
            p.segments.push_back(c);
    return {p};
}

std::vector<SubPath> polygonPath(const pugi::xml_node& n, std::size_t budget) {
    const std::vector<double> v = parseNumberList(n.attribute("points").value(), 2 * budget + 2);
    if (v.size() < 2) return {};
    SubPath p{{v[0], v[1]}, {}, true};
    const std::size_t count = v.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        const Vec2 a{v[2 * i], v[2 * i + 1]};
        const Vec2 b = i + 1 == count ? p.start : Vec2{v[2 * i + 2], v[2 * i + 3]};
        if (a != b) p.segments.push_back(lineCubic(a, b));
    }
    return {p};
}

double arcTolerance(const Affine& m) {
    const double pixelsPerUnit = std::hypot(m.a, m.b) + std::hypot(m.c, m.d);
    return pixelsPerUnit > 0 ? kArcTolerance / pixelsPerUnit : kArcTolerance;
}

std::vector<SubPath> shapePaths(const pugi::xml_node& n, std::string_view name, std::size_t used,
                                const Affine& m) {
    const double tol = arcTolerance(m);
    auto num = [&](const char* attr) { return numberAttr(n, attr).value_or(0); };
    if (name == "path") return parsePathData(n.attribute("d").value(), kMaxSegments, used, tol);
    if (name == "rect") return rectPath(n, tol);
    if (name == "circle") return ellipsePath(num("cx"), num("cy"), num("r"), num("r"), tol);
    if (name == "ellipse") return ellipsePath(num("cx"), num("cy"), num("rx"), num("ry"), tol);
    if (name == "polygon") return polygonPath(n, kMaxSegments - used);
    return {};
}

bool isContainer(std::string_view name) {
    return name == "svg" || name == "g" || name == "a" || name == "switch";
}

bool isClosed(const SubPath& p) {
    return !p.segments.empty() && (p.closed || p.segments.back().p3 == p.start);
}

} // namespace

std::vector<ClosedRing> closedRings(std::string_view xml) {
    pugi::xml_document doc;
    // Only the predefined and numeric character references are replaced; pugixml has no
    // DTD entity expansion at all, so an entity bomb stays a few literal bytes.
    const unsigned flags = pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_eol;
    const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size(), flags);
    if (!parsed) throw ShapeError(std::string("it is not well-formed XML (") +
                                  parsed.description() + ")");
    const pugi::xml_node root = doc.document_element();
    if (localName(root) != "svg") throw ShapeError("it is not an SVG document");

    struct Pending {
        pugi::xml_node node;
        Affine transform;
    };
    std::vector<Pending> stack{{root, rootTransform(root)}};
    std::vector<ClosedRing> rings;
    std::size_t used = 0;
    while (!stack.empty()) {
        const Pending item = stack.back();
        stack.pop_back();
        const std::string_view name = localName(item.node);
        std::optional<Affine> own = parseTransform(item.node.attribute("transform").value());
        if (!own) continue;
        const Affine m = item.transform.after(*own);
        if (isContainer(name)) {
            // Children go on the stack in reverse so that they are read in document order.
            std::vector<pugi::xml_node> children;
            for (pugi::xml_node c = item.node.first_child(); c; c = c.next_sibling())
                if (c.type() == pugi::node_element) children.push_back(c);
            for (auto it = children.rbegin(); it != children.rend(); ++it)
                stack.push_back({*it, m});
            continue;
        }
        for (const SubPath& p : shapePaths(item.node, name, used, m)) {
            used += p.segments.size();
            if (used > kMaxSegments)
                throw ShapeError("it holds more points than a shape may hold");
            if (!isClosed(p)) continue;
            ClosedRing ring;
            ring.segments.reserve(p.segments.size());
            for (const Cubic& c : p.segments)
                ring.segments.push_back(c.mapped(m));
            rings.push_back(std::move(ring));
        }
    }
    return rings;
}

} // namespace plakett::svg
