// The effect windows: each control reaches the live settings (or the light editor) and
// re-renders; the windows' own rules (labels, toggles, size field, dial, loaders, picker).
#include "effects/style_file.h"
#include "gui/app/session.h"
#include "gui/effects/angle_dial.h"
#include "gui/effects/background_window.h"
#include "gui/effects/glyph_window.h"
#include "gui/effects/light_editor_window.h"
#include "gui/effects/light_pad.h"
#include "gui/effects/shadow_window.h"
#include "gui/effects/text_preview.h"
#include "gui/effects/text_window.h"
#include "gui/effects/transparent_color_picker.h"
#include "gui/widgets/color_swatch.h"
#include "image/bmp.h"
#include "image/jpeg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

using namespace plakett;

namespace {

// Answers for the colour dialog, in order; nullopt is a cancelled dialog.
std::deque<std::optional<ColorRef>> g_colorAnswers;

template <class T> T* child(QWidget& window, const char* name) {
    T* w = window.findChild<T*>(name);
    if (w == nullptr) qFatal("no control %s", name);
    return w;
}

// Buttons are clicked as a user's click reaches them; other controls by the mouse.
void click(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->click();
    else
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

Bgr24Image testPicture(int w, int h) {
    Bgr24Image image(w, h, Bgr24{10, 20, 30});
    image.at(0, 0) = Bgr24{1, 2, 3};
    image.at(w - 1, h - 1) = Bgr24{200, 100, 50};
    return image;
}

} // namespace

class EffectWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void lightSlidersEditSelectedLight();
    void selectingLight2KeepsLight1();
    void lightColorsAndPad();
    void lightStyleSave();
    void shadowControls();
    void shadowAngleFromPointer();
    void textFontSizeAndToggles();
    void textControlsAndOffsets();
    void textPreviewCentresTurnedCaption();
    void fontFaceListKeepsCaseVariants();
    void glyphLoadAndControls();
    void transparentColorPicker();
    void backgroundColorAndTexture();
    void windowsReReadReplacedDocument();
    void opacityBarsShowOpacity_data();
    void opacityBarsShowOpacity();
    void generateIsOneStepAndThePadShowsTheLights();
    void pngGlyphKeysItsTransparentPixels();

  private:
    std::unique_ptr<Session> m_session;
};

void EffectWindowsTest::initTestCase() {
    ColorSwatch::setDialogHook([](ColorRef) -> std::optional<ColorRef> {
        if (g_colorAnswers.empty()) return std::nullopt;
        const auto answer = g_colorAnswers.front();
        g_colorAnswers.pop_front();
        return answer;
    });
}

// A fresh design in render mode, so that edits re-render.
void EffectWindowsTest::init() {
    g_colorAnswers.clear();
    m_session = std::make_unique<Session>();
    QVERIFY(m_session->enterRenderMode().isEmpty());
    QVERIFY(m_session->renderMode());
    QVERIFY(!m_session->states()[0].empty());
}

void EffectWindowsTest::lightSlidersEditSelectedLight() {
    LightEditorWindow window(*m_session);
    QSignalSpy rendered(m_session.get(), &Session::statesChanged);
    child<QSlider>(window, "Power")->setValue(80);
    QCOMPARE(m_session->lights().currentLight().Power, 80);
    QCOMPARE(m_session->lights().state().Power, 80);
    QCOMPARE(rendered.count(), 1); // one change, one render
    child<QSlider>(window, "Radius")->setValue(150);
    QCOMPARE(m_session->lights().currentLight().Radius, 150);
    QCOMPARE(m_session->lights().currentLight().MapRadius, 150);
    QCOMPARE(rendered.count(), 2);
    child<QSlider>(window, "Radius")->setValue(500); // clamped by the bar
    QCOMPARE(m_session->lights().currentLight().Radius, 200);
}

