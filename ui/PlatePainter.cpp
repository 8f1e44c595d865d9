#include "PlatePainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

namespace zorby::ui {
namespace {

// The plate's layout in logical pixels: a metal rim that is thin along the top and bottom and wide at
// the ends, where the ornaments sit, around a sunken slate field.
const QRectF kOuter(0.5, 0.5, 101.0, 33.0);
const QRectF kRim(1.0, 1.0, 100.0, 32.0);
const QRectF kFieldEdge(9.5, 3.5, 83.0, 27.0);
const QRectF kField(10.0, 4.0, 82.0, 26.0);
constexpr qreal kOuterRadius = 8.0;
constexpr qreal kFieldRadius = 3.0;

QPainterPath Rounded(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void PaintRim(QPainter& painter) {
    painter.fillPath(Rounded(kOuter, kOuterRadius), QColor(18, 20, 26));

    // Brushed metal: bright at the top, a dark band just below the middle, a soft reflection below.
    QLinearGradient metal(0, kRim.top(), 0, kRim.bottom());
    metal.setColorAt(0.00, QColor(222, 226, 233));
    metal.setColorAt(0.20, QColor(172, 178, 190));
    metal.setColorAt(0.50, QColor(98, 104, 118));
    metal.setColorAt(0.56, QColor(82, 88, 100));
    metal.setColorAt(0.85, QColor(142, 148, 160));
    metal.setColorAt(1.00, QColor(192, 198, 208));
    painter.fillPath(Rounded(kRim, kOuterRadius - 0.5), metal);

    // An engraved groove that follows the rim.
    painter.setPen(QPen(QColor(28, 32, 40, 120), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(2.6, 2.4, 96.8, 29.2), 6.0, 6.0);
}

// A faceted stud between two rivets, centred on one end of the rim.
void PaintEndOrnament(QPainter& painter, qreal centreX) {
    const qreal middleY = 17.0;
    const QPolygonF stud{QPointF(centreX, middleY - 6.5), QPointF(centreX + 3.2, middleY),
                         QPointF(centreX, middleY + 6.5), QPointF(centreX - 3.2, middleY)};
    QLinearGradient shine(centreX - 3.2, middleY - 6.5, centreX + 3.2, middleY + 6.5);
    shine.setColorAt(0.0, QColor(240, 243, 248));
    shine.setColorAt(0.5, QColor(160, 166, 180));
    shine.setColorAt(1.0, QColor(88, 94, 108));
    painter.setPen(QPen(QColor(34, 38, 48), 0.8));
    painter.setBrush(shine);
    painter.drawPolygon(stud);
    // The facet line across the stud catches the light.
    painter.setPen(QPen(QColor(255, 255, 255, 110), 0.6));
    painter.drawLine(QPointF(centreX - 2.2, middleY), QPointF(centreX + 2.2, middleY));

    QRadialGradient rivet(QPointF(-0.4, -0.4), 1.8);
    rivet.setColorAt(0.0, QColor(250, 250, 252));
    rivet.setColorAt(1.0, QColor(96, 102, 116));
    painter.setPen(QPen(QColor(40, 44, 54), 0.5));
    for (const qreal y : {middleY - 10.0, middleY + 10.0}) {
        painter.save();
        painter.translate(centreX, y);
        painter.setBrush(rivet);
        painter.drawEllipse(QPointF(0, 0), 1.4, 1.4);
        painter.restore();
    }
}

void PaintField(QPainter& painter, PlateTone tone) {
    const bool light = tone == PlateTone::Light;
    painter.fillPath(Rounded(kFieldEdge, kFieldRadius + 0.5), QColor(14, 17, 23));

    QLinearGradient slate(0, kField.top(), 0, kField.bottom());
    if (light) {
        slate.setColorAt(0.0, QColor(51, 60, 77));
        slate.setColorAt(0.5, QColor(44, 52, 67));
        slate.setColorAt(1.0, QColor(37, 44, 57));
    } else {
        slate.setColorAt(0.0, QColor(42, 49, 61));
        slate.setColorAt(0.5, QColor(36, 42, 53));
        slate.setColorAt(1.0, QColor(30, 35, 45));
    }
    const QPainterPath field = Rounded(kField, kFieldRadius);
    painter.fillPath(field, slate);

    // A wide, flat glow in the middle of the field; the lit plate glows much more strongly.
    painter.save();
    painter.setClipPath(field);
    painter.translate(kField.center());
    painter.scale(1.0, kField.height() / kField.width());
    QRadialGradient glow(QPointF(0, 0), kField.width() / 2.0);
    glow.setColorAt(0.0, light ? QColor(110, 132, 170, 140) : QColor(70, 84, 108, 55));
    glow.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.fillRect(QRectF(-kField.width() / 2.0, -kField.width() / 2.0, kField.width(), kField.width()),
                     glow);
    painter.restore();

    // A hairline of light along the field's lower edge makes it read as sunk into the metal.
    painter.setPen(QPen(QColor(255, 255, 255, light ? 40 : 28), 0.8));
    painter.drawLine(QPointF(kField.left() + 3, kField.bottom() - 0.4),
                     QPointF(kField.right() - 3, kField.bottom() - 0.4));
}

} // namespace

void PaintPlate(QPainter& painter, PlateTone tone) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    PaintRim(painter);
    PaintEndOrnament(painter, 5.2);
    PaintEndOrnament(painter, 96.8);
    PaintField(painter, tone);
    painter.restore();
}

void PaintFocusMark(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen dots(QColor(192, 192, 192, 100), 1, Qt::DotLine);
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(12, 6, 77, 21));
    painter.restore();
}

} // namespace zorby::ui
