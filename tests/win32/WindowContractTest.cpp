#include "AnimationPatcher.h"
#include "FakeWindow.h"
#include "FancyButton.h"
#include "Native.h"
#include "StartRows.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <tuple>
// windows.h first, through the headers above.
#include <commctrl.h>
#include <oleacc.h>
#include <string_view>

// The native window in a folder of its own; its message boxes are answered from a script.
namespace zorby::win32 {
namespace {

using zorby::testing::CrLf;
using zorby::testing::TempFolder;

class NativeWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES;
        InitCommonControlsEx(&controls);
    }

    static void Click(HWND button, int x = 20, int y = 10, int upX = 20, int upY = 10) {
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(upX, upY));
    }

    static constexpr const char* kItem = R"(<Ui2DAnimation item="A">)";
    static constexpr const char* kEnd = "</Ui2DAnimation>";
    TempFolder folder;
    testing::FakeWindow boxes;
    // The test stands in for the desktop: it takes every link opened.
    struct LinkTaker : AnimationPatcher {
        using AnimationPatcher::AnimationPatcher;
        bool OpenLink(const std::string& target) override {
            taken.push_back(target);
            return true;
        }
        std::vector<std::string> taken;
    } window{"help.html", [this](HWND, const std::wstring& title, const std::wstring& text, auto... rest) {
                 return boxes.ShowMessage(Utf8FromWide(title), Utf8FromWide(text), rest...);
             }};
};

// Every control of both views stands where the layout puts it, at 96 dots per inch; each toggle gives
// the client area the view's size.
TEST_F(NativeWindow, ControlsLandAtTheirPixelsInBothViews) {
    ASSERT_EQ(ScreenDpi(), 96);
    for (const ui::TwipSize view : {ui::kDebugOuter, ui::kCompactOuter, ui::kDebugOuter}) {
        window.ToggleDebugView();
        RECT client;
        GetClientRect(window.Window(), &client);
        EXPECT_EQ(client.right, ui::Px(view.width - ui::kMainFrame.width));
        EXPECT_EQ(client.bottom, ui::Px(view.height - ui::kMainFrame.height));
    }
    for (const ui::ControlEntry& entry : ui::MainWindowControls()) {
        SCOPED_TRACE(entry.name);
        // An etched line stands a pixel above its place; an image button has its plate's size.
        RECT place;
        GetWindowRect(window.Control(entry.name), &place);
        MapWindowPoints(nullptr, window.Window(), reinterpret_cast<POINT*>(&place), 2);
        const bool line = entry.kind == ui::ControlKind::Line;
        const bool image = entry.kind == ui::ControlKind::ImageButton;
        EXPECT_EQ(place.left, ui::Px(entry.rect.left));
        EXPECT_EQ(place.top, ui::Px(entry.rect.top) - (line ? 1 : 0));
        if (!line) {
            EXPECT_EQ(place.right - place.left,
                      image ? ui::ImageButtonState::kWidth : ui::Px(entry.rect.width));
            EXPECT_EQ(place.bottom - place.top,
                      image ? ui::ImageButtonState::kHeight : ui::Px(entry.rect.height));
        }
    }
}

