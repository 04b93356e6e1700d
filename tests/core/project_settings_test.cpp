#include "common/text_encoding.h"
#include "document/project_settings.h"

#include <gtest/gtest.h>

using namespace plakett;

TEST(ProjectSettingsDefaults, RecordsAndLiveDefaultsAgree) {
    // Gathering a fresh program's settings gives the default records, byte for byte...
    EXPECT_EQ(recordsFromSettings(RenderSettings{}), SettingsRecords{});
    // ...and applying the default records gives a fresh program's settings.
    const RenderSettings fresh;
    const RenderSettings s = settingsFromRecords(SettingsRecords{});
    EXPECT_EQ(s.text.fontName, fresh.text.fontName);
    EXPECT_EQ(s.text.fontSize, fresh.text.fontSize);
    EXPECT_EQ(s.text.weight, fresh.text.weight);
    EXPECT_EQ(s.text.opacity, fresh.text.opacity);
    EXPECT_EQ(s.text.colors, fresh.text.colors);
    EXPECT_EQ(s.shadow.heights, fresh.shadow.heights);
    EXPECT_EQ(s.shadow.angle, fresh.shadow.angle);
    EXPECT_EQ(s.shadow.blur, fresh.shadow.blur);
    EXPECT_EQ(s.glyph.opacity, fresh.glyph.opacity);
    EXPECT_EQ(s.glyph.transparentColor, fresh.glyph.transparentColor);
    EXPECT_EQ(s.background.color, fresh.background.color);
    EXPECT_EQ(s.background.textureOpacity, fresh.background.textureOpacity);
    EXPECT_EQ(s.background.useTexture, fresh.background.useTexture);
}

TEST(ProjectSettingsApply, ValuesPassThroughTheControlRanges) {
    SettingsRecords r;
    r.shadow.ShadowBlur = 80;
    r.shadow.NormalShadowHeight = -3;
    r.shadow.HotShadowHeight = 20;
    r.shadow.ShadowAngle = 400;
    r.shadow.ShadowEnabled = 2;
    r.text.TextAngle = -5;
    r.text.NormalTextEffect = 7;
    r.text.HotTextEffect = -1;
    r.text.PushTextEffect = 4;
    r.text.TextX = 5000; // offsets stay as read until render-mode entry
    r.glyph.GlyphX = -20000;
    r.background.TextureOpacity = 10;
    r.background.BackgroundColor = 0x000000; // the swatch is rebuilt from the three bars
    r.background.BackRed = 300;
    r.background.BackGreen = -4;
    r.background.BackBlue = 0x40;
    const RenderSettings s = settingsFromRecords(r);
    EXPECT_EQ(s.shadow.blur, 50);
    EXPECT_EQ(s.shadow.heights, (std::array<int, 3>{0, 16, 1}));
    EXPECT_EQ(s.shadow.angle, 360);
    EXPECT_TRUE(s.shadow.enabled);
    EXPECT_EQ(s.text.angle, 0);
    EXPECT_EQ(s.text.effects, (std::array<TextEffect, 3>{TextEffect::Normal, TextEffect::Normal,
                                                         TextEffect::Bordered}));
    EXPECT_EQ(s.text.x, 5000);
    EXPECT_EQ(s.glyph.x, -20000);
    EXPECT_EQ(s.background.textureOpacity, 30);
    EXPECT_EQ(s.background.backRed, 255);
    EXPECT_EQ(s.background.backGreen, 0);
    EXPECT_EQ(s.background.color, 0x4000FFu);
}

TEST(ProjectSettingsApply, FontStyleStrings) {
    SettingsRecords r;
    r.text.FontStyle.assign("[1,0,1]");
    RenderSettings s = settingsFromRecords(r);
    EXPECT_TRUE(s.text.bold);
    EXPECT_FALSE(s.text.italic);
    EXPECT_TRUE(s.text.underline);
    EXPECT_EQ(s.text.weight, 700);

    r.text.FontStyle.assign("0");
    applyRecordsToSettings(r, s);
    EXPECT_FALSE(s.text.bold || s.text.italic || s.text.underline);
    EXPECT_EQ(s.text.weight, 0);

    r.text.FontStyle.assign("[0,1"); // the missing underline flag counts as "0"
    s.text.underline = true;
    applyRecordsToSettings(r, s);
    EXPECT_TRUE(s.text.italic);
    EXPECT_FALSE(s.text.underline);

    r.text.FontStyle.assign("[x,0,1]"); // neither "0" nor "1": bold stays as it was
    s.text.bold = true;
    applyRecordsToSettings(r, s);
    EXPECT_TRUE(s.text.bold);
    EXPECT_TRUE(s.text.underline);
}

TEST(ProjectSettingsText, Windows1252BothWays) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(windows1252ToUtf8("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(utf8ToWindows1252("\xCE\xA9mega \xF0\x9F\x98\x80!"), "?mega ?!");
    EXPECT_EQ(utf8ToWindows1252("bad \xC3 \xFF end"), "bad ? ? end");

    RenderSettings s;
    s.text.caption = std::string(300, 'x');
    s.text.fontName = std::string(60, 'F');
    s.text.bold = true;
    s.text.underline = true;
    const SettingsRecords r = recordsFromSettings(s);
    EXPECT_EQ(r.text.CaptionText.length, 255);
    EXPECT_EQ(r.text.FontName.length, 50);
    EXPECT_EQ(r.text.FontStyle.bytes(), "[1,0,1]");

    SettingsRecords t;
    t.text.CaptionText.assign("Na\xEFve \x93quote\x94");
    EXPECT_EQ(settingsFromRecords(t).text.caption, "Na\xC3\xAFve \xE2\x80\x9Cquote\xE2\x80\x9D");
    EXPECT_EQ(recordsFromSettings(settingsFromRecords(t)), t);
}

TEST(ProjectSettingsPictures, GlyphAndTextureFollowTheFlags) {
    ProjectDocument doc;
    RenderSettings live;
    live.background.texture = Bgr24Image(4, 4, Bgr24{9, 9, 9});
    live.glyph.picture = Bgr24Image(1, 1);
    applyProjectToSettings(doc, live);
    EXPECT_TRUE(live.glyph.picture.empty());       // no glyph in the file: none now
    EXPECT_EQ(live.background.texture.width(), 4); // no texture in the file: the old one stays

    doc.glyphPicture = Bgr24Image(2, 3);
    doc.texture = Bgr24Image(5, 1);
    applyProjectToSettings(doc, live);
    EXPECT_EQ(live.glyph.picture.height(), 3);
    EXPECT_EQ(live.background.texture.width(), 5);

    ProjectDocument out;
    live.background.useTexture = false;
    storeSettingsInProject(live, out);
    EXPECT_NE(out.records.glyph.GlyphBitmap, 0u);
    EXPECT_TRUE(out.glyphPicture);
    EXPECT_FALSE(out.texture);
    EXPECT_EQ(out.records.background.UseTexture, 0);
    live.glyph.picture = Bgr24Image{};
    live.background.useTexture = true;
    storeSettingsInProject(live, out);
    EXPECT_EQ(out.records.glyph.GlyphBitmap, 0u);
    EXPECT_FALSE(out.glyphPicture);
    EXPECT_TRUE(out.texture);
    EXPECT_EQ(out.records.background.UseTexture, 1);
    EXPECT_EQ(out.records.background.BackRedCopy, live.background.backRed);
}
