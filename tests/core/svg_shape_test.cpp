#include "shape/compute_points.h"
#include "shape/shape_error.h"
#include "shape/shape_file.h"
#include "shape/svg_curves.h"
#include "shape/svg_outline_fit.h"
#include "shape/svg_path_data.h"
#include "shape/svg_ring_direction.h"
#include "shape/svg_shape_export.h"
#include "shape/svg_shape_import.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <random>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

struct Expected {
    int x, y;
    std::uint8_t type;
};

std::string doc(const std::string& body, const std::string& attrs = "") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" " + attrs + ">" + body + "</svg>";
}

std::string pathDoc(const std::string& d) {
    return doc("<path d=\"" + d + "\"/>");
}

std::string errorOf(const std::string& xml) {
    try {
        readSvgShape(xml);
    } catch (const ShapeError& e) {
        return e.what();
    }
    return "(no error)";
}

// The cubics the outline computation draws through the ring, at editor scale.
std::vector<svg::Cubic> drawnRing(const std::vector<TMoveBox>& points) {
    const TArrayBezierPoint n = EditorBezierNodes(points);
    std::vector<svg::Cubic> ring;
    for (std::size_t i = 0; i < n.size(); ++i) {
        const TBezierNode& a = n[i];
        const TBezierNode& b = n[(i + 1) % n.size()];
        ring.push_back({{double(a.X), double(a.Y)},
                        {a.OutX, a.OutY},
                        {b.InX, b.InY},
                        {double(b.X), double(b.Y)}});
    }
    return ring;
}

std::vector<svg::Vec2> samples(const std::vector<svg::Cubic>& ring, int perSegment) {
    std::vector<svg::Vec2> out;
    for (const svg::Cubic& c : ring)
        for (int k = 0; k < perSegment; ++k)
            out.push_back(c.at(double(k) / perSegment));
    return out;
}

double pointToPolyline(svg::Vec2 p, const std::vector<svg::Vec2>& line) {
    double best = 1e300;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const svg::Vec2 a = line[k], b = line[(k + 1) % line.size()];
        const svg::Vec2 s = b - a;
        const double l2 = svg::dot(s, s);
        const double t = l2 > 0 ? std::clamp(svg::dot(p - a, s) / l2, 0.0, 1.0) : 0.0;
        best = std::min(best, svg::length(p - (a + s * t)));
    }
    return best;
}

// The furthest the imported outline strays from the path, both ways, on dense samples.
double ringDistance(const std::vector<svg::Cubic>& path, const std::vector<TMoveBox>& points) {
    const auto a = samples(path, 200), b = samples(drawnRing(points), 200);
    double worst = 0;
    for (const auto& p : a)
        worst = std::max(worst, pointToPolyline(p, b));
    for (const auto& p : b)
        worst = std::max(worst, pointToPolyline(p, a));
    return worst;
}

const std::vector<Expected> kRect = {
    {10, 10, ptAngle}, {10, 60, ptAngle}, {110, 60, ptAngle}, {110, 10, ptAngle}};

} // namespace

