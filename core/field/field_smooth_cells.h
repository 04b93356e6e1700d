// One cell of each smoothing kernel, plain and packed, shared by the kernels of every width
// for the rows and columns that do not fill a register.
#pragma once

#include "common/arith.h"
#include "common/matrix.h"

#include <cstdint>

namespace plakett::smoothkernels {

using Cell = IntPoints;

inline Cell mean3(Cell c, Cell a, Cell b) {
    return {(c.x + a.x + b.x) / 3, (c.y + a.y + b.y) / 3};
}
inline Cell horizontalCell(Cell c, Cell a, Cell b) {
    return c.x > 0 && a.x > 0 && b.x > 0 ? mean3(c, a, b) : c;
}
inline Cell verticalCell(Cell c, Cell a, Cell b) {
    return c.y > 0 && a.y > 0 && b.y > 0 ? mean3(c, a, b) : c;
}
inline bool needsRepair(Cell c) {
    return c.x > 255 || c.y > 255;
}
inline Cell repairCell(Cell c, Cell a, Cell b) {
    if (a.x > 0 && b.x > 0 && needsRepair(c)) return {halve(a.x + b.x), halve(a.y + b.y)};
    return c;
}

inline Cell unpackCell(std::uint32_t p) {
    return {static_cast<std::int16_t>(p & 0xFFFF), static_cast<std::int16_t>(p >> 16)};
}
inline std::uint32_t packCell(Cell c) {
    return static_cast<std::uint16_t>(c.x) |
           static_cast<std::uint32_t>(static_cast<std::uint16_t>(c.y)) << 16;
}

template <class Op> std::uint32_t packedCell(std::uint32_t c, std::uint32_t a, std::uint32_t b, Op op) {
    return packCell(op(unpackCell(c), unpackCell(a), unpackCell(b)));
}

} // namespace plakett::smoothkernels
