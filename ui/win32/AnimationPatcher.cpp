#include "AnimationPatcher.h"

#include "Commands.h"
#include "FancyButton.h"
#include "LineListView.h"
#include "ListRows.h"
#include "LoadStep.h"
#include "MessageBoxes.h"
#include "Native.h"
#include "Pictures.h"
#include "frmAbout.h"

#include <algorithm>
// windows.h first, through the headers above.
#include <commctrl.h>

namespace zorby::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZorbyAnimationPatcher";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr int kFirstId = 100;

HMENU IdHandle(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

} // namespace

AnimationPatcher::AnimationPatcher(std::string helpPage, MessagePresenter presenter)
    : helpPage_(std::move(helpPage)),
      presenter_(presenter ? std::move(presenter) : MessagePresenter(ShowMessageBox)) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &AnimationPatcher::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = kClassName;
        windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
    CreateWindowExW(kExStyle, kClassName, WideFromUtf8(ui::kMainWindowTitle).c_str(), kStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    BuildArea(ui::Area::Command);
    SetTabOrder(ui::View::Compact);
    SetOuterSizeTwips(ui::kCompactOuter);
}

AnimationPatcher::~AnimationPatcher() {
    SetBusyPointer(false);
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    lists_.clear();
}

LRESULT CALLBACK AnimationPatcher::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = OwnerOf<AnimationPatcher>(window, message, lParam);
    if (message == WM_NCCREATE) {
        self->window_ = window;
    }
    if (message == WM_NCDESTROY && self != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->controls_.clear();
    }
    return self != nullptr ? self->Handle(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

// The debug area is built on the first switch to the debug view: the compact view, which is all most
// players ever see, starts without fourteen list views it does not show.
void AnimationPatcher::BuildArea(ui::Area area) {
    const auto controls = ui::MainWindowControls();
    for (const ui::ControlEntry& entry : controls) {
        if (entry.area == area) {
            const int id = kFirstId + static_cast<int>(&entry - controls.data());
            controls_.emplace(entry.name, AddControl(entry, id));
        }
    }
    if (area == ui::Area::Debug) {
        debugAreaBuilt_ = true;
        PlaceDebugArea();
        // What the load step asked of these before they existed.
        for (const auto& [control, visible] : debugVisibility_) {
            ShowWindow(Control(ui::Find(control).name), visible ? SW_SHOWNA : SW_HIDE);
        }
    }
}

// The debug area's controls where the lists' squeeze puts them.
void AnimationPatcher::PlaceDebugArea() {
    for (const ui::ControlEntry& entry : ui::MainWindowControls()) {
        HWND control = Control(entry.name);
        if (entry.area != ui::Area::Debug || control == nullptr) {
            continue;
        }
        const RECT place = PixelRect(ui::PlaceInView(entry, listScale_));
        SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND AnimationPatcher::AddControl(const ui::ControlEntry& entry, int id) {
    const RECT place = PixelRect(entry.rect);
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    const std::wstring caption = WideFromUtf8(entry.caption);
    const auto make = [&](const wchar_t* kind, DWORD style, DWORD exStyle = 0) {
        HWND control = CreateWindowExW(exStyle, kind, caption.c_str(), WS_CHILD | WS_VISIBLE | style,
                                       place.left, place.top, width, height, window_, IdHandle(id),
                                       GetModuleHandleW(nullptr), nullptr);
        SendMessageW(
            control, WM_SETFONT,
            reinterpret_cast<WPARAM>(entry.kind == ui::ControlKind::Heading ? HeadingFont() : DialogFont()),
            FALSE);
        return control;
    };
    switch (entry.kind) {
    case ui::ControlKind::ImageButton: {
        return FancyButton::Create(window_, id, caption, place.left, place.top,
                                   [this, action = entry.action] { Press(action); });
    }
    case ui::ControlKind::PictureButton: {
        HWND button = make(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_ICON);
        HICON chart = MakeIcon(ui::Chart(16 * std::max(1, MulDiv(ScreenDpi(), 2, 96))));
        SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(chart));
        return button;
    }
    case ui::ControlKind::ProgressBar: {
        HWND bar = make(PROGRESS_CLASSW, 0);
        SendMessageW(bar, PBM_SETRANGE32, 0, 100);
        SendMessageW(bar, PBM_SETPOS, 0, 0);
        return bar;
    }
    case ui::ControlKind::Line:
        return CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, place.left,
                               place.top - 1, width + 1, 2, window_, IdHandle(id), GetModuleHandleW(nullptr),
                               nullptr);
    case ui::ControlKind::CheckBox: {
        HWND box = make(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX);
        SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
        FitFont(box, caption, GetSystemMetrics(SM_CXMENUCHECK) + Scale(6));
        return box;
    }
    case ui::ControlKind::List: {
        auto view = std::make_unique<LineListView>(window_, id, workspace_.*entry.list, place);
        HWND list = view->Window();
        lists_.emplace(id, std::move(view));
        return list;
    }
    default: {
        HWND label = make(L"STATIC", SS_CENTER | SS_NOPREFIX);
        if (entry.kind == ui::ControlKind::Label) {
            FitFont(label, caption, Scale(2));
        }
        return label;
    }
    }
}

// Tabbing follows the windows' order among their siblings, so the controls are put in keyboard order.
void AnimationPatcher::SetTabOrder(ui::View view) {
    HWND previous = HWND_TOP;
    for (const ui::ControlEntry* entry : ui::TabOrder(ui::MainWindowControls(), view)) {
        HWND control = Control(entry->name);
        SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control;
    }
}

const ui::ControlEntry* AnimationPatcher::EntryOf(int id) {
    const auto controls = ui::MainWindowControls();
    const auto at = static_cast<std::size_t>(id - kFirstId);
    return id >= kFirstId && at < controls.size() ? &controls[at] : nullptr;
}

void AnimationPatcher::Press(ui::Action action) {
    switch (action) {
    case ui::Action::Patch:
        Finish(RunCommand(*this, [this] { return zorby::PatchCommand(workspace_, *this); }));
        break;
    case ui::Action::Restore:
        Finish(RunCommand(*this, [this] { return zorby::RestoreCommand(*this); }));
        break;
    case ui::Action::ShowAbout:
        frmAbout::ShowAbout(about_, *this, window_);
        break;
    case ui::Action::ToggleDebugView:
        ToggleDebugView();
        break;
    case ui::Action::None:
    case ui::Action::HideAbout: // the About box's own
        break;
    }
}

HWND AnimationPatcher::Control(const std::string& name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

HWND AnimationPatcher::AboutWindow() const {
    return about_ != nullptr ? about_->Window() : nullptr;
}

Flow AnimationPatcher::Load() {
    Place();
    return RunLoadStep(workspace_, *this, helpPage_);
}

void AnimationPatcher::Show(int how) {
    ShowWindow(window_, how);
    UpdateWindow(window_);
    // The keyboard starts on the first control the player can use: the load step hides some and greys
    // out others.
    if (const ui::ControlEntry* first = ui::FirstFocus(
            ui::MainWindowControls(), ui::View::Compact, [this](const ui::ControlEntry& entry) {
                HWND control = Control(entry.name);
                return control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control);
            })) {
        SetFocus(Control(first->name));
    }
}

ui::ScreenRect AnimationPatcher::OuterPixels() const {
    RECT frame;
    GetWindowRect(window_, &frame);
    return ScreenRectOf(frame);
}

void AnimationPatcher::Place() {
    const ui::ScreenRect outer = OuterPixels();
    const ui::ScreenPoint at = ui::OpeningPosition(ScreenRectOf(WorkArea(window_)), outer_,
                                                   {outer.width, outer.height}, ScreenDpi());
    SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The client area is the outer size less the frame the layout assumes; the platform's own frame goes
// round it, so the controls keep their places whatever the frame's size.
void AnimationPatcher::SetOuterSizeTwips(ui::TwipSize outer) {
    outer_ = outer;
    const int dpi = ScreenDpi();
    RECT frame{0, 0, ui::Px(outer.width - ui::kMainFrame.width, dpi),
               ui::Px(outer.height - ui::kMainFrame.height, dpi)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The debug view fits the work area: the window moves up as far as it must, and on a screen too low even
// for that the lists are squeezed (FitMainWindow).
void AnimationPatcher::ToggleDebugView() {
    const ui::View view =
        ui::ToggledOuterSize(outer_) == ui::kDebugOuter ? ui::View::Debug : ui::View::Compact;
    RECT client;
    GetClientRect(window_, &client);
    const ui::ScreenRect outer = OuterPixels();
    const ui::MainWindowFit fit =
        ui::FitMainWindow(view, {outer.left, outer.top}, ScreenRectOf(WorkArea(window_)),
                          {outer.width - client.right, outer.height - client.bottom}, ScreenDpi());
    if (view == ui::View::Debug) {
        const bool moved = fit.listScale != listScale_;
        listScale_ = fit.listScale;
        if (!debugAreaBuilt_) {
            BuildArea(ui::Area::Debug);
            SetTabOrder(ui::View::Debug);
        } else if (moved) {
            PlaceDebugArea();
        }
    }
    const ui::TwipSize size = ui::ClientSize(view, fit.listScale);
    const ui::TwipSize target{size.width + ui::kMainFrame.width, size.height + ui::kMainFrame.height};
    // Moved first, so the larger window never reaches past the screen's edge, where nothing is drawn.
    SetWindowPos(window_, nullptr, fit.outer.left, fit.outer.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetOuterSizeTwips({outer_.width, target.height});
    SetOuterSizeTwips(target);
    // Everything the larger window uncovers is painted afresh, the new controls included.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT AnimationPatcher::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (const ui::ControlEntry* entry = EntryOf(LOWORD(wParam));
            entry != nullptr && entry->kind == ui::ControlKind::PictureButton &&
            HIWORD(wParam) == BN_CLICKED) {
            Press(entry->action);
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == LVN_GETDISPINFOW) {
            const auto found = lists_.find(static_cast<int>(header->idFrom));
            if (found != lists_.end()) {
                found->second->Answer(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
            }
            return 0;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
        if (Busy()) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        if (KeepFocusAcrossActivation(window_, wParam, focus_)) {
            return 0;
        }
        break;
    case WM_CLOSE:
        CloseRequested();
        return 0;
    // The session ends while a question is open: that is no answer to it either.
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        if ((message == WM_QUERYENDSESSION || wParam != FALSE) && CloseOpenBox()) {
            CloseRequested();
        }
        return message == WM_QUERYENDSESSION ? TRUE : 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

int AnimationPatcher::Run() {
    MSG message;
    while (!ended_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND about = AboutWindow();
        if ((about != nullptr && IsDialogMessageW(about, &message)) || IsDialogMessageW(window_, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return status_;
}

bool AnimationPatcher::Ended(int& status) const {
    status = status_;
    return ended_;
}

// Closing the window (or the session ending) while a question is open is no answer to it: the question
// ends as closed, so does any asked after it, and the run ends with nothing changed.
void AnimationPatcher::CloseRequested() {
    closeRequested_ = true;
    CloseOpenBox();
    Finish(Flow::Done);
}

void AnimationPatcher::Finish(Flow flow) {
    if (ended_) {
        return;
    }
    ended_ = true;
    status_ = flow == Flow::Failed ? 1 : 0;
    if (about_ != nullptr) {
        DestroyWindow(about_->Window());
    }
    ShowWindow(window_, SW_HIDE);
    PostQuitMessage(status_);
}

Answer AnimationPatcher::ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                                     MessageButtons buttons) {
    if (closeRequested_ && buttons != MessageButtons::Ok) {
        return Answer::Closed;
    }
    // Modal for the whole program: the About box waits too.
    HWND about = AboutWindow();
    if (about != nullptr) {
        EnableWindow(about, FALSE);
    }
    const Answer answer = presenter_(window_, WideFromMessage(ui::WithLineBreaks(title, "\r\n")),
                                     WideFromMessage(ui::WithLineBreaks(text, "\r\n")), icon, buttons);
    if (about != nullptr && AboutWindow() == about) {
        EnableWindow(about, TRUE);
    }
    return answer;
}

void AnimationPatcher::SetProgress(float value) {
    progress_ = static_cast<int>(value);
    SendMessageW(Control("PatchProgress"), PBM_SETPOS, static_cast<WPARAM>(progress_), 0);
}

void AnimationPatcher::Redraw() {
    // The merge asks for a redraw before every add-on item, and only the progress bar changes while it
    // runs: painting again only when the bar has moved keeps a patch of thousands of items from spending
    // most of its time painting.
    if (progress_ == paintedProgress_) {
        return;
    }
    paintedProgress_ = progress_;
    RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void AnimationPatcher::SetBusyPointer(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    SetBusy(busy);
}

void AnimationPatcher::SetVisible(zorby::Control control, bool visible) {
    if (HWND window = Control(ui::Find(control).name)) {
        ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
    } else {
        debugVisibility_[control] = visible;
    }
}

void AnimationPatcher::SetEnabled(zorby::Control control, bool enabled) {
    HWND window = Control(ui::Find(control).name);
    if (FancyButton* button = FancyButton::Of(window)) {
        button->SetEnabled(enabled);
        SetToolTip(window, enabled ? std::string() : ui::WhyDisabled(control));
    } else if (window != nullptr) {
        EnableWindow(window, enabled);
    }
}

// A disabled control gets no mouse input, so its tip is registered on the window over the control's
// place; the tooltip control watches the window's mouse messages.
void AnimationPatcher::SetToolTip(HWND control, const std::string& text) {
    if (tips_ == nullptr && text.empty()) {
        return;
    }
    if (tips_ == nullptr) {
        tips_ =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
        SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, Scale(400));
    }
    std::wstring wide = WideFromUtf8(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!wide.empty()) {
        GetWindowRect(control, &tool.rect);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&tool.rect), 2);
        tool.lpszText = wide.data();
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

std::wstring AnimationPatcher::ToolTip(zorby::Control control) const {
    if (tips_ == nullptr) {
        return {};
    }
    wchar_t text[256] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window_;
    tool.uId = static_cast<UINT_PTR>(GetDlgCtrlID(Control(ui::Find(control).name)));
    tool.lpszText = text;
    SendMessageW(tips_, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

bool AnimationPatcher::IsChecked(zorby::Control control) const {
    HWND window = Control(ui::Find(control).name);
    return window != nullptr && ui::Find(control).kind == ui::ControlKind::CheckBox &&
           SendMessageW(window, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

// Links are UTF-8 (our addresses, the help page beside the program); true when the desktop took it.
// shell32 is loaded only when a link is opened: most runs open none, and loading it costs each start
// a good part of the time it takes.
bool AnimationPatcher::OpenLink(const std::string& target) {
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    const auto open = shell != nullptr ? reinterpret_cast<ShellExecuteFunction>(
                                             reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteW")))
                                       : nullptr;
    if (open == nullptr) {
        return false;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        open(nullptr, nullptr, WideFromUtf8(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

} // namespace zorby::win32