void EffectWindowsTest::selectingLight2KeepsLight1() {
    LightEditorWindow window(*m_session);
    auto* power = child<QSlider>(window, "Power");
    auto* radius = child<QSlider>(window, "Radius");
    power->setValue(70);
    radius->setValue(60);
    click(child<QAbstractButton>(window, "SecondLight"));
    const auto& lights = m_session->lights().state().FLightSet.FLights;
    QCOMPARE(m_session->lights().state().FCurrentLight, 1);
    QVERIFY(child<QAbstractButton>(window, "SecondLight")->isChecked());
    QVERIFY(!child<QAbstractButton>(window, "FirstLight")->isChecked());
    QCOMPARE(power->value(), 50); // light 2's own values are shown
    QCOMPARE(radius->value(), 120);
    power->setValue(30);
    QCOMPARE(lights[1].Power, 30);
    QCOMPARE(lights[0].Power, 70);
    QCOMPARE(lights[0].MapPower, 70);
    QCOMPARE(lights[0].Radius, 60);
    click(child<QAbstractButton>(window, "FirstLight"));
    QCOMPARE(power->value(), 70);
    QCOMPARE(radius->value(), 60);

    auto* light1On = child<QCheckBox>(window, "Light1On");
    QVERIFY(light1On->isChecked() && !light1On->isEnabled());
    click(child<QCheckBox>(window, "Light3On"));
    QCOMPARE(lights[2].Enabled, 1);
}

void EffectWindowsTest::lightColorsAndPad() {
    LightEditorWindow window(*m_session);
    TextWindow text(*m_session);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    g_colorAnswers = {ColorRef{0x0000FF}};
    click(child<ColorSwatch>(window, "LightColor"));
    QCOMPARE(m_session->lights().currentLight().Color, ColorRef{0x0000FF});
    QCOMPARE(child<ColorSwatch>(window, "LightColor")->color(), ColorRef{0x0000FF});

    // The button colour also becomes the caption effect colour.
    g_colorAnswers = {ColorRef{0x123456}};
    click(child<ColorSwatch>(window, "ButtonColor"));
    QCOMPARE(m_session->lights().state().ButtonColor, ColorRef{0x123456});
    QCOMPARE(m_session->settings().text.effectColor, ColorRef{0x123456});
    QCOMPARE(child<ColorSwatch>(text, "StyleColor")->color(), ColorRef{0x123456});
    g_colorAnswers = {std::nullopt}; // cancelled: nothing changes
    click(child<ColorSwatch>(window, "ButtonColor"));
    QCOMPARE(m_session->lights().state().ButtonColor, ColorRef{0x123456});

    auto* pad = child<LightPad>(window, "PaintBox1");
    const QPoint origin = pad->contentsRect().topLeft();
    QTest::mousePress(pad, Qt::LeftButton, {}, origin + QPoint(10, 20) * LightPad::kScale);
    QVERIFY(m_session->lights().state().LightDragging);
    QTest::mouseRelease(pad, Qt::LeftButton, {},
                        origin + QPoint(12, 22) * LightPad::kScale + QPoint(1, 1));
    QCOMPARE(m_session->lights().currentLight().PadX, 12);
    QCOMPARE(m_session->lights().currentLight().PadY, 22);
    QVERIFY(!m_session->lights().padPreview().empty());

    const TGradientBox before = m_session->lights().state().FLightSet;
    click(window.findChild<QAbstractButton*>("Button3")); // Generate
    QVERIFY(m_session->lights().state().FLightSet != before);
    QCOMPARE(child<QSlider>(window, "Power")->value(), m_session->lights().state().Power);
}

void EffectWindowsTest::lightStyleSave() {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    LightEditorWindow window(*m_session);
    auto* name = child<QLineEdit>(window, "Edit1");
    name->setText("Mine");
    window.saveStyle();
    const auto file = std::filesystem::path(dir.path().toStdString()) / "Styles" / "Mine.jpgs";
    QVERIFY(std::filesystem::exists(file));
    QCOMPARE(readStyleFile(file).buttonColor, m_session->lights().state().ButtonColor);
    name->setText("../Elsewhere");
    QVERIFY_THROWS_EXCEPTION(std::exception, window.saveStyle());
    QDir::setCurrent(previous);
}

