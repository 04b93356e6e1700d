#include "gui/effects/transparent_color_picker.h"

#include "gui/widgets/color_swatch.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace plakett {

namespace {

constexpr int kFrameSize = 105;
// Past this the enlarged view would be needlessly large.
constexpr int kMaxViewSide = 8192;

} // namespace

PickerView::PickerView(const Bgr24Image& picture, ColorRef transparent, QWidget* parent)
    : QWidget(parent), m_picture(picture), m_transparent(transparent) {
    setCursor(Qt::CrossCursor);
    rebuild();
    setZoom(1);
}

void PickerView::setZoom(int zoom) {
    m_zoom = zoom;
    setFixedSize(m_picture.width() * zoom, m_picture.height() * zoom);
    update();
}

void PickerView::setTransparentColor(ColorRef c) {
    if (c == m_transparent) return;
    m_transparent = c;
    rebuild();
    update();
}

void PickerView::rebuild() {
    m_shown = QImage(m_picture.width(), m_picture.height(), QImage::Format_ARGB32);
    const Bgr24 key = bgrFromColorRef(m_transparent);
    for (int y = 0; y < m_picture.height(); ++y) {
        const Bgr24* in = m_picture.scanline(y);
        auto* out = reinterpret_cast<QRgb*>(m_shown.scanLine(y));
        for (int x = 0; x < m_picture.width(); ++x)
            out[x] = in[x] == key ? qRgba(0, 0, 0, 0) : qRgb(in[x].r, in[x].g, in[x].b);
    }
}

void PickerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(rect(), m_shown);
}

void PickerView::pick(const QPoint& at) {
    if (at.x() < 0 || at.y() < 0) return;
    const int x = at.x() / m_zoom;
    const int y = at.y() / m_zoom;
    if (!m_picture.contains(x, y)) return;
    const Bgr24 p = m_picture.at(x, y);
    const ColorRef c = makeColorRef(p.r, p.g, p.b);
    setTransparentColor(c);
    emit picked(c);
}

void PickerView::mousePressEvent(QMouseEvent* event) {
    m_picking = true;
    pick(event->position().toPoint());
}

void PickerView::mouseMoveEvent(QMouseEvent* event) {
    if (m_picking) pick(event->position().toPoint());
}

void PickerView::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_picking) return;
    pick(event->position().toPoint());
    m_picking = false;
}

TransparentColorPicker::TransparentColorPicker(const Bgr24Image& picture, ColorRef current,
                                               std::function<void(ColorRef)> onPick,
                                               QWidget* parent)
    : QDialog(parent), m_onPick(std::move(onPick)) {
    setWindowTitle("Set Transparent Color");
    m_swatch = new ColorSwatch(this);
    m_swatch->setObjectName("panel3");
    m_swatch->setColor(current);
    m_swatch->setCursor(Qt::ArrowCursor);
    m_view = new PickerView(picture, current, this);
    m_view->setObjectName("Image");
    auto* frame = new QScrollArea(this);
    frame->setFixedSize(kFrameSize, kFrameSize);
    QPalette white = frame->palette();
    white.setColor(QPalette::Base, Qt::white);
    frame->setPalette(white);
    frame->setBackgroundRole(QPalette::Base);
    frame->setWidget(m_view);

    auto* zoomIn = new QPushButton("Zoom In", this);
    auto* zoomOut = new QPushButton("Zoom Out", this);
    auto* ok = new QPushButton("OK", this);
    auto* close = new QPushButton("Close", this);
    auto* buttons = new QVBoxLayout;
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel("Color:", this));
    colorRow->addWidget(m_swatch);
    buttons->addLayout(colorRow);
    buttons->addWidget(zoomIn);
    buttons->addWidget(zoomOut);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_view, &PickerView::picked, this, [this](ColorRef c) {
        m_swatch->setColor(c);
        if (m_onPick) m_onPick(c);
    });
    connect(zoomIn, &QPushButton::clicked, this, &TransparentColorPicker::zoomIn);
    connect(zoomOut, &QPushButton::clicked, this, &TransparentColorPicker::zoomOut);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

ColorRef TransparentColorPicker::color() const {
    return m_swatch->color();
}

void TransparentColorPicker::zoomIn() {
    const int next = m_view->zoom() + 1;
    if (m_view->width() / m_view->zoom() * next > kMaxViewSide ||
        m_view->height() / m_view->zoom() * next > kMaxViewSide)
        return;
    m_view->setZoom(next);
}

void TransparentColorPicker::zoomOut() {
    if (m_view->zoom() <= 1) return;
    m_view->setZoom(m_view->zoom() - 1);
}

} // namespace plakett
