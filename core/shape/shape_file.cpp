#include "shape/shape_file.h"

#include "common/file_write.h"
#include "shape/number_text.h"

#include <fstream>
#include <optional>
#include <random>
#include <string_view>
#include <system_error>

namespace plakett {

namespace {

constexpr std::size_t kMaxLineLength = 255;
constexpr const char* kEol = "\r\n";

const char* typeLine(std::uint8_t type) {
    if (type == ptAuto) return "Point Type = Auto;";
    if (type == ptAngle) return "Point Type = Angle;";
    return "Point Type = Bezeir;";
}

// Lines end at LF; a CR right before it belongs to the line end. Only the first 255
// characters of a line are kept; the rest is skipped.
class LineReader {
  public:
    explicit LineReader(std::istream& in) : m_buf(*in.rdbuf()) {}

    std::optional<std::string> next() {
        using Traits = std::char_traits<char>;
        std::string kept;
        std::size_t length = 0;
        bool lastWasCr = false;
        int c = m_buf.sbumpc();
        if (c == Traits::eof()) return std::nullopt;
        ++m_number;
        while (c != Traits::eof() && c != '\n') {
            if (kept.size() <= kMaxLineLength) kept += static_cast<char>(c);
            ++length;
            lastWasCr = c == '\r';
            c = m_buf.sbumpc();
        }
        m_lastEnded = c == '\n';
        const std::size_t content = length - (lastWasCr ? 1 : 0);
        kept.resize(std::min(content, kMaxLineLength));
        return kept;
    }

    int number() const { return m_number; }
    // False when the last line read was cut off by the end of the file.
    bool lastEnded() const { return m_lastEnded; }

  private:
    std::streambuf& m_buf;
    int m_number = 0;
    bool m_lastEnded = true;
};

// The text between the first "=" and the first ";" (empty when either is missing or the
// ";" comes first).
std::string_view valueText(std::string_view line) {
    const std::size_t eq = line.find('=');
    const std::size_t semi = line.find(';');
    if (eq == std::string_view::npos || semi == std::string_view::npos || semi < eq) return {};
    return line.substr(eq + 1, semi - eq - 1);
}

// Drops the line up to and including its first ";" (nothing when there is none).
std::string_view afterFirstSemicolon(std::string_view line) {
    const std::size_t semi = line.find(';');
    return semi == std::string_view::npos ? line : line.substr(semi + 1);
}

class ShapeReader {
  public:
    explicit ShapeReader(std::istream& in) : m_lines(in) {}

    int lineNumber() const { return m_lines.number(); }

    std::vector<TMoveBox> read() {
        skipToShapeLine();
        const std::int32_t count = readCount();
        std::vector<TMoveBox> points;
        points.reserve(static_cast<std::size_t>(std::min(count, 4096)));
        for (std::int32_t i = 0; i < count; ++i)
            points.push_back(readPoint(i, count));
        return points;
    }

  private:
    void skipToShapeLine() {
        for (;;) {
            const auto line = m_lines.next();
            if (!line) throw ShapeError("Not a shape file: no \"Shape\" line");
            if (*line == "Shape") return;
        }
    }

    std::int32_t readCount() {
        const auto line = m_lines.next();
        if (!line) throw ShapeError("The shape file ends before the number of points");
        std::string_view text(*line);
        const std::size_t eq = text.find('=');
        text = eq == std::string_view::npos ? std::string_view{} : text.substr(eq + 1);
        text = text.substr(0, text.find(';'));
        const std::int32_t count = parseInteger(text);
        if (count < 0 || count > kMaxShapePoints)
            throw ShapeError("Invalid number of points in the shape file: " +
                             std::to_string(count));
        return count;
    }

    std::string nextLine(std::int32_t index, std::int32_t count) {
        auto line = m_lines.next();
        if (!line) throw endsBefore(index, count);
        return std::move(*line);
    }

    static ShapeError endsBefore(std::int32_t index, std::int32_t count) {
        return ShapeError("The shape file ends before point " + std::to_string(index + 1) + " of " +
                          std::to_string(count));
    }

