// Bad inputs and faults, one row each, run the way a player meets them: start the tool in a custom UI
// folder and press "Patch!". Every row checks the messages shown, the result of the run and that every
// file of the custom folder and of ../default/ is byte for byte what it was, apart from the changes the
// row names.

#include "Commands.h"
#include "FailingSink.h"
#include "FakeWindow.h"
#include "InventoryScan.h"
#include "LoadStep.h"
#include "TempFolder.h"
#include "TestPlatform.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace zorby {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::FakeWindow;
using testing::TempFolder;
using Lines = std::vector<std::string>;

// ---- The folder every row starts from ----

const std::string kMainPath = "custom/EQUI_Animations.xml";
const std::string kBackupPath = "custom/EQUI_An.xml";
const std::string kZorTexPath = "custom/Zor_Tex.txt";
const std::string kZorAnimPath = "custom/Zor_Anim.txt";

const Lines kHead{R"(<?xml version="1.0" encoding="us-ascii"?>)",
                  R"(<XML ID="EQInterfaceDefinitionLanguage">)",
                  R"(<Schema xmlns="EverQuestData" xmlns:dt="EverQuestDataTypes"/>)"};
const Lines kTextureA{R"(<TextureInfo item="A">)", "<Size>1</Size>", "</TextureInfo>"};
const Lines kTextureB{R"(<TextureInfo item="B">)", "<Size>2</Size>", "</TextureInfo>"};
const Lines kAnimationP{R"(<Ui2DAnimation item="P">)", "<Cycle>true</Cycle>", "</Ui2DAnimation>"};
const Lines kEnd{"</XML>"};
// B replaces the texture of that title; C and R are new.
const Lines kZorTexB{R"(<TextureInfo item="B">)", "<Size>22</Size>", "</TextureInfo>"};
const Lines kZorTexC{R"(<TextureInfo item="C">)", "<Size>3</Size>", "</TextureInfo>"};
const Lines kZorAnimR{R"(<Ui2DAnimation item="R">)", "<Cycle>false</Cycle>", "</Ui2DAnimation>"};

template <typename T> std::vector<T> Concat(std::initializer_list<std::vector<T>> parts) {
    std::vector<T> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Every line followed by `lineEnd`.
std::string Join(const Lines& lines, const std::string& lineEnd = "\r\n") {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += lineEnd;
    }
    return bytes;
}

const Lines kMainLines = Concat({kHead, kTextureA, kTextureB, kAnimationP, kEnd});
const Lines kZorTexLines = Concat({kZorTexB, kZorTexC});
const std::string kMain = Join(kMainLines);
const std::string kZorTex = Join(kZorTexLines);
const std::string kZorAnim = Join(kZorAnimR);
const std::string kDefault = Join({"<Schema/>", "<!-- the game's own file -->"});
const std::string kOldBackup = Join({"<!-- an older backup -->"});
// The standard folder after a successful patch.
const std::string kPatched =
    Join(Concat({kHead, kTextureA, kZorTexB, kZorTexC, kAnimationP, kZorAnimR, kEnd}));
// What a main file without any element becomes: the add-on items only, all of them new.
const std::string kOnlyAddOnItems = Join(Concat({kZorTexLines, kZorAnimR}));

// ---- What the user sees ----

using Shown = std::pair<std::string, std::string>; // title, text
using ShownList = std::vector<Shown>;

const Shown kPatchCompleted{
    "Notice", "Patch Completed - if you have problems, re-run this program and select 'Restore'"};
const Shown kOverwriteBackup{"Confirm", "Overwrite previous EQUI_Animation.xml backup?"};
const Shown kDiskFullInPatch{"Error", "Error 61has occurred in patch module"};

ShownList UnexpectedError(const std::string& number, const std::string& description) {
    return {{"Unexpected Error", "Error Number: " + number + "\rDescription: " + description + "\r"},
            {"Confirm", "Attempt to E-Mail this error to Kestrin?"}};
}
Shown Refused(const std::string& reason) {
    return {"Error", reason + "\rNothing was changed. Please correct the file and run Zorby again."};
}
Shown Stopped(const std::string& numberAndDescription) {
    return {"Zorby", "Error " + numberAndDescription + "\rNothing was changed. Zorby will close now."};
}
Shown Protected(const std::string& name) {
    return {"Protected File",
            "The file " + name + " is write protected - please delete or un-protect this file and try again"};
}

// ---- What happens to the files ----

// A file the row expects to change: its new content, or nothing when it is gone. Paths are below the
// temporary root, so that ../default/ is covered as well.
struct Change {
    std::string path;
    std::optional<std::string> content;
};
using Changes = std::vector<Change>;

// A finished patch: the new main file, the backup of the old one, and the add-on files used up.
Changes Patched(const std::string& output, const std::string& oldMain) {
    return {{kMainPath, output},
            {kBackupPath, oldMain},
            {kZorTexPath, std::nullopt},
            {kZorAnimPath, std::nullopt}};
}

