#include "effects/light_editor.h"

#include "effects/light_map.h"
#include "effects/light_preview.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <random>

namespace plakett {

namespace {

std::int32_t wrapTimes4(std::int32_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) * 4u);
}

bool outsidePad(int x, int y) {
    const long double dx = static_cast<long double>(x) - 32;
    const long double dy = static_cast<long double>(y) - 32;
    return std::sqrt(dx * dx + dy * dy) > 32;
}

// Where the pad puts a light dropped or dragged outside its circle: the distance is
// measured from one centre, the offsets from another, as the pad always did.
struct RimPull {
    long double distX, distY, offX, offY, radius;
};
constexpr RimPull kDragRim{31, 31, 31, 31, 31};
constexpr RimPull kDropRim{32, 31, 32, 32, 32};

void pullToRim(int x, int y, const RimPull& rim, int& outX, int& outY) {
    const long double dx = static_cast<long double>(x) - rim.distX;
    const long double dy = static_cast<long double>(y) - rim.distY;
    const long double d = std::sqrt(dx * dx + dy * dy);
    outX = static_cast<int>(
        std::trunc((static_cast<long double>(x) - rim.offX) / d * rim.radius + 32));
    outY = static_cast<int>(
        std::trunc((static_cast<long double>(y) - rim.offY) / d * rim.radius + 32));
}

} // namespace

RandomSource clockRandomSource() {
    const auto seed = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    auto engine = std::make_shared<std::mt19937>(static_cast<std::uint32_t>(seed ^ (seed >> 32)));
    return [engine](int range) {
        if (range <= 1) return 0;
        return std::uniform_int_distribution<int>(0, range - 1)(*engine);
    };
}

LightEditor::LightEditor() {
    UpdBgnki();
}

void LightEditor::FormShow() {
    m_s.PadVisible = true;
    UpdateGradient();
    repaintPad();
}

void LightEditor::FormClose() {
    m_s.PadVisible = false;
}

void LightEditor::UpdBgnki() {
    const TLightRec& light = selected();
    m_s.PadPosX = m_s.PrevPadX = light.PadX;
    m_s.PadPosY = m_s.PrevPadY = light.PadY;
    m_s.LightColor = light.Color;
    setPower(light.Power);
    setRadius(selected().Radius);
    repaintPad();
}

void LightEditor::UpdateGradient() {
    if (m_s.StyleLoading || !m_s.RenderMode) return;
    auto& lights = m_s.FLightSet.FLights;
    selected().Color = m_s.LightColor;
    for (TLightRec& light : lights) {
        m_s.FLightSet.FButtonColor = m_s.ButtonColor;
        UpdateLightAmounts(light);
    }
    TLightRec& cur = selected();
    cur.PadX = m_s.PadPosX;
    cur.PadY = m_s.PadPosY;
    cur.MapX = wrapTimes4(m_s.PadPosX);
    cur.MapY = wrapTimes4(m_s.PadPosY);
    cur.Color = m_s.LightColor;
    for (TLightRec& light : lights) {
        light.MapX = wrapTimes4(light.PadX);
        light.MapY = wrapTimes4(light.PadY);
        light.MapRadius = light.Radius;
        light.MapPower = light.Power;
    }
    cur.MapRadius = m_s.Radius;
    cur.MapPower = m_s.Power;
    m_lightMap = RenderLightMap(m_s.FLightSet);
    if (onLightMapChanged) onLightMapChanged(m_lightMap);
}

void LightEditor::selectLight(int index) {
    if (index < 0 || index >= static_cast<int>(m_s.FLightSet.FLights.size())) return;
    TLightRec& previous = selected();
    previous.MapRadius = m_s.Radius;
    previous.MapPower = m_s.Power;
    m_s.FCurrentLight = index;
    UpdBgnki();
}

void LightEditor::LightOnClick(int lightNumber, bool checked) {
    if (lightNumber < 2 || lightNumber > 4) return;
    m_s.LightOn[lightNumber - 2] = checked;
    runLightOnClick(lightNumber);
}

void LightEditor::setLightOnChecked(int lightNumber, bool checked) {
    if (m_s.LightOn[lightNumber - 2] == checked) return;
    m_s.LightOn[lightNumber - 2] = checked;
    runLightOnClick(lightNumber);
}

void LightEditor::runLightOnClick(int lightNumber) {
    m_s.FLightSet.FLights[lightNumber - 1].Enabled = m_s.LightOn[lightNumber - 2] ? 1 : 0;
    UpdateGradient();
}

void LightEditor::setPower(int position) {
    const int v = kPowerBarRange.clamp(position);
    if (v == m_s.Power) return;
    m_s.Power = v;
    PowerChange();
}

