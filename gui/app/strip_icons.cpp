#include "gui/app/strip_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace plakett {
namespace {

constexpr int kSize = 24;

void magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(3, 3, 13, 13));
    p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(QPen(QColor(20, 60, 160), 2));
    p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
    if (plus) p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
}

void light(QPainter& p) {
    p.setPen(QPen(QColor(200, 140, 0), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(QPointF(12 + 7 * qCos(a), 12 + 7 * qSin(a)),
                   QPointF(12 + 10 * qCos(a), 12 + 10 * qSin(a)));
    }
    QRadialGradient g(QPointF(10, 10), 7);
    g.setColorAt(0, QColor(255, 255, 200));
    g.setColorAt(1, QColor(250, 190, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(12, 12), 5.5, 5.5);
}

void text(QPainter& p) {
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(30, 30, 30));
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("A"));
}

void shadow(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 120, 120, 160));
    p.drawRoundedRect(QRectF(7, 7, 14, 12), 4, 4);
    p.setBrush(QColor(70, 130, 220));
    p.drawRoundedRect(QRectF(3, 4, 14, 12), 4, 4);
}

void glyph(QPainter& p) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 10.0 : 4.2;
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(12 + r * qCos(a), 12.5 + r * qSin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(150, 90, 0), 1));
    p.setBrush(QColor(255, 200, 40));
    p.drawPath(star);
}

void background(QPainter& p) {
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            p.fillRect(QRect(3 + 4 * x + x / 2, 3 + 4 * y + y / 2, 4, 4),
                       (x + y) % 2 == 0 ? QColor(120, 170, 90) : QColor(220, 235, 200));
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(2, 2, 19, 19));
}

void center(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 2.5, 19, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 130, 220));
    p.drawEllipse(QPointF(12, 12), 5, 4);
    p.setPen(QPen(QColor(180, 30, 30), 1.5));
    p.drawLine(QPointF(12, 5), QPointF(12, 19));
    p.drawLine(QPointF(5, 12), QPointF(19, 12));
}

void exportImages(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 4.5, 14, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 160, 90));
    p.drawEllipse(QRectF(5, 8, 9, 6));
    p.setBrush(QColor(30, 90, 200));
    QPainterPath arrow;
    arrow.moveTo(13, 14);
    arrow.lineTo(17, 14);
    arrow.lineTo(17, 11);
    arrow.lineTo(22.5, 16.5);
    arrow.lineTo(17, 22);
    arrow.lineTo(17, 19);
    arrow.lineTo(13, 19);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

} // namespace

QIcon stripIcon(StripIcon which) {
    constexpr int kScale = 2; // drawn at twice the size so the toolbar's 32 pixels stay sharp
    QPixmap pixmap(kSize * kScale, kSize * kScale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
    switch (which) {
    case StripIcon::Enlarge:
        magnifier(p, true);
        break;
    case StripIcon::ActualSize:
        magnifier(p, false);
        break;
    case StripIcon::Light:
        light(p);
        break;
    case StripIcon::Text:
        text(p);
        break;
    case StripIcon::Shadow:
        shadow(p);
        break;
    case StripIcon::Glyph:
        glyph(p);
        break;
    case StripIcon::Background:
        background(p);
        break;
    case StripIcon::Center:
        center(p);
        break;
    case StripIcon::Export:
        exportImages(p);
        break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace plakett
