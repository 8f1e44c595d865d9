// Windows: a file that another program holds open is waited for, then reported as in use (55) and named,
// never as protected, and nothing changes; a read-only file stays a protected one (70).
#include "Failure.h"
#include "FileHelpers.h"
#include "FolderSnapshot.h"
#include "ReplacementFile.h"
#include "TempFolder.h"

#include <chrono>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

namespace zorby {
namespace {

using testing::TempFolder;

using Sharing = testing::HeldOpen::Sharing;

struct Row {
    const char* name;
    const char* held; // held open as another program would; nullptr: no hold
    Sharing sharing;
    const char* readOnly; // made read-only first; nullptr: none
    void (*step)();
    int whileHeld;    // the failure while the hold lasts; 55 names the held file
    int afterRelease; // the failure when the hold ends half a second into the step; 0: none
};

void RestoreBackup() {
    MoveFileOver("EQUI_An.xml", "EQUI_Animations.xml");
}

void CommitOntoMainFile() {
    ReplacementFile file("EQUI_Animations.xml");
    file.Write("new");
    file.Commit();
}

constexpr const char* kMain = "EQUI_Animations.xml";

const Row kRows[] = {
    {"Removal", "Zor_Anim.txt", Sharing::Reading, nullptr, [] { RemoveFile("Zor_Anim.txt"); }, FileInUse, 0},
    {"CheckBeforeReplacing", kMain, Sharing::Reading, nullptr, [] { CheckDeletable(kMain); }, FileInUse, 0},
    {"RenameOntoHeldFile", kMain, Sharing::Reading, nullptr, RestoreBackup, FileInUse, 0},
    {"RenameOfHeldFile", "EQUI_An.xml", Sharing::Reading, nullptr, RestoreBackup, FileInUse, 0},
    {"CommitOntoHeldFile", kMain, Sharing::Reading, nullptr, CommitOntoMainFile, FileInUse, 0},
    // A virus scanner shares everything, yet an open file cannot be replaced.
    {"CommitOntoFileAScannerHolds", kMain, Sharing::Everything, nullptr, CommitOntoMainFile, FileInUse, 0},
    // Reading is not tried again, but a file held without read sharing is no protected file either.
    {"CopyOfFileHeldExclusively", kMain, Sharing::Nothing, nullptr, [] { CopyFile(kMain, "EQUI_An.xml"); },
     FileInUse, FileInUse},
    // The protection is the cause to report: the player must lift it whether or not the file is held.
    {"ReadOnlyAndHeld", kMain, Sharing::Reading, kMain, RestoreBackup, PermissionDenied, PermissionDenied},
    // Deleting a read-only file is refused as a replace onto a held one is: the file tells them apart.
    {"ReadOnlyRemovedByThePlatform", nullptr, Sharing::Reading, "Zor_Tex.txt",
     [] { platform::Remove("Zor_Tex.txt"); }, PermissionDenied, PermissionDenied},
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

struct Outcome {
    int number = 0;
    std::string file; // the leaf of Failure::File(), as a notice names it
};

Outcome OutcomeOf(void (*step)()) {
    try {
        step();
    } catch (const Failure& failure) {
        return {failure.Number(), failure.File().substr(failure.File().find_last_of("/\\") + 1)};
    }
    return {};
}

class HeldFile : public ::testing::TestWithParam<Row> {};

TEST_P(HeldFile, IsWaitedForThenReportedAsInUse) {
    const Row& row = GetParam();
    TempFolder folder;
    for (const char* name : {"EQUI_Animations.xml", "EQUI_An.xml", "Zor_Anim.txt", "Zor_Tex.txt"}) {
        TempFolder::Write(name, std::string("old ") + name);
    }
    if (row.readOnly) {
        testing::MakeReadOnly(row.readOnly);
    }
    const testing::Snapshot before = testing::TakeSnapshot(folder.Root());
    std::optional<testing::HeldOpen> hold;
    const auto holdFile = [&] {
        if (row.held) {
            hold.emplace(row.held, row.sharing);
        }
    };
    holdFile();
    const Outcome held = OutcomeOf(row.step);
    EXPECT_EQ(held.number, row.whileHeld);
    if (row.whileHeld == FileInUse) {
        EXPECT_EQ(held.file, row.held);
    }
    hold.reset(); // a file held exclusively cannot be read for the comparison
    EXPECT_EQ(testing::TakeSnapshot(folder.Root()), before);

    holdFile();
    std::jthread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        hold.reset();
    });
    EXPECT_EQ(OutcomeOf(row.step).number, row.afterRelease);
}

INSTANTIATE_TEST_SUITE_P(Windows, HeldFile, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorby
