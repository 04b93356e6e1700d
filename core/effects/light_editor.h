// The light editor's state and handlers without a window: the light set, the selected
// light, the two track bars, the colour swatches, the check boxes of lights 2..4 and the
// placement pad. A window shows this state and forwards the user's actions to it.
#pragma once

#include "effects/light_rec.h"
#include "effects/style_data.h"
#include "image/color.h"
#include "image/image.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace plakett {

// A track bar position: set values are clamped into the bar's range.
struct TrackBarRange {
    int min = 0;
    int max = 0;
    int clamp(int v) const { return v < min ? min : (v > max ? max : v); }
};
inline constexpr TrackBarRange kPowerBarRange{0, 100};
inline constexpr TrackBarRange kRadiusBarRange{40, 200};

struct LightEditorState {
    TGradientBox FLightSet;
    int FCurrentLight = 0; // index of the selected light, 0 = light 1
    int Power = 50;        // Power track bar position
    int Radius = 120;      // Radius track bar position
    ColorRef LightColor = 0xFFFFFF;
    ColorRef ButtonColor = kDefaultButtonColor;
    std::array<bool, 3> LightOn{}; // check boxes Light2On, Light3On, Light4On
    int PadPosX = 32;
    int PadPosY = 32;
    int PrevPadX = 32;
    int PrevPadY = 32;
    bool LightDragging = false;
    bool StyleLoading = false;
    bool RenderMode = false; // the main window shows its render panel
    bool PadVisible = false; // the editor window is shown, so the pad paints
};

// Returns a number in 0 .. range - 1.
using RandomSource = std::function<int(int range)>;
// Seeded from the clock, as Generate does.
RandomSource clockRandomSource();

class LightEditor {
  public:
    LightEditor(); // FormCreate

    const LightEditorState& state() const { return m_s; }
    const TLightRec& currentLight() const { return m_s.FLightSet.FLights[m_s.FCurrentLight]; }
    const Bgr24Image& lightMap() const { return m_lightMap; } // empty until first built
    Bgr24Image CopyLightMap() const { return m_lightMap; }
    const Bgr24Image& padPreview() const { return m_padPreview; }

    // Steps 8 and 9 of UpdateGradient: the render window takes the new map and re-renders.
    std::function<void(const Bgr24Image&)> onLightMapChanged;
    // A confirmed button colour also goes to the text window's effect colour swatch.
    std::function<void(ColorRef)> onButtonColorChosen;
    std::function<void(const Bgr24Image&)> onPadPainted;

    void setRenderMode(bool on) { m_s.RenderMode = on; }
    void setStyleLoading(bool on) { m_s.StyleLoading = on; }
    void FormShow();  // the pad becomes visible; UpdateGradient; the pad paints
    void FormClose(); // hidden: the pad no longer paints

    void UpdBgnki();
    void UpdateGradient();

    void selectLight(int index); // FirstLightClick .. FourthLightClick, index 0..3
    // A click on the check box of light 2, 3 or 4 (lightNumber 2..4) leaving it checked or not.
    void LightOnClick(int lightNumber, bool checked);
    void setPower(int position);  // moves the track bar; PowerChange runs on a change
    void setRadius(int position); // RadiusChange runs on a change
    void LightColorClick(std::optional<ColorRef> chosen); // nullopt: dialog cancelled
    void ButtonColorClick(std::optional<ColorRef> chosen);

    // Pad coordinates; only the left button drags.
    void PaintBox1MouseDown(int x, int y, bool leftButton);
    void PaintBox1MouseMove(int x, int y);
    void PaintBox1MouseUp(int x, int y, bool leftButton);
    void PaintBox1Paint();

    void Generate(const RandomSource& random); // Button3Click
    void Generate() { Generate(clockRandomSource()); }

    // What applying a style file does to the editor (StyleLoading around the takeover,
    // then UpdateGradient); returns a copy of the light map, which is only rebuilt in
    // render mode.
    Bgr24Image applyStyle(const StyleData& style);

    // Takes over the button colour and lights of a loaded project: selects light 1,
    // UpdBgnki, check boxes from Enabled of lights 2..4, UpdBgnki, UpdateGradient.
    void loadProjectLights(ColorRef buttonColor, const std::array<TLightRec, 4>& lights);

  private:
    TLightRec& selected() { return m_s.FLightSet.FLights[m_s.FCurrentLight]; }
    void PowerChange();
    void RadiusChange();
    void setLightOnChecked(int lightNumber, bool checked); // runs the click only on a change
    void runLightOnClick(int lightNumber);
    void repaintPad();

    LightEditorState m_s;
    Bgr24Image m_lightMap;
    Bgr24Image m_padPreview;
};

} // namespace plakett
