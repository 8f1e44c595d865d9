#pragma once

#include "Pixels.h"
#include "Twips.h"
#include "WindowLayout.h"

#include <string>
#include <string_view>
#include <windows.h>

// What the native controls share: text in UTF-16 from our UTF-8 and the system code page, scaling by the
// screen's dots per inch, pictures as GDI bitmaps, the fonts of the layout.
namespace zorby::win32 {

// Bytes in the system's 8-bit code page, as the lines of the player's files are, in UTF-16.
std::wstring WideFromAnsi(std::string_view bytes);
// UTF-8 (our own words, names for the file services, links) in UTF-16, and back.
std::wstring WideFromUtf8(std::string_view bytes);
std::string Utf8FromWide(std::wstring_view text);
// An engine message, our UTF-8 words beside quoted lines in either encoding: each well-formed UTF-8
// sequence as its character, every other byte as the system's 8-bit code page has it.
std::wstring WideFromMessage(std::string_view bytes);

// The screen's dots per inch (96 at 100%); the program is aware of it, so it scales the layout itself.
int ScreenDpi();
int Scale(int logicalPixels);
// A rectangle of the layout in pixels at the screen's dots per inch.
RECT PixelRect(const ui::TwipRect& rect);

// The work area (the screen less the task bar) of the screen the window is on.
RECT WorkArea(HWND window);
ui::ScreenRect ScreenRectOf(const RECT& rect);

// Draws a picture (premultiplied 0xAARRGGBB) with its top-left corner at (x, y), scaled to `width` by
// `height` when it has another size; it must be opaque.
void DrawPixels(HDC dc, const ui::Pixels& pixels, int x, int y, int width, int height);

// An icon made of `pixels`; the caller destroys it.
HICON MakeIcon(const ui::Pixels& pixels);

ui::Rgb ButtonFace();

// The fonts, made once for the screen's scale.
HFONT DialogFont();  // the controls' font, 8 points
HFONT HeadingFont(); // the same, bold
HFONT ListFont();    // fixed pitch, for the lists
HFONT LinkFont();    // underlined
HFONT CaptionFont(); // the image button's: Times New Roman, bold, 9.75 points

// The layout has fixed sizes; where the desktop's font runs wide, a caption gets a smaller font until it
// fits in one line rather than being wrapped or cut off.
void FitFont(HWND control, const std::wstring& caption, int extraWidth);

// The busy pointer over every window of the program while it is on.
void SetBusy(bool busy);
bool Busy();

// WM_ACTIVATE of a top-level `window`: on leaving, `focus` keeps the control that had the keyboard; on
// coming back, that control gets it again. True when the message is handled.
bool KeepFocusAcrossActivation(HWND window, WPARAM wParam, HWND& focus);

// The object a window serves, given to CreateWindowExW as its last argument: kept in the window's user data
// from WM_NCCREATE on, and found there for every later message (none before it).
template <typename Owner> Owner* OwnerOf(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace zorby::win32
