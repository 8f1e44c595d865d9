#include "OutputWriter.h"

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

const std::string kBefore = CrLf({"<old/>"});
const std::string kOldBackup = CrLf({"<older/>"});

class OutputWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        TempFolder::Write("EQUI_Animations.xml", kBefore);
        ws.Header.Assign({"<Schema/>"});
        ws.AllTextures.Assign({"<T1/>"});
        ws.AllZorTextures.Assign({"<T2/>"});
        ws.AllAnimations.Assign({"<A1/>"});
        ws.AllZorAnimations.Assign({"<A2/>"});
        ws.MiscItems.Assign({"</XML>"});
    }
    const std::string kAfter = CrLf({"<Schema/>", "<T1/>", "<T2/>", "<A1/>", "<A2/>", "</XML>"});

    TempFolder folder;
    Workspace ws;
    FakeWindow window;
};

TEST_F(OutputWriterTest, WritesTheSixListsInOrderWithCrLf) {
    window.backupChecked = false;
    ASSERT_EQ(WriteAnimationFile(ws, window), Flow::Continue);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), kAfter);
    EXPECT_FALSE(TempFolder::Exists("EQUI_An.xml"));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"disable Restore_Animation"}));
}

TEST_F(OutputWriterTest, EmptyListsGiveAnEmptyFile) {
    Workspace empty;
    window.backupChecked = false;
    ASSERT_EQ(WriteAnimationFile(empty, window), Flow::Continue);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "");
}

TEST_F(OutputWriterTest, MakesTheFirstBackupWithoutAsking) {
    ASSERT_EQ(WriteAnimationFile(ws, window), Flow::Continue);
    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), kBefore);
    EXPECT_TRUE(window.Enabled(Control::Restore_Animation));
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(OutputWriterTest, AsksBeforeReplacingAnOlderBackup) {
    TempFolder::Write("EQUI_An.xml", kOldBackup);
    window.answers = {Answer::No};
    ASSERT_EQ(WriteAnimationFile(ws, window), Flow::Continue);
    ASSERT_EQ(window.messages.size(), 1U);
    EXPECT_EQ(window.messages[0].title, "Confirm");
    EXPECT_EQ(window.messages[0].text, "Overwrite previous EQUI_Animation.xml backup?");
    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), kOldBackup);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), kAfter);

    TempFolder::Write("EQUI_Animations.xml", kBefore);
    window.answers = {Answer::Yes};
    ASSERT_EQ(WriteAnimationFile(ws, window), Flow::Continue);
    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), kBefore);
}

TEST_F(OutputWriterTest, AMainFileThatVanishedGetsTheUnexpectedErrorReport) {
    std::filesystem::remove("EQUI_Animations.xml");
    window.backupChecked = false;
    window.answers = {Answer::No};
    EXPECT_EQ(WriteAnimationFile(ws, window), Flow::Failed);
    EXPECT_EQ(window.messages.front().title, "Unexpected Error");
    EXPECT_FALSE(TempFolder::Exists("EQUI_Animations.xml"));
}

} // namespace
} // namespace zorby
