#include "PathResolver.h"

#include "TempFolder.h"
#include "TestPlatform.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::TempFolder;
using State = ResolvedPath::State;

TEST(ResolvePath, MatchesLetterCaseAndBothSeparators) {
    TempFolder folder;
    TempFolder::Write("Zor_Anim.txt", "x");
    TempFolder::Write("../default/EQUI_Animations.xml", "x");

    const ResolvedPath addOn = ResolvePath("zor_anim.txt");
    EXPECT_EQ(addOn.state, State::Exists);
    EXPECT_EQ(addOn.path, "Zor_Anim.txt");

    const ResolvedPath fromDefault = ResolvePath("..\\DEFAULT\\equi_animations.XML");
    EXPECT_EQ(fromDefault.state, State::Exists);
    EXPECT_EQ(fromDefault.path, "../default/EQUI_Animations.xml");

    const ResolvedPath absolute = ResolvePath((folder.Root() / "CUSTOM" / "ZOR_ANIM.TXT").string());
    EXPECT_EQ(absolute.state, State::Exists);
    EXPECT_EQ(absolute.path, (folder.Custom() / "Zor_Anim.txt").generic_string());
}

TEST(ResolvePath, TellsMissingFileFromMissingFolder) {
    TempFolder folder;
    TempFolder::Write("Zor_Anim.txt", "x");

    const ResolvedPath newFile = ResolvePath("../Default/New File.xml");
    EXPECT_EQ(newFile.state, State::MissingLeaf);
    EXPECT_EQ(newFile.path, "../default/New File.xml"); // the folder as on disk, the new name as given

    EXPECT_EQ(ResolvePath("..\\nowhere\\EQUI_Animations.xml").state, State::MissingFolder);
    // A file on the way is no folder.
    EXPECT_EQ(ResolvePath("zor_anim.txt/inside").state, State::MissingFolder);
}

TEST(ResolvePath, EverySpellingReachesTheSameOfSeveralTwins) {
    // Only a case-sensitive file system can hold these; the tool must still read, test and delete one
    // and the same file whatever spelling it uses.
    if (testing::kNoCaseTwins) {
        GTEST_SKIP() << testing::kNoCaseTwins;
    }
    TempFolder folder;
    for (const char* name : {"abc", "Abc", "ABC"}) {
        TempFolder::Write(name, name);
    }
    for (const char* spelling : {"Abc", "abc", "aBc", "ABC"}) {
        EXPECT_EQ(ResolvePath(spelling).path, "ABC") << spelling; // the first in byte order
    }
}

} // namespace
} // namespace zorby
