#include "effects/light_editor.h"
#include "effects/light_map.h"

#include <gtest/gtest.h>

#include <deque>

using namespace plakett;

namespace {

struct RenderingEditor {
    LightEditor editor;
    int maps = 0;
    RenderingEditor() {
        editor.setRenderMode(true);
        editor.onLightMapChanged = [this](const Bgr24Image&) { ++maps; };
    }
};

RandomSource scripted(std::deque<int> values) {
    auto queue = std::make_shared<std::deque<int>>(std::move(values));
    return [queue](int range) {
        const int v = queue->front();
        queue->pop_front();
        EXPECT_LT(v, range);
        return v;
    };
}

} // namespace

TEST(LightEditorState, SelectingKeepsTrackBarValuesInThePreviousLight) {
    RenderingEditor r;
    LightEditor& e = r.editor;
    e.setPower(70);
    e.setRadius(150);
    EXPECT_EQ(e.state().FLightSet.FLights[0].Power, 70);
    EXPECT_EQ(e.state().FLightSet.FLights[0].Radius, 150);
    e.selectLight(1);
    const TLightRec& first = e.state().FLightSet.FLights[0];
    EXPECT_EQ(first.MapPower, 70);
    EXPECT_EQ(first.MapRadius, 150);
    EXPECT_EQ(e.state().FCurrentLight, 1);
    EXPECT_EQ(e.state().Power, 50); // light 2's values are on the bars now
    EXPECT_EQ(e.state().Radius, 120);
    e.selectLight(0);
    EXPECT_EQ(e.state().Power, 70);
    EXPECT_EQ(e.state().Radius, 150);
    // Track bars clamp: the light gets the clamped value through the change handler.
    e.setPower(250);
    e.setRadius(10);
    EXPECT_EQ(e.currentLight().Power, 100);
    EXPECT_EQ(e.currentLight().Radius, 40);
}

TEST(LightEditorState, UpdateGradientStepsInOrder) {
    RenderingEditor r;
    LightEditor& e = r.editor;
    std::array<TLightRec, 4> lights{};
    lights[0].Power = 150; // out of range: the bar already shows 100 below
    lights[0].Radius = 239;
    lights[0].PadX = 10;
    lights[0].PadY = 20;
    lights[1].Enabled = 1;
    lights[1].Power = 30;
    lights[1].Radius = 90;
    lights[1].PadX = 40;
    lights[1].PadY = 50;
    lights[1].Color = makeColorRef(255, 0, 0);
    e.setPower(100);
    e.setRadius(200);
    r.maps = 0;
    e.loadProjectLights(0x123456, lights);
    // The bars did not change; the check box of light 2 did, which runs its click handler,
    // and then the final UpdateGradient.
    EXPECT_EQ(r.maps, 2);
    const TGradientBox& set = e.state().FLightSet;
    EXPECT_EQ(set.FButtonColor, 0x123456u);
    // Bars at 100 and 200 already, so the cells keep their out-of-range values...
    EXPECT_EQ(set.FLights[0].Power, 150);
    EXPECT_EQ(set.FLights[0].Radius, 239);
    // ...amounts come from the Power cell, MapPower/MapRadius from the bars.
    EXPECT_EQ(set.FLights[0].AddRed, ComputeLightAmounts(150, 0xFFFFFF).AddRed);
    EXPECT_EQ(set.FLights[0].MapPower, 100);
    EXPECT_EQ(set.FLights[0].MapRadius, 200);
    EXPECT_EQ(set.FLights[0].MapX, 40);
    EXPECT_EQ(set.FLights[0].MapY, 80);
    // Other lights: copies of their own cells.
    EXPECT_EQ(set.FLights[1].MapPower, 30);
    EXPECT_EQ(set.FLights[1].MapRadius, 90);
    EXPECT_EQ(set.FLights[1].MapX, 160);
    EXPECT_EQ(set.FLights[1].AddRed, ComputeLightAmounts(30, 0xFF).AddRed);
    EXPECT_EQ(set.FLights[1].AddGreen, 0);
    EXPECT_TRUE(e.state().LightOn[0]);
    EXPECT_FALSE(e.state().LightOn[1]);
    EXPECT_EQ(e.lightMap(), RenderLightMap(set));

    // From a light 1 bar at 50/120 the same lights get clamped on load instead.
    RenderingEditor fresh;
    fresh.editor.loadProjectLights(0x123456, lights);
    EXPECT_EQ(fresh.editor.currentLight().Power, 100);
    EXPECT_EQ(fresh.editor.currentLight().Radius, 200);
}