// What stands at one path. Files too large to hold are compared by size; pipes are never opened.
struct Entry {
    enum class Kind { File, Folder, Link, Other } kind = Kind::File;
    std::string bytes; // a file's content, or a link's target
    bool readOnly = false;
    bool operator==(const Entry&) const = default;
};
using Snapshot = std::map<std::string, Entry>;

constexpr std::uintmax_t kLargestCompared = 16 * 1024 * 1024;

Entry EntryAt(const fs::path& path) {
    const fs::file_status status = fs::symlink_status(path);
    Entry entry;
    entry.readOnly = (status.permissions() & fs::perms::owner_write) == fs::perms::none;
    if (fs::is_symlink(status)) {
        return {Entry::Kind::Link, fs::read_symlink(path).string(), false};
    }
    if (fs::is_directory(status)) {
        entry.kind = Entry::Kind::Folder;
    } else if (!fs::is_regular_file(status)) {
        entry.kind = Entry::Kind::Other;
    } else if (fs::file_size(path) > kLargestCompared) {
        entry.bytes = "(" + std::to_string(fs::file_size(path)) + " bytes)";
    } else {
        entry.bytes = TempFolder::Read(path);
    }
    return entry;
}

Snapshot TakeSnapshot(const fs::path& root) {
    Snapshot snapshot;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        snapshot[item.path().lexically_relative(root).generic_string()] = EntryAt(item.path());
    }
    return snapshot;
}

Snapshot Apply(Snapshot snapshot, const Changes& changes) {
    for (const auto& change : changes) {
        if (change.content) {
            // Whatever the tool writes, it writes as a file that can be written again.
            snapshot[change.path] = Entry{Entry::Kind::File, *change.content, false};
        } else {
            snapshot.erase(change.path);
        }
    }
    return snapshot;
}

// Readable differences, without printing megabytes of content.
std::vector<std::string> Differences(const Snapshot& expected, const Snapshot& actual) {
    std::vector<std::string> found;
    for (const auto& [path, want] : expected) {
        const auto got = actual.find(path);
        if (got == actual.end()) {
            found.push_back(path + " is missing");
            continue;
        }
        const Entry& have = got->second;
        if (have.kind != want.kind) {
            found.push_back(path + " changed its kind");
        } else if (have.bytes != want.bytes) {
            std::size_t at = 0;
            while (at < have.bytes.size() && at < want.bytes.size() && have.bytes[at] == want.bytes[at]) {
                ++at;
            }
            found.push_back(path + " has " + std::to_string(have.bytes.size()) + " bytes, expected " +
                            std::to_string(want.bytes.size()) + "; first difference at byte " +
                            std::to_string(at));
        }
        if (have.readOnly != want.readOnly) {
            found.push_back(path + (have.readOnly ? " became read-only" : " is no longer read-only"));
        }
    }
    for (const auto& [path, entry] : actual) {
        if (!expected.contains(path)) {
            found.push_back(path + " appeared");
        }
    }
    return found;
}

// ---- The table ----

enum class Command { Patch, Restore };

struct Row {
    std::string name{};
    // Contents that replace those of the standard folder.
    std::optional<std::string> main{};
    std::optional<std::string> zorTex{};
    std::optional<std::string> zorAnim{};
    std::function<void()> arrange{};    // any other change to the folder; runs in the custom folder
    std::function<void()> afterStart{}; // a change made while the window is open, before the click
    Command command = Command::Patch;
    std::deque<Answer> answers{};                 // for the Yes/No boxes, in order
    std::optional<std::uint64_t> fileSizeLimit{}; // see testing::FileSizeLimit
    SinkWrapper output{};                         // around the writing of the new main file
    Flow flow = Flow::Done;
    ShownList shown{};
    Changes changes{};
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

const char* FlowName(Flow flow) {
    switch (flow) {
    case Flow::Continue:
        return "Continue";
    case Flow::Done:
        return "Done";
    case Flow::Failed:
        return "Failed";
    }
    return "?";
}

// The head followed by `count` loose lines, one list of the main file.
std::string MainWithLooseLines(int count) {
    std::string main = Join(kHead);
    for (int n = 0; n < count; ++n) {
        main += "<Loose/>\r\n";
    }
    return main;
}

// CR LF, CR and LF in turn, and no line end after the last line.
std::string MixedLineEnds(const Lines& lines) {
    static const char* const kEnds[] = {"\r\n", "\r", "\n"};
    std::string bytes;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        bytes += lines[n];
        if (n + 1 < lines.size()) {
            bytes += kEnds[n % 3];
        }
    }
    return bytes;
}

