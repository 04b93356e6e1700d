// "Rotate Shape": the angle field, the dial and the preview of the turned outline.
#include "gui/shape/shape_dialogs.h"

#include "gui/app/session.h"
#include "gui/shape/dialog_parts.h"
#include "gui/shape/shape_change.h"
#include "shape/rotate.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace plakett {

namespace {

constexpr int kDialSize = 100;
constexpr int kMinPreview = 240;
constexpr int kMaxPreview = 420; // larger shapes are drawn smaller, so all of them shows

// The dial is drawn at twice (the face at four times) its size and reduced by averaging.
class AngleDial : public QWidget {
  public:
    AngleDial(const RotateState& state, QWidget* parent) : QWidget(parent), m_state(state) {
        setFixedSize(kDialSize, kDialSize);
        setCursor(Qt::PointingHandCursor);
    }
    std::function<void(std::int32_t)> onAngle;

    void buildFace() {
        QImage big(4 * kDialSize, 4 * kDialSize, QImage::Format_RGB32);
        big.fill(palette().color(QPalette::Window));
        QPainter painter(&big);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 4));
        painter.drawEllipse(QRectF(1, 1, 398, 398));
        painter.end();
        m_face = big.scaled(2 * kDialSize, 2 * kDialSize, Qt::IgnoreAspectRatio,
                            Qt::SmoothTransformation);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (m_face.isNull()) buildFace();
        QImage work = m_face.copy();
        QPainter onWork(&work);
        onWork.setPen(QPen(QColor(64, 64, 64), 3));
        const TPoint end = DialNeedleEnd(m_state.RotateAngle);
        onWork.drawLine(QPoint(100, 100), QPoint(end.X, end.Y));
        onWork.end();
        QPainter painter(this);
        painter.drawImage(
            0, 0,
            work.scaled(kDialSize, kDialSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        m_dragging = true;
        take(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (m_dragging) take(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) m_dragging = false;
    }

  private:
    void take(QMouseEvent* event) {
        const QPoint p = event->position().toPoint();
        if (onAngle) onAngle(DialAngle(p.x(), p.y()));
    }

    const RotateState& m_state;
    QImage m_face; // the circle at 200 x 200
    bool m_dragging = false;
};

class RotatePreviewBox : public QWidget {
  public:
    RotatePreviewBox(const TContur& contur, const RotateState& state, QWidget* parent)
        : QWidget(parent), m_contur(contur), m_state(state) {
        const double w = static_cast<double>(contur.FMaxX) - contur.FMinX;
        const double h = static_cast<double>(contur.FMaxY) - contur.FMinY;
        const double diagonal = std::ceil(std::sqrt(w * w + h * h)) + 20;
        const int side = static_cast<int>(std::clamp<double>(diagonal, kMinPreview, kMaxPreview));
        setFixedSize(side, side);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const TArrayPoint points =
            RotatePreview(m_contur, RotationDegrees(m_state), width(), height());
        if (points.empty()) return;
        QPolygon polyline(static_cast<int>(points.size()));
        for (std::size_t i = 0; i < points.size(); ++i)
            polyline[static_cast<int>(i)] = QPoint(points[i].X, points[i].Y);
        // The whole turned shape, centred: a shape larger than the box is drawn smaller.
        const QRectF bounds = QRectF(polyline.boundingRect()).adjusted(-4, -4, 4, 4);
        const double fit = std::min({1.0, width() / bounds.width(), height() / bounds.height()});
        painter.translate(width() / 2.0, height() / 2.0);
        painter.scale(fit, fit);
        painter.translate(-bounds.center());
        painter.setRenderHint(QPainter::Antialiasing, fit < 1.0);
        painter.setPen(QPen(QColor(16, 16, 16), 0));
        painter.drawPolyline(polyline);
        painter.drawLine(polyline.front(), polyline.back());
    }

  private:
    const TContur& m_contur;
    const RotateState& m_state;
};

class RotateDialog : public QDialog {
  public:
    RotateDialog(QWidget* parent, const TContur& contur, RotateState& state)
        : QDialog(parent), m_state(state) {
        setWindowTitle(QStringLiteral("Rotate Shape"));
        m_field = new QSpinBox(this);
        m_field->setObjectName(QStringLiteral("SpinEdit1"));
        m_field->setRange(1, 360);
        m_field->setValue(state.RotateAngle);
        m_dial = new AngleDial(state, this);
        m_dial->setObjectName(QStringLiteral("AngleEdit"));
        m_preview = new RotatePreviewBox(contur, state, this);
        m_preview->setObjectName(QStringLiteral("PaintBox1"));

        connect(m_field, &QSpinBox::valueChanged, this, [this](int value) {
            SetRotateAngle(m_state, value);
            refresh();
        });
        m_dial->onAngle = [this](std::int32_t angle) {
            SetRotateAngle(m_state, angle);
            m_field->setValue(m_state.RotateAngle); // no signal when unchanged
            refresh();
        };
        buildLayout();
    }

  private:
    void refresh() {
        m_dial->update();
        m_preview->update();
    }

    void buildLayout() {
        const auto [ok, cancel] =
            makeOkCancel(this, QStringLiteral("Button1"), QStringLiteral("Button2"));

        auto* area = makePreviewArea(this, m_preview);
        area->setMinimumSize(m_preview->size() + QSize(4, 4));

        auto* left = new QVBoxLayout;
        auto* angleRow = new QHBoxLayout;
        angleRow->addWidget(new QLabel(QStringLiteral("Angle:"), this));
        angleRow->addWidget(m_field);
        left->addLayout(angleRow);
        left->addWidget(m_dial, 0, Qt::AlignHCenter);
        left->addStretch();
        left->addWidget(ok);
        left->addWidget(cancel);

        auto* top = new QHBoxLayout(this);
        top->addLayout(left);
        top->addWidget(area, 1);
    }

    RotateState& m_state;
    QSpinBox* m_field = nullptr;
    AngleDial* m_dial = nullptr;
    RotatePreviewBox* m_preview = nullptr;
};

} // namespace

bool runRotateDialog(QWidget* parent, Session& session) {
    if (session.renderMode()) return false;
    RotateState& state = session.rotation();
    const RotateState before = state;
    OpenRotateDialog(state);
    RotateDialog dialog(parent, session.contour(), state);
    if (dialog.exec() != QDialog::Accepted) {
        state = before; // the angle typed into a cancelled dialog is not kept either
        return false;
    }
    // The caption turns with the shape, in the same undo step.
    const int angleBefore = session.settings().text.angle;
    const bool rotated = applyShapeChange(parent, session, [&](TContur& c) {
        ApplyRotation(c, state);
        session.settings().text.angle = state.RotateAngle;
    });
    if (!rotated) {
        state = before;
        session.settings().text.angle = angleBefore;
        return false;
    }
    session.settingsEdited();
    return true;
}

} // namespace plakett
