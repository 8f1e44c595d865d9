#include "WindowContract.h"

#include "AnimationPatcher.h"
#include "FancyButton.h"
#include "Native.h"

#include <gtest/gtest.h>
#include <map>
// windows.h first, through the headers above.
#include <commctrl.h>
#include <oleacc.h>

// The native window under the contract both windows keep, and what only the native one does. The
// driver stands in for the desktop: it takes every link opened.
namespace zorby::win32 {
namespace {

using testing::Act;
using testing::Key;

struct LinkTaker : AnimationPatcher {
    using AnimationPatcher::AnimationPatcher;
    bool OpenLink(const std::string& target) override {
        links.push_back(target);
        return true;
    }
    std::vector<std::string> links;
};

// What the timer saw of the box once it was up.
struct BoxVisit {
    const testing::BoxRow* row;
    HWND main;
    DWORD asked; // GetTickCount when the question was asked
    testing::BoxSeen seen{Answer::Closed, ~0U, false, -1};
} visit{};

// Posts one message to the box, one of its buttons, the control with the focus or the main window.
void CALLBACK ActOnTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowW(L"#32770", nullptr); // no other test shows one meanwhile (RESOURCE_LOCK)
    if (box == nullptr || !IsWindowVisible(box)) {
        return;
    }
    KillTimer(nullptr, timer);
    visit.seen.upAfterMs = GetTickCount() - visit.asked;
    RECT frame, work, both;
    GetWindowRect(box, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    visit.seen.inside = IntersectRect(&both, &frame, &work) && EqualRect(&both, &frame);
    visit.seen.shown = GetWindowTextLengthW(GetDlgItem(box, 0xFFFF)); // the box's static text
    const std::map<Act, std::tuple<HWND, UINT, WPARAM>> acts = {
        {Act::ClickYes, {GetDlgItem(box, IDYES), BM_CLICK, 0}},
        {Act::ClickNo, {GetDlgItem(box, IDNO), BM_CLICK, 0}},
        {Act::Escape, {GetFocus(), WM_KEYDOWN, VK_ESCAPE}},
        {Act::Enter, {GetFocus(), WM_KEYDOWN, VK_RETURN}},
        {Act::CloseBox, {box, WM_CLOSE, 0}},
        {Act::AltF4, {box, WM_SYSCOMMAND, SC_CLOSE}},
        {Act::CloseMainWindow, {visit.main, WM_CLOSE, 0}},
        {Act::EndSession, {visit.main, WM_QUERYENDSESSION, 0}},
    };
    const auto& [target, message, wParam] = acts.at(visit.row->act);
    PostMessageW(target, message, wParam, 0);
}

class NativeDriver {
public:
    NativeDriver() {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        CoInitialize(nullptr); // for assistive technology's questions
    }

