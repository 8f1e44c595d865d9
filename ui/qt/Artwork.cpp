#include "Artwork.h"

#include <cmath>

namespace zorby::ui {

QImage ToImage(const Pixels& pixels) {
    return QImage(reinterpret_cast<const uchar*>(pixels.argb.data()), pixels.width, pixels.height,
                  QImage::Format_ARGB32_Premultiplied)
        .copy();
}

// Title bars and task bars show 16 and 32 pixels; larger sizes would only lengthen every start.
QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 32}) {
        icon.addPixmap(QPixmap::fromImage(ToImage(Emblem(size))));
    }
    return icon;
}

QIcon DebugButtonIcon() {
    QIcon icon;
    for (const int size : {16, 32}) {
        icon.addPixmap(QPixmap::fromImage(ToImage(Chart(size))));
    }
    return icon;
}

QPixmap AboutEmblem(qreal devicePixelRatio) {
    QPixmap emblem = QPixmap::fromImage(ToImage(Emblem(static_cast<int>(std::ceil(48 * devicePixelRatio)))));
    emblem.setDevicePixelRatio(devicePixelRatio);
    return emblem;
}

} // namespace zorby::ui
