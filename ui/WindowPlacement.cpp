#include "WindowPlacement.h"

#include "Twips.h"

#include <cmath>

namespace zorby::ui {

namespace {
// Rounds to the nearest whole number, halves to the even neighbour (the default rounding mode).
int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}
} // namespace

TwipPoint MainWindowPosition(double screenWidth, double screenHeight, double outerWidth, double outerHeight) {
    const int freeWidth = RoundHalfEven(screenWidth - outerWidth);
    const int freeHeight = RoundHalfEven(screenHeight - outerHeight);
    // C++ integer division truncates toward zero.
    return {freeWidth / 2, freeHeight / 3};
}

QPoint CentredOn(const QRect& screen, const QSize& client, const QMargins& frame) {
    const QSize outer = client.grownBy(frame);
    const int freeWidth = RoundHalfEven(double(screen.width() - outer.width()) * kTwipsPerPixel);
    const int freeHeight = RoundHalfEven(double(screen.height() - outer.height()) * kTwipsPerPixel);
    return screen.topLeft() + QPoint(Px(freeWidth / 2), Px(freeHeight / 2));
}

} // namespace zorby::ui
