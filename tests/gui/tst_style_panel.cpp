// The style list: the styles of a folder, sorted, with icons loaded in the background;
// only a user's selection applies a style.
#include "effects/style_file.h"
#include "gui/app/session.h"
#include "gui/render/style_panel.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

using namespace plakett;

class StylePanelTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void listsSortedWithIcons();
    void onlyUserSelectionApplies();
    void emptyOrMissingFolder();

  private:
    void writeStyle(const std::string& name, ColorRef buttonColor);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::filesystem::path m_folder;
};

void StylePanelTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = m_dir->path().toStdString();
    writeStyle("beta", 0x0000FF);
    writeStyle("Alpha", 0x00FF00);
    writeStyle("gamma", 0xFF0000);
    std::ofstream(m_folder / "broken.jpgs") << "no picture";
}

void StylePanelTest::writeStyle(const std::string& name, ColorRef buttonColor) {
    TGradientBox lights;
    lights.FLights[1].Enabled = 1;
    lights.FLights[1].PadX = 10;
    writeStyleFile(styleFilePath(m_folder, name), lights, buttonColor,
                   Bgr24Image(40, 30, Bgr24{0, 0, 255}), "Arial");
}

void StylePanelTest::listsSortedWithIcons() {
    Session session;
    StylePanel panel(session, m_folder);
    QCOMPARE(panel.styleNames(), QStringList({"Alpha", "beta", "broken", "gamma"}));
    QTRY_VERIFY(!panel.iconsLoading());
    QCoreApplication::processEvents(); // the last icon's hand-over
    QListWidget* list = panel.list();
    QCOMPARE(list->iconSize(), QSize(32, 32));
    for (int row = 0; row < list->count(); ++row)
        QCOMPARE(list->item(row)->icon().isNull(), list->item(row)->text() == "broken");
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void StylePanelTest::onlyUserSelectionApplies() {
    Session session;
    const ColorRef start = session.lights().state().ButtonColor;
    StylePanel panel(session, m_folder);
    QListWidget* list = panel.list();
    QCOMPARE(list->currentRow(), 0); // selected at start, applied not
    QCOMPARE(session.lights().state().ButtonColor, start);

    list->setCurrentRow(3); // "gamma"
    QCOMPARE(session.lights().state().ButtonColor, ColorRef{0xFF0000});
    QCOMPARE(session.lights().state().FLightSet.FLights[1].Enabled, 1);
    QCOMPARE(session.lights().state().FLightSet.FLights[1].PadX, 10);

    // Clicking the style that is already selected applies it again, once.
    session.lights().ButtonColorClick(ColorRef{0x123456});
    QSignalSpy applied(&session, &Session::lightsChanged);
    const QRect gamma = list->visualItemRect(list->item(3));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, gamma.center());
    QCOMPARE(session.lights().state().ButtonColor, ColorRef{0xFF0000});
    QCOMPARE(applied.count(), 1);

    const QRect beta = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, beta.center());
    QCOMPARE(session.lights().state().ButtonColor, ColorRef{0x0000FF});
    QCOMPARE(applied.count(), 2);

    // A style saved meanwhile is listed in order and selected, not applied again.
    writeStyle("Delta", 0x00FFFF);
    panel.showSavedStyle("Delta");
    QCOMPARE(panel.styleNames(), QStringList({"Alpha", "beta", "broken", "Delta", "gamma"}));
    QCOMPARE(list->currentItem()->text(), QString("Delta"));
    QVERIFY(!list->currentItem()->icon().isNull());
    QCOMPARE(list->currentItem()->toolTip(), QString("Delta"));
    QCOMPARE(applied.count(), 2);
}

void StylePanelTest::emptyOrMissingFolder() {
    Session session;
    StylePanel panel(session, m_folder / "none");
    QCOMPARE(panel.list()->count(), 0);
    QTRY_VERIFY(!panel.iconsLoading());
}

QTEST_MAIN(StylePanelTest)
#include "tst_style_panel.moc"
