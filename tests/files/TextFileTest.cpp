#include "TextFile.h"

#include "TempFolder.h"
#include "ThrownNumber.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using namespace std::string_literals;
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

TEST(LineSplitter, EndsLinesAtCrLfCrAndLfAndKeepsEveryOtherByte) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\rb\r\r\nc\r\n"), (Lines{"a", "", "b", "", "c"}));
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("a\0b\t \xe9\r\n\0"s), (Lines{"a\0b\t \xe9"s, "\0"s}));
    // Line ends are looked for eight bytes at a time: every place in a word, beside bytes that are close.
    for (std::size_t length = 0; length < 20; ++length) {
        const std::string line = std::string(length, '\x8d') + std::string(length % 3, '\x0c');
        for (const char* end : {"\r\n", "\r", "\n"}) {
            EXPECT_EQ(SplitLines(line + end + line + "\x8a"), (Lines{line, line + "\x8a"})) << length;
        }
    }
}

TEST(WideEncodingOf, TellsUtf16AndUtf32FromBytesThatMerelyHoldNul) {
    const std::pair<std::string, Unreadable> rows[] = {
        {"\xFF\xFE<\0"s, Unreadable::Utf16},
        {"\xFE\xFF\0<"s, Unreadable::Utf16},
        {"<\0X\0M\0L\0>\0"s, Unreadable::Utf16},
        {"\0<\0X\0M\0L"s, Unreadable::Utf16},
        {"<\0X\0\x41\x30M\0L\0>\0a\0b\0"s, Unreadable::Utf16}, // one unit in eight beyond Latin-1
        {"\xFF\xFE\0\0<\0\0\0"s, Unreadable::Utf32},
        {"<\0\0\0X\0\0\0"s, Unreadable::Utf32},
        {"\xEF\xBB\xBF<XML>"s, Unreadable::No},
        {"\0\x01\x42IN\0\xff\xfe\r\n   \x7f\0<x>\r\0\0\n"s, Unreadable::No},
        {"<\0"s, Unreadable::No}, // too short to tell
    };
    for (const auto& [bytes, encoding] : rows) {
        EXPECT_EQ(WideEncodingOf(bytes), encoding) << ::testing::PrintToString(bytes);
    }
}

// Three whole pieces of 32 bytes and a tail of 31: one changed byte anywhere gives another hash.
TEST(HashOfBytes, EveryByteCounts) {
    const std::string bytes(127, 'a');
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::string other = bytes;
        other[at] = 'b';
        EXPECT_NE(HashOfBytes(other), HashOfBytes(bytes)) << at;
    }
}

