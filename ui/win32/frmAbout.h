#pragma once

#include "WindowPort.h"

#include <windows.h>

namespace zorby::win32 {

// The credits box: author, version, emblem, and three credit lines that open the author's web page, a
// mail to the author or the artist's web page after a Yes/No question. It does not block the main
// window. "OK" only hides it, so it keeps its place; closing it from the title bar or with Esc destroys
// it, and the next one is centred afresh. Each show starts with the keyboard on OK; Tab goes on through
// the credit lines, and Return or Space on one asks as a click does.
class frmAbout {
public:
    // Shows the box in `slot`, first creating it there (and centring it) when there is none. The slot
    // is cleared when the box is destroyed. Questions and links go through `port`.
    static void ShowAbout(frmAbout*& slot, WindowPort& port, HWND owner);

    HWND Window() const { return window_; }

private:
    frmAbout(WindowPort& port, frmAbout*& slot) : port_(port), slot_(slot) {}
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Build();
    void CentreOnScreen();
    void Paint();

    WindowPort& port_;
    frmAbout*& slot_;
    HWND window_ = nullptr;
    HWND focus_ = nullptr; // the control that had the keyboard when the box was last left
};

} // namespace zorby::win32