std::vector<Row> BadMainFiles() {
    const std::string blank = " \t \r\n\t\r\n        \r\n";
    const std::string binary = "\x00\x01"s + "BIN\x00\xff\xfe\r\n"s + "   \x7f\x00<x>\r"s + "\x00\x00\n"s;
    const std::string binaryOutput =
        Join({"\x00\x01"s + "BIN\x00\xff\xfe"s, "\t\t\t\x7f\x00<x>"s, "\x00\x00"s});
    // A 1 MB line inside A, above the replaced B, so that the merge has to look past it.
    const std::string longLine = "<Note>" + std::string(1 << 20, 'x') + "</Note>";
    const Lines textureAWithLongLine{kTextureA[0], longLine, kTextureA[1], kTextureA[2]};
    const std::string withLongLine =
        Join(Concat({kHead, textureAWithLongLine, kTextureB, kAnimationP, kEnd}));
    Lines deepIndent = kMainLines;
    deepIndent[1] = std::string(32768, ' ') + deepIndent[1];

    return {
        {.name = "EmptyMainFile",
         .main = "",
         .shown = {kPatchCompleted},
         .changes = Patched(kOnlyAddOnItems, "")},
        {.name = "MainFileOfBlankLines",
         .main = blank,
         .shown = {kPatchCompleted},
         .changes = Patched(kOnlyAddOnItems, blank)},
        // Rewritten, an open comment would take every later line with it; a nested element would leave a
        // stray opening line behind.
        {.name = "MainFileCommentLeftOpen",
         .main = Join(Concat({kHead, kTextureA, {"<!-- note"}, kTextureB, kAnimationP, kEnd})),
         .flow = Flow::Failed,
         .shown = {Refused("EQUI_Animations.xml cannot be patched: the comment that opens on line 7 is never "
                           "closed.")}},
        {.name = "MainFileElementOpenedInsideAnother",
         .main = Join(Concat({kHead, {kTextureA[0], kTextureA[1]}, kTextureB, kAnimationP, kEnd})),
         .flow = Flow::Failed,
         .shown = {Refused(
             "EQUI_Animations.xml cannot be patched: the element \"B\" on line 6 opens inside the "
             "element \"A\" from line 4, which is not closed before it.")}},
        // Bytes are never transcoded: NUL and high bytes pass through; line ends and leading spaces are
        // rewritten as in any file.
        {.name = "BinaryMainFileWithNulBytes",
         .main = binary,
         .shown = {kPatchCompleted},
         .changes = Patched(binaryOutput + kOnlyAddOnItems, binary)},
        {.name = "OneMegabyteLine",
         .main = withLongLine,
         .shown = {kPatchCompleted},
         .changes = Patched(
             Join(Concat({kHead, textureAWithLongLine, kZorTexB, kZorTexC, kAnimationP, kZorAnimR, kEnd})),
             withLongLine)},
        {.name = "MoreThan32767LeadingSpaces",
         .main = Join(deepIndent),
         .answers = {Answer::No},
         .flow = Flow::Failed,
         .shown = UnexpectedError("6", "Overflow")},
    };
}

std::vector<Row> ListLimits() {
    const std::string fullList = MainWithLooseLines(32767) + "</XML>\r\n"; // 32,768 loose lines
    const std::string fullListOutput =
        Join(Concat({kHead, kZorTexLines, kZorAnimR})) + fullList.substr(Join(kHead).size());
    Lines longAddOn{kZorTexC[0]};
    longAddOn.insert(longAddOn.end(), 32767, "<Size/>");
    longAddOn.push_back("</TextureInfo>");
    // B is replaced by an item four lines longer, which would take the texture list to 32,770 lines.
    std::string nearlyFull = Join({"<Schema/>", kTextureB[0], "</TextureInfo>", R"(<TextureInfo item="D">)"});
    for (int n = 0; n < 32762; ++n) {
        nearlyFull += "<Line/>\r\n";
    }
    nearlyFull += "</TextureInfo>\r\n";
    const std::string growingB =
        Join({kZorTexC[0], "</TextureInfo>", kZorTexB[0], "<a/>", "<b/>", "<c/>", "<d/>", "</TextureInfo>"});

    return {
        {.name = "ListOf32768LinesPatches",
         .main = fullList,
         .shown = {kPatchCompleted},
         .changes = Patched(fullListOutput, fullList)},
        {.name = "MainListPast32768Lines",
         .main = MainWithLooseLines(32769),
         .answers = {Answer::No},
         .flow = Flow::Failed,
         .shown = UnexpectedError("6", "Overflow")},
        {.name = "AddOnFilePast32768Lines",
         .zorTex = Join(longAddOn),
         .answers = {Answer::No},
         .flow = Flow::Failed,
         .shown = UnexpectedError("6", "Overflow")},
        {.name = "MergeGrowingAListPast32768Lines",
         .main = nearlyFull,
         .zorTex = growingB,
         .flow = Flow::Failed,
         .shown = {Stopped("6: Overflow")}},
    };
}

