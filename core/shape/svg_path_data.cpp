#include "shape/svg_path_data.h"

#include "shape/shape_error.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace plakett::svg {
namespace {

const char* const kNotFinite = "it holds a number that is not finite";
const char* const kTooMany = "it holds more points than a shape may hold";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

class Scanner {
  public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    void skipBlanks() {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
    }
    void skipSeparator() {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == ',') {
            ++m_pos;
            skipBlanks();
        }
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return m_text[m_pos]; }
    void advance() { ++m_pos; }

    // An SVG number: sign, digits with an optional fraction, optional exponent.
    std::optional<double> number() {
        skipBlanks();
        const std::size_t start = m_pos;
        std::size_t p = m_pos;
        auto digits = [&] {
            const std::size_t from = p;
            while (p < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[p])))
                ++p;
            return p - from;
        };
        if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-')) ++p;
        std::size_t mantissa = digits();
        if (p < m_text.size() && m_text[p] == '.') {
            ++p;
            mantissa += digits();
        }
        if (mantissa == 0) return std::nullopt;
        if (p < m_text.size() && (m_text[p] == 'e' || m_text[p] == 'E')) {
            std::size_t q = p + 1;
            if (q < m_text.size() && (m_text[q] == '+' || m_text[q] == '-')) ++q;
            if (q < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[q]))) {
                p = q;
                digits();
            }
        }
        const std::string text(m_text.substr(start, p - start));
        const double value = std::strtod(text.c_str(), nullptr);
        if (!std::isfinite(value)) throw ShapeError(kNotFinite);
        m_pos = p;
        return value;
    }

    // An arc flag: a single 0 or 1, which may run into what follows.
    std::optional<bool> flag() {
        skipBlanks();
        if (atEnd() || (peek() != '0' && peek() != '1')) return std::nullopt;
        const bool value = peek() == '1';
        ++m_pos;
        return value;
    }

  private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

class PathBuilder {
  public:
    PathBuilder(std::size_t maxSegments, std::size_t soFar)
        : m_max(maxSegments), m_count(soFar) {}

    void moveTo(Vec2 p) {
        finishOpen();
        m_paths.push_back({p, {}, false});
        m_current = m_start = p;
        m_lastControl.reset();
    }
    void add(const Cubic& c, std::optional<Vec2> reflectable = std::nullopt) {
        ensureOpen();
        if (++m_count > m_max) throw ShapeError(kTooMany);
        m_paths.back().segments.push_back(c);
        m_current = c.p3;
        m_lastControl = reflectable;
    }
    void close() {
        ensureOpen();
        if (m_current != m_start) add(lineCubic(m_current, m_start));
        m_paths.back().closed = true;
        m_current = m_start;
        m_closedHere = true;
        m_lastControl.reset();
    }
    Vec2 current() const { return m_current; }
    std::optional<Vec2> lastControl() const { return m_lastControl; }
    void forgetControl() { m_lastControl.reset(); }
    std::vector<SubPath> take() { return std::move(m_paths); }

  private:
    // After Z, drawing goes on in a new subpath from the same start point.
    void ensureOpen() {
        if (m_paths.empty() || m_closedHere) {
            m_paths.push_back({m_current, {}, false});
            m_start = m_current;
            m_closedHere = false;
        }
    }
    void finishOpen() { m_closedHere = false; }

    std::vector<SubPath> m_paths;
    Vec2 m_current, m_start;
    std::optional<Vec2> m_lastControl; // reflected by S (cubic) or T (quadratic)
    bool m_closedHere = false;
    std::size_t m_max;
    std::size_t m_count;

};

class PathReader {
  public:
    PathReader(std::string_view d, PathBuilder& out, double arcTolerance)
        : m_in(d), m_out(out), m_arcTolerance(arcTolerance) {}

    void run() {
        char command = 0;
        bool first = true;
        for (;;) {
            m_in.skipBlanks();
            if (m_in.atEnd()) return;
            const char c = m_in.peek();
            if (std::isalpha(static_cast<unsigned char>(c))) {
                m_in.advance();
                command = c;
            } else if (command == 0 || command == 'z' || command == 'Z') {
                return; // numbers without a command
            }
            if (first && command != 'M' && command != 'm') return;
            first = false;
            if (!step(command)) return;
            // Coordinates after a moveto are implicit linetos.
            if (command == 'M') command = 'L';
            if (command == 'm') command = 'l';
            m_in.skipSeparator();
        }
    }