    void Show() { window.Show(SW_SHOW); }
    void Click(const char* control, bool letGoInside = true) {
        SendMessageW(Find(control), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
        SendMessageW(Find(control), WM_LBUTTONUP, 0, MAKELPARAM(20, letGoInside ? 10 : 60));
    }
    void Press(Key key) {
        const WPARAM codes[] = {VK_TAB, VK_RETURN, VK_SPACE, VK_ESCAPE}; // in the order of Key
        MSG message{GetFocus(), WM_KEYDOWN, codes[int(key)], 0, 0, {}};
        if (!IsDialogMessageW(AboutShown() ? window.AboutWindow() : window.Window(), &message)) {
            DispatchMessageW(&message);
        }
    }
    std::string Focused() {
        for (const auto controls : {ui::AboutBoxControls(), ui::MainWindowControls()}) {
            for (const ui::ControlEntry& c : controls) {
                if (GetFocus() != nullptr && GetFocus() == Find(c.name)) {
                    return c.name;
                }
            }
        }
        return "";
    }
    std::string Tip(Control control) { return Utf8FromWide(window.ToolTip(control)); }
    bool AboutShown() { return window.AboutWindow() != nullptr && IsWindowVisible(window.AboutWindow()); }
    std::tuple<std::string, std::string, bool> Describe(const char* control) {
        IAccessible* accessible = nullptr;
        AccessibleObjectFromWindow(Find(control), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&accessible));
        if (accessible == nullptr) {
            return {};
        }
        VARIANT self{}, role{}, state{};
        self.vt = VT_I4; // CHILDID_SELF is 0
        BSTR name = nullptr;
        accessible->get_accRole(self, &role);
        accessible->get_accName(self, &name);
        accessible->get_accState(self, &state);
        const std::tuple<std::string, std::string, bool> seen{name ? Utf8FromWide(name) : "",
                                                              role.lVal == ROLE_SYSTEM_PUSHBUTTON ? "button"
                                                              : role.lVal == ROLE_SYSTEM_LINK     ? "link"
                                                                                                  : "other",
                                                              (state.lVal & STATE_SYSTEM_UNAVAILABLE) != 0};
        SysFreeString(name);
        accessible->Release();
        return seen;
    }
    static testing::BoxSeen Ask(const testing::BoxRow& row) {
        // An earlier run that ended left its quit message, which would end the box at once.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        AnimationPatcher window{"help.html"};
        visit = {&row, window.Window(), GetTickCount()};
        SetTimer(nullptr, 0, 10, &ActOnTheBox);
        visit.seen.answer = window.ShowMessage("Confirm", row.text, MessageIcon::Warning, row.buttons);
        return visit.seen;
    }

    testing::TempFolder folder;
    testing::FakeWindow boxes;
    LinkTaker window{"help.html",
                     [this](HWND, const std::wstring& title, const std::wstring& text, auto... rest) {
                         return boxes.ShowMessage(Utf8FromWide(title), Utf8FromWide(text), rest...);
                     }};
    std::vector<std::string>& links = window.links;

private:
    HWND Find(const char* control) {
        const ui::ControlEntry* entry = ui::Find(ui::AboutBoxControls(), control);
        return entry == nullptr
                   ? window.Control(control)
                   : GetDlgItem(window.AboutWindow(), 200 + int(entry - ui::AboutBoxControls().data()));
    }
};

using NativeWindow = testing::WindowContract<NativeDriver>;

// A greyed-out button is drawn black, an enabled one silver; the engine reads the backup box as the
// player left it.
TEST_F(NativeWindow, StatesRoundTrip) {
    d.window.SetEnabled(Control::PatchCommand, false);
    EXPECT_TRUE(d.window.IsChecked(Control::Backup_Animation));
    SendMessageW(d.window.Control("Backup_Animation"), BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_FALSE(d.window.IsChecked(Control::Backup_Animation));
    HWND patch = d.window.Control("PatchCommand");
    EXPECT_FALSE(IsWindowEnabled(patch));
    EXPECT_EQ(FancyButton::Of(patch)->State().Look().captionColour, ui::ImageButtonState::kBlack);
    d.window.SetEnabled(Control::PatchCommand, true);
    EXPECT_TRUE(IsWindowEnabled(patch));
    EXPECT_EQ(FancyButton::Of(patch)->State().Look().captionColour, ui::ImageButtonState::kSilver);
}

// Our words in UTF-8 and a quoted line in the system's code page (1252 here) read side by side.
TEST_F(NativeWindow, MessagesReadUtf8BesideTheCodePage) {
    d.window.ShowMessage("Error",
                         "line 3 (\x93"
                         "caf\xE9\x94)\xE2\x80\xA6\rNothing",
                         MessageIcon::None, MessageButtons::Ok);
    ASSERT_EQ(d.boxes.messages.size(), 1U);
    EXPECT_EQ(d.boxes.messages[0].text, "line 3 (\u201Ccaf\u00E9\u201D)\u2026\r\nNothing");
}

} // namespace
} // namespace zorby::win32

namespace zorby::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Native, WindowContract, win32::NativeDriver);
}
