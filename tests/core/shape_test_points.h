// A control point of a given type, for shape tests.
#pragma once

#include "shape/move_box.h"

namespace plakett {

inline TMoveBox point(int x, int y, std::uint8_t type = ptAuto) {
    TMoveBox b;
    b.Init(x, y);
    b.FPointType = type;
    return b;
}

} // namespace plakett