std::vector<Row> LineEnds() {
    return {
        {.name = "CrOnlyLineEnds",
         .main = Join(kMainLines, "\r"),
         .zorTex = Join(kZorTexLines, "\r"),
         .zorAnim = Join(kZorAnimR, "\r"),
         .shown = {kPatchCompleted},
         .changes = Patched(kPatched, Join(kMainLines, "\r"))},
        {.name = "LfOnlyLineEnds",
         .main = Join(kMainLines, "\n"),
         .zorTex = Join(kZorTexLines, "\n"),
         .zorAnim = Join(kZorAnimR, "\n"),
         .shown = {kPatchCompleted},
         .changes = Patched(kPatched, Join(kMainLines, "\n"))},
        {.name = "MixedLineEnds",
         .main = MixedLineEnds(kMainLines),
         .zorTex = MixedLineEnds(kZorTexLines),
         .zorAnim = MixedLineEnds(kZorAnimR),
         .shown = {kPatchCompleted},
         .changes = Patched(kPatched, MixedLineEnds(kMainLines))},
    };
}

std::vector<Row> BadAddOnFiles() {
    const std::string cNotClosed =
        "the element that starts on line 4 (<TextureInfo item=\"C\">) has no </TextureInfo> "
        "line.";
    return {
        {.name = "AddOnItemWithoutClosingLine",
         .zorTex = Join(Concat({kZorTexB, {kZorTexC[0], kZorTexC[1]}})),
         .flow = Flow::Failed,
         .shown = {Refused("Zor_Tex.txt cannot be used: " + cNotClosed)}},
        {.name = "AddOnItemClosedOnlyByTheNextOne",
         .zorAnim = Join({kZorAnimR[0], kZorAnimR[1], R"(<Ui2DAnimation item="S">)", "</Ui2DAnimation>"}),
         .flow = Flow::Failed,
         .shown = {Refused("Zor_Anim.txt cannot be used: the element that starts on line 1 (<Ui2DAnimation "
                           "item=\"R\">) is not closed before line 3 starts another.")}},
        // An item cut off right after its opening line is no stray line: patching would drop the item and
        // then delete the only file that holds it.
        {.name = "AddOnEndingInABareOpeningLine",
         .zorTex = Join(Concat({kZorTexB, {kZorTexC[0]}})),
         .flow = Flow::Failed,
         .shown = {Refused("Zor_Tex.txt cannot be used: " + cNotClosed)}},
        // A single stray last line is tolerated and left out.
        {.name = "AddOnWithOneStrayLineAtTheEnd",
         .zorTex = Join(Concat({kZorTexLines, {"</XML>"}})),
         .shown = {kPatchCompleted},
         .changes = Patched(kPatched, kMain)},
        {.name = "AddOnWithTwoStrayLinesAtTheEnd",
         .zorTex = Join(Concat({kZorTexLines, {"</XML>", "</XML>"}})),
         .flow = Flow::Failed,
         .shown = {Refused(
             "Zor_Tex.txt cannot be used: line 7 (</XML>) should start a <TextureInfo> element.")}},
        {.name = "AddOnClosingTagInOtherLetterCase",
         .zorTex = Join({kZorTexC[0], kZorTexC[1], "</textureinfo>"}),
         .flow = Flow::Failed,
         .shown = {Refused("Zor_Tex.txt cannot be used: the element that starts on line 1 (<TextureInfo "
                           "item=\"C\">) has no </TextureInfo> line.")}},
        {.name = "AddOnFileThatIsAFolder",
         .arrange =
             [] {
                 fs::remove("Zor_Anim.txt");
                 fs::create_directory("Zor_Anim.txt");
                 TempFolder::Write("Zor_Anim.txt/inside.txt", kZorAnim);
             },
         .shown = {kPatchCompleted},
         .changes = {{kMainPath, Join(Concat({kHead, kTextureA, kZorTexB, kZorTexC, kAnimationP, kEnd}))},
                     {kBackupPath, kMain},
                     {kZorTexPath, std::nullopt}}},
    };
}

