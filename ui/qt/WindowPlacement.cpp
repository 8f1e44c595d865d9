#include "WindowPlacement.h"

namespace zorby::ui {

QRect PixelRect(const TwipRect& rect) {
    return {Px(rect.left), Px(rect.top), Px(rect.width), Px(rect.height)};
}

QPoint CentredOn(const QRect& screen, const QSize& client, const QMargins& frame) {
    const QSize outer = client.grownBy(frame);
    const TwipPoint position =
        CentredPosition(double(screen.width()) * kTwipsPerPixel, double(screen.height()) * kTwipsPerPixel,
                        double(outer.width()) * kTwipsPerPixel, double(outer.height()) * kTwipsPerPixel);
    return screen.topLeft() + QPoint(Px(position.left), Px(position.top));
}

} // namespace zorby::ui
