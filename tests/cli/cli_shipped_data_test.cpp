// The shapes, styles and textures shipped in data/ load and work with the renderer.
#include "cli_run.h"

#include "effects/style_file.h"
#include "image/bmp.h"
#include "image/jpeg.h"
#include "shape/compute_points.h"
#include "shape/shape_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

using namespace plakett;
using namespace plakett::clitest;

namespace {

// Whether two segments of the outline cross properly (touching ends do not count).
bool crosses(TPoint a, TPoint b, TPoint c, TPoint d) {
    const auto side = [](TPoint p, TPoint q, TPoint r) {
        const long long v = static_cast<long long>(q.X - p.X) * (r.Y - p.Y) -
                            static_cast<long long>(q.Y - p.Y) * (r.X - p.X);
        return (v > 0) - (v < 0);
    };
    return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

bool selfIntersects(const TArrayPoint& closed) {
    const std::size_t n = closed.size() - 1; // the last point repeats the first
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 2; j < n; ++j)
            if (crosses(closed[i], closed[i + 1], closed[j], closed[j + 1])) return true;
    return false;
}

std::vector<fs::path> filesIn(const std::string& folder, const std::string& extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(shippedShape(folder)))
        if (entry.path().extension() == extension) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

Bgr24Image renderOff(const std::vector<std::string>& options, const fs::path& shape,
                     const TempDir& dir, const std::string& base) {
    std::vector<std::string> args{"--states", "1"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(shape.string());
    args.push_back((dir / base).string());
    const RunResult r = runRender(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return decodeBmpFile(fileBytes(dir / (base + "_off.bmp")));
}

// Mean colour distance between two renders of one shape over the pixels that `shape` (a
// render of it) does not leave white.
double meanDistance(const Bgr24Image& a, const Bgr24Image& b, const Bgr24Image& shape) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x) {
            if (shape.at(x, y) == Bgr24{255, 255, 255}) continue;
            const Bgr24 p = a.at(x, y), q = b.at(x, y);
            sum += std::hypot(p.r - q.r, p.g - q.g, p.b - q.b);
            ++count;
        }
    return sum / count;
}

} // namespace

// Every style changes the default render, and no two give nearly the same button.
TEST(ShippedData, StylesLoadAndEachGivesItsOwnButton) {
    const std::vector<std::string> names = ListStyles(shippedShape("Styles"));
    ASSERT_GE(names.size(), 12u);
    const fs::path pill = shippedShape("Buttons/Pill.shp");
    TempDir dir;
    const Bgr24Image plain = renderOff({}, pill, dir, "plain");
    std::vector<std::pair<std::string, Bgr24Image>> seen{{"(no style)", plain}};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const fs::path path = styleFilePath(shippedShape("Styles"), name);
        const std::vector<std::uint8_t> bytes = fileBytes(path);
        ASSERT_GT(bytes.size(), kStyleTrailerSize);
        // A picture viewer sees a 32 x 32 JPEG; the trailer follows it.
        const Bgr24Image icon = decodeJpeg(bytes);
        EXPECT_EQ(icon.width(), kStyleThumbnailSize);
        EXPECT_EQ(icon.height(), kStyleThumbnailSize);
        const StyleData style = readStyleFile(path);
        for (const StyleLight& l : style.lights) {
            EXPECT_LE(l.Enabled, 1);
            EXPECT_TRUE(l.PadX >= 0 && l.PadX <= 64 && l.PadY >= 0 && l.PadY <= 64);
            EXPECT_TRUE(l.Radius >= 40 && l.Radius <= 200);
            EXPECT_TRUE(l.Power >= 0 && l.Power <= 100);
        }

        Bgr24Image img = renderOff({"--style", path.string()}, pill, dir, name);
        ASSERT_EQ(img.width(), plain.width());
        for (const auto& [otherName, other] : seen)
            EXPECT_GE(meanDistance(img, other, plain), 24.0) << "looks like " << otherName;
        seen.emplace_back(name, std::move(img));
    }
}

// The renderer repeats a texture every width - 1 columns, so the last column repeats the first.
TEST(ShippedData, BackgroundTexturesTileSeamlessly) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(shippedShape("Backgrounds"))) {
        SCOPED_TRACE(entry.path().filename().string());
        ++count;
        const Bgr24Image t = readJpegFile(entry.path());
        ASSERT_GE(t.width(), 16);
        ASSERT_GE(t.height(), 16);
        Bgr24Image first(1, t.height());
        Bgr24Image last(1, t.height());
        for (int y = 0; y < t.height(); ++y) {
            first.at(0, y) = t.at(0, y);
            last.at(0, y) = t.at(t.width() - 1, y);
        }
        EXPECT_LE(maxChannelDifference(first, last), 14); // JPEG keeps them close, not equal
    }
    EXPECT_GE(count, 2);
}

// Every library shape is an outline a user can go on editing: few points, clean Anchor
// directions, no crossing; and it renders into a button.
TEST(ShippedData, EveryLibraryShapeIsCleanAndRenders) {
    const struct {
        const char* folder;
        std::size_t atLeast;
    } folders[] = {{"Buttons", 12}, {"Other", 8}};
    TempDir dir;
    for (const auto& f : folders) {
        const std::vector<fs::path> shapes = filesIn(f.folder, ".shp");
        EXPECT_GE(shapes.size(), f.atLeast) << f.folder;
        for (const fs::path& path : shapes) {
            SCOPED_TRACE(path.filename().string());
            std::vector<TMoveBox> points;
            ASSERT_NO_THROW(LoadFromFile(path, points));
            EXPECT_GE(points.size(), 3u);
            EXPECT_LE(points.size(), 32u);
            for (const TMoveBox& p : points) {
                if (p.FPointType != ptBezier) continue;
                EXPECT_NEAR(std::hypot(p.FRx, p.FRy), 1.0, 1e-4);
                EXPECT_GT(p.FLeftLength, 0);
                EXPECT_GT(p.FRightLength, 0);
            }
            const TArrayPoint outline = ComputeEditorOutline(points);
            EXPECT_FALSE(selfIntersects(outline));

            const Bgr24Image img = renderOff({}, path, dir, path.stem().string());
            int shaded = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    shaded += img.at(x, y) != Bgr24{255, 255, 255};
            EXPECT_GT(shaded, img.width() * img.height() / 5);
        }
    }
}

// The renderer tiles column width - 2 against column 0 and the last row against the first:
// those steps must be no stronger than the texture's own strong steps (the mean of its
// largest tenth), and the files stay small.
TEST(ShippedData, EveryTextureIsSmallAndTilesWithoutASeam) {
    const std::vector<fs::path> textures = filesIn("Backgrounds", ".jpg");
    EXPECT_GE(textures.size(), 6u);
    for (const fs::path& path : textures) {
        SCOPED_TRACE(path.filename().string());
        EXPECT_LE(fs::file_size(path), 8u * 1024);
        const Bgr24Image t = readJpegFile(path);
        const int w = t.width() - 1, h = t.height(); // the tile period
        const auto step = [&](int x0, int y0, int x1, int y1) {
            const Bgr24 a = t.at(x0, y0), b = t.at(x1, y1);
            return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        };
        const auto strongMean = [](std::vector<int> steps) {
            std::sort(steps.begin(), steps.end(), std::greater<>());
            const std::size_t n = std::max<std::size_t>(1, steps.size() / 10);
            return std::accumulate(steps.begin(), steps.begin() + n, 0.0) / n;
        };
        std::vector<int> inX, inY;
        double seamX = 0, seamY = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x + 1 < w; ++x)
                inX.push_back(step(x, y, x + 1, y));
            seamX += step(w - 1, y, 0, y) / double(h);
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y + 1 < h; ++y)
                inY.push_back(step(x, y, x, y + 1));
            seamY += step(x, h - 1, x, 0) / double(w);
        }
        EXPECT_LE(seamX, strongMean(inX) + 4) << "across the left and right edges";
        EXPECT_LE(seamY, strongMean(inY) + 4) << "across the top and bottom edges";
    }
}
