#include "FileHelpers.h"

#include "ErrorReport.h"
#include "FakeWindow.h"
#include "TempFolder.h"
#include "ThrownNumber.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::FakeWindow;
using testing::ListFolder;
using testing::TempFolder;
using testing::ThrownNumber;

const std::string kBytes("<Ui>\r\n\0\xff\rlast", 14);

TEST(CheckForFile, IsTrueOnlyForAnExistingFile) {
    TempFolder folder;
    TempFolder::Write("Zor_Anim.txt", "x");
    EXPECT_TRUE(CheckForFile("ZOR_ANIM.TXT"));
    EXPECT_FALSE(CheckForFile("../default")); // a folder
    EXPECT_FALSE(CheckForFile("Zor_Tex.txt"));
    EXPECT_FALSE(CheckForFile("../nowhere/Zor_Tex.txt"));
}

TEST(CopyFile, ReplacesTheTargetUnderItsOwnSpellingWithExactBytes) {
    TempFolder folder;
    TempFolder::Write("EQUI_Animations.xml", kBytes);
    TempFolder::Write("EQUI_An.xml", "older backup");

    CopyFile("equi_animations.xml", "equi_an.XML");

    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), kBytes);
    EXPECT_EQ(ListFolder("."), (std::vector<std::string>{"EQUI_An.xml", "EQUI_Animations.xml"}));
}

TEST(CopyFile, RefusesBadSourcesAndTargets) {
    TempFolder folder;
    TempFolder::Write("EQUI_Animations.xml", kBytes);
    TempFolder::Write("EQUI_An.xml", "backup");
    TempFolder::MakeReadOnly("EQUI_An.xml");

    EXPECT_EQ(ThrownNumber([] { CopyFile("../nowhere/a.xml", "b.xml"); }), 76);
    EXPECT_EQ(ThrownNumber([] { CopyFile("missing.xml", "b.xml"); }), 53);
    EXPECT_EQ(ThrownNumber([] { CopyFile("../default", "b.xml"); }), 75);
    EXPECT_EQ(ThrownNumber([] { CopyFile("EQUI_Animations.xml", "../nowhere/b.xml"); }), 76);
    EXPECT_EQ(ThrownNumber([] { CopyFile("EQUI_Animations.xml", "../default"); }), 75);
    // Root may write anywhere, so the protection is honoured by the tool itself.
    EXPECT_EQ(ThrownNumber([] { CopyFile("EQUI_Animations.xml", "EQUI_An.xml"); }), 70);

    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), "backup");
    EXPECT_EQ(ListFolder("."), (std::vector<std::string>{"EQUI_An.xml", "EQUI_Animations.xml"}));
}

TEST(RemoveFile, DeletesOnlyUnprotectedFiles) {
    TempFolder folder;
    TempFolder::Write("Zorby.bat", "x");
    TempFolder::Write("Debug.txt", "x");
    TempFolder::MakeReadOnly("Debug.txt");

    EXPECT_EQ(ThrownNumber([] { CheckDeletable("zorby.bat"); }), 0);
    EXPECT_TRUE(TempFolder::Exists("Zorby.bat"));
    RemoveFile("ZORBY.BAT");
    EXPECT_FALSE(TempFolder::Exists("Zorby.bat"));

    EXPECT_EQ(ThrownNumber([] { RemoveFile("debug.txt"); }), 70);
    EXPECT_EQ(ThrownNumber([] { CheckDeletable("debug.txt"); }), 70);
    EXPECT_TRUE(TempFolder::Exists("Debug.txt"));

    EXPECT_EQ(ThrownNumber([] { RemoveFile("Zorby.bat"); }), 53);
    EXPECT_EQ(ThrownNumber([] { RemoveFile("../nowhere/Zorby.bat"); }), 76);
    EXPECT_EQ(ThrownNumber([] { RemoveFile("../default"); }), 53);
    EXPECT_TRUE(TempFolder::Exists("../default"));
}

TEST(MoveFileOver, ReplacesTheTargetInOneStep) {
    TempFolder folder;
    TempFolder::Write(".new", kBytes);
    TempFolder::Write("EQUI_Animations.xml", "old");

    MoveFileOver(".NEW", "equi_animations.xml");

    EXPECT_EQ(ListFolder("."), std::vector<std::string>{"EQUI_Animations.xml"});
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), kBytes);
}

TEST(MoveFileOver, ChangesNothingWhenRefused) {
    TempFolder folder;
    TempFolder::Write(".new", "new");
    TempFolder::Write("EQUI_Animations.xml", "old");
    TempFolder::MakeReadOnly("EQUI_Animations.xml");

    EXPECT_EQ(ThrownNumber([] { MoveFileOver(".new", "EQUI_Animations.xml"); }), 70);
    EXPECT_EQ(ThrownNumber([] { MoveFileOver(".new", "../default"); }), 75);
    EXPECT_EQ(ThrownNumber([] { MoveFileOver(".new", "../nowhere/x"); }), 76);
    EXPECT_EQ(ThrownNumber([] { MoveFileOver(".missing", "x"); }), 53);

    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "old");
    EXPECT_EQ(TempFolder::Read(".new"), "new");
    EXPECT_TRUE(std::filesystem::is_empty("../default"));
}

TEST(DeleteFile, ShowsTheProtectedFileNoticeWithTheNameAsPassed) {
    TempFolder folder;
    TempFolder::Write("Zorby.bat", "x");
    TempFolder::MakeReadOnly("Zorby.bat");
    FakeWindow window;

    EXPECT_EQ(DeleteFile(window, "zorby.BAT"), Flow::Failed);

    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].title, "Protected File");
    EXPECT_EQ(window.messages[0].text,
              "The file zorby.BAT is write protected - please delete or un-protect this file and try again");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(window.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(TempFolder::Exists("Zorby.bat"));
}

TEST(DeleteFile, ReportsOtherFailuresAsUnexpected) {
    TempFolder folder;
    TempFolder::Write("Zorby.bat", "x");
    FakeWindow window;
    window.answers = {Answer::No, Answer::Yes};

    EXPECT_EQ(DeleteFile(window, "Zorby.bat", Deletion::ByReplacement), Flow::Continue);
    EXPECT_TRUE(TempFolder::Exists("Zorby.bat"));
    EXPECT_EQ(DeleteFile(window, "Zorby.bat"), Flow::Continue);
    EXPECT_TRUE(window.messages.empty());

    EXPECT_EQ(DeleteFile(window, "Zorby.bat"), Flow::Failed); // gone now: 53, e-mail declined
    EXPECT_TRUE(window.links.empty());
    EXPECT_EQ(DeleteFile(window, "Zorby.bat"), Flow::Failed); // e-mail accepted

    ASSERT_EQ(window.messages.size(), 4u);
    EXPECT_EQ(window.messages[0].text, "Error Number: 53\rDescription: File not found\r");
    EXPECT_EQ(window.links, std::vector<std::string>{BuildMailLink(53, "File not found")});
}

} // namespace
} // namespace zorby
