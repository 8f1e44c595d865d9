#include "FancyButton.h"

#include "Accessible.h"
#include "Native.h"
#include "Pictures.h"

#include <map>
// windows.h first, through the headers above.
#include <windowsx.h>

namespace zorby::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZorbyFancyButton";
constexpr UINT_PTR kHoverPoll = 1;

// Each plate is decoded and laid over the button face once for each tone.
const ui::Pixels& PlateOverFace(ui::PlateTone tone) {
    static std::map<ui::PlateTone, ui::Pixels> plates;
    auto found = plates.find(tone);
    if (found == plates.end()) {
        found = plates.emplace(tone, ui::Over(ui::Plate(tone, ScreenDpi()), ButtonFace())).first;
    }
    return found->second;
}

void Register() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

// A pointer position in the button's client pixels, in the layout's pixels.
int Logical(int pixels) {
    return MulDiv(pixels, 96, ScreenDpi());
}

} // namespace

HWND FancyButton::Create(HWND parent, int id, const std::wstring& caption, int left, int top,
                         std::function<void()> onClick) {
    Register();
    auto* button = new FancyButton;
    button->caption_ = caption;
    button->onClick_ = std::move(onClick);
    HWND window = CreateWindowExW(
        0, kClassName, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, left, top,
        Scale(ui::ImageButtonState::kWidth), Scale(ui::ImageButtonState::kHeight), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        delete button;
        return nullptr;
    }
    button->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(button));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FancyButton::Procedure));
    // The hover poll runs from creation until its first tick finds the pointer outside.
    SetTimer(window, kHoverPoll, USER_TIMER_MINIMUM, nullptr);
    return window;
}

FancyButton* FancyButton::Of(HWND window) {
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&FancyButton::Procedure)) {
        return nullptr;
    }
    return reinterpret_cast<FancyButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void FancyButton::SetEnabled(bool enabled) {
    state_.SetEnabled(enabled);
    if (!enabled && GetCapture() == window_) {
        ReleaseCapture();
    }
    // A disabled window takes neither the pointer nor the focus, and tabbing passes it by.
    EnableWindow(window_, enabled);
    Changed();
}

LRESULT CALLBACK FancyButton::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* button = reinterpret_cast<FancyButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        KillTimer(window, kHoverPoll);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete button;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return button != nullptr ? button->Handle(message, wParam, lParam)
                             : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT FancyButton::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_WINDOWPOSCHANGING: {
        // No container gives the button another size.
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        position->cx = Scale(ui::ImageButtonState::kWidth);
        position->cy = Scale(ui::ImageButtonState::kHeight);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (state_.PointerOver()) {
            SetTimer(window_, kHoverPoll, USER_TIMER_MINIMUM, nullptr);
            Changed();
        }
        return 0;
    case WM_TIMER: {
        POINT pointer{};
        GetCursorPos(&pointer);
        ScreenToClient(window_, &pointer);
        if (state_.Tick(ui::ImageButtonState::Outside(Logical(pointer.x), Logical(pointer.y)))) {
            Changed();
        }
        if (!state_.Polling()) {
            KillTimer(window_, kHoverPoll);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetFocus(window_);
        if (state_.Press()) {
            SetCapture(window_);
            Changed();
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const int x = Logical(GET_X_LPARAM(lParam));
        const int y = Logical(GET_Y_LPARAM(lParam));
        const bool overPlate = x >= 0 && y >= 0 && x < ui::ImageButtonState::kPlateWidth &&
                               y < ui::ImageButtonState::kPlateHeight;
        const bool wasPressed = GetCapture() == window_;
        const bool click = state_.Release(message == WM_LBUTTONUP && overPlate);
        if (wasPressed) {
            ReleaseCapture();
        }
        Changed();
        if (click && onClick_) {
            onClick_();
        }
        return 0;
    }
    case WM_GETDLGCODE:
        // Return and Space click the button instead of the window's default action.
        if (lParam != 0 && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
            (wParam == VK_RETURN || wParam == VK_SPACE)) {
            return DLGC_WANTMESSAGE;
        }
        return DLGC_BUTTON;
    case WM_KEYDOWN:
        if ((wParam == VK_RETURN || wParam == VK_SPACE) &&
            state_.Key(true, (lParam & (LPARAM(1) << 30)) != 0) && onClick_) {
            onClick_();
        }
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Changed();
        return 0;
    case BM_CLICK: // assistive technology pressing the button
        if (state_.Enabled() && onClick_) {
            onClick_();
        }
        return 0;
    case WM_GETOBJECT: {
        LRESULT answer = 0;
        if (AnswerGetObject(window_, AccessibleRole::PushButton, wParam, lParam, answer)) {
            return answer;
        }
        return DefWindowProcW(window_, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void FancyButton::Changed() {
    InvalidateRect(window_, nullptr, FALSE);
}

void FancyButton::Paint() {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    // Drawn off screen first, so the plate does not flicker.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP canvas = CreateCompatibleBitmap(target, client.right, client.bottom);
    HGDIOBJ before = SelectObject(dc, canvas);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    const ui::ButtonLook look = state_.Look();
    DrawPixels(dc, PlateOverFace(look.tone), Scale(look.plate.x), Scale(look.plate.y),
               Scale(ui::ImageButtonState::kPlateWidth), Scale(ui::ImageButtonState::kPlateHeight));
    RECT caption{Scale(look.caption.x), Scale(look.caption.y),
                 Scale(look.caption.x + ui::ImageButtonState::kPlateWidth),
                 Scale(look.caption.y + ui::ImageButtonState::kCaptionHeight)};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(look.captionColour.red, look.captionColour.green, look.captionColour.blue));
    HGDIOBJ font = SelectObject(dc, CaptionFont());
    DrawTextW(dc, caption_.c_str(), -1, &caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, font);
    if (GetFocus() == window_) {
        // A faint dotted frame while the button has the keyboard.
        const int* mark = ui::ImageButtonState::kFocusMark;
        const int left = Scale(mark[0]), top = Scale(mark[1]);
        const int right = left + Scale(mark[2]), bottom = top + Scale(mark[3]);
        for (int x = left; x <= right; x += 2) {
            SetPixelV(dc, x, top, RGB(100, 104, 112));
            SetPixelV(dc, x, bottom, RGB(100, 104, 112));
        }
        for (int y = top; y <= bottom; y += 2) {
            SetPixelV(dc, left, y, RGB(100, 104, 112));
            SetPixelV(dc, right, y, RGB(100, 104, 112));
        }
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, before);
    DeleteObject(canvas);
    DeleteDC(dc);
    EndPaint(window_, &paint);
}

} // namespace zorby::win32
