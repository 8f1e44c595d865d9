#include "FailingSink.h"
#include "Failure.h"
#include "PatchRun.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::CrLf;
using testing::FailingSink;
using testing::FakeWindow;
using testing::LoadAndPatch;
using testing::LoadAndRestore;
using testing::TempFolder;

const std::string kMain =
    CrLf({R"(<?xml version="1.0" encoding="us-ascii"?>)", R"(<XML ID="EQInterfaceDefinitionLanguage">)",
          R"(<Schema xmlns="EverQuestData" xmlns:dt="EverQuestDataTypes"/>)", "", "<!-- Textures -->",
          R"(<TextureInfo item="A">)", "    <Size>1</Size>", "</TextureInfo>", R"(<TextureInfo item="B">)",
          "\t<Size>2</Size>", "</TextureInfo>", "<Loose/>", R"(<Ui2DAnimation item="P">)",
          "        <Cycle>true</Cycle>", "</Ui2DAnimation>", R"(<Ui2DAnimation item="Q">)",
          "  <Cycle>false</Cycle>", "</Ui2DAnimation>", "</XML>"});
const std::string kZorTex =
    CrLf({R"(<TextureInfo item="B">)", "  <Size>22</Size>", "  <File>b.tga</File>", "  <Hot>0</Hot>",
          "</TextureInfo>", R"(<TextureInfo item="C">)", "  <Size>3</Size>", "</TextureInfo>"});
const std::string kZorAnim =
    CrLf({R"(<Ui2DAnimation item="R">)", "   <Cycle>true</Cycle>", "</Ui2DAnimation>",
          R"(   <Ui2DAnimation item="P">)", "   </Ui2DAnimation>"});

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        TempFolder::Write("EQUI_Animations.xml", kMain);
        TempFolder::Write("Zor_Tex.txt", kZorTex);
        TempFolder::Write("Zor_Anim.txt", kZorAnim);
    }
    void ExpectNothingChanged() {
        EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), kMain);
        EXPECT_EQ(TempFolder::Read("Zor_Tex.txt"), kZorTex);
        EXPECT_EQ(TempFolder::Read("Zor_Anim.txt"), kZorAnim);
        EXPECT_FALSE(TempFolder::Exists("EQUI_An.xml"));
        for (const auto& entry : std::filesystem::directory_iterator(".")) {
            EXPECT_TRUE(entry.path().filename().string().find("zorby") == std::string::npos) << entry.path();
        }
    }

    TempFolder folder;
    FakeWindow window;
};

TEST_F(CommandsTest, PatchesAWholeFolder) {
    ASSERT_EQ(LoadAndPatch(window), Flow::Done);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"),
              CrLf({R"(<?xml version="1.0" encoding="us-ascii"?>)",
                    R"(<XML ID="EQInterfaceDefinitionLanguage">)",
                    R"(<Schema xmlns="EverQuestData" xmlns:dt="EverQuestDataTypes"/>)",
                    "<!-- Textures -->",
                    R"(<TextureInfo item="A">)",
                    "\t\t\t\t<Size>1</Size>",
                    "</TextureInfo>",
                    R"(<TextureInfo item="B">)",
                    "  <Size>22</Size>",
                    "  <File>b.tga</File>",
                    "  <Hot>0</Hot>",
                    "</TextureInfo>",
                    R"(<TextureInfo item="C">)",
                    "  <Size>3</Size>",
                    "</TextureInfo>",
                    R"(   <Ui2DAnimation item="P">)",
                    "   </Ui2DAnimation>",
                    R"(<Ui2DAnimation item="Q">)",
                    "\t\t<Cycle>false</Cycle>",
                    "</Ui2DAnimation>",
                    R"(<Ui2DAnimation item="R">)",
                    "   <Cycle>true</Cycle>",
                    "</Ui2DAnimation>",
                    "<Loose/>",
                    "</XML>"}));
    EXPECT_EQ(window.progress, (std::vector<float>{25, 50, 75, 100, 100, 100}));
    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), kMain);
    EXPECT_FALSE(TempFolder::Exists("Zor_Tex.txt"));
    EXPECT_FALSE(TempFolder::Exists("Zor_Anim.txt"));
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(window.messages.back().title, "Notice");
    EXPECT_EQ(window.messages.back().text,
              "Patch Completed - if you have problems, re-run this program and select 'Restore'");

    // The pointer is busy during the merges only, and the backup question comes with the normal one.
    const auto& calls = window.calls;
    const auto busyOn = std::find(calls.begin(), calls.end(), "busy on");
    const auto busyOff = std::find(calls.begin(), calls.end(), "busy off");
    const auto lastProgress = std::find(calls.rbegin(), calls.rend(), "progress 100");
    ASSERT_NE(busyOn, calls.end());
    EXPECT_LT(busyOn, busyOff);
    EXPECT_LT(lastProgress.base() - 1, busyOff);
}

