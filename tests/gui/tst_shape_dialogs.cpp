#include "gui/app/session.h"
#include "gui/shape/shape_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace plakett;

namespace {

TMoveBox box(int x, int y, std::uint8_t type) {
    TMoveBox b;
    b.Init(x, y);
    b.FPointType = type;
    return b;
}

// A 50 x 30 rectangle of corners with one Bezier point on its top edge.
std::vector<TMoveBox> testShape() {
    TMoveBox anchor = box(130, 100, ptBezier);
    anchor.FRx = 1.0f;
    anchor.FRy = 0.0f;
    anchor.FLeftLength = anchor.FRightLength = 5.0f;
    return {box(100, 100, ptAngle), anchor, box(150, 100, ptAngle), box(150, 130, ptAngle),
            box(100, 130, ptAngle)};
}

// Runs `action` on the dialog with this title as soon as it is the active modal window.
void whenShown(const QString& title, std::function<void(QDialog*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, title, action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->windowTitle() != title) return;
        timer->stop();
        timer->deleteLater();
        action(dialog);
    });
    timer->start();
}

template <typename T> T* child(QDialog* dialog, const char* name) {
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no child %s", name);
    return found;
}

} // namespace

class TstShapeDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> m_session;
    TContur& contur() { return m_session->contour(); }

  private slots:
    void init() {
        m_session = std::make_unique<Session>(600, 400);
        contur().setPoints(testShape());
    }
    void cleanup() { m_session.reset(); }

    void rotateOkTurnsTheShapeAndTheCaption() {
        TContur expected(600, 400);
        expected.setPoints(testShape());
        RotateShape(expected, 90);

        QSignalSpy changed(m_session.get(), &Session::shapeChanged);
        whenShown("Rotate Shape", [](QDialog* d) {
            child<QSpinBox>(d, "SpinEdit1")->setValue(90);
            child<QPushButton>(d, "Button1")->click();
        });
        QVERIFY(runRotateDialog(nullptr, *m_session));
        QCOMPARE(contur().FPoints, expected.FPoints);
        QCOMPARE(m_session->settings().text.angle, 90);
        QCOMPARE(m_session->rotation().RotateBase, 90);
        QVERIFY(changed.count() >= 1);

        // Reopened at 90 and confirmed: the turn is 0.
        whenShown("Rotate Shape", [](QDialog* d) {
            QCOMPARE(child<QSpinBox>(d, "SpinEdit1")->value(), 90);
            child<QPushButton>(d, "Button1")->click();
        });
        QVERIFY(runRotateDialog(nullptr, *m_session));
        QCOMPARE(contur().FPoints, expected.FPoints);
    }

    void rotateCancelChangesNothing() {
        const std::vector<TMoveBox> before = contur().FPoints;
        whenShown("Rotate Shape", [](QDialog* d) {
            child<QSpinBox>(d, "SpinEdit1")->setValue(45);
            child<QPushButton>(d, "Button2")->click();
        });
        QVERIFY(!runRotateDialog(nullptr, *m_session));
        QCOMPARE(contur().FPoints, before);
        QCOMPARE(m_session->rotation().RotateAngle, 0);
        QCOMPARE(m_session->rotation().RotateBase, 0);
        QCOMPARE(m_session->settings().text.angle, 0);
    }

    // Angles grow counter-clockwise from the right: the top of the dial is 90, the bottom 270.
    void dialSetsTheAngleField() {
        int top = 0, bottom = 0, dragged = 0;
        whenShown("Rotate Shape", [&](QDialog* d) {
            QWidget* dial = child<QWidget>(d, "AngleEdit");
            QSpinBox* field = child<QSpinBox>(d, "SpinEdit1");
            QTest::mouseClick(dial, Qt::LeftButton, {}, QPoint(50, 0));
            top = field->value();
            QTest::mouseClick(dial, Qt::LeftButton, {}, QPoint(50, 100));
            bottom = field->value();
            QTest::mousePress(dial, Qt::LeftButton, {}, QPoint(99, 50));
            QTest::mouseMove(dial, QPoint(0, 50));
            dragged = field->value();
            QTest::mouseRelease(dial, Qt::LeftButton, {}, QPoint(0, 50));
            child<QPushButton>(d, "Button2")->click();
        });
        runRotateDialog(nullptr, *m_session);
        QCOMPARE(top, 90);
        QCOMPARE(bottom, 270);
        QCOMPARE(dragged, 179); // the 0.01 in the cosine's divisor
    }

    void scaleAspectBoxLinksTheFields() {
        int followed = 0;
        whenShown("Resize Shape", [&](QDialog* d) {
            QSpinBox* width = child<QSpinBox>(d, "Edit1");
            QSpinBox* height = child<QSpinBox>(d, "Edit2");
            QCheckBox* aspect = child<QCheckBox>(d, "CheckBox1");
            QCOMPARE(width->value(), 50);
            QCOMPARE(height->value(), 30);
            QCOMPARE(width->maximum(), 2400);
            QCOMPARE(height->maximum(), 1600);
            if (aspect->isChecked()) aspect->click();
            height->setValue(45); // free: width stays
            QCOMPARE(width->value(), 50);
            aspect->click(); // s = 50 * 128 div 50 + 45 * 128 div 30 = 320
            QCOMPARE(width->value(), 320 * 50 / 256);
            QCOMPARE(height->value(), 320 * 30 / 256);
            width->setValue(99); // height = (99 + 1) * 30 div 50
            followed = height->value();
            child<QPushButton>(d, "Button2")->click();
        });
        QVERIFY(runScaleDialog(nullptr, *m_session));
        QCOMPARE(followed, 60);
        // Proportional about the origin by 99 / 50.
        QCOMPARE(contur().FPoints[0].FPos, (TPoint{198, 198}));
        QCOMPARE(contur().FPoints[3].FPos, (TPoint{297, 257}));
        QCOMPARE(contur().FPoints[1].FPointType, std::uint8_t{ptBezier});
        QCOMPARE(contur().FPoints[1].FLeftLength, 5.0f * 99.0f / 50.0f);

        // The box keeps its state for the next opening.
        bool stillChecked = false;
        whenShown("Resize Shape", [&](QDialog* d) {
            stillChecked = child<QCheckBox>(d, "CheckBox1")->isChecked();
            child<QCheckBox>(d, "CheckBox1")->setChecked(false);
            child<QPushButton>(d, "Button1")->click();
        });
        QVERIFY(!runScaleDialog(nullptr, *m_session));
        QVERIFY(stillChecked);
    }

    void scaleCancelChangesNothingButReleasesTheZoom() {
        Enlarge(contur(), m_session->zoom());
        const std::vector<TMoveBox> enlarged = contur().FPoints;
        std::vector<TMoveBox> atActualSize;
        whenShown("Resize Shape", [&](QDialog* d) {
            atActualSize = contur().FPoints;
            child<QSpinBox>(d, "Edit1")->setValue(10);
            child<QPushButton>(d, "Button1")->click();
        });
        QVERIFY(!runScaleDialog(nullptr, *m_session));
        QVERIFY(m_session->zoom().FActualSize);
        QVERIFY(atActualSize != enlarged);
        QCOMPARE(contur().FPoints, atActualSize);
    }

    // At any size the preview shows the whole outline: dark pixels reach both of its ends.
    void scalePreviewShowsTheWholeShape() {
        for (const int width : {50, 1000, 2400}) {
            bool leftEnd = false;
            bool rightEnd = false;
            whenShown("Resize Shape", [&](QDialog* d) {
                if (child<QCheckBox>(d, "CheckBox1")->isChecked())
                    child<QCheckBox>(d, "CheckBox1")->click();
                child<QSpinBox>(d, "Edit1")->setValue(width);
                QWidget* preview = child<QWidget>(d, "PaintBox1");
                const QImage shot = preview->grab().toImage();
                int first = shot.width();
                int last = -1;
                for (int y = 0; y < shot.height(); ++y)
                    for (int x = 0; x < shot.width(); ++x)
                        if (qGray(shot.pixel(x, y)) < 160) {
                            first = std::min(first, x);
                            last = std::max(last, x);
                        }
                // The outline is centred: as far from the left edge as from the right.
                leftEnd = last >= 0 && first > 0 && preview->width() < d->width();
                rightEnd = last >= 0 && std::abs((shot.width() - 1 - last) - first) <= 2;
                child<QPushButton>(d, "Button1")->click();
            });
            QVERIFY(!runScaleDialog(nullptr, *m_session));
            QVERIFY2(leftEnd && rightEnd, qPrintable(QString::number(width)));
        }
    }

    void freeScaleFreezesAutoPoints() {
        contur().setPoints({box(100, 100, ptAuto), box(200, 100, ptAuto), box(150, 180, ptAuto)});
        whenShown("Resize Shape", [&](QDialog* d) {
            QCheckBox* aspect = child<QCheckBox>(d, "CheckBox1");
            if (aspect->isChecked()) aspect->click();
            child<QSpinBox>(d, "Edit1")->setValue(child<QSpinBox>(d, "Edit1")->value() * 2);
            child<QPushButton>(d, "Button2")->click();
        });
        QVERIFY(runScaleDialog(nullptr, *m_session));
        for (const TMoveBox& p : contur().FPoints)
            QCOMPARE(p.FPointType, std::uint8_t{ptBezier});
    }

    void dialogsDoNothingInRenderMode() {
        QVERIFY(m_session->enterRenderMode().isEmpty());
        QVERIFY(m_session->renderMode());
        QVERIFY(!runRotateDialog(nullptr, *m_session));
        QVERIFY(!runScaleDialog(nullptr, *m_session));
    }
};

QTEST_MAIN(TstShapeDialogs)
#include "tst_shape_dialogs.moc"