TEST(LightEditorState, NothingIsBuiltOutsideRenderModeOrWhileAStyleLoads) {
    LightEditor e;
    int maps = 0;
    e.onLightMapChanged = [&maps](const Bgr24Image&) { ++maps; };
    EXPECT_EQ(e.state().FLightSet, TGradientBox{}); // creation leaves the default lights
    EXPECT_EQ(e.state().Radius, 120);
    e.setPower(80);
    e.LightColorClick(makeColorRef(1, 2, 3));
    EXPECT_EQ(maps, 0);
    EXPECT_TRUE(e.lightMap().empty());
    EXPECT_EQ(e.currentLight().Power, 80);        // the handler stored it
    EXPECT_EQ(e.currentLight().Color, 0xFFFFFFu); // only UpdateGradient stores this
    e.setRenderMode(true);
    e.setStyleLoading(true);
    e.setRadius(60);
    EXPECT_EQ(maps, 0);
    e.setStyleLoading(false);
    e.UpdateGradient();
    EXPECT_EQ(maps, 1);
    EXPECT_EQ(e.currentLight().Color, makeColorRef(1, 2, 3));
    EXPECT_EQ(e.CopyLightMap(), RenderLightMap(e.state().FLightSet));
}

TEST(LightEditorState, ColourDialogsAndCheckBoxes) {
    RenderingEditor r;
    LightEditor& e = r.editor;
    ColorRef styleColor = 0;
    e.onButtonColorChosen = [&styleColor](ColorRef c) { styleColor = c; };
    e.ButtonColorClick(std::nullopt); // cancelled: nothing changes, the map is still rebuilt
    EXPECT_EQ(r.maps, 1);
    EXPECT_EQ(e.state().ButtonColor, kDefaultButtonColor);
    e.ButtonColorClick(0x0000FF);
    EXPECT_EQ(styleColor, 0x0000FFu);
    EXPECT_EQ(e.state().FLightSet.FButtonColor, 0x0000FFu);
    EXPECT_EQ(r.maps, 2);

    e.LightOnClick(3, true);
    EXPECT_EQ(e.state().FLightSet.FLights[2].Enabled, 1);
    EXPECT_EQ(r.maps, 3);
    e.LightOnClick(3, false);
    EXPECT_EQ(e.state().FLightSet.FLights[2].Enabled, 0);
}

TEST(LightEditorPad, DragDropAndRim) {
    RenderingEditor r;
    LightEditor& e = r.editor;
    e.PaintBox1MouseMove(50, 50); // not dragging
    EXPECT_EQ(e.state().PadPosX, 32);
    e.PaintBox1MouseDown(100, 100, false); // right button
    EXPECT_FALSE(e.state().LightDragging);

    // A press outside the circle places the light there until the button comes up.
    e.PaintBox1MouseDown(100, 100, true);
    EXPECT_TRUE(e.state().LightDragging);
    EXPECT_EQ(e.currentLight().PadX, 100);
    EXPECT_EQ(e.currentLight().MapX, 400);

    // Dragging outside: D = sqrt(69^2 + 1), x = Trunc(69 / D * 31 + 32) = 62, y = 32.
    e.PaintBox1MouseMove(100, 32);
    EXPECT_EQ(e.state().PadPosX, 62);
    EXPECT_EQ(e.state().PadPosY, 32);
    EXPECT_EQ(e.currentLight().PadX, 62);
    e.PaintBox1MouseMove(40, 45); // inside: taken as is
    EXPECT_EQ(e.currentLight().PadX, 40);
    EXPECT_EQ(e.currentLight().PadY, 45);

    // Dropping outside: D = sqrt(68^2 + 1), x = Trunc(68 / D * 32 + 32) = 63.
    e.PaintBox1MouseUp(100, 32, true);
    EXPECT_FALSE(e.state().LightDragging);
    EXPECT_EQ(e.currentLight().PadX, 63);
    EXPECT_EQ(e.currentLight().PadY, 32);
    e.PaintBox1MouseDown(32, 100, true);
    e.PaintBox1MouseUp(32, 100, true); // Trunc(68 / 69 * 32 + 32) = 63
    EXPECT_EQ(e.currentLight().PadX, 32);
    EXPECT_EQ(e.currentLight().PadY, 63);
    e.PaintBox1MouseDown(-40, 32, true);
    e.PaintBox1MouseUp(-40, 32, true); // Trunc(-72 / D * 32 + 32) truncates toward zero
    EXPECT_EQ(e.currentLight().PadX, 0);
}