TEST_F(CommandsTest, KeepsTheAddOnFilesWhenDebugTxtExistsAtTheClick) {
    Workspace ws;
    ASSERT_EQ(RunLoadStep(ws, window, "help.html"), Flow::Continue);
    TempFolder::Write("debug.TXT", "");
    ASSERT_EQ(RunCommand(window, [&] { return PatchCommand(ws, window); }), Flow::Done);
    EXPECT_TRUE(TempFolder::Exists("Zor_Tex.txt"));
    EXPECT_TRUE(TempFolder::Exists("Zor_Anim.txt"));
}

TEST_F(CommandsTest, PatchesWithOnlyTheTextureFile) {
    std::filesystem::remove("Zor_Anim.txt");
    ASSERT_EQ(LoadAndPatch(window), Flow::Done);
    EXPECT_FALSE(TempFolder::Exists("Zor_Tex.txt"));
    EXPECT_EQ(window.messages.size(), 1U);
}

TEST_F(CommandsTest, AcceptsCommentsAheadOfAnItemAndOneStrayLastLine) {
    TempFolder::Write("Zor_Tex.txt", CrLf({"<!-- C, new -->", R"(<TextureInfo item="C">)", "</TextureInfo>",
                                           "<!-- end -->"}));
    ASSERT_EQ(LoadAndPatch(window), Flow::Done);
    EXPECT_NE(TempFolder::Read("EQUI_Animations.xml").find("<!-- C, new -->\r\n<TextureInfo item=\"C\">"),
              std::string::npos);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml").find("<!-- end -->"), std::string::npos);
}

TEST_F(CommandsTest, RefusesAMainFileWithAnElementLeftOpen) {
    const std::string open = kMain.substr(0, kMain.find("</Ui2DAnimation>\r\n</XML>"));
    TempFolder::Write("EQUI_Animations.xml", open);
    TempFolder::Write("EQUI_An.xml", kMain);
    EXPECT_EQ(LoadAndPatch(window), Flow::Failed);
    ASSERT_EQ(window.messages.size(), 1U);
    EXPECT_EQ(window.messages[0].text,
              "EQUI_Animations.xml cannot be patched: the element \"Q\" that opens on line 16 "
              "is never closed.\rNothing was changed. Please correct the file and run Zorby "
              "again.");
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), open);
    EXPECT_TRUE(window.Enabled(Control::Restore_Animation));

    // A comment left open would take every later line out of the rewritten file.
    const std::string openComment = std::string(kMain).insert(kMain.find("<Loose/>"), "<!-- note\r\n");
    TempFolder::Write("EQUI_Animations.xml", openComment);
    FakeWindow refused;
    EXPECT_EQ(LoadAndPatch(refused), Flow::Failed);
    EXPECT_EQ(refused.messages.at(0).text,
              "EQUI_Animations.xml cannot be patched: the comment that opens on line 12 "
              "is never closed.\rNothing was changed. Please correct the file and run "
              "Zorby again.");
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), openComment);
}

TEST_F(CommandsTest, UsesOneAndTheSameAddOnFileWhateverItsSpelling) {
    // Only a case-sensitive file system can hold both; the file that is read must be the one deleted.
    if (testing::kNoCaseTwins) {
        GTEST_SKIP() << testing::kNoCaseTwins;
    }
    TempFolder::Write("zor_anim.txt", CrLf({R"(<Ui2DAnimation item="S">)", "</Ui2DAnimation>"}));
    ASSERT_EQ(LoadAndPatch(window), Flow::Done);
    const bool mergedUpper = TempFolder::Read("EQUI_Animations.xml").find("item=\"R\"") != std::string::npos;
    EXPECT_TRUE(mergedUpper) << "Zor_Anim.txt sorts first and is the one used";
    EXPECT_FALSE(TempFolder::Exists("Zor_Anim.txt"));
    EXPECT_EQ(TempFolder::Read("zor_anim.txt"), CrLf({R"(<Ui2DAnimation item="S">)", "</Ui2DAnimation>"}));
}