// Commands, relative forms, transforms and the viewBox, each giving one known ring (already
// turned to run as the shipped shapes do, its first point kept).
TEST(SvgShapeRead, PlacesPointsAsTheDocumentDraws) {
    struct Case {
        const char* name;
        std::string xml;
        std::vector<Expected> points;
    };
    const std::vector<Case> cases = {
        {"absolute lines", pathDoc("M10 10 L110 10 L110 60 L10 60 Z"), kRect},
        {"relative lines", pathDoc("m10 10 l100 0 0 50 -100 0 z"), kRect},
        {"H and V", pathDoc("M10 10 H110 V60 H10 Z"), kRect},
        {"h and v", pathDoc("m10 10 h100 v50 h-100 z"), kRect},
        {"compact numbers", pathDoc("M10,10L110,10,110,60,10,60z"), kRect},
        {"closing point not repeated", pathDoc("M10 10 L110 10 L110 60 L10 60 L10 10 Z"), kRect},
        {"already in shipped order", pathDoc("M10 10 L10 60 L110 60 L110 10 Z"), kRect},
        {"implicit lineto after moveto", pathDoc("M10 10 110 10 110 60 10 60 Z"), kRect},
        {"polygon", doc("<polygon points='10,10 110,10 110,60 10,60'/>"), kRect},
        {"rect", doc("<rect x='10' y='10' width='100' height='50'/>"), kRect},
        {"translate and scale",
         doc("<g transform='translate(5 5) scale(2)'><path d='M2.5 2.5 h50 v25 h-50 z'/></g>"),
         kRect},
        {"nested groups multiply",
         doc("<g transform='translate(10,10)'><g transform='scale(2,1)'>"
             "<path d='M0 0 H50 V50 H0 Z'/></g></g>"),
         kRect},
        {"matrix", doc("<path transform='matrix(2 0 0 1 10 10)' d='M0 0 H50 V50 H0 Z'/>"), kRect},
        {"rotate about a point",
         doc("<path transform='rotate(90 60 35)' d='M35 -15 H85 V85 H35 Z'/>"),
         {{110, 10, ptAngle}, {10, 10, ptAngle}, {10, 60, ptAngle}, {110, 60, ptAngle}}},
        {"viewBox onto width and height",
         doc("<path d='M5 5 H55 V30 H5 Z'/>", "width='200' height='100' viewBox='0 0 100 50'"),
         kRect},
        {"viewBox with an origin, in mm",
         doc("<path d='M15 15 H115 V65 H15 Z'/>",
             "width='52.916667mm' height='26.458333mm' viewBox='5 5 200 100'"),
         kRect},
        {"viewBox kept square (meet)",
         doc("<path d='M0 0 H100 V50 H0 Z'/>", "width='200' height='200' viewBox='0 0 100 50'"),
         {{0, 50, ptAngle}, {0, 150, ptAngle}, {200, 150, ptAngle}, {200, 50, ptAngle}}},
        {"without width and height the viewBox does not scale",
         doc("<path d='M10 10 H110 V60 H10 Z'/>", "viewBox='0 0 10 10'"), kRect},
        {"halves round to even",
         pathDoc("M10.5 10.5 L110.5 10.5 L110.5 60.5 L10.5 60.5 Z"),
         {{10, 10, ptAngle}, {10, 60, ptAngle}, {110, 60, ptAngle}, {110, 10, ptAngle}}},
        {"largest closed subpath wins",
         doc("<path d='M0 0 h5 v5 h-5 z M10 10 H110 V60 H10 Z'/><circle cx='0' cy='0' r='20'/>"
             "<path d='M-500 -500 H500 V500'/>"),
         kRect},
        {"defs are not drawn",
         doc("<defs><rect width='1000' height='1000'/></defs><rect x='10' y='10' width='100' "
             "height='50'/>"),
         kRect},
        {"circle: four Anchor points",
         doc("<circle cx='100' cy='100' r='50'/>"),
         {{150, 100, ptBezier}, {100, 50, ptBezier}, {50, 100, ptBezier}, {100, 150, ptBezier}}},
        {"quadratic and smooth cubic joins",
         pathDoc("M0 0 Q50 -40 100 0 T200 0 L200 100 C150 140 50 140 0 100 Z"),
         {{0, 0, ptBezier}, {0, 100, ptBezier}, {200, 100, ptBezier}, {200, 0, ptBezier},
          {100, 0, ptBezier}}},
        {"a cubic whose control lies on its end point",
         pathDoc("M0 0 C0 0 100 -50 200 0 L200 100 L0 100 Z"),
         {{0, 0, ptAngle}, {0, 100, ptAngle}, {200, 100, ptAngle}, {200, 0, ptBezier}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TMoveBox> got = readSvgShape(c.xml);
        ASSERT_EQ(got.size(), c.points.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(got[i].FPos.X, c.points[i].x);
            EXPECT_EQ(got[i].FPos.Y, c.points[i].y);
            EXPECT_EQ(got[i].FPointType, c.points[i].type);
        }
    }
}

// Curves: the imported outline follows the path within half a pixel (the paths here start
// on whole pixels, so rounding adds nothing), with few points.
TEST(SvgShapeRead, CurvesFollowThePathWithinHalfAPixel) {
    struct Case {
        const char* name;
        std::string d;
        std::size_t maxPoints;
    };
    const std::vector<Case> cases = {
        {"rounded rectangle", "M20 0 H180 A20 20 0 0 1 200 20 V80 A20 20 0 0 1 180 100 H20 "
                              "A20 20 0 0 1 0 80 V20 A20 20 0 0 1 20 0 Z", 12},
        {"large circle", "M1000 0 A1000 1000 0 0 1 -1000 0 A1000 1000 0 0 1 1000 0 Z", 12},
        {"rotated ellipse arcs", "M0 0 A120 40 30 1 1 100 60 A120 40 30 0 1 0 0 Z", 40},
        {"heart: sharp joins of curves", "M100 40 C100 0 40 0 40 40 C40 80 100 100 100 140 "
                                         "C100 100 160 80 160 40 C160 0 100 0 100 40 Z", 60},
        {"cubic with a cusp-like kink", "M0 0 C200 0 -100 100 100 100 L0 100 Z", 60},
        {"icon-like outline with small curves",
         "M4 2h16a2 2 0 0 1 2 2v12a2 2 0 0 1-2 2H9l-5 4v-4a2 2 0 0 1-2-2V4a2 2 0 0 1 2-2z", 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto sub = svg::parsePathData(c.d, 1000);
        ASSERT_EQ(sub.size(), 1u);
        const std::vector<TMoveBox> points = readSvgShape(pathDoc(c.d));
        EXPECT_LE(points.size(), c.maxPoints);
        EXPECT_LE(ringDistance(svg::inShippedDirection(sub[0].segments), points), 0.5);
    }
}

// Arcs against points computed from the ellipse itself.
TEST(SvgShapeRead, ArcsLieOnTheirEllipse) {
    struct Arc {
        svg::Vec2 from;
        double rx, ry, rotation;
        bool large, sweep;
        svg::Vec2 to;
    };
    const std::vector<Arc> arcs = {
        {{0, 0}, 50, 50, 0, false, true, {100, 0}},   {{0, 0}, 50, 50, 0, true, true, {100, 0}},
        {{0, 0}, 80, 30, 30, true, false, {60, 40}},  {{0, 0}, 10, 10, 0, false, true, {300, 0}},
        {{0, 0}, 2000, 500, 75, false, true, {1500, 900}}, {{5, 5}, 40, 20, -45, true, true, {5, 6}},
    };
    for (const Arc& a : arcs) {
        const auto cubics =
            svg::arcCubics(a.from, a.rx, a.ry, a.rotation, a.large, a.sweep, a.to, 0.01);
        ASSERT_FALSE(cubics.empty());
        EXPECT_EQ(cubics.front().p0, a.from);
        EXPECT_EQ(cubics.back().p3, a.to);
        // Every sample lies on one ellipse with the arc's (possibly grown) radii.
        const double phi = a.rotation * std::numbers::pi / 180;
        auto frame = [&](svg::Vec2 p) {
            return svg::Vec2{std::cos(phi) * p.x + std::sin(phi) * p.y,
                             -std::sin(phi) * p.x + std::cos(phi) * p.y};
        };
        // Radii grow when too small for the end points; the scale is the same on both axes.
        const svg::Vec2 h = frame((a.from - a.to) * 0.5);
        const double grow = std::max(1.0, std::sqrt(h.x * h.x / (a.rx * a.rx) +
                                                    h.y * h.y / (a.ry * a.ry)));
        const double rx = a.rx * grow, ry = a.ry * grow;
        // The centre, from the start point and the direction the arc leaves it in.
        svg::Vec2 centre{};
        {
            const svg::Vec2 p0 = frame(cubics.front().p0);
            const svg::Vec2 t = frame(cubics.front().c1 - cubics.front().p0);
            // On the ellipse x = cx + rx cos u, y = cy + ry sin u; the tangent is
            // (-rx sin u, ry cos u), so (cos u, sin u) ~ (t.y / ry, -t.x / rx).
            const double n = std::hypot(t.y / ry, t.x / rx);
            const double s = a.sweep ? 1 : -1;
            centre = {p0.x - rx * s * t.y / ry / n, p0.y + ry * s * t.x / rx / n};
        }
        double worst = 0;
        for (const svg::Cubic& c : cubics)
            for (int k = 0; k <= 50; ++k) {
                const svg::Vec2 p = frame(c.at(k / 50.0)) - centre;
                const double r = std::hypot(p.x / rx, p.y / ry);
                worst = std::max(worst, std::fabs(r - 1) * std::min(rx, ry));
            }
        EXPECT_LT(worst, 0.05);
    }
}

// The shipped shapes all run one way; a ring drawn either way is imported running that way.
TEST(SvgShapeRead, RingsRunAsTheShippedShapes) {
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(PLAKETT_SOURCE_DATA) / "Buttons")) {
        if (entry.path().extension() != ".shp") continue;
        std::vector<TMoveBox> points;
        LoadFromFile(entry.path(), points);
        EXPECT_LT(svg::signedArea(drawnRing(points)), 0) << entry.path();
        ++checked;
    }
    EXPECT_GT(checked, 5);
    const auto one = readSvgShape(pathDoc("M0 0 C 50 -30 100 -30 150 0 L 150 80 L0 80 Z"));
    const auto other = readSvgShape(pathDoc("M0 0 L0 80 L 150 80 L 150 0 C 100 -30 50 -30 0 0 Z"));
    EXPECT_EQ(one, other);
    EXPECT_LT(svg::signedArea(drawnRing(one)), 0);
}

// Shape -> SVG -> shape keeps points, types and the rendered outline; Auto points come back
// as Anchor points on the same curve.
TEST(SvgShapeRoundTrip, KeepsAnchorAndCornerShapes) {
    std::vector<std::vector<TMoveBox>> shapes;
    for (const auto& entry : fs::directory_iterator(fs::path(PLAKETT_SOURCE_DATA) / "Buttons")) {
        std::vector<TMoveBox> points;
        LoadFromFile(entry.path(), points);
        shapes.push_back(points);
    }
    // Shapes as the editor makes them: handles dragged to whole lengths, directions v / |v|.
    std::mt19937 rng(21);
    for (int s = 0; s < 30; ++s) {
        std::vector<TMoveBox> ring;
        const int n = 3 + s % 7;
        for (int i = 0; i < n; ++i) {
            const double a = -2 * std::numbers::pi * i / n;
            const double r = 80 + rng() % 40;
            TMoveBox b;
            b.Init(300 + int(std::lround(r * std::cos(a))), 200 + int(std::lround(r * std::sin(a))));
            if (rng() % 3 != 0) {
                b.FPointType = ptBezier;
                const float vx = float(std::sin(a)) + float(rng() % 100) / 500.0f;
                const float vy = -float(std::cos(a));
                const float len = std::sqrt(vx * vx + vy * vy);
                b.FRx = vx / len;
                b.FRy = vy / len;
                b.FRightLength = float(5 + rng() % 30);
                b.FLeftLength = s % 5 == 0 ? 0.0f : float(5 + rng() % 30) * 1.37f;
            } else {
                b.FPointType = ptAngle;
            }
            ring.push_back(b);
        }
        shapes.push_back(ring);
    }
    for (const auto& shape : shapes) {
        const std::vector<TMoveBox> back = readSvgShape(shapeSvgText(shape));
        ASSERT_EQ(back.size(), shape.size());
        for (std::size_t i = 0; i < shape.size(); ++i) {
            EXPECT_EQ(back[i].FPos, shape[i].FPos);
            EXPECT_EQ(back[i].FPointType, shape[i].FPointType);
        }
        EXPECT_EQ(ComputeRenderOutline(back), ComputeRenderOutline(shape));
        EXPECT_EQ(ComputeEditorOutline(back), ComputeEditorOutline(shape));
    }
    // An Auto ring: Anchor points drawing the same curve.
    std::vector<TMoveBox> autos;
    for (auto [x, y] : {std::pair{300, 150}, {200, 100}, {100, 150}, {200, 220}}) {
        TMoveBox b;
        b.Init(x, y);
        autos.push_back(b);
    }
    const std::vector<TMoveBox> back = readSvgShape(shapeSvgText(autos));
    ASSERT_EQ(back.size(), autos.size());
    for (const TMoveBox& b : back)
        EXPECT_EQ(b.FPointType, ptBezier);
    EXPECT_EQ(ComputeRenderOutline(back), ComputeRenderOutline(autos));
}

// Damaged and hostile documents end in a clear error or a shape, quickly, never a bomb.
TEST(SvgShapeRead, DamagedDocumentsAreRefusedQuickly) {
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<g>";
    deep += "<rect width='10' height='10'/>";
    for (int i = 0; i < 200000; ++i)
        deep += "</g>";
    std::string laughs;
    laughs = "<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY l0 'lol'>";
    for (int i = 1; i < 12; ++i) {
        std::string refs;
        for (int k = 0; k < 10; ++k)
            refs += "&l" + std::to_string(i - 1) + ";";
        laughs += "<!ENTITY l" + std::to_string(i) + " '" + refs + "'>";
    }
    laughs += "]><svg xmlns='http://www.w3.org/2000/svg'><text>&l11;</text>"
              "<path d='M0 0 H10 V10 H0 Z'/></svg>";
    std::string many = "M0 0";
    for (int i = 0; i < 1000001; ++i)
        many += " l1 0";
    many += " z";
    struct Case {
        const char* name;
        std::string xml;
        const char* error; // nullptr: a shape is read
    };
    const std::vector<Case> cases = {
        {"unclosed path", pathDoc("M0 0 L100 0 L100 100"), "no closed shape"},
        {"closed path after an unclosed one", pathDoc("M0 0 L100 0 M0 0 H50 V50 H0 Z"), nullptr},
        {"error ends the path data", pathDoc("M0 0 L100 0 L100 100 L0 100 Z L x"), nullptr},
        {"huge number", pathDoc("M0 0 L1e300 0 L1e300 1e300 Z"), "reaches further"},
        {"overflowing number", pathDoc("M0 0 L1e999 0 L0 10 Z"), "not finite"},
        {"NaN is not a number", pathDoc("M0 0 L NaN 0 L0 10 Z"), "no closed shape"},
        {"overflowing transform", doc("<path transform='scale(1e400)' d='M0 0 H1 V1 Z'/>"),
         "not finite"},
        {"no svg root", "<html><path d='M0 0 H10 V10 Z'/></html>", "not an SVG document"},
        {"not XML", "M0 0 L10 0 L10 10 Z", "not well-formed XML"},
        {"truncated XML", "<svg><path d='M0 0 H10 V10 Z'/>", "not well-formed XML"},
        {"empty", "", "not well-formed XML"},
        {"zero-size rect", doc("<rect width='0' height='10'/>"), "no closed shape"},
        {"smaller than a pixel", pathDoc("M0 0 L0.2 0 L0.2 0.2 Z"), "smaller than a pixel"},
        {"deep nesting", doc(deep), nullptr},
        {"entity bomb stays literal", laughs, nullptr},
        {"more points than a shape may hold", pathDoc(many), "more points than a shape"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        const std::string error = errorOf(c.xml);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        if (c.error)
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        else
            EXPECT_EQ(error, "(no error)");
    }
}

TEST(SvgShapeFile, ErrorsNameTheFileAndKeepThePoints) {
    const fs::path dir = fs::temp_directory_path() / ("plakett_svg_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "open.svg";
    { std::ofstream(file) << pathDoc("M0 0 L10 0"); }
    std::vector<TMoveBox> points = {TMoveBox{}};
    try {
        LoadAnyShapeFile(file, points);
        ADD_FAILURE() << "no error";
    } catch (const ShapeError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot read '" + file.string() + "' as a shape: it holds no closed shape");
    }
    EXPECT_EQ(points.size(), 1u);
    SaveSvgFile(readSvgShape(pathDoc("M0 0 H10 V10 H0 Z")), dir / "out.SVG");
    LoadAnyShapeFile(dir / "out.SVG", points);
    EXPECT_EQ(points.size(), 4u);
    fs::remove_all(dir);
}
