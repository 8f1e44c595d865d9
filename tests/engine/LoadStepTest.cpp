#include "LoadStep.h"

#include "FakeWindow.h"
#include "ListLines.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::AssignLines;
using testing::Strings;

using testing::CrLf;
using testing::FakeWindow;
using testing::TempFolder;
using Lines = std::vector<std::string>;

const std::string kMain = CrLf({"<Schema/>", R"(<TextureInfo item="A">)", "</TextureInfo>"});
const std::string kHelp = "file:///usr/share/zorby/help.html";

class LoadStepTest : public ::testing::Test {
protected:
    Flow Load() { return RunLoadStep(ws, window, kHelp); }

    TempFolder folder;
    Workspace ws;
    FakeWindow window;
};

TEST_F(LoadStepTest, ScansAnExistingFileWithoutLookingAtTheParentFolder) {
    std::filesystem::remove(folder.Root() / "default");
    TempFolder::Write("EQUI_Animations.xml", kMain);
    ASSERT_EQ(Load(), Flow::Continue);
    EXPECT_EQ(Strings(ws.Textures), (Lines{"A"}));
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(LoadStepTest, SeedsTheFileFromTheDefaultFolder) {
    TempFolder::Write(folder.Root() / "default" / "eqUI_animations.XML", kMain);
    ASSERT_EQ(Load(), Flow::Continue);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), kMain);
    EXPECT_EQ(Strings(ws.Textures), (Lines{"A"}));
}

TEST_F(LoadStepTest, OutsideACustomUiFolderExplainsAndOffersTheHelpPage) {
    std::filesystem::remove(folder.Root() / "default");
    window.answers = {Answer::Yes};
    EXPECT_EQ(Load(), Flow::Failed);
    ASSERT_EQ(window.messages.size(), 2U);
    EXPECT_EQ(window.messages[0].title, "Error");
    EXPECT_EQ(window.messages[0].text,
              "You are attempting to run zorby.exe from a directory that is not your custom "
              "ui directory.\rPlease reinstall to your custom ui directory and try again");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(window.messages[1].title, "Confirm");
    EXPECT_EQ(window.messages[1].text, "Want to see an example of this error?");
    EXPECT_EQ(window.messages[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(window.links, (Lines{kHelp}));

    FakeWindow saysNo;
    saysNo.answers = {Answer::No};
    Workspace again;
    EXPECT_EQ(RunLoadStep(again, saysNo, kHelp), Flow::Failed);
    EXPECT_TRUE(saysNo.links.empty());
}

TEST_F(LoadStepTest, RemovesStaleFilesAndRewritesTheTraceInDebugMode) {
    TempFolder::Write("EQUI_Animations.xml", kMain);
    TempFolder::Write("zorby.BAT", "old");
    TempFolder::Write("Zor_Anim.com", "old");
    TempFolder::Write("Debug.txt", "old trace that must go\r\n");
    ASSERT_EQ(Load(), Flow::Continue);
    EXPECT_FALSE(TempFolder::Exists("zorby.BAT"));
    EXPECT_FALSE(TempFolder::Exists("Zor_Anim.com"));
    EXPECT_EQ(TempFolder::Read("Debug.txt"), kMain);
    EXPECT_TRUE(window.Visible(Control::DebugLabel));
    EXPECT_TRUE(window.Visible(Control::DebugButton));
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(LoadStepTest, AProtectedStaleFileEndsTheRunWithItsNotice) {
    TempFolder::Write("EQUI_Animations.xml", kMain);
    TempFolder::Write("Zorby.bat", "old");
    TempFolder::MakeReadOnly("Zorby.bat");
    EXPECT_EQ(Load(), Flow::Failed);
    ASSERT_EQ(window.messages.size(), 1U);
    EXPECT_EQ(window.messages[0].title, "Protected File");
    EXPECT_TRUE(TempFolder::Exists("Zorby.bat"));
}

TEST_F(LoadStepTest, DecidesWhichCommandsAreAvailable) {
    TempFolder::Write("EQUI_Animations.xml", kMain);
    ASSERT_EQ(Load(), Flow::Continue);
    EXPECT_FALSE(window.Visible(Control::DebugLabel));
    EXPECT_FALSE(window.Visible(Control::DebugButton));
    EXPECT_FALSE(window.Enabled(Control::PatchCommand));
    EXPECT_FALSE(window.Visible(Control::Backup_Animation));
    EXPECT_FALSE(window.Enabled(Control::Restore_Animation));

    TempFolder::Write("ZOR_TEX.TXT", CrLf({R"(<TextureInfo item="B">)", "</TextureInfo>"}));
    TempFolder::Write("EQUI_An.xml", kMain);
    FakeWindow withAddOn;
    Workspace again;
    ASSERT_EQ(RunLoadStep(again, withAddOn, kHelp), Flow::Continue);
    EXPECT_TRUE(withAddOn.Enabled(Control::PatchCommand));
    EXPECT_TRUE(withAddOn.Visible(Control::Backup_Animation));
    EXPECT_TRUE(withAddOn.Enabled(Control::Restore_Animation));
    EXPECT_FALSE(withAddOn.Visible(Control::ZorAnimations));
    EXPECT_FALSE(withAddOn.Visible(Control::Anim_Label));
    EXPECT_TRUE(withAddOn.Visible(Control::ZorTextures));
}

} // namespace
} // namespace zorby