  private:
    std::optional<Vec2> pair(bool relative) {
        const auto x = m_in.number();
        if (!x) return std::nullopt;
        m_in.skipSeparator();
        const auto y = m_in.number();
        if (!y) return std::nullopt;
        const Vec2 p{*x, *y};
        return relative ? m_out.current() + p : p;
    }

    // One command's set of arguments; false on an error, which ends the path there.
    bool step(char command) {
        const bool rel = std::islower(static_cast<unsigned char>(command)) != 0;
        const Vec2 here = m_out.current();
        switch (std::toupper(static_cast<unsigned char>(command))) {
        case 'M': {
            const auto p = pair(rel);
            if (!p) return false;
            m_out.moveTo(*p);
            m_quad = false;
            return true;
        }
        case 'Z':
            m_out.close();
            m_quad = false;
            return true;
        case 'L': {
            const auto p = pair(rel);
            if (!p) return false;
            line(here, *p);
            return true;
        }
        case 'H': {
            const auto x = m_in.number();
            if (!x) return false;
            line(here, {rel ? here.x + *x : *x, here.y});
            return true;
        }
        case 'V': {
            const auto y = m_in.number();
            if (!y) return false;
            line(here, {here.x, rel ? here.y + *y : *y});
            return true;
        }
        case 'C':
        case 'S':
            return cubic(here, rel, std::toupper(static_cast<unsigned char>(command)) == 'S');
        case 'Q':
        case 'T':
            return quadratic(here, rel, std::toupper(static_cast<unsigned char>(command)) == 'T');
        case 'A':
            return arc(here, rel);
        default:
            return false;
        }
    }

    void line(Vec2 a, Vec2 b) {
        m_out.add(lineCubic(a, b));
        m_quad = false;
    }

    Vec2 reflected(Vec2 here, bool wantQuad) const {
        const auto last = m_out.lastControl();
        if (!last || m_quad != wantQuad) return here;
        return here + (here - *last);
    }

    // The first control point: the previous one reflected for the smooth commands, else read.
    std::optional<Vec2> firstControl(Vec2 here, bool rel, bool smooth, bool quad) {
        if (smooth) return reflected(here, quad);
        const auto p = pair(rel);
        if (p) m_in.skipSeparator();
        return p;
    }

    bool cubic(Vec2 here, bool rel, bool smooth) {
        const auto c1 = firstControl(here, rel, smooth, false);
        if (!c1) return false;
        const auto c2 = pair(rel);
        if (!c2) return false;
        m_in.skipSeparator();
        const auto end = pair(rel);
        if (!end) return false;
        m_out.add({here, *c1, *c2, *end}, *c2);
        m_quad = false;
        return true;
    }

    bool quadratic(Vec2 here, bool rel, bool smooth) {
        const auto q = firstControl(here, rel, smooth, true);
        if (!q) return false;
        const auto end = pair(rel);
        if (!end) return false;
        m_out.add(quadraticCubic(here, *q, *end), *q);
        m_quad = true;
        return true;
    }

    bool arc(Vec2 here, bool rel) {
        double v[3];
        for (double& x : v) {
            const auto n = m_in.number();
            if (!n) return false;
            x = *n;
            m_in.skipSeparator();
        }
        const auto large = m_in.flag();
        if (!large) return false;
        m_in.skipSeparator();
        const auto sweep = m_in.flag();
        if (!sweep) return false;
        m_in.skipSeparator();
        const auto end = pair(rel);
        if (!end) return false;
        const std::vector<Cubic> pieces =
            arcCubics(here, v[0], v[1], v[2], *large, *sweep, *end, m_arcTolerance);
        for (const Cubic& c : pieces)
            m_out.add(c);
        m_out.forgetControl();
        m_quad = false;
        return true;
    }

    Scanner m_in;
    PathBuilder& m_out;
    bool m_quad = false; // the last segment was a quadratic (T reflects only those)
    double m_arcTolerance;
};

} // namespace

std::vector<SubPath> parsePathData(std::string_view d, std::size_t maxSegments,
                                   std::size_t segmentsSoFar, double arcTolerance) {
    PathBuilder builder(maxSegments, segmentsSoFar);
    PathReader(d, builder, arcTolerance).run();
    return builder.take();
}

std::vector<double> parseNumberList(std::string_view text, std::size_t maxCount) {
    Scanner in(text);
    std::vector<double> out;
    for (;;) {
        in.skipSeparator();
        const auto n = in.number();
        if (!n) return out;
        if (out.size() >= maxCount) throw ShapeError(kTooMany);
        out.push_back(*n);
    }
}

} // namespace plakett::svg
