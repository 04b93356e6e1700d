// The live preview: it shows exactly the normal state Render then shows, a stale result
// never replaces a newer one, and a burst of edits ends in the last edit's state.
#include "gui/app/session.h"
#include "gui/preview/preview_job.h"
#include "gui/preview/preview_panel.h"
#include "gui/widgets/picture_convert.h"
#include "shape/transforms.h"
#include "textraster/qt_caption_rasterizer.h"

#include <QApplication>
#include <QtTest>

#include <functional>

using namespace plakett;

namespace {

TMoveBox box(int x, int y, std::uint8_t type, float rx = 1, float ry = 0, float length = 30) {
    TMoveBox b;
    b.Init(x, y);
    b.FPointType = type;
    b.FRx = rx;
    b.FRy = ry;
    b.FLeftLength = b.FRightLength = length;
    return b;
}

std::vector<TMoveBox> rectangle(int left, int top, int w, int h) {
    return {box(left, top, ptAngle), box(left + w, top, ptAngle), box(left + w, top + h, ptAngle),
            box(left, top + h, ptAngle)};
}

std::vector<TMoveBox> roundish() {
    return {box(250, 150, ptBezier, 0, 1, 18.5f), box(200, 100, ptBezier, 1, 0, 18.5f),
            box(130, 150, ptBezier, 0, -1, 18.5f), box(200, 200, ptAuto)};
}

} // namespace

class TestPreviewPanel : public QObject {
    Q_OBJECT
  private slots:
    void previewIsTheNormalStateRenderShows();
    void newestEditWins();
};

void TestPreviewPanel::previewIsTheNormalStateRenderShows() {
    struct Case {
        const char* name;
        std::function<void(Session&)> setUp;
    };
    const Case cases[] = {
        {"default shape", [](Session&) {}},
        {"enlarged, Bezier point selected, caption and offsets beyond the field",
         [](Session& s) {
             s.contour().setPoints(roundish());
             Enlarge(s.contour(), s.zoom());
             s.contour().leftPress(s.contour().FPoints[1].FPos.X, s.contour().FPoints[1].FPos.Y);
             s.contour().leftRelease();
             s.settings().text.caption = "Go";
             s.settings().text.x = 400;
             s.settings().glyph.y = -400;
             s.settings().shadow.angle = 200;
         }},
        {"corners, coloured background, texture, no shadow",
         [](Session& s) {
             s.contour().setPoints(rectangle(50, 60, 300, 120));
             s.settings().background.color = 0x3060A0;
             s.settings().background.backRed = 0xA0;
             s.settings().background.backGreen = 0x60;
             s.settings().background.backBlue = 0x30;
             s.settings().background.useTexture = true;
             s.settings().background.texture = Bgr24Image(7, 5, Bgr24{10, 200, 90});
             s.settings().shadow.enabled = false;
         }},
    };
    QtCaptionRasterizer captions;
    for (const Case& c : cases) {
        Session session;
        c.setUp(session);
        const PreviewResult preview = renderPreview(snapshotForPreview(session, 1), &captions);
        QVERIFY2(session.enterRenderMode().isEmpty(), c.name);
        QVERIFY2(!preview.normal.empty(), c.name);
        QVERIFY2(preview.normal == session.states()[0], c.name);
    }
    // What Render refuses, the preview refuses in the same words.
    Session flat;
    flat.contour().setPoints(rectangle(10, 10, 200, 1));
    const PreviewResult refused = renderPreview(snapshotForPreview(flat, 1), &captions);
    QVERIFY(refused.normal.empty());
    QCOMPARE(QString::fromStdString(refused.refusal), flat.enterRenderMode());
}

void TestPreviewPanel::newestEditWins() {
    Session session;
    session.contour().setPoints(rectangle(40, 40, 300, 120));
    PreviewPanel panel(session);
    panel.resize(400, 300);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    // A burst of edits faster than the worker: it may skip some, but ends on the last one.
    for (int i = 1; i <= 25; ++i) {
        session.contour().setPoints(rectangle(40, 40, 300 + 4 * i, 120 + i));
        session.shapeEdited();
    }
    QTRY_COMPARE_WITH_TIMEOUT(panel.shownEdit(), panel.latestEdit(), 20000);
    QVERIFY(panel.appliedCount() <= 26);
    const Bgr24Image last = renderPreview(snapshotForPreview(session, 0), nullptr).normal;
    QVERIFY(toBgr24Image(panel.image()) == last);
    QVERIFY(!panel.renderingMarkShown());

    // A result older than, or as old as, the one shown is dropped; a newer one is taken.
    const std::uint64_t shown = panel.shownEdit();
    QVERIFY(!panel.applyResult({shown - 1, Bgr24Image(5, 5), {}}));
    QVERIFY(!panel.applyResult({shown, Bgr24Image(5, 5), {}}));
    QVERIFY(toBgr24Image(panel.image()) == last);
    QVERIFY(panel.applyResult({shown + 1, Bgr24Image(5, 5), {}}));
    QCOMPARE(panel.image().size(), QSize(5, 5));

    // Hidden, it renders nothing; shown again, it catches up with the design.
    panel.hide();
    session.contour().setPoints(rectangle(40, 40, 200, 80));
    session.shapeEdited();
    const int applied = panel.appliedCount();
    QTest::qWait(50);
    QCOMPARE(panel.appliedCount(), applied);
    panel.show();
    QTRY_COMPARE_WITH_TIMEOUT(panel.shownEdit(), panel.latestEdit(), 20000);
    QVERIFY(toBgr24Image(panel.image()) ==
            renderPreview(snapshotForPreview(session, 0), nullptr).normal);
}

QTEST_MAIN(TestPreviewPanel)
#include "tst_preview_panel.moc"