void EffectWindowsTest::shadowControls() {
    ShadowWindow window(*m_session);
    QSignalSpy rendered(m_session.get(), &Session::statesChanged);
    auto* blur = child<QSlider>(window, "ShadeBlurBar");
    auto* percent = child<QLabel>(window, "Label3");
    QCOMPARE(blur->value(), 5);
    QVERIFY(percent->text().isEmpty()); // empty until the bar first changes
    blur->setValue(50);
    QCOMPARE(percent->text(), QString("100%"));
    blur->setValue(1);
    QCOMPARE(percent->text(), QString("2%"));
    blur->setValue(5);
    QCOMPARE(percent->text(), QString("10%"));
    QCOMPARE(m_session->settings().shadow.blur, 5);
    QCOMPARE(rendered.count(), 3);

    child<QSlider>(window, "PushShadeHeightBar")->setValue(9);
    QCOMPARE(m_session->settings().shadow.heights[2], 9);
    click(child<QCheckBox>(window, "EnableShadow"));
    QVERIFY(!m_session->settings().shadow.enabled);
    QCOMPARE(m_session->settings().shadow.heights[2], 9); // kept while off
    g_colorAnswers = {ColorRef{0x808080}};
    click(child<ColorSwatch>(window, "ShadowColor"));
    QCOMPARE(m_session->settings().shadow.color, ColorRef{0x808080});

    auto* angle = child<QSpinBox>(window, "ShadeAngleUpDown");
    auto* presets = child<QComboBox>(window, "ComboBox1");
    QCOMPARE(angle->value(), 315);
    QCOMPARE(presets->itemText(5), QString("160"));
    QCOMPARE(presets->currentIndex(), -1); // 315 is no preset
    const int before = static_cast<int>(rendered.count());
    presets->activated(5);
    QCOMPARE(angle->value(), 160);
    QCOMPARE(m_session->settings().shadow.angle, 160);
    QCOMPARE(child<AngleDial>(window, "PaintBox2")->angle(), 160);
    QCOMPARE(rendered.count(), before + 1);

    auto* dial = child<AngleDial>(window, "PaintBox2");
    const QPoint origin = dial->contentsRect().topLeft();
    QTest::mouseClick(dial, Qt::LeftButton, {}, origin + QPoint(31, 2)); // straight up
    QCOMPARE(m_session->settings().shadow.angle, 90);
    QCOMPARE(angle->value(), 90);
    QCOMPARE(presets->currentText(), QString("90"));
}

// The dial measures a bearing clockwise from up; the stored angle turns counter-clockwise
// from the right, so the needle, drawn at (cos, -sin), points where the pointer was.
void EffectWindowsTest::shadowAngleFromPointer() {
    QCOMPARE(dialBearing(31, 31), 180); // r = 0.1 at the centre
    QCOMPARE(dialBearing(31, 0), 0);
    QCOMPARE(dialBearing(31, 63), 180);
    QCOMPARE(dialBearing(63, 30), 85); // "about 90": the 0.1 keeps asin below 1
    QCOMPARE(dialBearing(0, 0), -45);  // upper-left quarter gives -90..0
    QCOMPARE(shadowAngleFromDial(31, 0), 90);
    QCOMPARE(shadowAngleFromDial(31, 63), 270);
    QCOMPARE(shadowAngleFromDial(0, 31), 185);  // left: bearing 265
    QCOMPARE(shadowAngleFromDial(62, 62), 315); // lower right: the default direction
    QCOMPARE(shadowAngleFromDial(0, 0), 135);
    for (int x = 0; x < 64; x += 3)
        for (int y = 0; y < 64; y += 3) {
            const int a = shadowAngleFromDial(x, y);
            QVERIFY(a >= 0 && a < 360);
        }
}

