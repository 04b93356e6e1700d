#include "web/sprite.h"

namespace plakett {

std::vector<int> spriteStates(int stateCount) {
    if (stateCount <= 1) return {0};
    if (stateCount == 2) return {0, 2};
    return {0, 1, 2};
}

int spriteRow(int stateCount, int stateIndex) {
    const std::vector<int> rows = spriteStates(stateCount);
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i] == stateIndex) return static_cast<int>(i);
    return 0;
}

} // namespace plakett