// What the engine sets is what the window shows, also for lists built after the request.
TEST_F(NativeWindow, StatesRoundTrip) {
    window.SetVisible(Control::ZorAnimations, false);
    window.SetVisible(Control::DebugLabel, false);
    window.SetEnabled(Control::PatchCommand, false);
    EXPECT_TRUE(window.IsChecked(Control::Backup_Animation));
    SendMessageW(window.Control("Backup_Animation"), BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_FALSE(window.IsChecked(Control::Backup_Animation));
    EXPECT_FALSE(window.IsChecked(Control::PatchCommand));
    window.ToggleDebugView();
    EXPECT_FALSE(IsWindowVisible(window.Control("ZorAnimations")));
    EXPECT_FALSE(IsWindowVisible(window.Control("DebugLabel")));
    HWND patch = window.Control("PatchCommand");
    EXPECT_FALSE(IsWindowEnabled(patch));
    EXPECT_EQ(FancyButton::Of(patch)->State().Look().captionColour, ui::ImageButtonState::kBlack);
    window.SetEnabled(Control::PatchCommand, true);
    EXPECT_TRUE(IsWindowEnabled(patch));
    EXPECT_EQ(FancyButton::Of(patch)->State().Look().captionColour, ui::ImageButtonState::kSilver);
}

TEST_F(NativeWindow, PatchClickPatchesTheFolderAndEndsTheRunOnce) {
    TempFolder::Write("EQUI_Animations.xml", CrLf({"<Schema/>", kItem, "  <Old/>", kEnd, "</XML>"}));
    TempFolder::Write("Zor_Anim.txt", CrLf({kItem, "  <New/>", kEnd}));
    ASSERT_EQ(window.Load(), Flow::Continue);
    HWND patch = window.Control("PatchCommand");
    Click(patch, 20, 10, 20, 60); // let go outside the button: no click
    int status = -1;
    EXPECT_FALSE(window.Ended(status));
    Click(patch);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"),
              CrLf({"<Schema/>", kItem, "  <New/>", kEnd, "</XML>"}));
    ASSERT_EQ(boxes.messages.size(), 1U);
    EXPECT_EQ(boxes.messages[0].title, "Notice");
    EXPECT_EQ(SendMessageW(window.Control("PatchProgress"), PBM_GETPOS, 0, 0), 100);
    EXPECT_TRUE(window.Ended(status));
    EXPECT_EQ(status, 0);
    SendMessageW(window.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.Run(), 0);
}

// The keyboard clicks a focused button; the About box opens with the keyboard on OK, Tab goes on down the
// credit lines, Return or Space on one asks before it opens its link, and Esc closes the box.
TEST_F(NativeWindow, AboutBoxByKeyboard) {
    SendMessageW(window.Control("FancyButton1"), WM_KEYDOWN, VK_SPACE, 0);
    HWND box = window.AboutWindow();
    ASSERT_NE(box, nullptr);
    wchar_t text[64];
    GetWindowTextW(box, text, 64);
    EXPECT_STREQ(text, L"About Patcher");
    GetDlgItemTextW(box, 201, text, 64);
    EXPECT_STREQ(text, L"Program By: Kestrin Dunmarrow    Ver 3.0");
    const auto key = [box](WPARAM code) {
        MSG message{GetFocus(), WM_KEYDOWN, code, 0, 0, {}};
        if (!IsDialogMessageW(box, &message)) {
            DispatchMessageW(&message);
        }
    };
    EXPECT_EQ(GetFocus(), GetDlgItem(box, 205)) << "OK";
    for (const int line : {202, 203, 204}) {
        key(VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(box, line)) << line;
    }
    boxes.answers = {Answer::No, Answer::Yes};
    key(VK_RETURN);
    key(VK_SPACE);
    ASSERT_EQ(boxes.messages.size(), 2U);
    EXPECT_EQ(boxes.messages[1].text, "Visit k.varn's website?");
    EXPECT_EQ(window.taken, std::vector<std::string>{"https://kvarn.example.org/"});
    key(VK_ESCAPE);
    EXPECT_EQ(window.AboutWindow(), nullptr);
}

