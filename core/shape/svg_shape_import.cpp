#include "shape/svg_shape_import.h"

#include "common/file_write.h"
#include "shape/shape_error.h"
#include "shape/shape_file.h"
#include "shape/svg_document.h"
#include "shape/svg_outline_fit.h"
#include "shape/svg_ring_direction.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace plakett {
namespace {

bool withinRange(const std::vector<svg::Cubic>& ring) {
    auto ok = [](svg::Vec2 p) {
        return std::fabs(p.x) <= kMaxSvgCoordinate && std::fabs(p.y) <= kMaxSvgCoordinate;
    };
    return std::all_of(ring.begin(), ring.end(), [&](const svg::Cubic& c) {
        return ok(c.p0) && ok(c.c1) && ok(c.c2) && ok(c.p3);
    });
}

double drawnWidth(const std::vector<svg::Cubic>& ring) {
    double lo = INFINITY, hi = -INFINITY;
    for (const svg::Cubic& c : ring)
        for (int k = 0; k <= 32; ++k) {
            const double x = c.at(k / 32.0).x;
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
    return hi - lo;
}

std::string asShown(const std::filesystem::path& fileName, const ShapeError& e) {
    return "Cannot read " + quotedPath(fileName) + " as a shape: " + e.what();
}

} // namespace

SvgOutline readSvgOutline(std::string_view xml) {
    const std::vector<svg::ClosedRing> rings = svg::closedRings(xml);
    const svg::ClosedRing* largest = nullptr;
    double largestArea = 0;
    bool tooFar = false;
    for (const svg::ClosedRing& r : rings) {
        if (!withinRange(r.segments)) {
            tooFar = true;
            continue;
        }
        const double area = std::fabs(svg::signedArea(r.segments));
        if (area > largestArea) { // NaN never wins
            largest = &r;
            largestArea = area;
        }
    }
    if (largest == nullptr && tooFar)
        throw ShapeError("its shape reaches further than " +
                         std::to_string(static_cast<long>(kMaxSvgCoordinate)) +
                         " pixels from the origin");
    if (largest == nullptr) throw ShapeError("it holds no closed shape");
    SvgOutline out;
    out.ring = svg::inShippedDirection(largest->segments);
    out.width = drawnWidth(out.ring);
    return out;
}

std::vector<TMoveBox> svgOutlinePoints(const SvgOutline& outline, double width) {
    std::vector<svg::Cubic> ring = outline.ring;
    if (width > 0 && outline.width > 0) {
        const double f = width / outline.width;
        const svg::Affine scale{f, 0, 0, f, 0, 0};
        for (svg::Cubic& c : ring)
            c = c.mapped(scale);
        if (!withinRange(ring))
            throw ShapeError("its shape at that width reaches further than " +
                             std::to_string(static_cast<long>(kMaxSvgCoordinate)) +
                             " pixels from the origin");
    }
    std::vector<TMoveBox> points = svg::fitRing(ring);
    if (points.size() < 2) throw ShapeError("its largest closed shape is smaller than a pixel");
    return points;
}

std::vector<TMoveBox> readSvgShape(std::string_view xml) {
    return svgOutlinePoints(readSvgOutline(xml));
}

SvgOutline LoadSvgOutline(const std::filesystem::path& fileName) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readFileBytes(fileName, kMaxShapeFileBytes);
    } catch (const std::runtime_error& e) {
        throw ShapeError(e.what());
    }
    try {
        return readSvgOutline({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    } catch (const ShapeError& e) {
        throw ShapeError(asShown(fileName, e));
    }
}

void LoadSvgFile(const std::filesystem::path& fileName, std::vector<TMoveBox>& points,
                 double width) {
    const SvgOutline outline = LoadSvgOutline(fileName);
    try {
        points = svgOutlinePoints(outline, width);
    } catch (const ShapeError& e) {
        throw ShapeError(asShown(fileName, e));
    }
}

bool isSvgFileName(const std::filesystem::path& fileName) {
    std::string ext = fileName.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".svg";
}

void LoadAnyShapeFile(const std::filesystem::path& fileName, std::vector<TMoveBox>& points) {
    if (isSvgFileName(fileName))
        LoadSvgFile(fileName, points);
    else
        LoadFromFile(fileName, points);
}

} // namespace plakett
