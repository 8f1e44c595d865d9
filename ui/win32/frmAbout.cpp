#include "frmAbout.h"

#include "Accessible.h"
#include "FancyButton.h"
#include "Native.h"
#include "Pictures.h"
#include "WindowLayout.h"

#include <string_view>
// windows.h first, through the headers above.
#include <commctrl.h>

namespace zorby::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZorbyFrmAbout";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kFirstId = 200;

int IdOf(const ui::ControlEntry& entry) {
    return kFirstId + static_cast<int>(&entry - ui::AboutBoxControls().data());
}

// A credit line that the keyboard reaches: Tab stops on it, it shows the focus, and Return or Space
// (or assistive technology's default action) acts as a click on it does.
LRESULT CALLBACK LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    const auto click = [link] {
        SendMessageW(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                     reinterpret_cast<LPARAM>(link));
    };
    switch (message) {
    case WM_GETDLGCODE:
        if (lParam != 0 && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
            (wParam == VK_RETURN || wParam == VK_SPACE)) {
            return DLGC_WANTMESSAGE;
        }
        break;
    case WM_KEYDOWN:
        if ((wParam == VK_RETURN || wParam == VK_SPACE) && (lParam & (LPARAM(1) << 30)) == 0) {
            click(); // may destroy the box, and this window with it
            return 0;
        }
        break;
    case BM_CLICK:
        click();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(link, nullptr, TRUE);
        break;
    case WM_PAINT:
        if (GetFocus() == link) {
            const LRESULT painted = DefSubclassProc(link, message, wParam, lParam);
            std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(link)) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(link, text.data(), int(text.size()))));
            HDC dc = GetDC(link);
            HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)));
            SIZE size{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            RECT client;
            GetClientRect(link, &client);
            RECT mark{0, 0, std::min(client.right, size.cx + 2), std::min(client.bottom, size.cy + 1)};
            DrawFocusRect(dc, &mark);
            SelectObject(dc, font);
            ReleaseDC(link, dc);
            return painted;
        }
        break;
    case WM_GETOBJECT: {
        LRESULT answer = 0;
        if (AnswerGetObject(link, AccessibleRole::Link, wParam, lParam, answer)) {
            return answer;
        }
        break;
    }
    default:
        break;
    }
    return DefSubclassProc(link, message, wParam, lParam);
}

} // namespace

void frmAbout::ShowAbout(frmAbout*& slot, WindowPort& port, HWND owner) {
    if (slot == nullptr) {
        static const bool registered = [] {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = &frmAbout::Procedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            windowClass.lpszClassName = kClassName;
            return RegisterClassExW(&windowClass) != 0;
        }();
        (void)registered;
        auto* box = new frmAbout(port, slot);
        const int dpi = ScreenDpi();
        RECT outer{0, 0, ui::Px(ui::kAboutClient.width, dpi), ui::Px(ui::kAboutClient.height, dpi)};
        AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
        CreateWindowExW(kExStyle, kClassName, WideFromUtf8(ui::kAboutBoxTitle).c_str(), kStyle, 0, 0,
                        outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                        GetModuleHandleW(nullptr), box);
        if (box->window_ == nullptr) {
            delete box;
            return;
        }
        slot = box;
        // The load step: placed once, and the credit line gets its version.
        box->CentreOnScreen();
        SetDlgItemTextW(box->window_, IdOf(*ui::Find(ui::AboutBoxControls(), "Label1")),
                        WideFromUtf8(ui::AboutCreditLine()).c_str());
    }
    ShowWindow(slot->window_, SW_SHOW);
    SetForegroundWindow(slot->window_);
    // Each show starts on OK, the first of the keyboard order.
    HWND box = slot->window_;
    if (const ui::ControlEntry* first =
            ui::FirstFocus(ui::AboutBoxControls(), ui::View::Compact, [box](const ui::ControlEntry& entry) {
                HWND control = GetDlgItem(box, IdOf(entry));
                return control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control);
            })) {
        SetFocus(GetDlgItem(box, IdOf(*first)));
    }
}

LRESULT CALLBACK frmAbout::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = OwnerOf<frmAbout>(window, message, lParam);
    if (message == WM_NCCREATE) {
        box->window_ = window;
    }
    if (message == WM_NCDESTROY && box != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        box->slot_ = nullptr;
        delete box;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return box != nullptr ? box->Handle(message, wParam, lParam)
                          : DefWindowProcW(window, message, wParam, lParam);
}

