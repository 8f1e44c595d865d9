#include "Native.h"

#include "MessageText.h"

#include <algorithm>
#include <map>

namespace zorby::win32 {

namespace {

std::wstring WideFromCodePage(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    std::wstring text(
        static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), static_cast<int>(text.size()));
    return text;
}

std::u16string Utf16FromAnsi(std::string_view bytes) {
    const std::wstring text = WideFromAnsi(bytes);
    return {text.begin(), text.end()};
}

} // namespace

std::wstring WideFromAnsi(std::string_view bytes) {
    return WideFromCodePage(CP_ACP, bytes);
}

std::wstring WideFromUtf8(std::string_view bytes) {
    return WideFromCodePage(CP_UTF8, bytes);
}

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::string bytes(static_cast<std::size_t>(
                          WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
                      '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                        nullptr);
    return bytes;
}

std::wstring WideFromMessage(std::string_view bytes) {
    const std::u16string text = ui::MessageCharacters(bytes, Utf16FromAnsi);
    return {text.begin(), text.end()};
}

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int Scale(int logicalPixels) {
    return MulDiv(logicalPixels, ScreenDpi(), 96);
}

RECT PixelRect(const ui::TwipRect& rect) {
    const int dpi = ScreenDpi();
    return {ui::Px(rect.left, dpi), ui::Px(rect.top, dpi), ui::Px(rect.left, dpi) + ui::Px(rect.width, dpi),
            ui::Px(rect.top, dpi) + ui::Px(rect.height, dpi)};
}

RECT WorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor) == 0) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    }
    return monitor.rcWork;
}

ui::ScreenRect ScreenRectOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

namespace {

BITMAPINFO TopDown(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HFONT MakeFont(int tenthsOfPoints, int weight, bool underline, DWORD pitch, const wchar_t* face) {
    return CreateFontW(-MulDiv(tenthsOfPoints, ScreenDpi(), 720), 0, 0, 0, weight, FALSE, underline, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, pitch,
                       face);
}

bool busy = false;

} // namespace

void DrawPixels(HDC dc, const ui::Pixels& pixels, int x, int y, int width, int height) {
    const BITMAPINFO info = TopDown(pixels.width, pixels.height);
    if (width == pixels.width && height == pixels.height) {
        SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                          static_cast<UINT>(height), pixels.argb.data(), &info, DIB_RGB_COLORS);
        return;
    }
    const int mode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, x, y, width, height, 0, 0, pixels.width, pixels.height, pixels.argb.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, mode);
}

HICON MakeIcon(const ui::Pixels& pixels) {
    const BITMAPINFO info = TopDown(pixels.width, pixels.height);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (colour == nullptr) {
        return nullptr;
    }
    // Icons take straight alpha.
    std::transform(pixels.argb.begin(), pixels.argb.end(), static_cast<std::uint32_t*>(bits),
                   ui::StraightAlpha);
    HBITMAP mask = CreateBitmap(pixels.width, pixels.height, 1, 1, nullptr);
    ICONINFO icon{TRUE, 0, 0, mask, colour};
    HICON made = CreateIconIndirect(&icon);
    DeleteObject(mask);
    DeleteObject(colour);
    return made;
}

ui::Rgb ButtonFace() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    return {GetRValue(face), GetGValue(face), GetBValue(face)};
}

HFONT DialogFont() {
    static HFONT font = MakeFont(80, FW_NORMAL, false, DEFAULT_PITCH | FF_SWISS, L"MS Shell Dlg");
    return font;
}

HFONT HeadingFont() {
    static HFONT font = MakeFont(80, FW_BOLD, false, DEFAULT_PITCH | FF_SWISS, L"MS Shell Dlg");
    return font;
}

HFONT ListFont() {
    static HFONT font = MakeFont(80, FW_NORMAL, false, FIXED_PITCH | FF_MODERN, L"Courier New");
    return font;
}

HFONT LinkFont() {
    static HFONT font = MakeFont(83, FW_NORMAL, true, DEFAULT_PITCH | FF_SWISS, L"MS Shell Dlg");
    return font;
}

HFONT CaptionFont() {
    static HFONT font = MakeFont(98, FW_BOLD, false, VARIABLE_PITCH | FF_ROMAN, L"Times New Roman");
    return font;
}

void FitFont(HWND control, const std::wstring& caption, int extraWidth) {
    RECT place;
    GetClientRect(control, &place);
    HDC dc = GetDC(control);
    for (int tenths = 75; tenths >= 60; tenths -= 5) {
        SIZE size{};
        HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        SelectObject(dc, before);
        if (size.cx + extraWidth <= place.right) {
            break;
        }
        // Each size is made once and kept for the run, like the other fonts.
        static std::map<int, HFONT> smaller;
        HFONT& font = smaller[tenths];
        if (font == nullptr) {
            font = MakeFont(tenths, FW_NORMAL, false, DEFAULT_PITCH | FF_SWISS, L"MS Shell Dlg");
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ReleaseDC(control, dc);
}

void SetBusy(bool value) {
    busy = value;
    // The pointer changes at once: the work that follows handles no messages.
    SetCursor(LoadCursorW(nullptr, value ? IDC_WAIT : IDC_ARROW));
}

bool Busy() {
    return busy;
}

bool KeepFocusAcrossActivation(HWND window, WPARAM wParam, HWND& focus) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        focus = GetFocus();
        return false;
    }
    if (focus != nullptr && IsChild(window, focus)) {
        SetFocus(focus);
        return true;
    }
    return false;
}

} // namespace zorby::win32