// Assistive technology learns what each image button and credit line is, what it is called, and that
// a greyed-out button is.
TEST_F(NativeWindow, ButtonsAndLinksSayWhatTheyAre) {
    CoInitialize(nullptr);
    SendMessageW(window.Control("FancyButton1"), WM_KEYDOWN, VK_SPACE, 0);
    HWND box = window.AboutWindow();
    window.SetEnabled(Control::PatchCommand, false);
    const std::tuple<HWND, const wchar_t*, LONG> rows[] = {
        {window.Control("PatchCommand"), L"Patch!", ROLE_SYSTEM_PUSHBUTTON},
        {window.Control("FancyButton1"), L"About", ROLE_SYSTEM_PUSHBUTTON},
        {window.Control("Restore_Animation"), L"Restore", ROLE_SYSTEM_PUSHBUTTON},
        {GetDlgItem(box, 205), L"OK", ROLE_SYSTEM_PUSHBUTTON},
        {GetDlgItem(box, 202), L"https://zorby.example.org/", ROLE_SYSTEM_LINK},
        {GetDlgItem(box, 203), L"E-Mail: kestrin@example.org", ROLE_SYSTEM_LINK},
        {GetDlgItem(box, 204), L"Artwork by: k.varn", ROLE_SYSTEM_LINK},
    };
    for (const auto& [control, name, role] : rows) {
        SCOPED_TRACE(Utf8FromWide(name));
        IAccessible* accessible = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&accessible)),
                  S_OK);
        VARIANT self{}, given{};
        self.vt = VT_I4; // CHILDID_SELF is 0
        BSTR called = nullptr;
        EXPECT_EQ(accessible->get_accRole(self, &given), S_OK);
        EXPECT_EQ(given.lVal, role);
        EXPECT_EQ(accessible->get_accName(self, &called), S_OK);
        EXPECT_STREQ(called, name);
        VARIANT state{};
        EXPECT_EQ(accessible->get_accState(self, &state), S_OK);
        EXPECT_EQ((state.lVal & STATE_SYSTEM_UNAVAILABLE) != 0, control == window.Control("PatchCommand"));
        SysFreeString(called);
        accessible->Release();
    }
}

// Lines show through the system code page, and a list's column is as wide as its widest line.
TEST_F(NativeWindow, ListsShowLinesThroughTheCodePage) {
    window.ToggleDebugView();
    LineList& header = window.Lists().Header;
    header.Set(0, "\t<a>\xE9</a>");
    header.Set(1, std::string(80, 'x'));
    HWND list = window.Control("Header");
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
    wchar_t text[64] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"    <a>\u00E9</a>");
    const int wide = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    header.Set(1, "x");
    EXPECT_LT(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), wide / 2);
    EXPECT_GT(wide, 80 * 5);
}

// Our words in UTF-8 and a quoted line in the system's code page (1252 here) read side by side.
TEST_F(NativeWindow, MessagesReadUtf8BesideTheCodePage) {
    window.ShowMessage("Error",
                       "line 3 (\x93"
                       "caf\xE9\x94)\xE2\x80\xA6\rNothing",
                       MessageIcon::None, MessageButtons::Ok);
    ASSERT_EQ(boxes.messages.size(), 1U);
    EXPECT_EQ(boxes.messages[0].text, "line 3 (\u201Ccaf\u00E9\u201D)\u2026\r\nNothing");
}

