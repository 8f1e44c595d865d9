#include "FileHelpers.h"

#include "FolderSnapshot.h"
#include "TempFolder.h"
#include "ThrownNumber.h"

#include <functional>
#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::TempFolder;
using testing::ThrownNumber;

const std::string kBytes("<Ui>\r\n\0\xff\rlast", 14);

// Every refusal names the failure and changes nothing: not the target, not the source, no stray file.
TEST(FileHelpers, RefusalsChangeNothing) {
    TempFolder folder;
    TempFolder::Write("EQUI_Animations.xml", kBytes);
    TempFolder::Write("EQUI_An.xml", "backup");
    testing::MakeReadOnly("EQUI_An.xml");
    const std::pair<std::function<void()>, int> rows[] = {
        {[] { CopyFile("../nowhere/a.xml", "b.xml"); }, PathNotFound},
        {[] { CopyFile("missing.xml", "b.xml"); }, FileNotFound},
        {[] { CopyFile("../default", "b.xml"); }, PathFileAccessError},
        {[] { CopyFile("../DEFAULT/missing.xml", "b.xml"); }, FileNotFound}, // folders in any letter case
        {[] { CopyFile("EQUI_A*.xml", "b.xml"); }, FileNotFound},            // a name, never a pattern
        {[] { CopyFile("EQUI_Animations.xml", "../nowhere/b.xml"); }, PathNotFound},
        {[] { CopyFile("EQUI_Animations.xml", "../default"); }, PathFileAccessError},
        // Root may write anywhere, so the tool honours the protection itself. (A protected file refused
        // removal, or its check before a replacement, the robustness table shows end to end.)
        {[] { CopyFile("EQUI_Animations.xml", "equi_an.xml"); }, PermissionDenied},
        {[] { RemoveFile("missing.txt"); }, FileNotFound},
        {[] { RemoveFile("../nowhere/x"); }, PathNotFound},
        {[] { RemoveFile("../default"); }, FileNotFound},
        {[] { MoveFileOver(".missing", "x"); }, FileNotFound},
        {[] { MoveFileOver("EQUI_Animations.xml", "EQUI_An.xml"); }, PermissionDenied},
        {[] { MoveFileOver("EQUI_Animations.xml", "../default"); }, PathFileAccessError},
        {[] { MoveFileOver("EQUI_Animations.xml", "../nowhere/x"); }, PathNotFound},
        // The checks above come first; a rename that fails all the same is no success either.
        {[] { platform::ReplaceInOneStep("missing.xml", "b.xml"); }, FileNotFound},
    };
    const testing::Snapshot before = testing::TakeSnapshot(folder.Root());
    for (std::size_t row = 0; row < std::size(rows); ++row) {
        EXPECT_EQ(ThrownNumber(rows[row].first), rows[row].second) << "row " << row;
        EXPECT_EQ(testing::TakeSnapshot(folder.Root()), before) << "row " << row;
    }
}

} // namespace
} // namespace zorby