void EffectWindowsTest::textFontSizeAndToggles() {
    TextWindow window(*m_session);
    auto* size = child<QComboBox>(window, "TextSize");
    QCOMPARE(size->currentText(), QString("10"));
    QCOMPARE(size->count(), 16);
    size->setEditText("14");
    QCOMPARE(m_session->settings().text.fontSize, 14);
    size->setEditText("abc");
    QCOMPARE(size->currentText(), QString("0"));
    QCOMPARE(m_session->settings().text.fontSize, 0);
    size->setEditText(""); // left alone
    QCOMPARE(m_session->settings().text.fontSize, 0);
    size->setEditText("99999"); // held at the largest size the caption arithmetic takes
    QCOMPARE(size->currentText(), QString("1000"));
    QCOMPARE(m_session->settings().text.fontSize, 1000);
    size->setEditText("-99999");
    QCOMPARE(m_session->settings().text.fontSize, -1000);

    auto* bold = child<QAbstractButton>(window, "BoldButton");
    QCOMPARE(m_session->settings().text.weight, 0);
    click(bold);
    QVERIFY(bold->isChecked() && m_session->settings().text.bold);
    QCOMPARE(m_session->settings().text.weight, 700);
    click(bold);
    QVERIFY(!bold->isChecked() && !m_session->settings().text.bold);
    QCOMPARE(m_session->settings().text.weight, 400);
    click(child<QAbstractButton>(window, "ItalicButton"));
    click(child<QAbstractButton>(window, "UnderlineButton"));
    QVERIFY(m_session->settings().text.italic && m_session->settings().text.underline);

    auto* font = child<QComboBox>(window, "FontSel");
    // The family the caption is drawn in (Arial itself where it is installed).
    QCOMPARE(font->currentText(), QFontInfo(QFont("Arial")).family());
    QCOMPARE(m_session->settings().text.fontName, std::string("Arial"));
    font->setEditText("Courier");
    QCOMPARE(m_session->settings().text.fontName, std::string("Courier"));
}

void EffectWindowsTest::textControlsAndOffsets() {
    TextWindow window(*m_session);
    QSignalSpy rendered(m_session.get(), &Session::statesChanged);
    const Bgr24Image plain = m_session->states()[0];
    child<QLineEdit>(window, "Text")->setText("OK");
    QCOMPARE(m_session->settings().text.caption, std::string("OK"));
    QCOMPARE(rendered.count(), 1);
    QVERIFY(m_session->states()[0] != plain); // the caption shows

    auto* angle = child<QSpinBox>(window, "AngleEdit");
    angle->setValue(360);
    angle->stepUp(); // wraps around
    QCOMPARE(angle->value(), 0);
    angle->stepDown();
    QCOMPARE(m_session->settings().text.angle, 360);
    child<QComboBox>(window, "HotEffects")->setCurrentIndex(4);
    QCOMPARE(m_session->settings().text.effects[1], TextEffect::Bordered);
    QCOMPARE(child<QComboBox>(window, "HotEffects")->currentText(), QString("Bordered"));
    child<QSlider>(window, "TrackBar1")->setValue(99);
    QCOMPARE(m_session->settings().text.opacity, 99);
    g_colorAnswers = {ColorRef{0x00FF00}};
    click(child<ColorSwatch>(window, "MDownColor"));
    QCOMPARE(m_session->settings().text.colors[2], ColorRef{0x00FF00});

    // The offsets reach half the button picture each way after a render.
    const QSize coverage = m_session->coverageSize();
    QVERIFY(!coverage.isEmpty());
    auto* x = child<QSlider>(window, "TextXBar");
    auto* y = child<QSlider>(window, "TextYBar");
    QCOMPARE(x->maximum(), coverage.width() / 2);
    QCOMPARE(x->minimum(), -(coverage.width() / 2));
    QCOMPARE(y->maximum(), coverage.height() / 2);
    x->setValue(3);
    y->setValue(-2);
    QCOMPARE(m_session->settings().text.x, 3);
    QCOMPARE(m_session->settings().text.y, -2);
    QCOMPARE(child<QLabel>(window, "Label9")->text(), QString("Text X = 3"));
    QCOMPARE(child<QLabel>(window, "Label10")->text(), QString("Text Y = -2"));
}

void EffectWindowsTest::textPreviewCentresTurnedCaption() {
    // Upright (90 degrees): the turned extent is (H, -W), so the reference point sits
    // half the height left of the centre and half the width below it.
    QCOMPARE(TextPreview::captionOrigin(100, 20, 90, 327, 71), QPoint(163 - 10, 35 + 50));
    QCOMPARE(TextPreview::captionOrigin(100, 21, 0, 327, 71), QPoint(163 - 50, 35 - 10));
    TextLive text;
    text.fontSize = 10;
    QVERIFY(std::abs(QFontMetrics(previewFont(text)).height() - 15) <= 1); // cell (10 * 3) div 2
}

void EffectWindowsTest::fontFaceListKeepsCaseVariants() {
    const QStringList list =
        fontFaceList({"b", "A", "a", "B", "a", "c", "Sans [One]", "Sans [Two]"});
    QCOMPARE(list, QStringList({"A", "a", "B", "b", "c", "Sans"}));

    // A named font that is missing shows as the family that is drawn instead.
    m_session->settings().text.fontName = "No Such Family Xq";
    TextWindow window(*m_session);
    auto* box = child<QComboBox>(window, "FontSel");
    QCOMPARE(box->currentText(), QFontInfo(QFont("No Such Family Xq")).family());
    QVERIFY(box->toolTip().contains("not installed"));
    QCOMPARE(m_session->settings().text.fontName, std::string("No Such Family Xq"));
}

void EffectWindowsTest::glyphLoadAndControls() {
    QTemporaryDir dir;
    const std::filesystem::path bmp = dir.filePath("glyph.bmp").toStdString();
    writeBmpFile(bmp, testPicture(8, 6));
    GlyphWindow window(*m_session);
    auto* trColor = child<ColorSwatch>(window, "TrColor");
    click(trColor); // no glyph yet: nothing opens, nothing changes
    QCOMPARE(m_session->settings().glyph.transparentColor, ColorRef{0xFFFFFF});

    QSignalSpy rendered(m_session.get(), &Session::statesChanged);
    window.loadGlyphFile(bmp);
    QCOMPARE(m_session->settings().glyph.picture, testPicture(8, 6));
    QCOMPARE(m_session->settings().glyph.transparentColor, makeColorRef(3, 2, 1));
    QCOMPARE(trColor->color(), makeColorRef(3, 2, 1));
    QCOMPARE(rendered.count(), 1);

    const std::filesystem::path junk = dir.filePath("junk.bmp").toStdString();
    std::ofstream(junk) << "not a picture";
    QVERIFY_THROWS_EXCEPTION(std::exception, window.loadGlyphFile(junk));
    QCOMPARE(m_session->settings().glyph.picture, testPicture(8, 6));

    auto* use = child<QCheckBox>(window, "CheckBox3");
    QVERIFY(use->isChecked());
    click(use);
    QVERIFY(!m_session->settings().glyph.useGlyph);
    QVERIFY(!child<QSlider>(window, "ImageXPos")->isEnabled());
    QVERIFY(!trColor->isEnabled());
    click(use);
    click(child<QCheckBox>(window, "CheckBox2"));
    QVERIFY(!m_session->settings().glyph.transparent);
    QVERIFY(!trColor->isEnabled());
    child<QSlider>(window, "TrackBar1")->setValue(200);
    QCOMPARE(m_session->settings().glyph.opacity, 200);
    child<QSlider>(window, "ImageYPos")->setValue(-4);
    QCOMPARE(m_session->settings().glyph.y, -4);
    QCOMPARE(child<QLabel>(window, "Label2")->text(), QString("Glyph Y = -4"));
    QCOMPARE(child<QSlider>(window, "ImageYPos")->minimum(),
             -(m_session->coverageSize().height() / 2));
}

void EffectWindowsTest::transparentColorPicker() {
    const Bgr24Image picture = testPicture(8, 6);
    std::vector<ColorRef> picks;
    TransparentColorPicker picker(picture, 0xFFFFFF, [&](ColorRef c) { picks.push_back(c); });
    PickerView* view = picker.view();
    QCOMPARE(view->size(), QSize(8, 6));
    picker.zoomOut(); // at 1x nothing happens
    QCOMPARE(view->zoom(), 1);
    picker.zoomIn();
    picker.zoomIn();
    QCOMPARE(view->size(), QSize(24, 18));
    // Each picture pixel covers 3x3 view pixels: (23, 17) is pixel (7, 5).
    QTest::mousePress(view, Qt::RightButton, {}, QPoint(1, 2));
    QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(23, 17));
    QCOMPARE(picks.size(), std::size_t{2});
    QCOMPARE(picks[0], makeColorRef(3, 2, 1));
    QCOMPARE(picks[1], makeColorRef(50, 100, 200));
    QCOMPARE(picker.color(), makeColorRef(50, 100, 200));
    picker.zoomOut();
    QCOMPARE(view->size(), QSize(16, 12));
}

void EffectWindowsTest::backgroundColorAndTexture() {
    QTemporaryDir dir;
    BackgroundWindow window(*m_session);
    QSignalSpy rendered(m_session.get(), &Session::statesChanged);
    g_colorAnswers = {makeColorRef(10, 20, 30)};
    click(child<ColorSwatch>(window, "Panel5"));
    const BackgroundLive& back = m_session->settings().background;
    QCOMPARE(back.color, makeColorRef(10, 20, 30));
    QCOMPARE(back.backRed, 10);
    QCOMPARE(back.backGreen, 20);
    QCOMPARE(back.backBlue, 30);
    QCOMPARE(rendered.count(), 1);

    QVERIFY(isJpegTextureName("Photo.JPG"));
    QVERIFY(!isJpegTextureName("Tile.bmp"));
    QVERIFY(!isJpegTextureName("/home/my.junk/Tile.bmp")); // folders do not count
    const std::filesystem::path jpg = dir.filePath("Photo.JPG").toStdString();
    writeJpegFile(jpg, testPicture(16, 8), 90);
    window.loadTextureFile(jpg);
    QCOMPARE(back.texture.width(), 16);
    const std::filesystem::path bmp = dir.filePath("Tile.bmp").toStdString();
    writeBmpFile(bmp, testPicture(5, 4));
    window.loadTextureFile(bmp);
    QCOMPARE(back.texture, testPicture(5, 4));
    QVERIFY_THROWS_EXCEPTION(std::exception,
                             window.loadTextureFile(dir.filePath("x.jpg").toStdString()));
    QCOMPARE(back.texture, testPicture(5, 4));

    click(child<QCheckBox>(window, "CheckBox3"));
    QVERIFY(back.useTexture);
    auto* opacity = child<QSlider>(window, "TrackBar1");
    opacity->setValue(0);
    QCOMPARE(back.textureOpacity, 30);
    child<QSlider>(window, "ImageXPos")->setValue(-255);
    QCOMPARE(back.textureOriginX, -255);
}

void EffectWindowsTest::windowsReReadReplacedDocument() {
    ShadowWindow shadow(*m_session);
    TextWindow text(*m_session);
    LightEditorWindow light(*m_session);
    child<QSlider>(shadow, "ShadeBlurBar")->setValue(20);
    child<QLineEdit>(text, "Text")->setText("Go");
    child<QSlider>(light, "Power")->setValue(90);
    m_session->newProject();
    QCOMPARE(child<QSlider>(shadow, "ShadeBlurBar")->value(), 5);
    QCOMPARE(child<QLabel>(shadow, "Label3")->text(), QString("10%"));
    QCOMPARE(child<QLineEdit>(text, "Text")->text(), QString());
    QCOMPARE(child<QSlider>(light, "Power")->value(), m_session->lights().state().Power);
    QCOMPARE(m_session->lights().currentLight().Power, 50);
}

using WindowMaker = std::function<std::unique_ptr<QWidget>(Session&)>;
using StoredOpacity = std::function<int&(RenderSettings&)>;
Q_DECLARE_METATYPE(WindowMaker)
Q_DECLARE_METATYPE(StoredOpacity)

void EffectWindowsTest::opacityBarsShowOpacity_data() {
    QTest::addColumn<WindowMaker>("make");
    QTest::addColumn<StoredOpacity>("stored");
    QTest::newRow("text") << WindowMaker([](Session& s) {
        return std::make_unique<TextWindow>(s);
    }) << StoredOpacity([](RenderSettings& r) -> int& { return r.text.opacity; });
    QTest::newRow("glyph") << WindowMaker([](Session& s) {
        return std::make_unique<GlyphWindow>(s);
    }) << StoredOpacity([](RenderSettings& r) -> int& { return r.glyph.opacity; });
    QTest::newRow("texture") << WindowMaker([](Session& s) {
        return std::make_unique<BackgroundWindow>(s);
    }) << StoredOpacity([](RenderSettings& r) -> int& { return r.background.textureOpacity; });
}

