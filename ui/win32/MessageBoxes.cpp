#include "MessageBoxes.h"

#include "MessageText.h"
#include "Native.h"

#include <algorithm>
#include <utility>

namespace zorby::win32 {

namespace {

// Each try that does not fit takes away what overflowed; a few are enough even for a text of megabytes.
constexpr int kFittingTries = 8;
constexpr wchar_t kOpenBoxProperty[] = L"ZorbyOpenBox";

// A box of ShowMessageBox while it is up. MessageBoxW ends a Yes/No box that is sent a close request
// as if No or Cancel had been pressed, so the box is subclassed to see the request itself.
struct OpenBox {
    HWND window = nullptr;
    WNDPROC boxProcedure = nullptr;
    bool closed = false; // a close request that no button press came after, or the program's end
    bool ended = false;  // ended by CloseOpenBox: nothing after that is an answer
    bool mayTryAgain = false;
    bool tooLarge = false;
    SIZE size{};
    SIZE room{};
};

thread_local OpenBox* openBox = nullptr; // the innermost

// Right after MessageBoxW has laid the box out for its text, before it is shown: a box too large for
// the work area is ended at once, to be built again with less text; one that fits is moved inside it.
void FitIntoWorkArea(OpenBox& open) {
    RECT frame;
    GetWindowRect(open.window, &frame);
    const RECT room = WorkArea(open.window);
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    if ((width > room.right - room.left || height > room.bottom - room.top) && open.mayTryAgain) {
        open.tooLarge = true;
        open.size = {width, height};
        open.room = {room.right - room.left, room.bottom - room.top};
        EndDialog(open.window, IDCANCEL);
        return;
    }
    const LONG left = std::clamp(frame.left, room.left, std::max(room.left, room.right - width));
    const LONG top = std::clamp(frame.top, room.top, std::max(room.top, room.bottom - height));
    SetWindowPos(open.window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* open = static_cast<OpenBox*>(GetPropW(box, kOpenBoxProperty));
    switch (message) {
    case WM_INITDIALOG: {
        const LRESULT result = CallWindowProcW(open->boxProcedure, box, message, wParam, lParam);
        FitIntoWorkArea(*open);
        return result;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            open->closed = true;
        }
        break;
    case WM_CLOSE:
        open->closed = true;
        break;
    case WM_COMMAND:
        // A button pressed (by mouse or key) after a close request the box did not act on is an answer;
        // what a close request posts for itself comes from no button.
        if ((LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO) && lParam != 0 && !open->ended) {
            open->closed = false;
        }
        break;
    case WM_NCDESTROY: {
        const WNDPROC original = open->boxProcedure;
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(box, kOpenBoxProperty);
        open->window = nullptr;
        return CallWindowProcW(original, box, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallWindowProcW(open->boxProcedure, box, message, wParam, lParam);
}

// Finds the box as MessageBoxW creates it, before it handles any message.
LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && openBox != nullptr && openBox->window == nullptr &&
        openBox->boxProcedure == nullptr) {
        const auto window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring_view(className) == L"#32770") {
            openBox->window = window;
            SetPropW(window, kOpenBoxProperty, openBox);
            openBox->boxProcedure = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoxProcedure)));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A start that a box of this screen can show: a huge text is cut before the box is ever laid out.
ui::BoxLimits StartingLimits(HWND owner) {
    const RECT room = WorkArea(owner);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    TEXTMETRICW text{};
    text.tmHeight = 16;
    text.tmAveCharWidth = 7;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) != 0) {
        HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
        HDC screen = GetDC(nullptr);
        HGDIOBJ before = SelectObject(screen, font);
        GetTextMetricsW(screen, &text);
        SelectObject(screen, before);
        ReleaseDC(nullptr, screen);
        DeleteObject(font);
    }
    const LONG lineHeight = std::max<LONG>(1, text.tmHeight + text.tmExternalLeading);
    const LONG roomWidth = std::min<LONG>((room.right - room.left) * 2 / 3, 1000);
    return {static_cast<int>(std::max<LONG>(1, (room.bottom - room.top) * 2 / 3 / lineHeight)),
            static_cast<int>(std::max<LONG>(2, roomWidth / std::max<LONG>(1, text.tmAveCharWidth)))};
}

} // namespace

Answer ShowMessageBox(HWND owner, const std::wstring& title, const std::wstring& text, MessageIcon icon,
                      MessageButtons buttons) {
    UINT style = buttons == MessageButtons::Ok               ? MB_OK
                 : buttons == MessageButtons::YesNoDefaultNo ? MB_YESNO | MB_DEFBUTTON2
                                                             : MB_YESNO;
    if (icon == MessageIcon::Warning) {
        style |= MB_ICONWARNING;
    } else if (icon == MessageIcon::Critical) {
        style |= MB_ICONERROR;
    }
    const std::u16string whole(text.begin(), text.end());
    ui::BoxLimits limits = StartingLimits(owner);
    bool mayTryAgain = true;
    for (int tries = 1;; ++tries) {
        const std::u16string fitted = ui::FitMessage(whole, limits, u"\r\n");
        const std::wstring shown(fitted.begin(), fitted.end());
        OpenBox open;
        open.mayTryAgain = mayTryAgain && tries < kFittingTries;
        OpenBox* const outer = std::exchange(openBox, &open);
        HHOOK hook = SetWindowsHookExW(WH_CBT, &WatchCreation, nullptr, GetCurrentThreadId());
        const int result = MessageBoxW(owner, shown.c_str(), title.c_str(), style);
        if (hook != nullptr) {
            UnhookWindowsHookEx(hook);
        }
        openBox = outer;
        if (open.tooLarge) {
            const ui::BoxLimits next =
                ui::ShrunkToFit(limits, {static_cast<int>(open.size.cx), static_cast<int>(open.size.cy)},
                                {static_cast<int>(open.room.cx), static_cast<int>(open.room.cy)});
            mayTryAgain = !(next == limits);
            limits = next;
            continue;
        }
        if (buttons == MessageButtons::Ok) {
            return Answer::Ok;
        }
        // A box that could not be shown was not answered either.
        if (open.closed || result == 0) {
            return Answer::Closed;
        }
        return result == IDYES ? Answer::Yes : Answer::No;
    }
}

bool CloseOpenBox() {
    if (openBox == nullptr || openBox->window == nullptr) {
        return false;
    }
    openBox->closed = true;
    openBox->ended = true;
    EndDialog(openBox->window, IDCANCEL);
    return true;
}

} // namespace zorby::win32
