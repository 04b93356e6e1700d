#include "effects/light_map.h"

#include "common/arith.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace plakett {

namespace {

// Light records come from files; their products wrap like the 32-bit registers the
// saved styles were computed with instead of overflowing.
std::int32_t wrapMul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

std::int32_t logicalShr(std::int32_t v, int n) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) >> n);
}

std::int64_t isqrtFloor(std::int64_t v) {
    auto k = static_cast<std::int64_t>(std::sqrt(static_cast<double>(v)));
    while (k > 0 && k * k > v)
        --k;
    while ((k + 1) * (k + 1) <= v)
        ++k;
    return k;
}

constexpr std::int64_t kMaxFalloffTable = std::int64_t{1} << 20;

// One light prepared for a build: what it adds for each weight m = 256 - h, and m for
// every squared distance the map can reach (or the formula when that range is huge).
class PreparedLight {
  public:
    explicit PreparedLight(const TLightRec& light)
        : m_mapX(light.MapX), m_mapY(light.MapY),
          m_r2(std::int64_t{light.MapRadius} * light.MapRadius),
          m_rfPlus3(static_cast<double>(static_cast<float>(std::sqrt(static_cast<double>(m_r2)))) +
                    3.0),
          m_active(light.MapRadius > 0) {
        for (int m = 0; m <= 256; ++m) {
            m_add[m][0] = wrapMul(m, light.AddRed) / 256;
            m_add[m][1] = wrapMul(m, light.AddGreen) / 256;
            m_add[m][2] = wrapMul(m, light.AddBlue) / 256;
        }
        if (m_active) buildFalloff();
    }

    // Adds this light to row y of the accumulators.
    void addRow(int y, std::int32_t* r, std::int32_t* g, std::int32_t* b) const {
        if (!m_active) return;
        const std::int64_t dy = m_mapY - y;
        const std::int64_t dy2 = dy * dy;
        if (dy2 >= m_r2) return;
        const std::int64_t k = isqrtFloor(m_r2 - dy2 - 1); // largest |dx| with d2 < r2
        const std::int64_t x0 = std::max<std::int64_t>(0, m_mapX - k);
        const std::int64_t x1 = std::min<std::int64_t>(kLightMapSize - 1, m_mapX + k);
        for (std::int64_t x = x0; x <= x1; ++x) {
            const std::int64_t dx = m_mapX - x;
            const std::int64_t d2 = dx * dx + dy2;
            const auto& add = m_add[weight(d2)];
            r[x] += add[0];
            g[x] += add[1];
            b[x] += add[2];
        }
    }

  private:
    int weightByFormula(std::int64_t d2) const {
        const double h = std::sqrt(static_cast<double>(d2)) / m_rfPlus3 * 256.0;
        return 256 - roundEven(h);
    }
    int weight(std::int64_t d2) const {
        if (d2 < static_cast<std::int64_t>(m_falloff.size())) return m_falloff[d2];
        return weightByFormula(d2);
    }

    // The weight only steps down as d2 grows (at most 256 steps), so each run of equal
    // weights is found by bisection with the exact formula and filled in one go.
    void buildFalloff() {
        const auto reach = [](std::int64_t c) {
            return std::max<std::int64_t>(std::llabs(c), std::llabs(c - (kLightMapSize - 1)));
        };
        const std::int64_t mx = reach(m_mapX);
        const std::int64_t my = reach(m_mapY);
        if (mx > 4096 || my > 4096) return;
        const std::int64_t limit = std::min(m_r2, mx * mx + my * my + 1);
        if (limit > kMaxFalloffTable) return;
        m_falloff.resize(static_cast<std::size_t>(limit));
        std::int64_t d = 0;
        while (d < limit) {
            const int w = weightByFormula(d);
            std::int64_t lo = d;
            std::int64_t hi = limit - 1;
            while (lo < hi) {
                const std::int64_t mid = lo + (hi - lo + 1) / 2;
                if (weightByFormula(mid) == w)
                    lo = mid;
                else
                    hi = mid - 1;
            }
            std::fill(m_falloff.begin() + d, m_falloff.begin() + lo + 1,
                      static_cast<std::uint16_t>(w));
            d = lo + 1;
        }
    }