std::vector<Row> ProtectedFiles() {
    return {
        // The backup is made before the main file is found protected; the main file stays as it was.
        {.name = "ReadOnlyMainFile",
         .arrange = [] { TempFolder::MakeReadOnly("EQUI_Animations.xml"); },
         .flow = Flow::Failed,
         .shown = {Protected("EQUI_Animations.xml")}},
        {.name = "ReadOnlyMainFileWithAnOlderBackup",
         .arrange =
             [] {
                 TempFolder::Write("EQUI_An.xml", kOldBackup);
                 TempFolder::MakeReadOnly("EQUI_Animations.xml");
             },
         .answers = {Answer::Yes},
         .flow = Flow::Failed,
         .shown = {kOverwriteBackup, Protected("EQUI_Animations.xml")}},
        {.name = "ReadOnlyBackupAnsweredYes",
         .arrange =
             [] {
                 TempFolder::Write("EQUI_An.xml", kOldBackup);
                 TempFolder::MakeReadOnly("EQUI_An.xml");
             },
         .answers = {Answer::Yes},
         .flow = Flow::Failed,
         .shown = {kOverwriteBackup, Protected("EQUI_An.xml")}},
        // The patch is complete; only the clean-up fails, and the add-on files stay.
        {.name = "ReadOnlyAddOnFiles",
         .arrange =
             [] {
                 TempFolder::MakeReadOnly("Zor_Tex.txt");
                 TempFolder::MakeReadOnly("Zor_Anim.txt");
             },
         .flow = Flow::Failed,
         .shown = {kPatchCompleted, Protected("Zor_Anim.txt")},
         .changes = {{kMainPath, kPatched}, {kBackupPath, kMain}}},
    };
}

std::vector<Row> MissingFolders() {
    return {
        {.name = "NoDefaultFolderAndNoMainFile",
         .arrange =
             [] {
                 fs::remove("EQUI_Animations.xml");
                 fs::remove_all("../default");
             },
         .answers = {Answer::No},
         .flow = Flow::Failed,
         .shown = {{"Error",
                    "You are attempting to run zorby.exe from a directory that is not your custom ui "
                    "directory.\rPlease reinstall to your custom ui directory and try again"},
                   {"Confirm", "Want to see an example of this error?"}}},
        {.name = "DefaultFolderWithoutTheFile",
         .arrange =
             [] {
                 fs::remove("EQUI_Animations.xml");
                 fs::remove("../default/EQUI_Animations.xml");
             },
         .answers = {Answer::No},
         .flow = Flow::Failed,
         .shown = UnexpectedError("53", "File not found")},
    };
}

std::vector<Row> DiskFull() {
    return {
        // The copy stops halfway; the older backup the user agreed to replace is still there.
        {.name = "DiskFullWhileWritingTheBackup",
         .arrange = [] { TempFolder::Write("EQUI_An.xml", kOldBackup); },
         .answers = {Answer::Yes},
         .fileSizeLimit = kMain.size() / 2,
         .flow = Flow::Failed,
         .shown = {kOverwriteBackup, kDiskFullInPatch}},
        // Room for the backup, which is as long as the old main file, but not for the longer new one.
        {.name = "DiskFullWhileWritingTheMainFile",
         .fileSizeLimit = kMain.size(),
         .flow = Flow::Failed,
         .shown = {kDiskFullInPatch}},
        {.name = "DiskFullWhileWritingTheMainFileWithAnOlderBackup",
         .arrange = [] { TempFolder::Write("EQUI_An.xml", kOldBackup); },
         .answers = {Answer::Yes},
         .fileSizeLimit = kMain.size(),
         .flow = Flow::Failed,
         .shown = {kOverwriteBackup, kDiskFullInPatch}},
        {.name = "OutOfMemoryWhileWritingTheMainFile",
         .output = testing::FailingSink::OutOfMemoryAt(2),
         .flow = Flow::Failed,
         .shown = {{"Error", "Error 7has occurred in patch module"}}},
    };
}

