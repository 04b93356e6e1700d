#include "shape/number_text.h"
#include "shape/shape_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace plakett;
namespace fs = std::filesystem;

namespace {

const fs::path kShapes = fs::path(PLAKETT_TEST_DATA) / "shapes";

std::string fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<TMoveBox> parse(const std::string& text) {
    std::istringstream in(text);
    return readShape(in);
}

std::string parseError(const std::string& text) {
    try {
        parse(text);
    } catch (const ShapeError& e) {
        return e.what();
    }
    return "(no error)";
}

TMoveBox bezier(int x, int y, float right, float left, float rx, float ry) {
    TMoveBox b;
    b.Init(x, y);
    b.FPointType = ptBezier;
    b.FRightLength = right;
    b.FLeftLength = left;
    b.FRx = rx;
    b.FRy = ry;
    return b;
}

// A scratch folder per test, removed afterwards.
class ShapeFileDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir =
            fs::temp_directory_path() / ("plakett_shape_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

} // namespace

TEST(ShapeNumberText, RealFieldIsFixedScientific) {
    EXPECT_EQ(formatShapeReal(30.0f), " 3.00000000000000E+0001");
    EXPECT_EQ(formatShapeReal(1.0f), " 1.00000000000000E+0000");
    EXPECT_EQ(formatShapeReal(0.0f), " 0.00000000000000E+0000");
    EXPECT_EQ(formatShapeReal(-0.5f), "-5.00000000000000E-0001");
    EXPECT_EQ(formatShapeReal(0.1f), " 1.00000001490116E-0001");
    EXPECT_EQ(formatShapeReal(-3.0e38f), "-3.00000000549776E+0038");
    EXPECT_EQ(formatShapeReal(1.0e-45f), " 1.40129846432482E-0045");
    EXPECT_EQ(formatShapeReal(-0.0f)[0], '-'); // the sign bit survives a round trip
    EXPECT_EQ(formatShapeReal(std::numeric_limits<float>::quiet_NaN()).size(), 23u);
    EXPECT_EQ(parseShapeReal(formatShapeReal(std::numeric_limits<float>::infinity())), 0.0f);
}

TEST(ShapeNumberText, IntegersAreStrict) {
    EXPECT_EQ(tryParseInteger(" -12"), -12);
    EXPECT_EQ(tryParseInteger("+7"), 7);
    EXPECT_EQ(tryParseInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
    for (const char* bad : {"", " ", "12 ", "1 2", "2147483648", "0x10", "$10", "1.0", "-", "\t5"})
        EXPECT_FALSE(tryParseInteger(bad)) << '"' << bad << '"';
    try {
        parseInteger(" 5 ");
        FAIL();
    } catch (const ShapeError& e) {
        EXPECT_STREQ(e.what(), "' 5 ' is not a valid integer value");
    }
}

TEST(ShapeNumberText, RealsReadTheLongestPrefix) {
    EXPECT_EQ(parseShapeReal("  -1.5e2"), -150.0f);
    EXPECT_EQ(parseShapeReal(" 3.00000000000000E+0001"), 30.0f);
    EXPECT_EQ(parseShapeReal("+2"), 2.0f);
    EXPECT_EQ(parseShapeReal("5."), 5.0f);
    EXPECT_EQ(parseShapeReal(".5"), 0.5f);
    EXPECT_EQ(parseShapeReal("1.5abc"), 1.5f);
    EXPECT_EQ(parseShapeReal("2E"), 2.0f);
    EXPECT_EQ(parseShapeReal("2E+x"), 2.0f);
    EXPECT_EQ(parseShapeReal("abc"), 0.0f);
    EXPECT_EQ(parseShapeReal(""), 0.0f);
    EXPECT_EQ(parseShapeReal("-."), 0.0f);
    EXPECT_EQ(parseShapeReal("1e999"), 0.0f); // outside float
    EXPECT_EQ(parseShapeReal("1e39"), 0.0f);
}

TEST(ShapeFileText, DefaultShapeBytes) {
    std::vector<TMoveBox> points(2);
    points[0].Init(260, 150);
    points[1].Init(140, 150);
    EXPECT_EQ(shapeFileText(points), fileBytes(kShapes / "default.shp"));
}

TEST(ShapeFileText, BezierPointBytes) {
    std::vector<TMoveBox> points{bezier(-12, 7, 30.0f, 30.0f, 1.0f, 0.0f)};
    EXPECT_EQ(shapeFileText(points),
              "Shape\r\nNumOfPoints = 1;\r\nPoint Type = Bezeir;\r\nx = -12;y = 7;\r\n"
              "Right Length =  3.00000000000000E+0001;Left Length =  3.00000000000000E+0001;\r\n"
              "rx =  1.00000000000000E+0000;ry =  0.00000000000000E+0000;\r\nend.\r\n");
    points[0].FPointType = 9; // unknown types are written as Bezier points
    EXPECT_NE(shapeFileText(points).find("Point Type = Bezeir;"), std::string::npos);
}

TEST_F(ShapeFileDisk, RoundTripKeepsEveryBit) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::uint32_t> bits;
    std::uniform_int_distribution<int> pos(-100000, 100000);
    std::vector<TMoveBox> points;
    for (int i = 0; i < 300; ++i) {
        const auto randomFloat = [&] {
            float f;
            do
                f = std::bit_cast<float>(bits(rng));
            while (!std::isfinite(f));
            return f;
        };
        TMoveBox b =
            bezier(pos(rng), pos(rng), randomFloat(), randomFloat(), randomFloat(), randomFloat());
        b.FPointType = static_cast<std::uint8_t>(i % 3);
        points.push_back(b);
    }
    points.push_back(bezier(1, 2, -0.0f, 1e-45f, 0.1f, -1.0f));
    const fs::path file = m_dir / "round.shp";
    SaveToFile(points, file);
    std::vector<TMoveBox> back;
    LoadFromFile(file, back);
    ASSERT_EQ(back.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(back[i].FPos, points[i].FPos);
        EXPECT_EQ(back[i].FPointType, points[i].FPointType);
        if (points[i].FPointType != ptBezier) continue;
        for (auto field :
             {&TMoveBox::FLeftLength, &TMoveBox::FRightLength, &TMoveBox::FRx, &TMoveBox::FRy})
            EXPECT_EQ(std::bit_cast<std::uint32_t>(back[i].*field),
                      std::bit_cast<std::uint32_t>(points[i].*field))
                << i;
    }
}

TEST(ShapeFileRead, HandWrittenFileWithLfEnds) {
    std::vector<TMoveBox> points;
    LoadFromFile(kShapes / "mixed_lf.shp", points);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0].FPointType, ptAngle);
    EXPECT_EQ(points[0].FPos, (TPoint{100, -12}));
    EXPECT_EQ(points[1].FPointType, ptBezier);
    EXPECT_EQ(points[1].FRightLength, 20.0f);
    EXPECT_EQ(points[1].FLeftLength, 12.5f);
    EXPECT_EQ(points[1].FRx, -1.0f);
    EXPECT_EQ(points[1].FRy, 0.0f);
    EXPECT_EQ(points[2].FPointType, ptAuto); // "Auto" is tested before "Angle"
    EXPECT_EQ(points[2].FPos, (TPoint{100, 120}));
    EXPECT_EQ(points[2].FLeftLength, 30.0f);
    // No known word: a bare point, and only its type line is consumed.
    EXPECT_EQ(points[3].FPos, (TPoint{0, 0}));
    EXPECT_EQ(points[3].FPointType, ptAuto);
    EXPECT_EQ(points[3].FRx, 0.0f);
    EXPECT_EQ(points[3].FLeftLength, 0.0f);
}