void LightEditor::setRadius(int position) {
    const int v = kRadiusBarRange.clamp(position);
    if (v == m_s.Radius) return;
    m_s.Radius = v;
    RadiusChange();
}

void LightEditor::PowerChange() {
    selected().Power = m_s.Power;
    UpdateGradient();
    repaintPad();
}

void LightEditor::RadiusChange() {
    selected().Radius = m_s.Radius;
    repaintPad();
    UpdateGradient();
}

void LightEditor::LightColorClick(std::optional<ColorRef> chosen) {
    if (chosen) m_s.LightColor = *chosen;
    UpdateGradient();
}

void LightEditor::ButtonColorClick(std::optional<ColorRef> chosen) {
    if (chosen) {
        m_s.ButtonColor = *chosen;
        if (onButtonColorChosen) onButtonColorChosen(*chosen);
    }
    UpdateGradient();
}

void LightEditor::PaintBox1MouseDown(int x, int y, bool leftButton) {
    if (!leftButton) return;
    m_s.LightDragging = true;
    m_s.PadPosX = x;
    m_s.PadPosY = y;
    repaintPad();
    UpdateGradient();
}

void LightEditor::PaintBox1MouseMove(int x, int y) {
    if (!m_s.LightDragging) return;
    m_s.PadPosX = x;
    m_s.PadPosY = y;
    if (outsidePad(x, y)) pullToRim(x, y, kDragRim, m_s.PadPosX, m_s.PadPosY);
    repaintPad();
    UpdateGradient();
    selected().PadX = m_s.PadPosX;
    selected().PadY = m_s.PadPosY;
}

void LightEditor::PaintBox1MouseUp(int x, int y, bool leftButton) {
    if (!leftButton) return;
    m_s.LightDragging = false;
    m_s.PadPosX = x;
    m_s.PadPosY = y;
    if (outsidePad(x, y)) pullToRim(x, y, kDropRim, m_s.PadPosX, m_s.PadPosY);
    repaintPad();
    UpdateGradient();
}

void LightEditor::PaintBox1Paint() {
    m_padPreview = RenderPadPreview(m_s.PadPosX, m_s.PadPosY, m_s.PrevPadX, m_s.PrevPadY,
                                    m_s.Radius, m_s.Power);
    m_s.PrevPadX = m_s.PadPosX;
    m_s.PrevPadY = m_s.PadPosY;
    if (onPadPainted) onPadPainted(m_padPreview);
}

void LightEditor::repaintPad() {
    if (m_s.PadVisible) PaintBox1Paint();
}

void LightEditor::Generate(const RandomSource& random) {
    m_s.ButtonColor = static_cast<ColorRef>(random(0xFFFFFF));
    for (TLightRec& light : m_s.FLightSet.FLights) {
        light.Radius = 40 + random(200);
        light.Power = random(50);
        light.MapX = random(255);
        light.MapY = random(255);
        light.PadX = random(64);
        light.PadY = random(64);
        light.Color = static_cast<ColorRef>(random(0xFFFFFF));
    }
    UpdBgnki();
    UpdateGradient();
}

Bgr24Image LightEditor::applyStyle(const StyleData& style) {
    m_s.StyleLoading = true;
    m_s.ButtonColor = style.buttonColor;
    for (std::size_t i = 0; i < style.lights.size(); ++i) {
        const StyleLight& from = style.lights[i];
        TLightRec& to = m_s.FLightSet.FLights[i];
        to.Enabled = from.Enabled;
        to.PadX = from.PadX;
        to.PadY = from.PadY;
        to.Color = from.Color;
        to.Radius = from.Radius;
        to.Power = from.Power;
    }
    m_s.FLightSet.FButtonColor = m_s.ButtonColor;
    for (int n = 2; n <= 4; ++n)
        setLightOnChecked(n, m_s.FLightSet.FLights[n - 1].Enabled != 0);
    UpdBgnki();
    for (int n = 2; n <= 4; ++n)
        runLightOnClick(n);
    UpdBgnki();
    m_s.StyleLoading = false;
    UpdateGradient();
    return CopyLightMap();
}

void LightEditor::loadProjectLights(ColorRef buttonColor, const std::array<TLightRec, 4>& lights) {
    m_s.ButtonColor = buttonColor;
    m_s.FLightSet.FLights = lights;
    m_s.FCurrentLight = 0;
    UpdBgnki();
    for (int n = 2; n <= 4; ++n)
        setLightOnChecked(n, m_s.FLightSet.FLights[n - 1].Enabled != 0);
    UpdBgnki();
    UpdateGradient();
}

} // namespace plakett