// A comment over several lines is kept whole wherever it stands; nothing inside it opens or closes an
// element, and the add-on items around it are still found.
std::vector<Row> CommentsSpanningLines() {
    const Lines hiddenClosing{kAnimationP[0], "<!--",         "</Ui2DAnimation>",
                              "-->",          kAnimationP[1], kAnimationP[2]};
    const Lines animationQ{R"(<Ui2DAnimation item="Q">)", "<Cycle>true</Cycle>", "</Ui2DAnimation>"};
    const Lines zorAnimQ{R"(<Ui2DAnimation item="Q">)", "<Cycle>false</Cycle>", "</Ui2DAnimation>"};
    const std::string closingInside =
        Join(Concat({kHead, kTextureA, kTextureB, hiddenClosing, animationQ, kEnd}));
    const Lines hiddenElement{
        kHead[0], "<!-- an old version:", kAnimationP[0], kAnimationP[2], "-->", kHead[1], kHead[2]};
    const std::string elementInHead = Join(Concat({hiddenElement, kTextureA, kTextureB, kAnimationP, kEnd}));
    const Lines hiddenOpening{kAnimationP[0], "  <!--",       R"(  <Ui2DAnimation item="Old">)",
                              "  -->",        kAnimationP[1], kAnimationP[2]};
    const std::string openingInside = Join(Concat({kHead, kTextureA, kTextureB, hiddenOpening, kEnd}));
    const Lines itemRWithNotes{"<!-- R, reworked",    "   by hand -->",   kZorAnimR[0], "<!--",
                               "<Cycle>true</Cycle>", "</Ui2DAnimation>", "-->",        kZorAnimR[1],
                               kZorAnimR[2]};
    const Lines noteOnQ{"<!-- Q", "follows -->"};

    return {
        {.name = "CommentInsideAnElementHoldingAClosingLine",
         .main = closingInside,
         .zorAnim = Join(zorAnimQ),
         .shown = {kPatchCompleted},
         .changes =
             Patched(Join(Concat({kHead, kTextureA, kZorTexB, kZorTexC, hiddenClosing, zorAnimQ, kEnd})),
                     closingInside)},
        {.name = "CommentInTheHeadHoldingAWholeElement",
         .main = elementInHead,
         .shown = {kPatchCompleted},
         .changes = Patched(
             Join(Concat({hiddenElement, kTextureA, kZorTexB, kZorTexC, kAnimationP, kZorAnimR, kEnd})),
             elementInHead)},
        {.name = "CommentInsideAnElementHoldingAnOpeningLine",
         .main = openingInside,
         .shown = {kPatchCompleted},
         .changes = Patched(Join(Concat({kHead,
                                         kTextureA,
                                         kZorTexB,
                                         kZorTexC,
                                         {kAnimationP[0], "\t\t<!--", "\t\t<Ui2DAnimation item=\"Old\">",
                                          "\t\t-->", kAnimationP[1], kAnimationP[2]},
                                         kZorAnimR,
                                         kEnd})),
                            openingInside)},
        {.name = "CommentInsideAnElementNeverClosed",
         .main = Join(Concat({kHead, kTextureA, {kAnimationP[0], "<!-- note"}, kEnd})),
         .flow = Flow::Failed,
         .shown = {Refused("EQUI_Animations.xml cannot be patched: the comment that opens on line 8 is never "
                           "closed.")}},
        {.name = "AddOnCommentsBetweenAndInsideItems",
         .main = closingInside,
         .zorAnim = Join(Concat({itemRWithNotes, noteOnQ, zorAnimQ})),
         .shown = {kPatchCompleted},
         .changes = Patched(Join(Concat({kHead, kTextureA, kZorTexB, kZorTexC, hiddenClosing, noteOnQ,
                                         zorAnimQ, itemRWithNotes, kEnd})),
                            closingInside)},
        {.name = "AddOnCommentNeverClosed",
         .zorAnim = Join(Concat({kZorAnimR, {"<!-- note"}, zorAnimQ})),
         .flow = Flow::Failed,
         .shown = {Refused(
             "Zor_Anim.txt cannot be used: the comment that opens on line 4 is never closed.")}},
    };
}

// A file that changed while the window was open is neither overwritten nor deleted: the patch would
// write what was read at start and drop what came since.
std::vector<Row> ChangedAfterStart() {
    const auto changed = [](const std::string& name) {
        return Shown{"Error",
                     name +
                         " has changed since Zorby started.\rNothing was changed. Please run Zorby again."};
    };
    const std::string editedMain = kMain + "<!-- edited -->\r\n";
    return {
        {.name = "AddOnFileAddedAfterStart",
         .arrange = [] { fs::remove("Zor_Tex.txt"); },
         .afterStart = [] { TempFolder::Write("Zor_Tex.txt", kZorTex); },
         .flow = Flow::Failed,
         .shown = {changed("Zor_Tex.txt")},
         .changes = {{kZorTexPath, kZorTex}}},
        {.name = "AddOnFileReplacedAfterStart",
         .afterStart = [] { TempFolder::Write("Zor_Anim.txt", Join(kZorTexC)); },
         .flow = Flow::Failed,
         .shown = {changed("Zor_Anim.txt")},
         .changes = {{kZorAnimPath, Join(kZorTexC)}}},
        {.name = "AddOnFileRemovedAfterStart",
         .afterStart = [] { fs::remove("Zor_Anim.txt"); },
         .flow = Flow::Failed,
         .shown = {changed("Zor_Anim.txt")},
         .changes = {{kZorAnimPath, std::nullopt}}},
        {.name = "MainFileEditedAfterStart",
         .afterStart = [=] { TempFolder::Write("EQUI_Animations.xml", editedMain); },
         .flow = Flow::Failed,
         .shown = {changed("EQUI_Animations.xml")},
         .changes = {{kMainPath, editedMain}}},
    };
}

// Zorby never writes, truncates, replaces or deletes through a symbolic link, and never takes a pipe or a
// device for a missing file. ../outside.txt stands for any file of the player's outside the folder.
enum class Oddity { LinkedOutside, DanglingLink, Pipe };

std::function<void()> MakeOdd(const std::string& name, Oddity oddity) {
    return [=] {
        fs::remove(name);
        TempFolder::Write("../outside.txt", "a file of the player's\r\n");
        if (oddity == Oddity::Pipe) {
            testing::MakePipe(name);
        } else {
            testing::MakeSymbolicLink(oddity == Oddity::LinkedOutside ? "../outside.txt" : "../nowhere.txt",
                                      name);
        }
    };
}

