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

// The pointer passing over the widget with no button held.
void hoverAt(QWidget* w, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
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

    // Points are 7-pixel squares with a white rim, the selected one 11 pixels with a blue border,
    // handles white circles: the same size on screen at every zoom level.
    void paintsMarkersSelectionAndHandles_data() {
        QTest::addColumn<double>("zoom");
        QTest::newRow("100%") << 1.0;
        QTest::newRow("50%") << 0.5;
        QTest::newRow("300%") << 3.0;
    }
    void paintsMarkersSelectionAndHandles() {
        QFETCH(double, zoom);
        m_widget->setZoom(zoom);
        const int cx = contur().FCenterX;
        const int cy = contur().FCenterY;
        TMoveBox anchor = corner(cx, cy - 30, ptBezier);
        anchor.FRx = 1.0f;
        anchor.FRy = 0.0f;
        anchor.FRightLength = 20.0f;
        anchor.FLeftLength = 30.0f;
        contur().setPoints({corner(cx - 60, cy + 40), anchor, corner(cx + 60, cy + 40)});
        m_widget->repaint();
        QCOMPARE(pixelAt(*m_widget, 5, 5), QRgb(0xFFFFFF));
        const QPoint marker = m_widget->toScreen(contur().FPoints[0].FPos).toPoint();
        QCOMPARE(pixelAt(*m_widget, marker.x() + 2, marker.y() - 2), QRgb(0));
        QCOMPARE(pixelAt(*m_widget, marker.x() - 3, marker.y() - 3), QRgb(0));
        QCOMPARE(pixelAt(*m_widget, marker.x() - 4, marker.y() - 4), QRgb(0xFFFFFF)); // its rim

        const QPoint at = m_widget->toScreen(anchor.FPos).toPoint();
        QTest::mousePress(m_widget.get(), Qt::LeftButton, {}, at + QPoint(4, 3));
        QTest::mouseRelease(m_widget.get(), Qt::LeftButton, {}, at + QPoint(4, 3));
        QCOMPARE(contur().FSelected, 1);
        hoverAt(m_widget.get(), QPoint(5, 5)); // nothing highlighted
        m_widget->repaint();
        QCOMPARE(pixelAt(*m_widget, at.x() - 5, at.y() - 5), qRgb(0, 170, 255) & 0xFFFFFF);
        QCOMPARE(pixelAt(*m_widget, at.x() + 5, at.y() + 5), qRgb(0, 170, 255) & 0xFFFFFF);
        QCOMPARE(pixelAt(*m_widget, at.x(), at.y()), QRgb(0));
        const HandlePair h = TContur::paintHandles(contur().FPoints[1]);
        for (const TPoint end : {h.right, h.left}) {
            const QPoint e = m_widget->toScreen(end).toPoint();
            QCOMPARE(pixelAt(*m_widget, e.x(), e.y()), QRgb(0xFFFFFF));
            const int ring = std::min(qGray(pixelAt(*m_widget, e.x(), e.y() - 4)),
                                      qGray(pixelAt(*m_widget, e.x(), e.y() - 5)));
            QVERIFY(ring < 128);
        }
        // The point under the pointer is highlighted.
        hoverAt(m_widget.get(), marker + QPoint(3, 2));
        m_widget->repaint();
        QCOMPARE(pixelAt(*m_widget, marker.x(), marker.y()), qRgb(255, 140, 0) & 0xFFFFFF);
    }

    // Points and handles are taken within 6 screen pixels at every zoom level, and the press
    // lands on the point's own editor pixel; farther away nothing is taken.
    void picksWithinSixScreenPixels_data() {
        QTest::addColumn<double>("zoom");
        QTest::newRow("25%") << 0.25;
        QTest::newRow("100%") << 1.0;
        QTest::newRow("400%") << 4.0;
    }
    void picksWithinSixScreenPixels() {
        QFETCH(double, zoom);
        m_widget->setZoom(zoom);
        QCOMPARE(m_widget->zoom(), zoom);
        const int cx = contur().FCenterX;
        const int cy = contur().FCenterY;
        const int d = int(40 / zoom); // 40 screen pixels
        TMoveBox anchor = corner(cx, cy - d, ptBezier);
        anchor.FRx = 0.0f;
        anchor.FRy = 1.0f;
        anchor.FRightLength = anchor.FLeftLength = float(d) / 2;
        contur().setPoints({corner(cx - 2 * d, cy + d), anchor, corner(cx + 2 * d, cy + d)});
        const std::vector<TMoveBox> before = contur().FPoints;
        const QPointF p0 = m_widget->toScreen(before[0].FPos);
        using T = ConturWidget::Target;
        QCOMPARE(m_widget->pickAt(p0 + QPointF(4, 4)).target, T::Point);
        QCOMPARE(m_widget->pickAt(p0 + QPointF(4, 4)).index, 0);
        QCOMPARE(m_widget->pickAt(p0 + QPointF(0, -6)).target, T::Point);
        QVERIFY(m_widget->pickAt(p0 + QPointF(5, -5)).target != T::Point);

        // A press beside the point selects it without moving it.
        QTest::mousePress(m_widget.get(), Qt::LeftButton, {}, (p0 + QPointF(-4, 3)).toPoint());
        QTest::mouseRelease(m_widget.get(), Qt::LeftButton, {}, (p0 + QPointF(-4, 3)).toPoint());
        QCOMPARE(contur().FSelected, 0);
        QCOMPARE(contur().FPoints, before);

        // The selected Bezier point's handles come first.
        const QPointF p1 = m_widget->toScreen(before[1].FPos);
        QTest::mouseClick(m_widget.get(), Qt::LeftButton, {}, p1.toPoint());
        QCOMPARE(contur().FSelected, 1);
        const HandlePair h = TContur::pressHandles(contur().FPoints[1]);
        QCOMPARE(m_widget->pickAt(m_widget->toScreen(h.right) + QPointF(3, -3)).target,
                 T::RightHandle);
        QCOMPARE(m_widget->pickAt(m_widget->toScreen(h.left) + QPointF(-5, 0)).target,
                 T::LeftHandle);

        // Dragging a point: it lands on the editor pixel under the pointer.
        QTest::mousePress(m_widget.get(), Qt::LeftButton, {}, (p0 + QPointF(2, 2)).toPoint());
        const QPoint to = (p0 + QPointF(37, 41)).toPoint();
        QTest::mouseMove(m_widget.get(), to);
        QTest::mouseRelease(m_widget.get(), Qt::LeftButton, {}, to);
        QCOMPARE(contur().FPoints[0].FPos, m_widget->toEditor(to));
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
