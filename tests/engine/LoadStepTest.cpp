#include "LoadStep.h"

#include "FakeWindow.h"
#include "FileNotices.h"
#include "PatchOutput.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

// What the load step makes available; the rest of it (stale files, the trace, seeding, the wrong folder)
// is run end to end by the robustness table.
namespace zorby {
namespace {

using testing::TempFolder;

TEST(LoadStep, OffersWhatTheFolderHolds) {
    TempFolder folder;
    TempFolder::Write("EQUI_Animations.xml", "<Schema/>\r\n");
    const Control optional[] = {Control::DebugLabel, Control::DebugButton, Control::Backup_Animation,
                                Control::ZorTextures, Control::Tex_Label};
    for (const bool full : {false, true}) {
        if (full) {
            for (const char* name : {"zor_TEX.txt", "EQUI_An.xml", "Debug.txt"}) {
                TempFolder::Write(name, "");
            }
        }
        testing::FakeWindow window;
        Workspace ws;
        ASSERT_EQ(RunLoadStep(ws, window, "help.html"), Flow::Continue);
        for (const Control control : optional) {
            EXPECT_EQ(window.Visible(control), full) << static_cast<int>(control);
        }
        EXPECT_FALSE(window.Visible(Control::Anim_Label) || window.Visible(Control::ZorAnimations));
        EXPECT_EQ(window.Enabled(Control::PatchCommand), full);
        EXPECT_EQ(window.Enabled(Control::Restore_Animation), full);
    }
}

// A file another program holds is named as the player finds it: its leaf, never a replacement's hidden
// temporary file, and in a sentence of its own when no name is known.
TEST(FileNotices, NameTheHeldFile) {
    const std::pair<std::string, std::string> rows[] = {
        {"C:/UI/custom/EQUI_An.xml", "The file EQUI_An.xml is in use"},
        {"C:/UI/custom/.EQUI_Animations.xml.zorby-a1B2c3", "The file EQUI_Animations.xml is in use"},
        {"", "The file EQUI_Animations.xml is in use"},
    };
    for (const auto& [path, start] : rows) {
        testing::FakeWindow window;
        EXPECT_EQ(ReportFileInUse(window, Failure(FileInUse, path), "EQUI_Animations.xml"), Flow::Failed);
        EXPECT_TRUE(window.messages.at(0).text.starts_with(start)) << window.messages.at(0).text;
    }
    testing::FakeWindow window;
    (void)ReportFileInUse(window, Failure(FileInUse));
    EXPECT_TRUE(window.messages.at(0).text.starts_with("A file of this folder is in use"));
}

// A written file of exactly 64 MB is read again; one byte more is not. The byte-order mark counts.
TEST(NextStartCheck, TheFileMayTakeExactly64MB) {
    for (const bool mark : {false, true}) {
        Workspace ws;
        ws.MainFileMark = mark;
        const std::size_t line = (64U << 20U) - 2 - (mark ? 3 : 0); // and CR LF
        ws.Header.Set(0, std::string(line, 'x'));
        EXPECT_FALSE(FindNextStartRefusal(ws, {}, PatchOutputBytes(ws))) << mark;
        ws.Header.Set(0, std::string(line + 1, 'x'));
        EXPECT_TRUE(FindNextStartRefusal(ws, {}, PatchOutputBytes(ws))) << mark;
    }
}

} // namespace
} // namespace zorby
