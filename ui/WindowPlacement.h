#pragma once

namespace zorby::ui {

struct TwipPoint {
    int left;
    int top;
};

// Where the main window opens: centred across, a third of the free height from the top. Free space is
// rounded to the nearest whole twip (halves to even) and divided with truncation toward zero, so a
// screen smaller than the window gives a negative position.
TwipPoint MainWindowPosition(double screenWidth, double screenHeight, double outerWidth, double outerHeight);

} // namespace zorby::ui