void frmAbout::Build() {
    for (const ui::ControlEntry& entry : ui::AboutBoxControls()) {
        const RECT place = PixelRect(entry.rect);
        const int id = IdOf(entry);
        if (entry.kind == ui::ControlKind::ImageButton) {
            FancyButton::Create(window_, id, WideFromUtf8(entry.caption), place.left, place.top,
                                [this, action = entry.action] {
                                    if (action == ui::Action::HideAbout) {
                                        ShowWindow(window_, SW_HIDE);
                                    }
                                });
        } else if (entry.kind != ui::ControlKind::Picture) {
            const bool link = entry.kind == ui::ControlKind::LinkLabel;
            HWND label = CreateWindowExW(
                0, L"STATIC", WideFromUtf8(entry.caption).c_str(),
                WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | (link ? SS_NOTIFY | WS_TABSTOP : 0),
                place.left, place.top, place.right - place.left, place.bottom - place.top, window_,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
            const bool web = std::string_view(entry.name) == "Label2";
            SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(web ? LinkFont() : DialogFont()), FALSE);
            if (link) {
                SetWindowSubclass(label, LinkProcedure, 0, 0);
            }
        }
    }
    // Tabbing follows the windows' order among their siblings.
    HWND previous = HWND_TOP;
    for (const ui::ControlEntry* entry : ui::TabOrder(ui::AboutBoxControls(), ui::View::Compact)) {
        HWND control = GetDlgItem(window_, IdOf(*entry));
        SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control;
    }
}

void frmAbout::CentreOnScreen() {
    RECT frame;
    GetWindowRect(window_, &frame);
    const int dpi = ScreenDpi();
    const auto twips = [dpi](int pixels) { return double(pixels) * 1440.0 / dpi; };
    const ui::TwipPoint at =
        ui::CentredPosition(twips(GetSystemMetrics(SM_CXSCREEN)), twips(GetSystemMetrics(SM_CYSCREEN)),
                            twips(frame.right - frame.left), twips(frame.bottom - frame.top));
    const ui::ScreenPoint inside = ui::InsideWorkArea(
        {ui::Px(at.left, dpi), ui::Px(at.top, dpi), frame.right - frame.left, frame.bottom - frame.top},
        ScreenRectOf(WorkArea(window_)));
    SetWindowPos(window_, nullptr, inside.x, inside.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT frmAbout::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Build();
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const bool web =
            GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IdOf(*ui::Find(ui::AboutBoxControls(), "Label2"));
        SetTextColor(dc, web ? RGB(0, 0, 128) : GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
        for (const ui::AboutLink& link : ui::AboutLinks()) {
            if (!Busy() && id == IdOf(*ui::Find(ui::AboutBoxControls(), link.label))) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
        }
        if (Busy()) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED) {
            for (const ui::AboutLink& link : ui::AboutLinks()) {
                if (LOWORD(wParam) == IdOf(*ui::Find(ui::AboutBoxControls(), link.label))) {
                    // The box stays open whatever the answer, unless it is closed meanwhile (which
                    // deletes this object).
                    WindowPort& port = port_;
                    if (port.ShowMessage("Confirm", link.question, MessageIcon::None,
                                         MessageButtons::YesNo) == Answer::Yes) {
                        port.OpenLink(link.target);
                    }
                    return 0;
                }
            }
        }
        // Esc, through the dialog keys of the message loop: what the title bar's close does.
        if (LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(window_);
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (KeepFocusAcrossActivation(window_, wParam, focus_)) {
            return 0;
        }
        break;
    case WM_CLOSE:
        DestroyWindow(window_);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void frmAbout::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT frame = PixelRect(ui::Find(ui::AboutBoxControls(), "picIcon")->rect);
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    const int size = Scale(48);
    const ui::Pixels emblem = ui::Over(ui::Emblem(size), ButtonFace());
    DrawPixels(dc, emblem, (frame.left + frame.right - size) / 2, (frame.top + frame.bottom - size) / 2, size,
               size);
    EndPaint(window_, &paint);
}

} // namespace zorby::win32