// The scan reads a file whole, the check before a patch a piece at a time: the same bytes must give the
// same fingerprint, and one changed byte, or one more, another.
TEST(ReadTextFile, ReadsByNameInAnyCaseAndTakesItsFingerprint) {
    TempFolder folder;
    std::string bytes = "\xEF\xBB\xBF";
    for (int line = 0; bytes.size() < 200000; ++line) {
        bytes.append("\t<Line number=\"").append(std::to_string(line)).append("\"/>\r\n");
    }
    TempFolder::Write("EQUI_Animations.xml", bytes);
    const TextFileContent content = ReadTextFile("equi_animations.XML");
    EXPECT_TRUE(content.utf8Mark);
    EXPECT_EQ(content.text, bytes.substr(3));
    EXPECT_TRUE(Unchanged("EQUI_Animations.xml", content.fingerprint)); // read again: the same fingerprint
    for (const std::size_t changed : {std::size_t{0}, std::size_t{150000}, bytes.size() - 1, bytes.size()}) {
        std::string other = bytes;
        other.insert(changed, 1, 'X');
        if (changed < bytes.size()) {
            other.erase(changed + 1, 1);
        }
        TempFolder::Write("EQUI_Animations.xml", other);
        EXPECT_FALSE(FingerprintOf("EQUI_Animations.xml").SameBytesAs(content.fingerprint)) << changed;
        EXPECT_FALSE(Unchanged("EQUI_Animations.xml", content.fingerprint)) << changed;
    }
    EXPECT_FALSE(FingerprintOf("Zor_Anim.txt").present);
    EXPECT_EQ(ThrownNumber([] { ReadTextFile("zor_tex.txt"); }), 53);
    EXPECT_EQ(ThrownNumber([] { ReadTextFile("../nowhere/zor_tex.txt"); }), 76);
    EXPECT_EQ(ThrownNumber([] { ReadTextFile("../default"); }), 75);
    if (!testing::kNoCaseTwins) { // a pipe would block a read: it is no file to read (POSIX only)
        testing::MakePipe("pipe");
        EXPECT_EQ(ThrownNumber([] { ReadTextFile("pipe"); }), 75);
    }
    TempFolder::Write("Zor_Anim.txt", "");
    testing::MakeSparse("Zor_Anim.txt", kLargestTextFile); // the largest file read
    FileFingerprint large = ReadTextFile("Zor_Anim.txt").fingerprint;
    EXPECT_TRUE(FingerprintOf("Zor_Anim.txt").SameBytesAs(large));
    // A file that had settled before it was read is only looked at: the same file, or another one.
    large.settled = true;
    EXPECT_TRUE(Unchanged("Zor_Anim.txt", large));
    std::filesystem::rename("EQUI_Animations.xml", "Zor_Anim.txt");
    EXPECT_FALSE(Unchanged("Zor_Anim.txt", large));
    if (!testing::kNoPermissionBits) { // a file the player may not read is said to be one
        std::filesystem::permissions("Zor_Anim.txt", std::filesystem::perms::none);
        testing::WithoutAdministratorRights player;
        EXPECT_EQ(ThrownNumber([] { ReadTextFile("Zor_Anim.txt"); }), PermissionDenied);
    }
}

// The trace is written in place: never through a link, never into a file that has other names.
TEST(TextFileWriter, EmptiesAndWritesOnlyAFileOfItsOwn) {
    TempFolder folder;
    TempFolder::Write("Debug.txt", std::string(1 << 18, '-')); // longer than the new trace
    const std::string wide(1 << 17, 'x'); // past the writer's buffer: written out at once
    TextFileWriter trace("debug.TXT");
    trace.WriteLine(wide);
    trace.WriteLine("new");
    trace.Close();
    EXPECT_EQ(TempFolder::Read("Debug.txt"), wide + "\r\nnew\r\n");
    TempFolder::Write("../outside.txt", "the player's");
    std::filesystem::remove("Debug.txt");
    std::filesystem::create_hard_link("../outside.txt", "Debug.txt");
    EXPECT_EQ(ThrownNumber([] { TextFileWriter linked("Debug.txt"); }), PermissionDenied);
    std::filesystem::remove("Debug.txt");
    try {
        testing::MakeSymbolicLink("../outside.txt", "Debug.txt");
        EXPECT_EQ(ThrownNumber([] { TextFileWriter linked("Debug.txt"); }), PermissionDenied);
    } catch (const testing::NotAvailableHere&) {
        // Wine makes no symbolic links; the hard link above stands for both.
    }
    EXPECT_EQ(TempFolder::Read("../outside.txt"), "the player's");
}

// A trace that could not be written is not written twice: what failed is dropped, and the first failure
// is told when the trace is closed.
TEST(TextFileWriter, DropsWhatFailedToBeWritten) {
    TempFolder folder;
    try {
        TextFileWriter trace("Debug.txt");
        testing::FileSizeLimit limit(100);
        trace.WriteLine(std::string(70000, 'x'));
        trace.WriteLine("more");
        EXPECT_EQ(ThrownNumber([&] { trace.Close(); }), DiskFull);
    } catch (const testing::NotAvailableHere& why) {
        GTEST_SKIP() << why.what();
    }
    EXPECT_EQ(std::filesystem::file_size("Debug.txt"), 100U);
}

} // namespace
} // namespace zorby
