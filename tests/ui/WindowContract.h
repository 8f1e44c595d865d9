#pragma once

#include "FakeWindow.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

// What a player meets in either window, run against the Qt one and the native one alike. A suite's driver
// works its toolkit: Show, Click(control, letGoInside), Press(key) on the control with the keyboard,
// Focused, Tip, AboutShown, Describe (what assistive technology learns) and Ask (a real box, and what it
// showed); it holds a folder of its own, `boxes` answering the window's questions, `window` and `links`.
namespace zorby::testing {

enum class Key { Tab, Return, Space, Escape };

// A start in each kind of folder: the tip of each greyed-out button, and the control that gets the
// keyboard (the first the start neither hid nor greyed out).
struct StartRow {
    const char* name;
    const char* files; // words: main, broken-main (too long a line to be read), add-on, backup
    const char* patchTip;
    const char* restoreTip;
    const char* focus;
};
inline const char* const kNoAddOns = "No add-on files (Zor_Anim.txt, Zor_Tex.txt) in this folder";
inline const char* const kNoBackup = "No backup (EQUI_An.xml) in this folder";
inline const StartRow kStartRows[] = {
    {"nothing_to_patch_or_restore", "main", kNoAddOns, kNoBackup, "FancyButton1"},
    {"add_ons_without_a_backup", "main add-on", "", kNoBackup, "Backup_Animation"},
    {"only_a_backup", "main backup", kNoAddOns, "", "FancyButton1"},
    {"unreadable_main_file_with_a_backup", "broken-main add-on backup",
     "Nothing to patch: the files here could not be read (the message at start said why)", "",
     "FancyButton1"},
};
inline void WriteStartFiles(const StartRow& row) {
    const std::string main = "<Schema/>\r\n<XML/>\r\n";
    std::istringstream words(row.files);
    for (std::string word; words >> word;) {
        if (word == "add-on") {
            TempFolder::Write("Zor_Anim.txt", "<Ui2DAnimation item=\"A\">\r\n</Ui2DAnimation>\r\n");
        } else {
            TempFolder::Write(word == "backup" ? "EQUI_An.xml" : "EQUI_Animations.xml",
                              word == "broken-main" ? main + std::string(40000, ' ') + "<a/>\r\n" : main);
        }
    }
}

// The buttons, the About box's first line and its credit lines (in keyboard order), started in a folder with
// nothing to patch or restore: what assistive technology learns of each (name, role, greyed out) and what a
// credit line asks before it opens its link.
struct ControlRow {
    const char* control;
    const char* name;
    const char* role;
    bool greyed;
    const char* question = nullptr;
    const char* link = nullptr;
};
inline const ControlRow kControlRows[] = {
    {"PatchCommand", "Patch!", "button", true},
    {"FancyButton1", "About", "button", false},
    {"Restore_Animation", "Restore", "button", true},
    {"cmdOK", "OK", "button", false},
    {"Label1", "Program By: Kestrin Dunmarrow    Ver 3.0", "other", false},
    {"Label2", "https://zorby.example.org/", "link", false, "Visit https://zorby.example.org/?",
     "https://zorby.example.org/"},
    {"Label3", "E-Mail: kestrin@example.org", "link", false, "E-Mail Kestrin?",
     "mailto:kestrin@example.org;zorby-errors@example.org?subject=Zorby EXE Related"},
    {"Label4", "Artwork by: k.varn", "link", false, "Visit k.varn's website?", "https://kvarn.example.org/"},
};

// The real message boxes, ended every way a player can end them: only a button is an answer, and every
// box comes up at once inside the screen's free area, however long its text.
enum class Act { ClickYes, ClickNo, Escape, Enter, CloseBox, AltF4, CloseMainWindow, EndSession };
struct BoxRow {
    const char* name;
    MessageButtons buttons;
    std::string text;
    Act act;
    Answer answer;
};
struct BoxSeen {
    Answer answer;
    unsigned upAfterMs;
    bool inside;
    int shown; // characters of the box's text
};
inline const std::string kAsk = "Overwrite previous EQUI_Animation.xml backup?";
inline const BoxRow kBoxRows[] = {
    {"yes_clicked", MessageButtons::YesNo, kAsk, Act::ClickYes, Answer::Yes},
    {"no_clicked", MessageButtons::YesNoDefaultNo, kAsk, Act::ClickNo, Answer::No},
    {"escape_is_no", MessageButtons::YesNo, kAsk, Act::Escape, Answer::No},
    {"enter_is_the_default_no", MessageButtons::YesNoDefaultNo, kAsk, Act::Enter, Answer::No},
    {"box_closed", MessageButtons::YesNoDefaultNo, kAsk, Act::CloseBox, Answer::Closed},
    {"alt_f4", MessageButtons::YesNo, kAsk, Act::AltF4, Answer::Closed},
    {"main_window_closed", MessageButtons::YesNo, kAsk, Act::CloseMainWindow, Answer::Closed},
    {"session_ends", MessageButtons::YesNo, kAsk, Act::EndSession, Answer::Closed},
    {"five_megabyte_line", MessageButtons::Ok, "line 3 (" + std::string(5'000'000, 'x') + ")", Act::CloseBox,
     Answer::Ok},
    {"ten_thousand_lines", MessageButtons::Ok, "1" + std::string(10'000, '\r') + "2", Act::CloseBox,
     Answer::Ok},
};

template <class Driver> class WindowContract : public ::testing::Test {
protected:
    Driver d;
};
TYPED_TEST_SUITE_P(WindowContract);

// A press let go outside a button is no click; the keyboard clicks the focused one. The About box opens
// with the keyboard on OK, and Tab goes on down the credit lines and back to OK. A credit line, pressed
// with Return or Space or clicked, asks first and opens its link only on Yes. Esc closes the box.
TYPED_TEST_P(WindowContract, ButtonsAndAboutBoxByMouseKeyboardAndAssistiveTechnology) {
    auto& d = this->d;
    WriteStartFiles(kStartRows[0]);
    ASSERT_EQ(d.window.Load(), Flow::Continue);
    d.Show();
    d.Click("FancyButton1", false);
    EXPECT_FALSE(d.AboutShown());
    d.Press(Key::Space);
    ASSERT_TRUE(d.AboutShown());
    EXPECT_EQ(d.Focused(), "cmdOK");
    for (const ControlRow& row : kControlRows) {
        SCOPED_TRACE(row.control);
        EXPECT_EQ(d.Describe(row.control),
                  std::tuple(std::string(row.name), std::string(row.role), row.greyed));
        if (row.question != nullptr) {
            d.Press(Key::Tab);
            EXPECT_EQ(d.Focused(), row.control);
            d.boxes.messages.clear();
            d.links.clear();
            d.boxes.answers = {Answer::No, Answer::Closed, Answer::Yes};
            d.Press(Key::Return);
            d.Click(row.control);
            d.Press(Key::Space);
            ASSERT_EQ(d.boxes.messages.size(), 3U);
            for (const auto& message : d.boxes.messages) {
                EXPECT_EQ(message.text, row.question);
            }
            EXPECT_EQ(d.links, std::vector<std::string>{row.link});
        }
    }
    d.Press(Key::Tab);
    EXPECT_EQ(d.Focused(), "cmdOK");
    d.Press(Key::Escape);
    EXPECT_FALSE(d.AboutShown());
}

// A greyed-out button says why in its tip, and the keyboard starts on the first usable control.
TYPED_TEST_P(WindowContract, StartRows) {
    for (const StartRow& row : kStartRows) {
        SCOPED_TRACE(row.name);
        TypeParam d;
        WriteStartFiles(row);
        ASSERT_EQ(d.window.Load(), Flow::Continue);
        d.Show();
        EXPECT_EQ(d.Tip(Control::PatchCommand), row.patchTip);
        EXPECT_EQ(d.Tip(Control::Restore_Animation), row.restoreTip);
        EXPECT_EQ(d.Focused(), row.focus);
    }
}

TYPED_TEST_P(WindowContract, RealBoxes) {
    for (const BoxRow& row : kBoxRows) {
        SCOPED_TRACE(row.name);
        const BoxSeen seen = TypeParam::Ask(row);
        EXPECT_EQ(seen.answer, row.answer);
        EXPECT_LT(seen.upAfterMs, 10000U) << "the box never came up";
        // Cut to what the box shows before it is built: a box of megabytes froze the window.
        EXPECT_TRUE(seen.shown > 0 && seen.shown < 4000) << seen.shown;
        EXPECT_TRUE(seen.inside);
    }
}

REGISTER_TYPED_TEST_SUITE_P(WindowContract, ButtonsAndAboutBoxByMouseKeyboardAndAssistiveTechnology,
                            StartRows, RealBoxes);

} // namespace zorby::testing
