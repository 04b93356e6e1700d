#include "gui/app/session.h"
#include "gui/shape/contur_widget.h"

#include <QSignalSpy>
#include <QTest>

using namespace plakett;

namespace {

TMoveBox corner(int x, int y, std::uint8_t type = ptAngle) {
    TMoveBox b;
    b.Init(x, y);
    b.FPointType = type;
    return b;
}

QRgb pixelAt(QWidget& w, int x, int y) {
    return w.grab().toImage().pixel(x, y) & 0xFFFFFF;
}

} // namespace

class TstConturWidget : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> m_session;
    std::unique_ptr<ConturWidget> m_widget;

    TContur& contur() { return m_session->contour(); }

  private slots:
    void init() {
        m_session = std::make_unique<Session>(600, 400);
        m_widget = std::make_unique<ConturWidget>(*m_session);
        m_widget->resize(600, 400);
        m_widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_widget.get()));
    }
    void cleanup() {
        m_widget.reset();
        m_session.reset();
    }

    void pressSelectsAndDragMovesPoint() {
        QSignalSpy selected(m_widget.get(), &ConturWidget::pointSelected);
        QSignalSpy changed(m_session.get(), &Session::shapeChanged);
        const TPoint p = contur().FPoints[1].FPos; // (240, 200)
        QTest::mousePress(m_widget.get(), Qt::LeftButton, {}, QPoint(p.X + 2, p.Y - 2));
        QCOMPARE(contur().FSelected, 1);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).toInt(), int(ptAuto));

        QTest::mouseMove(m_widget.get(), QPoint(250, 120));
        QCOMPARE(contur().FPoints[1].FPos, (TPoint{250, 120}));
        QVERIFY(changed.count() >= 2);
        QTest::mouseRelease(m_widget.get(), Qt::LeftButton, {}, QPoint(250, 120));
        QCOMPARE(contur().FDragPoint, std::uint8_t{0});

        // Without a held button a move changes nothing.
        QTest::mouseMove(m_widget.get(), QPoint(300, 300));
        QCOMPARE(contur().FPoints[1].FPos, (TPoint{250, 120}));
        // A second press on the already selected point does not notify again.
        QTest::mousePress(m_widget.get(), Qt::LeftButton, {}, QPoint(250, 120));
        QCOMPARE(selected.count(), 1);
        QTest::mouseRelease(m_widget.get(), Qt::LeftButton, {}, QPoint(250, 120));
    }

    // The drag keeps following the mouse beyond the widget's left and top edges.
    void dragBeyondTheWidget() {
        const TPoint p = contur().FPoints[0].FPos;
        QTest::mousePress(m_widget.get(), Qt::LeftButton, {}, QPoint(p.X, p.Y));
        QMouseEvent move(QEvent::MouseMove, QPointF(-15, -7),
                         m_widget->mapToGlobal(QPointF(-15, -7)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(m_widget.get(), &move);
        QCOMPARE(contur().FPoints[0].FPos, (TPoint{-15, -7}));
    }

    void rightPressDeletesDownToTwoPoints() {
        contur().setPoints({corner(100, 100), corner(200, 100), corner(150, 180)});
        QTest::mousePress(m_widget.get(), Qt::LeftButton, {}, QPoint(200, 100));
        QTest::mouseRelease(m_widget.get(), Qt::LeftButton, {}, QPoint(200, 100));
        QCOMPARE(contur().FSelected, 1);

        QTest::mousePress(m_widget.get(), Qt::RightButton, {}, QPoint(151, 179));
        QCOMPARE(contur().FPoints.size(), std::size_t{2});
        QCOMPARE(contur().FSelected, -1);
        QCOMPARE(contur().FPoints[1].FPos, (TPoint{200, 100}));
        // Two points stay.
        QTest::mousePress(m_widget.get(), Qt::RightButton, {}, QPoint(100, 100));
        QCOMPARE(contur().FPoints.size(), std::size_t{2});
    }

    void pressOnOutlineInserts() {
        contur().setPoints({corner(100, 100), corner(300, 100), corner(200, 250)});
        contur().FNewPointType = ptBezier;
        QTest::mousePress(m_widget.get(), Qt::LeftButton, {}, QPoint(200, 101));
        QCOMPARE(contur().FPoints.size(), std::size_t{4});
        QCOMPARE(contur().FSelected, 1);
        QCOMPARE(contur().FPoints[1].FPointType, std::uint8_t{ptBezier});
        QCOMPARE(contur().FPoints[1].FPos.Y, 100);
    }

    void resizeKeepsShapeAroundCentre() {
        const std::vector<TMoveBox> before = contur().FPoints;
        m_widget->resize(801, 601);
        QTRY_COMPARE(contur().FCenterX, 400);
        QCOMPARE(contur().FCenterY, 300);
        QCOMPARE(contur().width(), 801);
        for (std::size_t i = 0; i < before.size(); ++i)
            QCOMPARE(contur().FPoints[i].FPos,
                     (TPoint{before[i].FPos.X + 100, before[i].FPos.Y + 100}));
    }

    void paintsMarkersSelectionAndHandles() {
        TMoveBox anchor = corner(300, 150, ptBezier);
        anchor.FRx = 1.0f;
        anchor.FRy = 0.0f;
        anchor.FRightLength = 20.0f;
        anchor.FLeftLength = 30.0f;
        contur().setPoints({corner(150, 300), anchor, corner(450, 300)});
        QCOMPARE(pixelAt(*m_widget, 5, 5), QRgb(0xFFFFFF));
        QCOMPARE(pixelAt(*m_widget, 152, 302), QRgb(0)); // marker corner

        QTest::mousePress(m_widget.get(), Qt::LeftButton, {}, QPoint(300, 150));
        QTest::mouseRelease(m_widget.get(), Qt::LeftButton, {}, QPoint(300, 150));
        QCOMPARE(contur().FSelected, 1);
        m_widget->repaint();
        QCOMPARE(pixelAt(*m_widget, 296, 146), qRgb(0, 170, 255) & 0xFFFFFF); // frame border
        QCOMPARE(pixelAt(*m_widget, 304, 154), qRgb(0, 170, 255) & 0xFFFFFF);
        QCOMPARE(pixelAt(*m_widget, 300, 150), QRgb(0));
        // Right handle at (320, 150): white inside, black border from 318 to 321.
        QCOMPARE(pixelAt(*m_widget, 320, 150), QRgb(0xFFFFFF));
        QCOMPARE(pixelAt(*m_widget, 318, 148), QRgb(0));
        QCOMPARE(pixelAt(*m_widget, 321, 151), QRgb(0));
        QCOMPARE(pixelAt(*m_widget, 310, 150), qRgb(170, 170, 170) & 0xFFFFFF); // handle line
        // Left handle at (270, 150).
        QCOMPARE(pixelAt(*m_widget, 269, 149), QRgb(0xFFFFFF));
        QCOMPARE(pixelAt(*m_widget, 268, 148), QRgb(0));
    }

    void keepsCallbacksSetBeforeIt() {
        m_widget.reset();
        int seen = -1;
        contur().FOnPointSelected = [&](std::int32_t i) { seen = i; };
        ConturWidget second(*m_session);
        second.resize(600, 400);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QSignalSpy selected(&second, &ConturWidget::pointSelected);
        const TPoint p = contur().FPoints[0].FPos;
        QTest::mousePress(&second, Qt::LeftButton, {}, QPoint(p.X, p.Y));
        QCOMPARE(seen, 0);
        QCOMPARE(selected.count(), 1);
    }
};

QTEST_MAIN(TstConturWidget)
#include "tst_contur_widget.moc"