    TMoveBox readPoint(std::int32_t index, std::int32_t count) {
        const std::string type = nextLine(index, count);
        TMoveBox box;
        std::uint8_t kind;
        if (type.find("Auto") != std::string::npos)
            kind = ptAuto;
        else if (type.find("Angle") != std::string::npos)
            kind = ptAngle;
        else if (type.find("Bezeir") != std::string::npos)
            kind = ptBezier;
        else if (!m_lines.lastEnded())
            throw endsBefore(index, count); // the type word itself was cut off
        else
            return unknownPoint();

        const std::string position = nextLine(index, count);
        const std::int32_t x = parseInteger(valueText(position));
        const std::int32_t y = parseInteger(valueText(afterFirstSemicolon(position)));
        box.Init(x, y);
        box.FPointType = kind;
        if (kind == ptBezier) {
            const std::string lengths = nextLine(index, count);
            box.FRightLength = parseShapeReal(valueText(lengths));
            box.FLeftLength = parseShapeReal(valueText(afterFirstSemicolon(lengths)));
            const std::string direction = nextLine(index, count);
            box.FRx = parseShapeReal(valueText(direction));
            box.FRy = parseShapeReal(valueText(afterFirstSemicolon(direction)));
        }
        return box;
    }

    // A type line without a known word leaves a bare point and consumes nothing more.
    static TMoveBox unknownPoint() {
        TMoveBox box;
        box.FLeftLength = box.FRightLength = box.FRx = box.FRy = 0.0f;
        box.FPointType = ptAuto;
        box.FPos = {0, 0};
        return box;
    }

    LineReader m_lines;
};

} // namespace

std::string shapeFileText(const std::vector<TMoveBox>& points) {
    std::string out;
    out += "Shape";
    out += kEol;
    out += "NumOfPoints = " + std::to_string(points.size()) + ";" + kEol;
    for (const TMoveBox& p : points) {
        out += typeLine(p.FPointType);
        out += kEol;
        out += "x = " + std::to_string(p.FPos.X) + ";y = " + std::to_string(p.FPos.Y) + ";" + kEol;
        if (p.FPointType != ptAuto && p.FPointType != ptAngle) {
            out += "Right Length = " + formatShapeReal(p.FRightLength) + ";";
            out += "Left Length = " + formatShapeReal(p.FLeftLength) + ";" + kEol;
            out +=
                "rx = " + formatShapeReal(p.FRx) + ";ry = " + formatShapeReal(p.FRy) + ";" + kEol;
        }
    }
    out += "end.";
    out += kEol;
    return out;
}

std::vector<TMoveBox> readShape(std::istream& in) {
    return ShapeReader(in).read();
}

namespace {

// A file's errors also say which file and which line.
std::vector<TMoveBox> readShapeNamingLine(std::istream& in, const std::filesystem::path& file) {
    ShapeReader reader(in);
    try {
        return reader.read();
    } catch (const ShapeError& e) {
        throw ShapeError(std::string(e.what()) + " (" + quotedPath(file) + ", line " +
                         std::to_string(reader.lineNumber()) + ")");
    }
}

} // namespace

void LoadFromFile(const std::filesystem::path& fileName, std::vector<TMoveBox>& points) {
    std::error_code ec;
    const auto status = std::filesystem::status(fileName, ec);
    // A device would never end and opening a pipe waits for a writer: both are refused
    // before opening. No real shape comes near the size limit.
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status) &&
        !std::filesystem::is_regular_file(status))
        throw ShapeError("Cannot read " + quotedPath(fileName) + ": it is not a regular file");
    std::ifstream in;
    if (!std::filesystem::is_directory(status)) in.open(fileName, std::ios::binary);
    if (!in.is_open()) throw ShapeError("Cannot open file \"" + fileName.string() + "\"");
    if (const auto size = std::filesystem::file_size(fileName, ec);
        !ec && size > kMaxShapeFileBytes)
        throw ShapeError("Cannot read " + quotedPath(fileName) + ": the file is " +
                         std::to_string(size) + " bytes, more than any shape needs");
    points = readShapeNamingLine(in, fileName);
}

void SaveToFile(const std::vector<TMoveBox>& points, const std::filesystem::path& fileName) {
    const std::string text = shapeFileText(points);
    try {
        writeFileAtomically(
            fileName, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    } catch (const std::runtime_error& e) {
        throw ShapeError(e.what());
    }
}

} // namespace plakett