// Right and up mean more visible and the number is 255 minus the stored weight; the stored
// value, and so the pixels, are what they always were.
void EffectWindowsTest::opacityBarsShowOpacity() {
    QFETCH(WindowMaker, make);
    QFETCH(StoredOpacity, stored);
    m_session->settings().text.caption = "Opacity";
    const std::unique_ptr<QWidget> window = make(*m_session);
    auto* bar = child<QSlider>(*window, "TrackBar1");
    auto* shown = child<QLabel>(*window, "TrackBar1Value");
    QVERIFY(bar->invertedAppearance() && bar->invertedControls());
    bar->setValue(100);
    QCOMPARE(stored(m_session->settings()), 100);
    QCOMPARE(shown->text(), QString("155"));
    const Bgr24Image viaBar = m_session->states()[0];
    QTest::keyClick(bar, Qt::Key_Up); // one step more visible
    QCOMPARE(stored(m_session->settings()), 99);
    QCOMPARE(shown->text(), QString("156"));
    QTest::keyClick(bar, Qt::Key_Down);
    QCOMPARE(stored(m_session->settings()), 100);
    // The bar's fully visible end is the right one.
    const QStyleOptionSlider option = [&] {
        QStyleOptionSlider o;
        o.initFrom(bar);
        o.orientation = Qt::Horizontal;
        o.minimum = bar->minimum();
        o.maximum = bar->maximum();
        o.upsideDown = bar->invertedAppearance();
        return o;
    }();
    QCOMPARE(QStyle::sliderValueFromPosition(option.minimum, option.maximum, 100, 100,
                                             option.upsideDown),
             bar->minimum());

    Session direct;
    QVERIFY(direct.enterRenderMode().isEmpty());
    direct.settings().text.caption = "Opacity";
    stored(direct.settings()) = 100;
    direct.settingsEdited();
    QVERIFY(direct.states()[0] == viaBar);
}

void EffectWindowsTest::generateIsOneStepAndThePadShowsTheLights() {
    LightEditorWindow window(*m_session);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int steps = m_session->undoStack().count();
    click(window.findChild<QAbstractButton*>("Button3")); // Generate
    QCOMPARE(m_session->undoStack().count(), steps + 1);

    auto* pad = child<LightPad>(window, "PaintBox1");
    const LightEditorState& s = m_session->lights().state();
    int enabled = 1;
    for (bool on : s.LightOn)
        enabled += on ? 1 : 0;
    QCOMPARE(int(pad->markers().size()), enabled);
    for (const PadMarker& m : pad->markers()) {
        const TLightRec& light = s.FLightSet.FLights[std::size_t(m.number - 1)];
        QCOMPARE(m.at, QPoint(light.PadX, light.PadY));
        QCOMPARE(m.selected, m.number - 1 == s.FCurrentLight);
    }
    QCOMPARE(child<QLabel>(window, "PowerValue")->text(), QString::number(s.Power));
    auto* name = child<QLineEdit>(window, "Edit1");
    QVERIFY(name->text().isEmpty());
    QCOMPARE(name->placeholderText(), QString("Style name"));
}

// More than half transparent becomes the key colour, which no visible pixel has (magenta is
// taken here); visible pixels keep their colour.
void EffectWindowsTest::pngGlyphKeysItsTransparentPixels() {
    QTemporaryDir dir;
    QImage png(3, 2, QImage::Format_ARGB32);
    png.fill(qRgba(0, 0, 0, 0));
    png.setPixel(0, 0, qRgba(255, 0, 255, 255));
    png.setPixel(1, 0, qRgba(10, 20, 30, 128));
    png.setPixel(2, 0, qRgba(10, 20, 30, 127));
    png.setPixel(0, 1, qRgba(200, 100, 50, 255));
    const QString file = dir.filePath("glyph.png");
    QVERIFY(png.save(file));
    GlyphWindow window(*m_session);
    m_session->settings().glyph.transparent = false;
    window.loadGlyphFile(file.toStdString());
    const GlyphLive& glyph = m_session->settings().glyph;
    QVERIFY(glyph.transparent);
    const Bgr24 key = glyph.picture.at(2, 0);
    QCOMPARE(glyph.transparentColor, makeColorRef(key.r, key.g, key.b));
    QVERIFY(!(key == Bgr24{255, 0, 255}));
    QVERIFY(glyph.picture.at(1, 1) == key && glyph.picture.at(2, 1) == key);
    QVERIFY((glyph.picture.at(0, 0) == Bgr24{255, 0, 255}));
    QVERIFY((glyph.picture.at(1, 0) == Bgr24{30, 20, 10}));
    QVERIFY((glyph.picture.at(0, 1) == Bgr24{50, 100, 200}));
}

QTEST_MAIN(EffectWindowsTest)
#include "tst_effect_windows.moc"