std::vector<Row> LinksAndSpecialFiles() {
    struct Odd {
        const char* rowName;
        const char* file;
        Oddity oddity;
        Command command;
    };
    const Odd odds[] = {
        {"DebugTxtLinkedOutside", "Debug.txt", Oddity::LinkedOutside, Command::Patch},
        {"DebugTxtDanglingLink", "Debug.txt", Oddity::DanglingLink, Command::Patch},
        {"DebugTxtAsAPipe", "Debug.txt", Oddity::Pipe, Command::Patch},
        {"MainFileLinkedOutside", "EQUI_Animations.xml", Oddity::LinkedOutside, Command::Patch},
        {"MainFileDanglingLink", "EQUI_Animations.xml", Oddity::DanglingLink, Command::Patch},
        {"MainFileAsAPipe", "EQUI_Animations.xml", Oddity::Pipe, Command::Patch},
        {"BackupLinkedOutsideAtRestore", "EQUI_An.xml", Oddity::LinkedOutside, Command::Restore},
        {"BackupDanglingLinkAtRestore", "EQUI_An.xml", Oddity::DanglingLink, Command::Restore},
        {"BackupAsAPipeAtRestore", "EQUI_An.xml", Oddity::Pipe, Command::Restore},
        {"BackupLinkedOutsideAtPatch", "EQUI_An.xml", Oddity::LinkedOutside, Command::Patch},
    };
    std::vector<Row> rows;
    for (const Odd& odd : odds) {
        const std::string name = odd.file;
        const std::string why =
            odd.oddity == Oddity::Pipe
                ? " is not a plain file but a folder, a pipe or a device.\rNothing was changed. "
                  "Please remove it and run Zorby again."
                : " is a symbolic link. Zorby changes only plain files in the custom UI "
                  "folder, never what a link points to.\rNothing was changed. Please put the "
                  "file itself in its place and run Zorby again.";
        rows.push_back({.name = odd.rowName,
                        .arrange = MakeOdd(name, odd.oddity),
                        .command = odd.command,
                        .flow = Flow::Failed,
                        .shown = {{"Error", name + why}}});
    }
    // An add-on file may be a link: it is read through it, and using it up removes the link only.
    rows.push_back({.name = "AddOnFileLinkedOutside",
                    .arrange =
                        [] {
                            fs::remove("Zor_Anim.txt");
                            TempFolder::Write("../outside-anim.txt", kZorAnim);
                            testing::MakeSymbolicLink("../outside-anim.txt", "Zor_Anim.txt");
                        },
                    .shown = {kPatchCompleted},
                    .changes = Patched(kPatched, kMain)});
    return rows;
}

// Text that is not bytes of lines: Unicode from Notepad, a byte-order mark, a file too large to hold.
std::vector<Row> EncodingsAndSizes() {
    const auto utf16 = [](const std::string& text, bool mark) {
        std::string wide = mark ? "\xFF\xFE" : "";
        for (const char c : text) {
            wide += c;
            wide += '\0';
        }
        return wide;
    };
    const auto unicode = [](const std::string& name) {
        return name +
               " is saved as Unicode (UTF-16), which Zorby cannot read.\rNothing was changed. Please save "
               "it as UTF-8 or ANSI and run Zorby again.";
    };
    const std::string mark = "\xEF\xBB\xBF";
    const auto sparse = [](const char* name, std::uintmax_t size) {
        return [=] { testing::MakeSparse(name, size); };
    };
    return {
        {.name = "Utf16MainFile",
         .main = utf16(kMain, true),
         .flow = Flow::Failed,
         .shown = {{"Error", unicode("EQUI_Animations.xml")}}},
        {.name = "Utf16AddOnFileWithoutAMark",
         .zorAnim = utf16(kZorAnim, false),
         .flow = Flow::Failed,
         .shown = {{"Error", unicode("Zor_Anim.txt")}}},
        {.name = "Utf8MarkOnEveryFile",
         .main = mark + kMain,
         .zorTex = mark + kZorTex,
         .zorAnim = mark + kZorAnim,
         .shown = {kPatchCompleted},
         .changes = Patched(mark + kPatched, mark + kMain)},
        {.name = "SparseMainFileOf1TiB",
         .arrange = sparse("EQUI_Animations.xml", std::uintmax_t{1} << 40),
         .flow = Flow::Failed,
         .shown = {Refused("EQUI_Animations.xml is 1048576 MB, more than the 64 MB that Zorby can read.")}},
        {.name = "SparseAddOnFileOf6GiB",
         .arrange = sparse("Zor_Anim.txt", std::uintmax_t{6} << 30),
         .flow = Flow::Failed,
         .shown = {Refused("Zor_Anim.txt is 6144 MB, more than the 64 MB that Zorby can read.")}},
    };
}

