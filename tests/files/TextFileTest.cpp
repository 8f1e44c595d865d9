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

Lines SplitLines(std::string_view text) {
    Lines lines;
    LineSplitter split(text);
    for (std::string_view line; split.Next(line);) {
        lines.emplace_back(line);
    }
    return lines;
}

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
    // Line ends are looked for eight bytes at a time: every place in a word, beside bytes that are close.
    for (std::size_t length = 0; length < 20; ++length) {
        const std::string line = std::string(length, '\x8d') + std::string(length % 3, '\x0c');
        for (const char* end : {"\r\n", "\r", "\n"}) {
            EXPECT_EQ(SplitLines(line + end + line + "\x8a"), (Lines{line, line + "\x8a"})) << length;
        }
    }
}

TEST(ReadTextFile, ReadsByNameInAnyCase) {
    TempFolder folder;
    TempFolder::Write("Zor_Anim.txt", "one\r\ntwo\nthree");
    EXPECT_EQ(SplitLines(ReadTextFile("zor_anim.txt").text), (Lines{"one", "two", "three"}));
    EXPECT_EQ(ThrownNumber([] { ReadTextFile("zor_tex.txt"); }), 53);
    EXPECT_EQ(ThrownNumber([] { ReadTextFile("../nowhere/zor_tex.txt"); }), 76);
    EXPECT_EQ(ThrownNumber([] { ReadTextFile("../default"); }), 75);
}

// A file that changed by a single byte, anywhere, or by its length alone must not look the same.
TEST(HashOfBytes, TellsEveryOneByteChangeApart) {
    for (std::size_t size = 0; size < 70; ++size) {
        const std::string bytes(size, 'a');
        EXPECT_NE(HashOfBytes(bytes), HashOfBytes(bytes + '\0')) << size;
        for (std::size_t at = 0; at < size; ++at) {
            std::string changed = bytes;
            changed[at] = 'b';
            EXPECT_NE(HashOfBytes(bytes), HashOfBytes(changed)) << size << " " << at;
        }
    }
}

// The scan reads a file whole, the check before a patch a piece at a time: the same bytes must give the
// same fingerprint, and one changed byte another.
TEST(FingerprintOf, IsWhatReadingTheWholeFileGave) {
    TempFolder folder;
    std::string bytes;
    for (int line = 0; bytes.size() < 200000; ++line) {
        bytes += "\t<Line number=\"" + std::to_string(line) + "\"/>\r\n";
    }
    TempFolder::Write("EQUI_Animations.xml", bytes);
    const FileFingerprint read = ReadTextFile("EQUI_Animations.xml").fingerprint;
    EXPECT_EQ(FingerprintOf("equi_animations.xml"), read);
    bytes[150000] = 'X';
    TempFolder::Write("EQUI_Animations.xml", bytes);
    EXPECT_NE(FingerprintOf("EQUI_Animations.xml"), read);
    EXPECT_FALSE(FingerprintOf("Zor_Anim.txt").present);
}

TEST(WideEncodingOf, TellsUtf16AndUtf32FromBytesThatMerelyHoldNul) {
    using namespace std::string_literals;
    const std::pair<std::string, Unreadable> rows[] = {
        {"\xFF\xFE<\0"s, Unreadable::Utf16},
        {"\xFE\xFF\0<"s, Unreadable::Utf16},
        {"<\0X\0M\0L\0>\0"s, Unreadable::Utf16},
        {"\0<\0X\0M\0L"s, Unreadable::Utf16},
        {"\xFF\xFE\0\0<\0\0\0"s, Unreadable::Utf32},
        {"<\0\0\0X\0\0\0"s, Unreadable::Utf32},
        {"\xEF\xBB\xBF<XML>"s, Unreadable::No},
        {"\0\x01"s + "BIN\0\xff\xfe\r\n   \x7f\0<x>\r\0\0\n"s, Unreadable::No},
        {"<\0"s, Unreadable::No}, // too short to tell
    };
    for (const auto& [bytes, encoding] : rows) {
        EXPECT_EQ(WideEncodingOf(bytes), encoding) << ::testing::PrintToString(bytes);
    }
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
