#include "shape/svg_shape_export.h"

#include "common/file_write.h"
#include "common/float_chars.h"
#include "shape/compute_points.h"
#include "shape/shape_error.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace plakett {
namespace {

// The shortest text that reads back as the same float32.
std::string number(float v) {
    if (v == 0) return "0";
    return shortestText(v);
}

std::string number(std::int32_t v) {
    return std::to_string(v);
}

std::string pair(float x, float y) {
    return number(x) + " " + number(y);
}

} // namespace

std::string outlinePathData(const std::vector<TMoveBox>& points) {
    if (points.empty()) return {};
    const TArrayBezierPoint nodes = EditorBezierNodes(points);
    std::string d = "M";
    d += number(nodes[0].X);
    d += " ";
    d += number(nodes[0].Y);
    const std::size_t n = nodes.size();
    for (std::size_t i = 0; i < n && n > 1; ++i) {
        const TBezierNode& a = nodes[i];
        const TBezierNode& b = nodes[(i + 1) % n];
        const std::string end = number(b.X) + " " + number(b.Y);
        if (points[i].FPointType == ptAngle && points[(i + 1) % n].FPointType == ptAngle)
            d += " L" + end;
        else
            d += " C" + pair(a.OutX, a.OutY) + " " + pair(b.InX, b.InY) + " " + end;
    }
    return d + " Z";
}

std::string shapeSvgText(const std::vector<TMoveBox>& points) {
    const TArrayPoint outline = ComputeEditorOutline(points);
    std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
    if (!outline.empty()) {
        minX = maxX = outline[0].X;
        minY = maxY = outline[0].Y;
    }
    for (const TPoint& p : outline) {
        minX = std::min<std::int64_t>(minX, p.X);
        maxX = std::max<std::int64_t>(maxX, p.X);
        minY = std::min<std::int64_t>(minY, p.Y);
        maxY = std::max<std::int64_t>(maxY, p.Y);
    }
    // One SVG px is one editor pixel and the file keeps editor coordinates: the canvas runs
    // from the origin when the outline lies right of and below it (a page shows it at its
    // size), otherwise only a viewBox around the outline is given (no width and height, so
    // that reading it back maps user units one to one as well).
    std::string size;
    if (minX >= 0 && minY >= 0) {
        const std::string w = std::to_string(maxX + 2), h = std::to_string(maxY + 2);
        size = "width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\"";
    } else {
        size = "viewBox=\"" + std::to_string(minX - 1) + " " + std::to_string(minY - 1) + " " +
               std::to_string(maxX - minX + 2) + " " + std::to_string(maxY - minY + 2) + "\"";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" " +
           size + ">\n  <path d=\"" + outlinePathData(points) + "\"/>\n</svg>\n";
}

void SaveSvgFile(const std::vector<TMoveBox>& points, const std::filesystem::path& fileName) {
    const std::string text = shapeSvgText(points);
    try {
        writeFileAtomically(fileName,
                            {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    } catch (const std::runtime_error& e) {
        throw ShapeError(e.what());
    }
}

} // namespace plakett
