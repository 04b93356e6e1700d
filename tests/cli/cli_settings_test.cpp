// A project's settings, its caption and a style file reach the rendered pixels; the same
// input always gives the same bytes.
#include "cli_run.h"

#include "effects/style_file.h"
#include "image/bmp.h"
#include "shape/shape_file.h"

#include <gtest/gtest.h>

using namespace plakett;
using namespace plakett::clitest;

namespace {

const std::vector<std::string> kStateFiles = {"b_off.bmp", "b_over.bmp", "b_down.bmp"};

struct Rendered {
    std::vector<std::vector<std::uint8_t>> files; // off, over, down
    Bgr24Image off() const { return decodeBmpFile(files[0]); }
};

Rendered renderInput(const fs::path& input, std::vector<std::string> args = {},
                     const std::vector<std::string>& unsetEnv = {}) {
    TempDir dir;
    args.push_back(input.string());
    args.push_back((dir / "b.bmp").string());
    const RunResult r = runRender(args, unsetEnv);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    Rendered out;
    for (const std::string& f : kStateFiles)
        out.files.push_back(fs::exists(dir / f) ? fileBytes(dir / f) : std::vector<std::uint8_t>{});
    return out;
}

Rendered renderProject(const ProjectDocument& doc, std::vector<std::string> args = {},
                       const std::vector<std::string>& unsetEnv = {}) {
    TempDir dir;
    writeProjectFile(dir / "design.tbp", doc);
    return renderInput(dir / "design.tbp", std::move(args), unsetEnv);
}

void setLights(ProjectDocument& doc) {
    doc.buttonColor = makeColorRef(30, 70, 140);
    TLightRec& key = doc.lights[0];
    key.PadX = 20;
    key.PadY = 18;
    key.Color = makeColorRef(255, 240, 220);
    key.Power = 60;
    key.Radius = 110;
    TLightRec& rim = doc.lights[1];
    rim.Enabled = 1;
    rim.PadX = 48;
    rim.PadY = 46;
    rim.Color = makeColorRef(255, 40, 40);
    rim.Power = 30;
    rim.Radius = 80;
}

void setShadow(ProjectDocument& doc, int normal, int hot, int pushed) {
    ShadowSettings& s = doc.records.shadow;
    s.ShadowEnabled = 1;
    s.ShadowBlur = 9;
    s.ShadowColor = makeColorRef(60, 40, 20);
    s.NormalShadowHeight = normal;
    s.HotShadowHeight = hot;
    s.PushShadowHeight = pushed;
    s.ShadowAngle = 300;
}

void setBackground(ProjectDocument& doc, int r, int g, int b) {
    BackgroundSettings& bg = doc.records.background;
    bg.BackgroundColor = makeColorRef(r, g, b);
    bg.BackRed = bg.BackRedCopy = r;
    bg.BackGreen = bg.BackGreenCopy = g;
    bg.BackBlue = b;
}

void setCaption(ProjectDocument& doc, const std::string& text) {
    TextSettings& t = doc.records.text;
    t.CaptionText.assign(text);
    t.FontSize = 16;
    t.FontStyle.assign("[1,0,0]");
    t.NormalTextColor = makeColorRef(255, 255, 255);
    t.HotTextColor = makeColorRef(255, 255, 0);
    t.PushTextColor = makeColorRef(0, 0, 0);
    t.TextOpacity = 0; // the weight of what lies under the letters
}

// The style's lights as a project stores them, so both roads can be compared.
TGradientBox styleLights() {
    TGradientBox set;
    set.FButtonColor = makeColorRef(150, 20, 30);
    set.FLights[0].PadX = 24;
    set.FLights[0].PadY = 22;
    set.FLights[0].Color = makeColorRef(255, 220, 200);
    set.FLights[0].MapRadius = set.FLights[0].Radius = 100;
    set.FLights[0].MapPower = set.FLights[0].Power = 55;
    set.FLights[2].Enabled = 1;
    set.FLights[2].PadX = 40;
    set.FLights[2].PadY = 50;
    set.FLights[2].Color = makeColorRef(255, 160, 40);
    set.FLights[2].MapRadius = set.FLights[2].Radius = 70;
    set.FLights[2].MapPower = set.FLights[2].Power = 25;
    return set;
}

fs::path writeStyle(const TempDir& dir, const TGradientBox& set) {
    const fs::path path = dir / "Test.jpgs";
    writeStyleFile(path, set, set.FButtonColor, Bgr24Image(40, 20, Bgr24{10, 20, 30}), "Arial");
    return path;
}

} // namespace

TEST(CliSettings, ProjectWithDefaultSettingsRendersLikeTheBareShape) {
    const Rendered bare = renderInput(shippedShape("Buttons/Pill.shp"));
    const Rendered project = renderProject(pillProject());
    for (std::size_t i = 0; i < kStateFiles.size(); ++i)
        EXPECT_EQ(project.files[i], bare.files[i]) << kStateFiles[i];
}

