#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace zorby::ui {

struct TwipPoint {
    int left;
    int top;
};

// Where the main window opens: centred across, a third of the free height from the top. Free space is
// rounded to the nearest whole twip (halves to even) and divided with truncation toward zero, so a
// screen smaller than the window gives a negative position.
TwipPoint MainWindowPosition(double screenWidth, double screenHeight, double outerWidth, double outerHeight);

// Where the frame of a window centred on `screen` starts, in screen pixels. The free space around the
// outer size (client area plus `frame`) is worked out in twips, rounded to the nearest whole twip (halves
// to even) and halved with truncation toward zero.
QPoint CentredOn(const QRect& screen, const QSize& client, const QMargins& frame);

} // namespace zorby::ui
