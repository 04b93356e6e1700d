#include "render/mul_table.h"

namespace plakett {

MulTable::MulTable() {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b)
            m_cells[index(a, b)] = static_cast<std::uint8_t>((a * b) >> 8);
    }
}

const MulTable& MulTable::instance() {
    static const MulTable table;
    return table;
}

} // namespace plakett
