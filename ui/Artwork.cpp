#include "Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace zorby::ui {
namespace {

// The emblem is designed on a 48-unit grid and scaled to the size asked for. Below 24 pixels the fine
// motion marks would only blur, so they are left out and the strokes get heavier.
void PaintEmblem(QPainter& painter, qreal size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0);
    const bool small = size < 24.0;

    QPainterPath outer;
    outer.addRoundedRect(QRectF(1.5, 1.5, 45, 45), 10, 10);
    painter.fillPath(outer, QColor(18, 20, 26));

    QLinearGradient metal(0, 2, 0, 46);
    metal.setColorAt(0.00, QColor(226, 230, 236));
    metal.setColorAt(0.45, QColor(120, 126, 140));
    metal.setColorAt(0.55, QColor(88, 94, 108));
    metal.setColorAt(1.00, QColor(186, 192, 204));
    QPainterPath rim;
    rim.addRoundedRect(QRectF(3, 3, 42, 42), 8.5, 8.5);
    painter.fillPath(rim, metal);

    const QRectF fieldRect = small ? QRectF(9, 9, 30, 30) : QRectF(7, 7, 34, 34);
    QPainterPath edge;
    edge.addRoundedRect(fieldRect.adjusted(-1, -1, 1, 1), 6, 6);
    painter.fillPath(edge, QColor(14, 17, 23));
    QRadialGradient slate(fieldRect.center(), fieldRect.width() * 0.7);
    slate.setColorAt(0.0, QColor(78, 94, 122));
    slate.setColorAt(0.6, QColor(44, 52, 67));
    slate.setColorAt(1.0, QColor(30, 35, 45));
    QPainterPath field;
    field.addRoundedRect(fieldRect, 5, 5);
    painter.fillPath(field, slate);

    if (!small) {
        // Speed lines: the program is about animations.
        painter.setPen(QPen(QColor(192, 192, 192, 170), 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(10, 21), QPointF(14, 21));
        painter.drawLine(QPointF(9, 25), QPointF(15, 25));
        painter.drawLine(QPointF(10, 29), QPointF(13, 29));
    }

    QPainterPath zed;
    zed.moveTo(17, 15);
    zed.lineTo(33, 15);
    zed.lineTo(17, 33);
    zed.lineTo(33, 33);
    const qreal stroke = small ? 7.0 : 5.0;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(20, 14, 4, 200), stroke + 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(zed);
    QLinearGradient gold(0, 13, 0, 35);
    gold.setColorAt(0.0, QColor(255, 240, 150));
    gold.setColorAt(0.5, QColor(240, 196, 70));
    gold.setColorAt(1.0, QColor(200, 140, 30));
    painter.setPen(QPen(QBrush(gold), stroke, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(zed);
    painter.restore();
}

QPixmap EmblemPixmap(int size, qreal devicePixelRatio) {
    const int physical = static_cast<int>(std::ceil(size * devicePixelRatio));
    QPixmap pixmap(physical, physical);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintEmblem(painter, size);
    return pixmap;
}

// A small chart display: a grey bezel on a stand, a dark screen with a grid and a bright trace. Drawn
// at whole-pixel positions for the given size so the grid stays sharp at 16 pixels.
QPixmap ChartPixmap(int size) {
    const int k = size / 16;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);

    const QRect bezel(0, k, 16 * k, 12 * k);
    painter.fillRect(bezel, QColor(64, 64, 64));
    painter.fillRect(bezel.adjusted(k, k, -k, -k), QColor(192, 192, 192));
    painter.fillRect(QRect(6 * k, 13 * k, 4 * k, k), QColor(128, 128, 128));
    painter.fillRect(QRect(4 * k, 14 * k, 8 * k, k), QColor(64, 64, 64));

    const QRect screen = bezel.adjusted(2 * k, 2 * k, -2 * k, -2 * k);
    painter.fillRect(screen, QColor(0, 32, 16));
    painter.setPen(QColor(0, 96, 48));
    for (int x = screen.left() + 3 * k; x < screen.right(); x += 3 * k) {
        painter.drawLine(x, screen.top(), x, screen.bottom());
    }
    for (int y = screen.top() + 2 * k; y < screen.bottom(); y += 3 * k) {
        painter.drawLine(screen.left(), y, screen.right(), y);
    }

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(screen);
    QPainterPath trace;
    const qreal middle = screen.top() + screen.height() / 2.0;
    const qreal amplitude = screen.height() * 0.32;
    for (int step = 0; step <= 24; ++step) {
        const qreal t = step / 24.0;
        const QPointF point(screen.left() + t * screen.width(),
                            middle - amplitude * std::sin(t * 2.0 * std::numbers::pi));
        if (step == 0) {
            trace.moveTo(point);
        } else {
            trace.lineTo(point);
        }
    }
    painter.setPen(QPen(QColor(160, 255, 180), k == 1 ? 1.2 : 1.8));
    painter.drawPath(trace);
    return pixmap;
}

} // namespace

// Title bars and task bars show 16 and 32 pixels; larger sizes would only lengthen every start.
QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 32}) {
        icon.addPixmap(EmblemPixmap(size, 1.0));
    }
    return icon;
}

QIcon DebugButtonIcon() {
    QIcon icon;
    icon.addPixmap(ChartPixmap(16));
    icon.addPixmap(ChartPixmap(32));
    return icon;
}

QPixmap AboutEmblem(qreal devicePixelRatio) {
    return EmblemPixmap(48, devicePixelRatio);
}

} // namespace zorby::ui