TEST_F(CommandsTest, AFailureInTheMergeEndsTheRunWithNothingWritten) {
    // A one-character line above the replaced element has no title to compare.
    std::string main = kMain;
    main.replace(main.find("    <Size>1</Size>"), 18, "x");
    TempFolder::Write("EQUI_Animations.xml", main);
    EXPECT_EQ(LoadAndPatch(window), Flow::Failed);
    ASSERT_EQ(window.messages.size(), 1U);
    EXPECT_EQ(window.messages[0].title, "Zorby");
    EXPECT_EQ(window.messages[0].text,
              "Error 5: Invalid procedure call or argument\rNothing was changed. Zorby will close now.");
    EXPECT_FALSE(window.busy);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), main);
    EXPECT_TRUE(TempFolder::Exists("Zor_Anim.txt"));
}

TEST_F(CommandsTest, AWriteFailureAtAnyLineLosesNothing) {
    std::string main = CrLf({"<?xml version=\"1.0\"?>", "<XML>", "<Schema/>"});
    std::string zorAnim;
    for (int e = 0; e < 150; ++e) {
        const std::string title = "Anim" + std::to_string(e);
        main += CrLf({"  <Ui2DAnimation item=\"" + title + "\">", "    <Cycle>true</Cycle>", "    <Frames>",
                      "      <Texture>t.tga</Texture>", "    </Frames>", "  </Ui2DAnimation>"});
        if (e % 10 == 0) {
            zorAnim += CrLf(
                {"<Ui2DAnimation item=\"" + title + "\">", "  <Cycle>false</Cycle>", "</Ui2DAnimation>"});
        }
    }
    main += CrLf({"</XML>"});
    zorAnim += CrLf({"<Ui2DAnimation item=\"Brand new\">", "</Ui2DAnimation>"});
    TempFolder::Write("EQUI_Animations.xml", main);
    TempFolder::Write("Zor_Anim.txt", zorAnim);
    std::filesystem::remove("Zor_Tex.txt");

    const int outputLines = 3 + 150 * 6 - 15 * 3 + 2 + 1;
    for (int failAt = 0; failAt <= outputLines; ++failAt) {
        FakeWindow failing;
        ASSERT_EQ(LoadAndPatch(failing, FailingSink::FailingAt(failAt)), Flow::Failed) << failAt;
        ASSERT_EQ(failing.messages.back().text, "Error 61has occurred in patch module");
        ASSERT_EQ(TempFolder::Read("EQUI_Animations.xml"), main) << failAt;
        ASSERT_EQ(TempFolder::Read("Zor_Anim.txt"), zorAnim) << failAt;
        for (const auto& entry : std::filesystem::directory_iterator(".")) {
            const auto name = entry.path().filename().string();
            ASSERT_TRUE(name == "EQUI_Animations.xml" || name == "Zor_Anim.txt" || name == "EQUI_An.xml")
                << name;
        }
        std::filesystem::remove("EQUI_An.xml");
    }
}

TEST_F(CommandsTest, RestorePutsTheBackupBackInOneStep) {
    TempFolder::Write("EQUI_An.xml", "backup\r\n");
    ASSERT_EQ(LoadAndRestore(window), Flow::Done);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "backup\r\n");
    EXPECT_FALSE(TempFolder::Exists("EQUI_An.xml"));
    EXPECT_EQ(window.messages.back().text, "EQUI_Animation.xml restored");
    EXPECT_FALSE(window.Enabled(Control::Restore_Animation));

    FakeWindow withoutMain;
    std::filesystem::remove("EQUI_Animations.xml");
    TempFolder::Write("EQUI_An.xml", "backup\r\n");
    EXPECT_EQ(RunCommand(withoutMain, [&] { return RestoreCommand(withoutMain); }), Flow::Done);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "backup\r\n");
}

TEST_F(CommandsTest, RestoreNeverLosesTheMainFile) {
    TempFolder::Write("EQUI_An.xml", "backup\r\n");
    TempFolder::MakeReadOnly("EQUI_Animations.xml");
    EXPECT_EQ(LoadAndRestore(window), Flow::Failed);
    EXPECT_EQ(window.messages.back().text,
              "Error 70: Permission denied\rNothing was changed. Zorby will close now.");
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), kMain);
    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), "backup\r\n");

    FakeWindow noBackup;
    std::filesystem::remove("EQUI_An.xml");
    EXPECT_EQ(RunCommand(noBackup, [&] { return RestoreCommand(noBackup); }), Flow::Failed);
    EXPECT_EQ(noBackup.messages.back().text,
              "Error 53: File not found\rNothing was changed. Zorby will close now.");
}

} // namespace
} // namespace zorby