TEST(CliSettings, EveryRecordOfAProjectIsApplied) {
    // A small hand-made ring, saved once as a shape and once inside the projects.
    ProjectDocument base;
    const TPoint corners[] = {{300, 200}, {200, 120}, {90, 210}, {210, 260}};
    for (TPoint p : corners) {
        TMoveBox b;
        b.Init(p.X, p.Y);
        base.points.push_back(b);
    }
    base.points[2].FPointType = ptAngle;
    TempDir dir;
    SaveToFile(base.points, dir / "ring.shp");
    const Bgr24Image bare = renderInput(dir / "ring.shp").off();
    ASSERT_FALSE(bare.empty());
    EXPECT_EQ(renderProject(base).off(), bare);

    ProjectDocument lights = base;
    setLights(lights);
    ProjectDocument shadow = base;
    setShadow(shadow, 8, 8, 3);
    ProjectDocument text = base;
    text.records.text.TextOpacity = 0; // the caption pass keeps even an empty caption's image
    ProjectDocument background = base;
    setBackground(background, 200, 220, 240);
    ProjectDocument all = lights;
    all.records.shadow = shadow.records.shadow;
    all.records.text = text.records.text;
    all.records.background = background.records.background;

    for (const ProjectDocument* doc : {&lights, &shadow, &text, &background, &all}) {
        const Bgr24Image img = renderProject(*doc).off();
        ASSERT_EQ(img.width(), bare.width());
        ASSERT_EQ(img.height(), bare.height());
        EXPECT_NE(img, bare);
    }
    // The background colour fills the corners exactly.
    const Bgr24Image back = renderProject(background).off();
    EXPECT_EQ(back.at(0, 0), (Bgr24{240, 220, 200}));
    EXPECT_EQ(back.at(back.width() - 1, back.height() - 1), (Bgr24{240, 220, 200}));
}

// Without a caption the states differ only by their shadow offsets, so the offsets show
// which state went into which file.
TEST(CliSettings, ShadowHeightsShowEachStateInItsFile) {
    const struct {
        int normal, hot, pushed;
        bool overIsOff, downIsOff;
    } cases[] = {
        {0, 0, 9, true, false},
        {0, 9, 0, false, true},
        {3, 3, 3, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.normal << "," << c.hot << "," << c.pushed);
        ProjectDocument doc = pillProject();
        setShadow(doc, c.normal, c.hot, c.pushed);
        const Rendered r = renderProject(doc);
        EXPECT_EQ(r.files[1] == r.files[0], c.overIsOff);
        EXPECT_EQ(r.files[2] == r.files[0], c.downIsOff);
    }
}

TEST(CliSettings, CaptionIsDrawnWithItsStateColours) {
    ProjectDocument plain = pillProject();
    setShadow(plain, 4, 4, 4); // equal shadows: only the caption can tell the states apart
    ProjectDocument captioned = plain;
    setCaption(captioned, "Press");

    const Rendered without = renderProject(plain);
    // No display and no platform chosen: the renderer picks the offscreen one itself.
    const Rendered with = renderProject(captioned, {}, {"QT_QPA_PLATFORM", "DISPLAY"});
    ASSERT_FALSE(with.files[0].empty());
    const Bgr24Image a = without.off();
    const Bgr24Image b = with.off();
    ASSERT_EQ(a.width(), b.width());
    EXPECT_NE(a, b);
    EXPECT_GT(maxChannelDifference(a, b), 100); // white letters on a green button
    EXPECT_NE(with.files[0], with.files[1]);
    EXPECT_NE(with.files[0], with.files[2]);
    EXPECT_NE(with.files[1], with.files[2]);
}

TEST(CliSettings, PicturesOfAProjectAreDrawn) {
    const fs::path golden = testData("projects/glyph_texture.tbp");
    const Rendered full = renderInput(golden);
    ProjectDocument bare = readProjectFile(golden);
    bare.records.glyph.GlyphBitmap = 0;
    bare.glyphPicture.reset();
    bare.records.background.UseTexture = 0;
    bare.texture.reset();
    bare.records.text.CaptionText.assign("");
    const Rendered without = renderProject(bare);
    ASSERT_FALSE(full.files[0].empty());
    EXPECT_NE(full.files[0], without.files[0]);
}

TEST(CliSettings, SameInputGivesSameBytes) {
    ProjectDocument doc = pillProject();
    setLights(doc);
    setShadow(doc, 2, 5, 1);
    setCaption(doc, "Again");
    EXPECT_EQ(renderProject(doc).files, renderProject(doc).files);

    const fs::path pill = shippedShape("Buttons/Pill.shp");
    EXPECT_EQ(renderInput(pill).files, renderInput(pill).files);

    TempDir a, b;
    for (const TempDir* d : {&a, &b})
        ASSERT_EQ(runRender({"--format", "png", pill.string(), (*d / "p.png").string()}).exitCode,
                  0);
    for (const char* f : {"p_off.png", "p_over.png", "p_down.png"})
        EXPECT_EQ(fileBytes(a / f), fileBytes(b / f)) << f;
}

TEST(CliSettings, StyleReplacesTheLightSet) {
    TempDir dir;
    const fs::path pill = shippedShape("Buttons/Pill.shp");
    const Rendered unstyled = renderInput(pill);

    // A style holding the program's starting lights changes nothing.
    TGradientBox defaults;
    for (TLightRec& l : defaults.FLights)
        l.MapPower = l.Power;
    const fs::path same = writeStyle(dir, defaults);
    EXPECT_EQ(renderInput(pill, {"--style", same.string()}).files, unstyled.files);

    const TGradientBox set = styleLights();
    const fs::path style = writeStyle(dir, set);
    const Rendered styled = renderInput(pill, {"--style", style.string()});
    EXPECT_NE(styled.files[0], unstyled.files[0]);

    // A project's own lights give way to the style; its other settings stay.
    ProjectDocument project = pillProject();
    setLights(project);
    setShadow(project, 6, 6, 2);
    ProjectDocument expected = project;
    expected.buttonColor = set.FButtonColor;
    expected.lights = set.FLights;
    EXPECT_EQ(renderProject(project, {"--style", style.string()}).files,
              renderProject(expected).files);
}
