#include "Artwork.h"

#include <cmath>

namespace zorby::ui {
namespace {

// A picture kept at another size than the one asked for is drawn scaled to the logical size.
QPixmap WithRatio(const Pixels& pixels, qreal devicePixelRatio) {
    QPixmap pixmap = QPixmap::fromImage(ToImage(pixels));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace

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
    const Pixels emblem = Emblem(static_cast<int>(std::ceil(48 * devicePixelRatio)));
    return WithRatio(emblem, emblem.width / 48.0);
}

QPixmap PlatePixmap(PlateTone tone, qreal devicePixelRatio) {
    const int dpi = static_cast<int>(std::lround(96 * devicePixelRatio));
    const PictureKind kind = tone == PlateTone::Dark ? PictureKind::DarkPlate : PictureKind::LightPlate;
    return WithRatio(Plate(tone, dpi), Nearest(kind, dpi).size / 96.0);
}

} // namespace zorby::ui