TEST(ShapeFileRead, LinesAndValues) {
    EXPECT_TRUE(parse("Shape\nNumOfPoints = 0;\n").empty());
    // Only a whole line "Shape" starts the shape; CR LF and LF both end lines.
    EXPECT_EQ(parse("Shape \r\nShape\r\nNumOfPoints = 1\r\nAuto\r\nx = 3;y = -4;\r\n")[0].FPos,
              (TPoint{3, -4}));
    // Only 255 characters of a line count: the word beyond them is not seen.
    const std::string longType = "Point Type = " + std::string(250, ' ') + "Auto;";
    const auto cut = parse("Shape\nNumOfPoints = 1;\n" + longType + "\n");
    EXPECT_EQ(cut[0].FLeftLength, 0.0f);
    EXPECT_EQ(parse("Shape\n=1;\n" + std::string(300, 'x') + "Angle\n=1;=2;\n")[0].FPointType,
              ptAuto);
    EXPECT_EQ(parse("Shape\n=1;\n" + std::string(200, 'x') + "Angle\n=1;=2;\n")[0].FPointType,
              ptAngle);
}

TEST(ShapeFileRead, ErrorsNameTheProblem) {
    EXPECT_EQ(parseError("Shape\r\nNumOfPoints = 1;\r\nAuto\r\nx = 5 ;y = 1;\r\n"),
              "' 5 ' is not a valid integer value");
    EXPECT_EQ(parseError("Shape\nNumOfPoints = 1;\nAuto\nx = 5\n"),
              "'' is not a valid integer value");
    EXPECT_EQ(parseError("Shape\nNumOfPoints 2;\n"), "'' is not a valid integer value");
    EXPECT_EQ(parseError("Shape\nNumOfPoints = two;\n"), "' two' is not a valid integer value");
    EXPECT_EQ(parseError("shape\nNumOfPoints = 0;\n"), "Not a shape file: no \"Shape\" line");
    EXPECT_EQ(parseError("Shape\n"), "The shape file ends before the number of points");
    EXPECT_EQ(parseError("Shape\nNumOfPoints = -1;\n"),
              "Invalid number of points in the shape file: -1");
    EXPECT_EQ(parseError("Shape\nNumOfPoints = 2000000000;\nAuto\n"),
              "Invalid number of points in the shape file: 2000000000");
    EXPECT_EQ(parseError("Shape\nNumOfPoints = 900000;\nAuto\nx=1;y=2;\n"),
              "The shape file ends before point 2 of 900000");
}