    std::int64_t m_mapX;
    std::int64_t m_mapY;
    std::int64_t m_r2;
    double m_rfPlus3;
    bool m_active;
    std::array<std::array<std::int32_t, 3>, 257> m_add{};
    std::vector<std::uint16_t> m_falloff;
};

} // namespace

LightAmounts ComputeLightAmounts(std::int32_t power, ColorRef color) {
    const std::int32_t r = redOf(color);
    const std::int32_t g = greenOf(color);
    const std::int32_t b = blueOf(color);
    const std::int32_t scale = wrapMul(power, 768) / ((g & b) + r + 1);
    return {logicalShr(wrapMul(scale, r), 8), logicalShr(wrapMul(scale, g), 8),
            logicalShr(wrapMul(scale, b), 8)};
}

void UpdateLightAmounts(TLightRec& light) {
    const LightAmounts a = ComputeLightAmounts(light.Power, light.Color);
    light.AddRed = a.AddRed;
    light.AddGreen = a.AddGreen;
    light.AddBlue = a.AddBlue;
}

void SaturateRGB(std::int32_t& c, std::int32_t& other1, std::int32_t& other2) {
    const auto e = static_cast<std::int32_t>(static_cast<std::uint32_t>(c - 255) >> 1);
    other1 += e;
    other2 += e;
    c = 255;
}

Bgr24 SaturatePixel(std::int32_t r, std::int32_t g, std::int32_t b) {
    const std::int64_t sum = std::int64_t{r} + g + b;
    if (sum >= 768) return Bgr24{255, 255, 255};
    if (sum < 0) return Bgr24{0, 0, 0};
    while (r > 255 || g > 255 || b > 255) {
        if (r > 255) SaturateRGB(r, g, b);
        if (g > 255) SaturateRGB(g, r, b);
        if (b > 255) SaturateRGB(b, r, g);
    }
    // A channel can only stay negative with negative light amounts; the low byte is kept.
    return Bgr24{static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
                 static_cast<std::uint8_t>(r)};
}

Bgr24Image RenderLightMap(const TGradientBox& lights) {
    std::vector<PreparedLight> prepared;
    prepared.reserve(lights.FLights.size());
    for (std::size_t j = 0; j < lights.FLights.size(); ++j) {
        if (j == 0 || lights.FLights[j].Enabled != 0) prepared.emplace_back(lights.FLights[j]);
    }
    const std::int32_t baseR = redOf(lights.FButtonColor);
    const std::int32_t baseG = greenOf(lights.FButtonColor);
    const std::int32_t baseB = blueOf(lights.FButtonColor);

    Bgr24Image map(kLightMapSize, kLightMapSize);
    std::array<std::int32_t, kLightMapSize> r{};
    std::array<std::int32_t, kLightMapSize> g{};
    std::array<std::int32_t, kLightMapSize> b{};
    for (int y = 0; y < kLightMapSize; ++y) {
        r.fill(baseR);
        g.fill(baseG);
        b.fill(baseB);
        for (const PreparedLight& light : prepared)
            light.addRow(y, r.data(), g.data(), b.data());
        Bgr24* row = map.scanline(y);
        for (int x = 0; x < kLightMapSize; ++x)
            row[x] = SaturatePixel(r[x], g[x], b[x]);
    }
    return map;
}

