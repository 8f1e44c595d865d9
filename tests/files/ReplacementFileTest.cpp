#include "ReplacementFile.h"

#include "FailingSink.h"
#include "Failure.h"
#include "FileHelpers.h"
#include "FileSink.h"
#include "TempFolder.h"
#include "ThrownNumber.h"

#include <algorithm>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zorby {
namespace {

using testing::TempFolder;
using testing::ThrownNumber;
using Names = std::vector<std::string>;

// The names in a folder, sorted: shows stray temporary files and entries doubled under another case.
Names ListFolder(const std::filesystem::path& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

// The new file takes the old one's place with its permissions and, run by an administrator on a player's
// folder, its owner; the backup is no easier to read than the file it copies.
TEST(ReplacementFile, CommitPutsTheWholeNewFileInPlaceAsTheOldOneWas) {
    TempFolder folder;
    TempFolder::Write("EQUI_Animations.xml", "old");
    std::filesystem::permissions("EQUI_Animations.xml", std::filesystem::perms(0600));
#ifndef _WIN32
    const bool administrator = ::chown("EQUI_Animations.xml", 4321, 4322) == 0;
#endif
    const std::string big(100000, 'z'); // larger than the sink's buffer
    {
        ReplacementFile file("equi_animations.xml");
        file.Write("<Ui>\r\n" + big);
        file.Write(big);
        EXPECT_EQ(ListFolder(".")[0].rfind(".EQUI_Animations.xml.zorby-", 0), 0U)
            << "written beside the target";
        EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "old");
        file.Commit();
        EXPECT_EQ(ThrownNumber([&] { file.Write("more"); }), InvalidArgument) << "a committed file is done";
    }
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "<Ui>\r\n" + big + big);
    EXPECT_EQ(ListFolder("."), Names{"EQUI_Animations.xml"});
#ifdef _WIN32
    GTEST_SKIP() << testing::kNoPermissionBits;
#else
    CopyFile("EQUI_Animations.xml", "EQUI_An.xml");
    for (const char* name : {"EQUI_An.xml", "EQUI_Animations.xml"}) {
        struct stat status {};
        ASSERT_EQ(::stat(name, &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0600U) << name;
        EXPECT_TRUE(!administrator || (status.st_uid == 4321U && status.st_gid == 4322U)) << name;
    }
    const unsigned previous = testing::SetFileCreationMask(027);
    {
        ReplacementFile fresh("Zor_Tex.txt");
        fresh.Commit();
    }
    testing::SetFileCreationMask(previous);
    EXPECT_EQ(static_cast<unsigned>(std::filesystem::status("Zor_Tex.txt").permissions()), 0640U)
        << "a new file gets the mode of a plain create";
#endif
}

TEST(ReplacementFile, RefusesWhatItMustNotReplaceAndReplacesADanglingLink) {
    TempFolder folder;
    TempFolder::Write("EQUI_Animations.xml", "old");
    // Protected while the new version is written: root on POSIX, and Wine, would rename over it anyway.
    ReplacementFile late("EQUI_Animations.xml");
    late.Write("new");
    testing::MakeReadOnly("EQUI_Animations.xml");
    EXPECT_EQ(ThrownNumber([&] { late.Commit(); }), PermissionDenied);
    EXPECT_EQ(ThrownNumber([&] { late.Write("more"); }), PermissionDenied) << "the first failure sticks";
    EXPECT_EQ(ThrownNumber([] { ReplacementFile file("EQUI_Animations.xml"); }), PermissionDenied);
    EXPECT_EQ(ThrownNumber([] { ReplacementFile file("../default"); }), PathFileAccessError);
    EXPECT_EQ(ThrownNumber([] { ReplacementFile file("../nowhere/EQUI_Animations.xml"); }), PathNotFound);
    const SinkWrapper dropsTheSink = [](std::unique_ptr<ByteSink>) { return std::unique_ptr<ByteSink>(); };
    EXPECT_EQ(ThrownNumber([&] { ReplacementFile file("EQUI_An.xml", dropsTheSink); }), InvalidArgument);
    // Memory running out mid-write fails the file like any failure, and the new version is gone at once.
    ReplacementFile starved("EQUI_An.xml", testing::FailingAt(0, true));
    EXPECT_THROW(starved.Write("new"), std::bad_alloc);
    EXPECT_EQ(ThrownNumber([&] { starved.Write("more"); }), DeviceIoError);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "old");
    EXPECT_EQ(ListFolder("."), Names{"EQUI_Animations.xml"});
    // A dangling link is replaced by the file itself, never followed.
    try {
        testing::MakeSymbolicLink("../none", "EQUI_An.xml");
    } catch (const testing::NotAvailableHere& why) {
        GTEST_SKIP() << why.what();
    }
    ReplacementFile replacing("EQUI_An.xml");
    replacing.Write("new");
    replacing.Commit();
    EXPECT_FALSE(std::filesystem::is_symlink("EQUI_An.xml"));
    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), "new");
    EXPECT_FALSE(std::filesystem::exists("../none"));
}

// Seeding: the copy never takes the place of an entry that appeared, or could not be seen, meanwhile.
TEST(ReplacementFile, CommitWhereNoneLeavesAnExistingEntry) {
    TempFolder folder;
    ReplacementFile seeded("EQUI_Animations.xml");
    seeded.Write("new");
    TempFolder::Write("EQUI_Animations.xml", "the player's");
    EXPECT_EQ(ThrownNumber([&] { seeded.CommitWhereNone(); }), FileAlreadyExists);
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"), "the player's");
    EXPECT_EQ(ListFolder("."), Names{"EQUI_Animations.xml"});
    ReplacementFile fresh("EQUI_An.xml");
    fresh.CommitWhereNone();
    EXPECT_EQ(ListFolder("."), (Names{"EQUI_An.xml", "EQUI_Animations.xml"}));
    ReplacementFile beside("../default/EQUI_An.xml"); // written in its own folder, not in this one
    beside.CommitWhereNone();
    EXPECT_EQ(ListFolder("../default"), Names{"EQUI_An.xml"});
}

// After a failed write the sink takes nothing more: what it wrote next would follow an unknown part.
TEST(FileSink, EveryCallAfterAFailedWriteFailsTheSameWay) {
    TempFolder folder;
    FileSink sink(platform::OpenTruncatedNotFollowingLinks("EQUI_An.xml"));
    try {
        testing::FileSizeLimit limit(10);
        EXPECT_EQ(ThrownNumber([&] { sink.Write(std::string(FileSink::kBufferSize + 1, 'x')); }), DiskFull);
    } catch (const testing::NotAvailableHere& why) {
        GTEST_SKIP() << why.what();
    }
    EXPECT_EQ(ThrownNumber([&] { sink.Write("x"); }), DiskFull);
    EXPECT_EQ(ThrownNumber([&] { sink.Finish(); }), DiskFull);
}

} // namespace
} // namespace zorby