// The title is the item attribute's value, however the opening line spells it.
std::vector<Row> TitleSpellings() {
    const Lines main = Concat(
        {kHead, {R"(<TextureInfo item="A"> )"}, {kTextureA[1], kTextureA[2]}, kTextureB, kAnimationP, kEnd});
    const Lines zorTex{R"(<TextureInfo item = "A">)", "<Size>11</Size>", "</TextureInfo>",
                       R"(<TextureInfo item="B" >)",  "<Size>22</Size>", "</TextureInfo>"};
    const Lines zorAnim{"<Ui2DAnimation item='P'>\t", "<Cycle>false</Cycle>", "</Ui2DAnimation>"};
    return {
        {.name = "TitleSpellingsReplaceTheirElements",
         .main = Join(main),
         .zorTex = Join(zorTex),
         .zorAnim = Join(zorAnim),
         .shown = {kPatchCompleted},
         .changes = Patched(Join(Concat({kHead, zorTex, zorAnim, kEnd})), Join(main))},
    };
}

// Only the tool's own temporary files, left by a run killed while writing, are removed at start.
std::vector<Row> Leftovers() {
    return {
        {.name = "LeftoverTemporaryFilesOfAKilledRun",
         .arrange =
             [] {
                 TempFolder::Write(".EQUI_Animations.xml.zorby-a1B2c3", "half a file");
                 TempFolder::Write(".equi_an.xml.zorby-Z9y8X7", "half a backup");
                 TempFolder::Write(".EQUI_Animations.xml.zorby-notes", "the player's");
                 TempFolder::Write("EQUI_Animations.xml.zorby-a1B2c3", "the player's");
             },
         .shown = {kPatchCompleted},
         .changes = Concat({Patched(kPatched, kMain),
                            {{"custom/.EQUI_Animations.xml.zorby-a1B2c3", std::nullopt},
                             {"custom/.equi_an.xml.zorby-Z9y8X7", std::nullopt}}})},
    };
}

std::vector<Row> AllRows() {
    std::vector<Row> rows;
    for (auto group : {BadMainFiles(), ListLimits(), LineEnds(), BadAddOnFiles(), ProtectedFiles(),
                       MissingFolders(), DiskFull(), CommentsSpanningLines(), ChangedAfterStart(),
                       LinksAndSpecialFiles(), EncodingsAndSizes(), TitleSpellings(), Leftovers()}) {
        rows.insert(rows.end(), std::make_move_iterator(group.begin()), std::make_move_iterator(group.end()));
    }
    return rows;
}

class RobustnessTable : public ::testing::TestWithParam<Row> {
protected:
    TempFolder folder;
    FakeWindow window;
};

TEST_P(RobustnessTable, Row) {
    const Row& row = GetParam();
    TempFolder::Write("EQUI_Animations.xml", row.main.value_or(kMain));
    TempFolder::Write("Zor_Tex.txt", row.zorTex.value_or(kZorTex));
    TempFolder::Write("Zor_Anim.txt", row.zorAnim.value_or(kZorAnim));
    TempFolder::Write("../default/EQUI_Animations.xml", kDefault);
    std::optional<testing::FileSizeLimit> limit;
    try {
        if (row.arrange) {
            row.arrange();
        }
        if (row.fileSizeLimit) {
            limit.emplace(*row.fileSizeLimit);
        }
    } catch (const testing::NotAvailableHere& reason) {
        GTEST_SKIP() << reason.what();
    }
    const Snapshot before = TakeSnapshot(folder.Root());
    window.answers = row.answers;

    Flow flow;
    {
        Workspace ws;
        flow = RunLoadStep(ws, window, "help.html");
        if (flow == Flow::Continue) {
            if (row.afterStart) {
                row.afterStart();
            }
            flow = RunCommand(window, [&] {
                return row.command == Command::Restore ? RestoreCommand(window)
                                                       : PatchCommand(ws, window, row.output);
            });
        }
    }
    limit.reset();

    EXPECT_STREQ(FlowName(flow), FlowName(row.flow));
    ShownList shown;
    for (const auto& message : window.messages) {
        shown.emplace_back(message.title, message.text);
    }
    EXPECT_EQ(shown, row.shown);
    EXPECT_TRUE(window.answers.empty()) << "a scripted answer was never asked for";
    EXPECT_FALSE(window.busy) << "the busy pointer was left on";
    EXPECT_EQ(Differences(Apply(before, row.changes), TakeSnapshot(folder.Root())),
              std::vector<std::string>{});
    if (flow == Flow::Done) {
        Workspace rewritten;
        ScanAnimationFile(rewritten, nullptr);
        EXPECT_FALSE(rewritten.Defect) << "the rewritten file would be refused";
    }
}

INSTANTIATE_TEST_SUITE_P(Robustness, RobustnessTable, ::testing::ValuesIn(AllRows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

} // namespace
} // namespace zorby