ColorRamp BuildColorRamp(int wr, int wg, int wb) {
    const int sum = wr + wg + wb;
    if (sum <= 0) throw std::invalid_argument("colour ramp weights must add up to more than 0");
    ColorRamp ramp{};
    for (int i = 0; i < 256; ++i) {
        const std::int32_t d = (i * 0x6000) / sum;
        std::int32_t e = logicalShr(wrapMul(wr, d), 13);
        std::int32_t f = logicalShr(wrapMul(wg, d), 13);
        std::int32_t g = logicalShr(wrapMul(wb, d), 13);
        while (e > 255 || f > 255 || g > 255) {
            if (std::int64_t{e} + f + g >= 766) {
                e = f = g = 255;
                break;
            }
            if (e > 255) SaturateRGB(e, f, g);
            if (f > 255) SaturateRGB(f, e, g);
            if (g > 255) SaturateRGB(g, e, f);
        }
        ramp[i] = Bgr24{static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(f),
                        static_cast<std::uint8_t>(e)};
    }
    return ramp;
}

HemisphereTableData BuildHemisphereTable() {
    HemisphereTableData t{};
    const auto cell = [&t](int x, int y) -> std::uint8_t& { return t[y * kHemisphereSize + x]; };
    for (int y = 0; y < 64; ++y) {
        const int dy = 63 - y;
        const int w = std::min(63, roundEven(std::sqrt(static_cast<double>(3969 - dy * dy))));
        for (int x = 0; x < 64; ++x) {
            const int dx = 63 - x;
            const int under = std::max(3969 - dx * dx - dy * dy, 0);
            const auto h = static_cast<std::uint8_t>(
                dx > w ? 255 : roundEven(std::sqrt(static_cast<double>(under))));
            cell(x, y) = h;
            cell(127 - x, y) = h;
            cell(x, 127 - y) = h;
            cell(127 - x, 127 - y) = h;
        }
    }
    return t;
}

const HemisphereTableData& HemisphereTable() {
    static const HemisphereTableData table = BuildHemisphereTable();
    return table;
}

Bgr24Image RenderLightPreview(int lx, int ly, int lz, int k, int ambient, const ColorRamp& ramp,
                              const HemisphereTableData& heights) {
    Bgr24Image full(kHemisphereSize, kHemisphereSize);
    for (int i = 0; i < kHemisphereSize; ++i) {
        Bgr24* row = full.scanline(i);
        for (int j = 0; j < kHemisphereSize; ++j) {
            const int h = heights[i * kHemisphereSize + j];
            if (h == 255) {
                row[j] = Bgr24{0, 0, 0};
                continue;
            }
            const std::int64_t dx = lx - j;
            const std::int64_t dy = ly - i;
            const std::int64_t dz = lz - h;
            const std::int64_t f = dx * (j - 63) + dy * (i - 63) + dz * h;
            std::int64_t v = ambient;
            if (f >= 0) {
                const double len = std::sqrt(static_cast<double>(dx * dx + dy * dy + dz * dz));
                // The light never sits on the sphere in the editor; a zero distance is
                // treated as 1 rather than dividing by it.
                const std::int32_t dist = std::max(1, roundEven(len));
                const std::uint32_t product = static_cast<std::uint32_t>(k) *
                                              static_cast<std::uint32_t>(f) *
                                              static_cast<std::uint32_t>(65536 / dist);
                v = ambient + static_cast<std::int64_t>(product >> 22);
            }
            row[j] = ramp[static_cast<std::size_t>(std::clamp<std::int64_t>(v, 0, 255))];
        }
    }
    Bgr24Image half(64, 63);
    for (int y = 0; y < 63; ++y) {
        const Bgr24* top = full.scanline(2 * y);
        const Bgr24* bottom = full.scanline(2 * y + 1);
        Bgr24* out = half.scanline(y);
        for (int x = 0; x < 64; ++x) {
            const Bgr24 p[4] = {top[2 * x], top[2 * x + 1], bottom[2 * x], bottom[2 * x + 1]};
            out[x] = Bgr24{static_cast<std::uint8_t>((p[0].b + p[1].b + p[2].b + p[3].b) >> 2),
                           static_cast<std::uint8_t>((p[0].g + p[1].g + p[2].g + p[3].g) >> 2),
                           static_cast<std::uint8_t>((p[0].r + p[1].r + p[2].r + p[3].r) >> 2)};
        }
    }
    return half;
}

} // namespace plakett
