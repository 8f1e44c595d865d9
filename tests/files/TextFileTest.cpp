#include "TextFile.h"

#include "TempFolder.h"
#include "ThrownNumber.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::CrLf;
using testing::TempFolder;
using testing::ThrownNumber;
using Lines = std::vector<std::string>;

TEST(SplitLines, EndsLinesAtCrLfCrAndLf) {
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\n\rb\r\r\nc"), (Lines{"a", "", "b", "", "c"}));
    EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(SplitLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitLines("no line end"), Lines{"no line end"});
    EXPECT_EQ(SplitLines(""), Lines{});
}

TEST(SplitLines, KeepsEveryOtherByte) {
    const std::string withNul("a\0b\t \xe9\r\n\0", 9);
    EXPECT_EQ(SplitLines(withNul), (Lines{std::string("a\0b\t \xe9", 6), std::string(1, '\0')}));
}

TEST(ReadTextLines, ReadsByNameInAnyCase) {
    TempFolder folder;
    TempFolder::Write("Zor_Anim.txt", "one\r\ntwo\nthree");
    EXPECT_EQ(ReadTextLines("zor_anim.txt"), (Lines{"one", "two", "three"}));
    EXPECT_EQ(ThrownNumber([] { ReadTextLines("zor_tex.txt"); }), 53);
    EXPECT_EQ(ThrownNumber([] { ReadTextLines("../nowhere/zor_tex.txt"); }), 76);
    EXPECT_EQ(ThrownNumber([] { ReadTextLines("../default"); }), 75);
}

TEST(TextFileWriter, TruncatesAndEndsEveryLineWithCrLf) {
    TempFolder folder;
    TempFolder::Write("Debug.txt", std::string(100000, 'x'));
    const std::string longLine(70000, 'y'); // more than one chunk

    TextFileWriter writer("DEBUG.TXT");
    writer.WriteLine("first");
    writer.WriteLine("");
    writer.WriteLine(longLine);
    writer.Close();

    EXPECT_EQ(TempFolder::Read("Debug.txt"), CrLf({"first", "", longLine}));
}

TEST(TextFileWriter, KeepsWhatWasWrittenWithoutClose) {
    TempFolder folder;
    {
        TextFileWriter writer("Debug.txt");
        writer.WriteLine("before the failure");
    }
    EXPECT_EQ(TempFolder::Read("Debug.txt"), CrLf({"before the failure"}));
}

TEST(TextFileWriter, RefusesProtectedFilesAndMissingFolders) {
    TempFolder folder;
    TempFolder::Write("Debug.txt", "kept");
    TempFolder::MakeReadOnly("Debug.txt");
    EXPECT_EQ(ThrownNumber([] { TextFileWriter writer("debug.txt"); }), 70);
    EXPECT_EQ(TempFolder::Read("Debug.txt"), "kept");
    EXPECT_EQ(ThrownNumber([] { TextFileWriter writer("../nowhere/Debug.txt"); }), 76);
}

} // namespace
} // namespace zorby