TEST_F(ShapeFileDisk, FailedLoadChangesNothing) {
    std::vector<TMoveBox> points(1);
    points[0].Init(1, 2);
    const auto before = points;
    for (const char* name : {"bad_integer.shp", "truncated.shp"})
        EXPECT_THROW(LoadFromFile(kShapes / name, points), ShapeError) << name;
    try {
        LoadFromFile(m_dir / "missing.shp", points);
        FAIL();
    } catch (const ShapeError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.shp"), std::string::npos);
    }
    EXPECT_THROW(LoadFromFile(m_dir, points), ShapeError); // a folder
    EXPECT_EQ(points, before);
}

TEST_F(ShapeFileDisk, SaveReplacesWholeFilesOnly) {
    std::vector<TMoveBox> points(2);
    points[0].Init(260, 150);
    points[1].Init(140, 150);
    const fs::path file = m_dir / "a.shp";
    {
        std::ofstream(file) << "old and longer content than the new shape file has, by far......"
                               "..........................................................";
    }
    SaveToFile(points, file);
    EXPECT_EQ(fileBytes(file), fileBytes(kShapes / "default.shp"));

    // A target that cannot be replaced (a folder) reports the name and leaves no temporary.
    const fs::path folder = m_dir / "folder.shp";
    fs::create_directory(folder);
    try {
        SaveToFile(points, folder);
        FAIL();
    } catch (const ShapeError& e) {
        EXPECT_NE(std::string(e.what()).find("folder.shp"), std::string::npos);
    }
    EXPECT_THROW(SaveToFile(points, m_dir / "no" / "such" / "dir.shp"), ShapeError);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2);
}
