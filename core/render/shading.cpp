#include "render/shading.h"

#include "common/field_parallel.h"

#include <algorithm>
#include <stdexcept>

namespace plakett {

namespace {

struct Sum {
    int b = 0;
    int g = 0;
    int r = 0;
    void add(const Bgr24& p) {
        b += p.b;
        g += p.g;
        r += p.r;
    }
};

// Inside cells hold 0..255 by construction; clamping keeps a damaged map from reading
// outside the light map.
int lightIndex(const IntPoints& cell) {
    const int u = std::min(cell.x, kLightMapSize - 1);
    const int v = std::clamp(cell.y, 0, kLightMapSize - 1);
    return v * kLightMapSize + u;
}

} // namespace

Bgr24Image ShadeBase(const Matrix& map, const Bgr24Image& lightMap, Bgr24 outside) {
    if (lightMap.width() != kLightMapSize || lightMap.height() != kLightMapSize)
        throw std::invalid_argument("light map must be 256 x 256");
    if (map.empty()) return {};
    const int cmax = map.columns() - 1;
    const int rmax = map.rows() - 1;
    Bgr24Image base(cmax / 2 + 1, rmax / 2 + 1);
    const int width = base.width();
    const Bgr24* light = lightMap.pixels().data();
    Bgr24* out = base.pixels().data();
    auto sample = [&](Sum& sum, const IntPoints* column, int y) {
        if (column == nullptr || y > rmax || column[y].x < 0)
            sum.add(outside);
        else
            sum.add(light[lightIndex(column[y])]);
    };
    // The map is stored column by column, so walk it that way; workers take column ranges.
    const int threads = fieldThreadCount(static_cast<long long>(map.columns()) * map.rows());
    runTeam(threads, [&](int worker, int workers) {
        const Span span = splitRange(0, width, worker, workers);
        for (int px = span.begin; px < span.end; ++px) {
            const int x = 2 * px;
            const IntPoints* left = map.column(x);
            const IntPoints* right = x < cmax ? map.column(x + 1) : nullptr;
            for (int py = 0; py < base.height(); ++py) {
                const int y = 2 * py;
                Sum sum;
                sample(sum, left, y);
                sample(sum, right, y);
                sample(sum, left, y + 1);
                sample(sum, right, y + 1);
                out[static_cast<std::size_t>(py) * width + px] = Bgr24{
                    static_cast<std::uint8_t>(sum.b >> 2), static_cast<std::uint8_t>(sum.g >> 2),
                    static_cast<std::uint8_t>(sum.r >> 2)};
            }
        }
    });
    return base;
}

} // namespace plakett
