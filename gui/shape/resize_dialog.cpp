// "Resize Shape": the two size fields, the aspect-ratio box and the preview.
#include "gui/shape/shape_dialogs.h"

#include "gui/app/session.h"
#include "gui/shape/dialog_parts.h"
#include "gui/shape/shape_change.h"
#include "shape/scale_dialog.h"
#include "shape/transforms.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace plakett {

namespace {

// The dialog window lives for the whole run in the original; its aspect box keeps its state
// from one opening to the next.
bool& keepAspectBox() {
    static bool keep = false;
    return keep;
}

// The scaled outline, made smaller when it does not fit the box (never larger), centred.
class ScalePreviewBox : public QWidget {
  public:
    ScalePreviewBox(const TContur& contur, const ScaleDialogState& state, QWidget* parent)
        : QWidget(parent), m_contur(contur), m_state(state) {
        setMinimumSize(320, 260);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        refresh();
    }
    void refresh() {
        m_preview = ComputeScalePreview(m_contur, m_state);
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const double w = std::max(m_preview.width, 1);
        const double h = std::max(m_preview.height, 1);
        const double scale = std::min({1.0, width() / w, height() / h});
        painter.translate((width() - w * scale) / 2, (height() - h * scale) / 2);
        painter.scale(scale, scale);
        painter.setRenderHint(QPainter::Antialiasing, scale < 1.0);
        QPolygon polyline(static_cast<int>(m_preview.polyline.size()));
        for (std::size_t i = 0; i < m_preview.polyline.size(); ++i)
            polyline[static_cast<int>(i)] =
                QPoint(m_preview.polyline[i].X, m_preview.polyline[i].Y);
        painter.setPen(QPen(QColor(64, 64, 64), 0)); // one screen pixel at any scale
        painter.drawPolyline(polyline);
    }

  private:
    const TContur& m_contur;
    const ScaleDialogState& m_state;
    ScalePreview m_preview;
};

QSpinBox* sizeField(const QString& name, std::int32_t value, std::int32_t max, QWidget* parent) {
    auto* field = new QSpinBox(parent);
    field->setObjectName(name);
    field->setRange(0, std::max(max, value));
    field->setValue(value);
    return field;
}

class ResizeDialog : public QDialog {
  public:
    ResizeDialog(QWidget* parent, const TContur& contur, ScaleDialogState& state)
        : QDialog(parent), m_state(state) {
        setWindowTitle(QStringLiteral("Resize Shape"));
        m_width = sizeField(QStringLiteral("Edit1"), state.Width, state.maxWidth, this);
        m_height = sizeField(QStringLiteral("Edit2"), state.Height, state.maxHeight, this);
        m_aspect = new QCheckBox(QStringLiteral("Maintain original aspect ratio"), this);
        m_aspect->setObjectName(QStringLiteral("CheckBox1"));
        m_aspect->setChecked(state.keepAspect);
        m_preview = new ScalePreviewBox(contur, state, this);
        m_preview->setObjectName(QStringLiteral("PaintBox1"));

        connect(m_width, &QSpinBox::valueChanged, this, [this](int v) {
            if (WidthFieldChanged(m_state, std::to_string(v))) showState();
        });
        connect(m_height, &QSpinBox::valueChanged, this, [this](int v) {
            if (HeightFieldChanged(m_state, std::to_string(v))) showState();
        });
        connect(m_aspect, &QCheckBox::toggled, this, [this](bool checked) {
            m_state.keepAspect = checked;
            AspectBoxClicked(m_state);
            showState();
        });
        buildLayout();
    }

  private:
    // Writes both fields from the state without their change handlers acting on it.
    void showState() {
        m_state.ResizeUpdating = true;
        m_width->setValue(m_state.Width);
        m_height->setValue(m_state.Height);
        m_state.ResizeUpdating = false;
        m_preview->refresh();
    }

    void buildLayout() {
        const auto [ok, cancel] =
            makeOkCancel(this, QStringLiteral("Button2"), QStringLiteral("Button1"));

        m_preview->setAutoFillBackground(true);

        auto* fields = new QGridLayout;
        fields->addWidget(new QLabel(QStringLiteral("Width"), this), 0, 0);
        fields->addWidget(m_width, 0, 1);
        fields->addWidget(new QLabel(QStringLiteral("Height"), this), 1, 0);
        fields->addWidget(m_height, 1, 1);

        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(ok);
        buttons->addWidget(cancel);

        auto* top = new QVBoxLayout(this);
        top->addLayout(fields);
        top->addWidget(m_aspect);
        top->addWidget(m_preview, 1);
        top->addLayout(buttons);
    }

    ScaleDialogState& m_state;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QCheckBox* m_aspect = nullptr;
    ScalePreviewBox* m_preview = nullptr;
};

} // namespace

bool runScaleDialog(QWidget* parent, Session& session) {
    if (session.renderMode()) return false;
    TContur& contur = session.contour();
    if (ActualSize(contur, session.zoom())) session.shapeEdited();
    ScaleDialogState state = OpenScaleDialog(contur, keepAspectBox());
    ResizeDialog dialog(parent, contur, state);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    keepAspectBox() = state.keepAspect;
    if (!accepted) return false;
    return applyShapeChange(parent, session, [&](TContur& c) { ApplyScaleDialog(c, state); });
}

} // namespace plakett