// A greyed-out button says why in its tip, and the keyboard starts on the first usable control.
class StartState : public NativeWindow, public ::testing::WithParamInterface<testing::StartRow> {};
TEST_P(StartState, Row) {
    testing::WriteStartFiles(GetParam());
    ASSERT_EQ(window.Load(), Flow::Continue);
    window.Show(SW_SHOW);
    EXPECT_EQ(Utf8FromWide(window.ToolTip(Control::PatchCommand)), GetParam().patchTip);
    EXPECT_EQ(Utf8FromWide(window.ToolTip(Control::Restore_Animation)), GetParam().restoreTip);
    EXPECT_EQ(GetFocus(), window.Control(GetParam().focus));
}
INSTANTIATE_TEST_SUITE_P(NativeWindow, StartState, ::testing::ValuesIn(testing::kStartRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The real message boxes, ended every way a player can end them: only a button is an answer, and every
// box comes up within a second inside the work area, however long its text. Each row posts one message
// to the box, one of its buttons, the control with the focus or the main window.
enum class To { Box, Yes, No, Focus, Main };
struct BoxRow {
    const char* name;
    MessageButtons buttons;
    std::string text;
    To to;
    UINT message;
    WPARAM wParam;
    Answer answer;
};
const std::string kAsk = "Overwrite previous EQUI_Animation.xml backup?";
const BoxRow kBoxRows[] = {
    {"yes_clicked", MessageButtons::YesNo, kAsk, To::Yes, BM_CLICK, 0, Answer::Yes},
    {"no_clicked", MessageButtons::YesNoDefaultNo, kAsk, To::No, BM_CLICK, 0, Answer::No},
    {"key_y_is_yes", MessageButtons::YesNoDefaultNo, kAsk, To::Focus, WM_CHAR, 'y', Answer::Yes},
    {"escape_is_no", MessageButtons::YesNo, kAsk, To::Focus, WM_KEYDOWN, VK_ESCAPE, Answer::No},
    {"enter_is_the_default_no", MessageButtons::YesNoDefaultNo, kAsk, To::Focus, WM_KEYDOWN, VK_RETURN,
     Answer::No},
    {"box_closed", MessageButtons::YesNoDefaultNo, kAsk, To::Box, WM_CLOSE, 0, Answer::Closed},
    {"alt_f4", MessageButtons::YesNo, kAsk, To::Box, WM_SYSCOMMAND, SC_CLOSE, Answer::Closed},
    {"main_window_closed", MessageButtons::YesNo, kAsk, To::Main, WM_CLOSE, 0, Answer::Closed},
    {"log_off", MessageButtons::YesNo, kAsk, To::Main, WM_QUERYENDSESSION, 0, Answer::Closed},
    {"ok_box_closed", MessageButtons::Ok, "Done", To::Box, WM_CLOSE, 0, Answer::Ok},
    {"five_megabyte_line", MessageButtons::Ok, "line 3 (" + std::string(5'000'000, 'x') + ")", To::Box,
     WM_CLOSE, 0, Answer::Ok},
    {"ten_thousand_lines", MessageButtons::Ok, "1" + std::string(10'000, '\r') + "2", To::Box, WM_CLOSE, 0,
     Answer::Ok},
};

// What the timer saw of the box once it was up.
struct BoxVisit {
    const BoxRow* row;
    HWND main;
    DWORD asked; // GetTickCount when the question was asked
    DWORD upAfter = ~DWORD{0};
    bool inside = false;
    int shown = -1; // characters of the box's text
} visit{};

// The box of this thread, never another test's: ctest runs two of these beside each other on one desktop.
HWND OwnBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) -> BOOL {
            wchar_t name[8] = {};
            if (GetClassNameW(window, name, 8) > 0 && std::wstring_view(name) == L"#32770") {
                *reinterpret_cast<HWND*>(out) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK ActOnTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = OwnBox();
    if (box == nullptr || !IsWindowVisible(box)) {
        return;
    }
    KillTimer(nullptr, timer);
    visit.upAfter = GetTickCount() - visit.asked;
    RECT frame, work, both;
    GetWindowRect(box, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    visit.inside = IntersectRect(&both, &frame, &work) && EqualRect(&both, &frame);
    visit.shown = GetWindowTextLengthW(GetDlgItem(box, 0xFFFF)); // the box's static text
    const To to = visit.row->to;
    HWND target = to == To::Yes     ? GetDlgItem(box, IDYES)
                  : to == To::No    ? GetDlgItem(box, IDNO)
                  : to == To::Focus ? GetFocus()
                  : to == To::Main  ? visit.main
                                    : box;
    PostMessageW(target, visit.row->message, visit.row->wParam, 0);
}

class RealBox : public ::testing::TestWithParam<BoxRow> {};
TEST_P(RealBox, Row) {
    // An earlier run that ended left its quit message, which would end the box at once.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    AnimationPatcher window{"help.html"};
    visit = {&GetParam(), window.Window(), GetTickCount()};
    SetTimer(nullptr, 0, 10, &ActOnTheBox);
    EXPECT_EQ(window.ShowMessage("Confirm", GetParam().text, MessageIcon::Warning, GetParam().buttons),
              GetParam().answer);
    EXPECT_LT(visit.upAfter, 10000U) << "the box never came up";
    // Cut to what the box shows before it is built: a box of megabytes froze the window.
    EXPECT_TRUE(visit.shown > 0 && visit.shown < 4000) << visit.shown;
    EXPECT_TRUE(visit.inside);
}
INSTANTIATE_TEST_SUITE_P(NativeWindow, RealBox, ::testing::ValuesIn(kBoxRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorby::win32
