// One control point of a shape.
#pragma once

#include <cstdint>

namespace plakett {

// Kept as a raw byte: files may carry values other than the three known ones,
// which behave as ptBezier when written and as ptAuto when outlined.
enum TPointType : std::uint8_t { ptAuto = 0, ptBezier = 1, ptAngle = 2 };

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TMoveBox {
    float FLeftLength = 30.0f;
    float FRightLength = 30.0f;
    float FRx = 1.0f;
    float FRy = 0.0f;
    std::uint8_t FPointType = ptAuto;
    TPoint FPos;

    // Defaults of a new point at (x, y).
    void Init(std::int32_t x, std::int32_t y) {
        *this = TMoveBox{};
        FPos = {x, y};
    }
    // Only moves the point; type and Bezier data stay.
    void SetPos(TPoint p) { FPos = p; }

    // Top-left corner of the 5 x 5 marker square.
    TPoint boundsTopLeft() const { return {FPos.X - 2, FPos.Y - 2}; }

    // The same numbers: a NaN read from a file equals itself, so a design holding one is
    // not seen as changed by every comparison.
    friend bool operator==(const TMoveBox& a, const TMoveBox& b) {
        return sameReal(a.FLeftLength, b.FLeftLength) &&
               sameReal(a.FRightLength, b.FRightLength) && sameReal(a.FRx, b.FRx) &&
               sameReal(a.FRy, b.FRy) && a.FPointType == b.FPointType && a.FPos == b.FPos;
    }

  private:
    static bool sameReal(float a, float b) { return a == b || (a != a && b != b); }
};

} // namespace plakett
