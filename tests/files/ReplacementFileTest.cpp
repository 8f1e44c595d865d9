#include "ReplacementFile.h"

#include "Failure.h"
#include "TempFolder.h"
#include "TestPlatform.h"
#include "ThrownNumber.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::CrLf;
using testing::ListFolder;
using testing::TempFolder;
using testing::ThrownNumber;
using Names = std::vector<std::string>;

constexpr int kFailInFinish = -1;

// Records every write that reaches the real sink and fails with "Disk full" at a chosen one or at Finish.
class FaultySink : public ByteSink {
public:
    FaultySink(std::unique_ptr<ByteSink> inner, int failingWrite, Names* writes)
        : inner_(std::move(inner)), failingWrite_(failingWrite), writes_(writes) {}

    void Write(std::string_view bytes) override {
        writes_->emplace_back(bytes);
        if (static_cast<int>(writes_->size()) == failingWrite_) {
            throw Failure(DiskFull);
        }
        inner_->Write(bytes);
    }
    void WriteLines(const std::vector<std::string_view>& lines) override {
        for (const std::string_view line : lines) {
            Write(std::string(line) + "\r\n");
        }
    }
    void Finish() override {
        if (failingWrite_ == kFailInFinish) {
            throw Failure(DiskFull);
        }
        inner_->Finish();
    }

private:
    std::unique_ptr<ByteSink> inner_;
    int failingWrite_;
    Names* writes_;
};

SinkWrapper Faulty(Names* writes, int failingWrite = 0) {
    return [=](std::unique_ptr<ByteSink> real) {
        return std::make_unique<FaultySink>(std::move(real), failingWrite, writes);
    };
}

unsigned ModeOf(const char* name) {
    return static_cast<unsigned>(std::filesystem::status(name).permissions());
}

TEST(ReplacementFile, CommitPutsTheWholeNewFileInPlaceWithTheOldPermissions) {
    TempFolder folder;
    TempFolder::Write("EQUI_Animations.xml", "old");
    std::filesystem::permissions("EQUI_Animations.xml", std::filesystem::perms(0640));
    const std::string big(100000, 'z'); // larger than the sink's buffer
    Names writes;

    ReplacementFile file("equi_animations.xml", Faulty(&writes));
    file.WriteLines({"<Ui>"});
    file.Write(big);
    file.WriteLines({""});
    file.Commit();

    EXPECT_EQ(writes, (Names{"<Ui>\r\n", big, "\r\n"})); // one write per line, line end included
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "<Ui>\r\n" + big + "\r\n");
    if (!testing::kNoPermissionBits) {
        EXPECT_EQ(ModeOf("EQUI_Animations.xml"), 0640u);
    }
    EXPECT_EQ(ListFolder("."), Names{"EQUI_Animations.xml"});
}

TEST(ReplacementFile, NewFileGetsTheModeOfAPlainCreate) {
    if (testing::kNoPermissionBits) {
        GTEST_SKIP() << testing::kNoPermissionBits;
    }
    TempFolder folder;
    const unsigned previous = testing::SetFileCreationMask(027);
    {
        ReplacementFile file("EQUI_An.xml");
        file.WriteLines({"backup"});
        file.Commit();
    }
    testing::SetFileCreationMask(previous);
    EXPECT_EQ(ModeOf("EQUI_An.xml"), 0640u);
    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), CrLf({"backup"}));
}

TEST(ReplacementFile, WithoutCommitTheOldFileStays) {
    TempFolder folder;
    TempFolder::Write("EQUI_Animations.xml", "old");
    {
        ReplacementFile file("EQUI_Animations.xml");
        file.WriteLines({"new"});
        const Names during = ListFolder(".");
        ASSERT_EQ(during.size(), 2u);
        EXPECT_EQ(during[0].rfind(".EQUI_Animations.xml.zorby-", 0), 0u);
    }
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "old");
    EXPECT_EQ(ListFolder("."), Names{"EQUI_Animations.xml"});
}

TEST(ReplacementFile, FailureLeavesTheOldFileAndNoTemporaryFile) {
    for (const int failingWrite : {1, 3, kFailInFinish}) {
        SCOPED_TRACE(failingWrite);
        TempFolder folder;
        TempFolder::Write("EQUI_Animations.xml", "old");
        Names writes;
        ReplacementFile file("EQUI_Animations.xml", Faulty(&writes, failingWrite));

        int thrown = 0;
        for (int line = 1; line <= 5 && thrown == 0; ++line) {
            thrown = ThrownNumber([&] { file.WriteLines({"line " + std::to_string(line)}); });
        }
        if (failingWrite != kFailInFinish) {
            EXPECT_EQ(thrown, 61);
            EXPECT_EQ(ListFolder("."), Names{"EQUI_Animations.xml"});
        }
        // A file with a line missing must never be put in place.
        EXPECT_EQ(ThrownNumber([&] { file.Commit(); }), 61);
        EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "old");
        EXPECT_EQ(ListFolder("."), Names{"EQUI_Animations.xml"});
    }
}

TEST(ReplacementFile, RefusesProtectedTargetsFoldersAndMissingFolders) {
    TempFolder folder;
    TempFolder::Write("EQUI_Animations.xml", "old");
    // Protected while the new version is written: root on POSIX, and Wine, would rename over it anyway.
    ReplacementFile late("EQUI_Animations.xml");
    late.WriteLines({"new"});
    TempFolder::MakeReadOnly("EQUI_Animations.xml");
    EXPECT_EQ(ThrownNumber([&] { late.Commit(); }), 70);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "old");

    EXPECT_EQ(ThrownNumber([] { ReplacementFile file("EQUI_Animations.xml"); }), 70);
    EXPECT_EQ(ThrownNumber([] { ReplacementFile file("../default"); }), 75);
    EXPECT_EQ(ThrownNumber([] { ReplacementFile file("../nowhere/EQUI_Animations.xml"); }), 76);
    EXPECT_EQ(ListFolder("."), Names{"EQUI_Animations.xml"});
}

} // namespace
} // namespace zorby