TEST(LightEditorPad, PreviewPaintsOnlyWhileShown) {
    LightEditor e;
    int paints = 0;
    e.onPadPainted = [&paints](const Bgr24Image&) { ++paints; };
    e.setPower(90);
    EXPECT_EQ(paints, 0);
    e.FormShow();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(e.padPreview().width(), 64);
    EXPECT_EQ(e.padPreview().height(), 63);
    e.PaintBox1MouseDown(10, 12, true);
    EXPECT_EQ(e.state().PrevPadX, 10); // the paint remembers where it drew the light
    EXPECT_EQ(e.state().PrevPadY, 12);
    e.FormClose();
    e.setPower(20);
    EXPECT_EQ(paints, 2);
}

TEST(LightEditorGenerate, ScriptedRandomStyle) {
    RenderingEditor r;
    LightEditor& e = r.editor;
    e.setRadius(200);
    std::deque<int> values{0xABCDEF};
    for (int j = 0; j < 4; ++j) {
        // radius offset, power, MapX, MapY, PadX, PadY, colour
        for (int v : {199 - j, 10 + j, 254, 0, 5 + j, 60 - j, 0x10 * (j + 1)})
            values.push_back(v);
    }
    e.LightOnClick(4, true);
    e.Generate(scripted(values));
    const TGradientBox& set = e.state().FLightSet;
    EXPECT_EQ(e.state().ButtonColor, 0xABCDEFu);
    EXPECT_EQ(set.FButtonColor, 0xABCDEFu);
    // The bar showed 200 already, so light 1 keeps the 239 Generate gave it.
    EXPECT_EQ(set.FLights[0].Radius, 239);
    EXPECT_EQ(set.FLights[0].MapRadius, 200);
    EXPECT_EQ(set.FLights[1].Radius, 238);
    EXPECT_EQ(set.FLights[1].MapRadius, 238);
    EXPECT_EQ(set.FLights[2].Power, 12);
    EXPECT_EQ(set.FLights[3].PadX, 8);
    EXPECT_EQ(set.FLights[3].MapX, 32); // MapX from random is replaced by PadX * 4
    EXPECT_EQ(set.FLights[3].Color, 0x40u);
    EXPECT_EQ(set.FLights[3].Enabled, 1); // left as it was
    EXPECT_EQ(set.FLights[1].Enabled, 0);
    EXPECT_EQ(e.state().Power, 10);

    // From a bar at 120 the selected light is pulled to 200 by the change handler.
    RenderingEditor other;
    other.editor.Generate(scripted(values));
    EXPECT_EQ(other.editor.currentLight().Radius, 200);
}

TEST(LightEditorStyle, ApplyingAStyleRebuildsOnce) {
    RenderingEditor r;
    LightEditor& e = r.editor;
    e.selectLight(2);
    StyleData style;
    style.buttonColor = 0x203040;
    style.lights[0] = {5, 10, 11, 0xFF0000, 150, 40};
    style.lights[1] = {2, 20, 21, 0x00FF00, 100, 60}; // a non-0/1 byte is normalised
    style.lights[2] = {0, 30, 31, 0x0000FF, 300, 70};
    style.lights[3] = {1, 40, 41, 0xFFFFFF, 60, 80};
    r.maps = 0;
    const Bgr24Image map = e.applyStyle(style);
    EXPECT_EQ(r.maps, 1);
    EXPECT_FALSE(e.state().StyleLoading);
    EXPECT_EQ(map, e.lightMap());
    const TGradientBox& set = e.state().FLightSet;
    EXPECT_EQ(set.FButtonColor, 0x203040u);
    EXPECT_EQ(set.FLights[0].Enabled, 5); // light 1 has no check box
    EXPECT_EQ(set.FLights[1].Enabled, 1);
    EXPECT_EQ(set.FLights[3].Enabled, 1);
    EXPECT_EQ((std::array<bool, 3>{true, false, true}), e.state().LightOn);
    // Light 3 stays selected; its radius 300 is clamped through the bar.
    EXPECT_EQ(e.state().FCurrentLight, 2);
    EXPECT_EQ(set.FLights[2].Radius, 200);
    EXPECT_EQ(set.FLights[2].PadX, 30);
    EXPECT_EQ(set.FLights[2].MapY, 124);
    EXPECT_EQ(map, RenderLightMap(set));

    // After a project load light 1 is selected again.
    e.loadProjectLights(0, set.FLights);
    EXPECT_EQ(e.state().FCurrentLight, 0);
    EXPECT_EQ(e.state().Power, 40);
}
