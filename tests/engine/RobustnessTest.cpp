// Whole runs, one row each, the way a player meets them: start in a custom UI folder, maybe change
// something while the window is open, press "Patch!" (or "Restore"). Every row checks the boxes and links
// shown, how the run ends, and that the whole temporary tree is byte for byte what it was, apart from the
// changes the row names. docs/robustness.md lists the rows.

#include "CheckCommand.h"
#include "Commands.h"
#include "FailingSink.h"
#include "FakeWindow.h"
#include "FileHelpers.h"
#include "FolderSnapshot.h"
#include "InventoryScan.h"
#include "LoadStep.h"
#include "TempFolder.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <optional>

namespace zorby {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::FakeWindow;
using testing::NotAvailableHere;
using testing::TempFolder;
using Lines = std::vector<std::string>;

// ---- The folder every row starts from: textures A and B and animation P; the add-on files bring a new
// B, and C and R, which are new ----

const Lines kHead{R"(<?xml version="1.0"?>)", R"(<XML ID="EQInterfaceDefinitionLanguage">)", "<Schema/>"};
const Lines kA{R"(<TextureInfo item="A">)", "<Size>1</Size>", "</TextureInfo>"};
const Lines kB{R"(<TextureInfo item="B">)", "<Size>2</Size>", "</TextureInfo>"};
const Lines kP{R"(<Ui2DAnimation item="P">)", "<Cycle>true</Cycle>", "</Ui2DAnimation>"};
const Lines kQ{R"(<Ui2DAnimation item="Q">)", "<Cycle>true</Cycle>", "</Ui2DAnimation>"};
const Lines kEnd{"</XML>"};
const Lines kNewB{R"(<TextureInfo item="B">)", "<Size>22</Size>", "</TextureInfo>"};
const Lines kNewC{R"(<TextureInfo item="C">)", "<Size>3</Size>", "</TextureInfo>"};
const Lines kNewR{R"(<Ui2DAnimation item="R">)", "<Cycle>false</Cycle>", "</Ui2DAnimation>"};
const Lines kNewQ{R"(<Ui2DAnimation item="Q">)", "<Cycle>false</Cycle>", "</Ui2DAnimation>"};

Lines Concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The lines of `parts`, each followed by `end`.
std::string F(std::initializer_list<Lines> parts, const std::string& end = "\r\n") {
    std::string bytes;
    for (const std::string& line : Concat(parts)) {
        bytes += line + end;
    }
    return bytes;
}

const std::string kMain = F({kHead, kA, kB, kP, kEnd});
const std::string kZorTex = F({kNewB, kNewC});
const std::string kZorAnim = F({kNewR});
const std::string kOldBackup = "<!-- an older backup -->\r\n";
const std::string kPatched = F({kHead, kA, kNewB, kNewC, kP, kNewR, kEnd});
const std::string kOnlyAddOns = F({kNewB, kNewC, kNewR}); // a main file without elements gets these

// ---- What the player sees: message boxes (title, text), then the links opened ("open", link) ----

using Shown = std::pair<std::string, std::string>;
using ShownList = std::vector<Shown>;

const Shown kCompleted{"Notice", kPatchCompleted}; // the summary below it is compared with the check's
const Shown kRestored{"Notice", "EQUI_Animation.xml restored"};
// After a failed start the window opened anyway, for the backup: "Patch!" off, the backup box hidden,
// "Restore" on.
const Shown kRestoreOnly{"window", "opens with Restore only"};
const Shown kOpensAfterFailure{"window", "opens after a failure"};
const Shown kOverwrite{"Confirm (Enter: No)", "Overwrite previous EQUI_Animation.xml backup?"};
const Shown kDiskFull{"Error", "Error 61has occurred in patch module"};
const ShownList kWrongFolder{{"Error",
                              "You are attempting to run zorby.exe from a directory that is not your "
                              "custom ui directory.\rPlease reinstall to your custom ui directory and "
                              "try again"},
                             {"Confirm", "Want to see an example of this error?"}};

ShownList Unexpected(const std::string& number, const std::string& description) {
    return {{"Unexpected Error", "Error Number: " + number + "\rDescription: " + description + "\r"},
            {"Confirm", "Attempt to E-Mail this error to Kestrin?"}};
}
Shown Refused(const std::string& why,
              const std::string& advice = "Please correct the file and run Zorby again.") {
    return {"Error", why + "\rNothing was changed. " + advice};
}
Shown Protected(const std::string& name) {
    return {"Protected File", "The file " + name +
                                  " is write protected - please delete or un-protect this file "
                                  "and try again"};
}
Shown Changed(const std::string& name) {
    return Refused(name + " has changed since Zorby started.", "Please run Zorby again.");
}
Shown Cannot(const std::string& what) {
    return Refused(what.starts_with("EQUI") ? what : "Zor_" + what);
}
Shown Unpatchable(const std::string& why) {
    return Cannot("EQUI_Animations.xml cannot be patched: " + why);
}
Shown CNotClosed(int line) { // the add-on texture C, started on `line`, not closed
    return Cannot("Tex.txt cannot be used: the element that starts on line " + std::to_string(line) +
                  " (<TextureInfo item=\"C\">) has no </TextureInfo> line.");
}

// ---- What happens to the files below the temporary root: new content, or nothing when gone ----

using Changes = std::vector<std::pair<std::string, std::optional<std::string>>>;

const std::string kMainPath = "custom/EQUI_Animations.xml";
const std::string kBackupPath = "custom/EQUI_An.xml";

// A finished patch: the new main file, the backup of the old one, and the add-on files used up.
Changes Patched(const std::string& output, const std::string& oldMain = kMain) {
    return {
        {kMainPath, output}, {kBackupPath, oldMain}, {"custom/Zor_Tex.txt", {}}, {"custom/Zor_Anim.txt", {}}};
}
template <typename List> List And(List list, const List& more) {
    list.insert(list.end(), more.begin(), more.end());
    return list;
}

// ---- Ways to arrange the folder, relative to the custom folder ----

using Arrange = std::function<void()>;

const auto Write = [](const std::string& name, const std::string& bytes) -> Arrange {
    return [=] { TempFolder::Write(name, bytes); };
};
const auto Main = [](const std::string& bytes) { return Write("EQUI_Animations.xml", bytes); };
const auto Tex = [](const std::string& bytes) { return Write("Zor_Tex.txt", bytes); };
const auto Anim = [](const std::string& bytes) { return Write("Zor_Anim.txt", bytes); };
const auto Remove = [](const std::string& name) -> Arrange { return [=] { fs::remove_all(name); }; };
const auto ReadOnly = [](const std::string& name) -> Arrange { return [=] { testing::MakeReadOnly(name); }; };
Arrange All(std::vector<Arrange> steps) {
    return [=] {
        for (const Arrange& step : steps) {
            step();
        }
    };
}
// A symbolic link to ../outside.txt, a file of the player's, or to nothing; or a pipe.
Arrange Odd(const std::string& name, const std::string& kind) {
    return All({Remove(name), Write("../outside.txt", "the player's\r\n"), [=] {
                    kind == "pipe"
                        ? testing::MakePipe(name)
                        : testing::MakeSymbolicLink(kind == "link" ? "../outside.txt" : "../none", name);
                }});
}

// ---- The table ----

enum class Command { Patch, Restore };

struct Options {
    std::deque<Answer> answers{};     // for the Yes/No boxes, in order
    Arrange afterStart{};             // a change while the window is open, before the click
    Command command = Command::Patch; // clicked when enabled
    bool backupTicked = true;
    std::optional<std::uint64_t> fileSizeLimit{}; // writes past it fail as on a full disk
    SinkWrapper output{};                         // around the writing of the new main file
    // Done while the first box with this title is open, before it is answered.
    std::pair<std::string, Arrange> whileShown{};
    bool asPlayer = false; // without an administrator's rights, so that a folder's permission bits hold
    std::string summary{}; // what the notice tells below "Patch Completed"
};

struct Row {
    const char* name;
    Arrange arrange;
    ShownList shown = {};
    Changes changes = {};
    Options options = {};
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

Row R(const char* name, Arrange arrange, ShownList shown, Changes changes = {}, Options options = {}) {
    return {name, std::move(arrange), std::move(shown), std::move(changes), std::move(options)};
}

// A patch of this main file that completes and writes `output`.
Row Patches(const char* name, const std::string& main, const std::string& output) {
    return R(name, Main(main), {kCompleted}, Patched(output, main));
}

// The same with `head`, `a` and `p` in place of the main file's own: they come through as they stand.
Row Keeps(const char* name, const Lines& head, const Lines& a, const Lines& p) {
    return Patches(name, F({head, a, kB, p, kEnd}), F({head, a, kNewB, kNewC, p, kNewR, kEnd}));
}

const Options kNo{{Answer::No}};
// What the standard patch did, by what became of the file as it was and of the add-on files.
const std::string kMerged = "Textures: 1 replaced (B), 1 added (C).\rAnimations: 1 added (R).\r";
const std::string kSummary[] = {
    kMerged + "The file as it was is kept as EQUI_An.xml.\rThe add-on files are removed.",
    kMerged + "The older backup EQUI_An.xml was kept as it was.\rThe add-on files are removed.",
    kMerged + "No backup was made, so Restore will not be offered.\rThe add-on files are removed.",
    kMerged + "The file as it was is kept as EQUI_An.xml.\rThe add-on files are kept (debug mode).",
};
const Options kYes{{Answer::Yes}};

std::vector<Row> AllRows() {
    const std::string binary = "\0\x01"s + "BIN\0\xff\xfe\r\n   \x7f\0<x>\r\0\0\n"s;
    const Lines deep{kHead[0], std::string(32768, ' ') + kHead[1], kHead[2]};
    Lines loose(32767, "<Loose/>"); // with the end tag: 32,768 lines outside the elements
    const Lines longC = Concat({{kNewC[0]}, Lines(32767, "<Size/>")});
    // B replaced by an item four lines longer would take the texture list to 32,770 lines.
    const Lines nearlyFull =
        Concat({{"<Schema/>", kB[0], kB[2], R"(<TextureInfo item="D">)"}, Lines(32762, "<Line/>"), {kB[2]}});
    const Lines growingB{kNewC[0], kNewC[2], kNewB[0], "<a/>", "<b/>", "<c/>", "<d/>", kNewB[2]};
    // Comments over several lines stay whole wherever they stand.
    const Lines pHidingItsEnd{kP[0], "<!--", "</Ui2DAnimation>", "-->", kP[1], kP[2]};
    const std::string endHidden = F({kHead, kA, kB, pHidingItsEnd, kQ, kEnd});
    const Lines pHidingAnOpening{kP[0], "  <!--", R"(  <Ui2DAnimation item="Old">)", "  -->", kP[1], kP[2]};
    const Lines reindented{kP[0], "\t\t<!--", "\t\t<Ui2DAnimation item=\"Old\">", "\t\t-->", kP[1], kP[2]};
    const Lines notedR{
        "<!-- R, reworked", "   by hand -->", kNewR[0], "<!--", "<Cycle>true</Cycle>", kNewR[2], "-->",
        kNewR[1],           kNewR[2]};
    const Lines noteOnQ{"<!-- Q", "follows -->"};
    const std::string looseMain = F({kHead, {"", "  \t<Loose a=\"1\">\t "}, kA, kB, kP, kEnd});
    const Lines one{"<!-- one -->"};
    const Lines orphan{"<!-- orphan -->"};
    const Lines quotingB{kA[0], R"(<!-- inside, as B once did: <Size item="B"> -->)", kA[1], kA[2]};
    const Lines notedA =
        Concat({{"<!-- first", "-->", "<!-- second -->"}, quotingB, one, {"<!-- about", "B -->"}});
    const Lines notedP = Concat({{"<!--"}, kB, {"-->"}, one, kP});
    const auto utf16 = [](const std::string& text) {
        return std::accumulate(text.begin(), text.end(), std::string(),
                               [](std::string u, char c) { return u + c + '\0'; });
    };
    const std::string mark = "\xEF\xBB\xBF";
    const Lines spelledA{R"(<TextureInfo item='A'> )", kA[1], kA[2]};
    const Lines spelledTex{R"(<TextureInfo item = "A">)", "<Size>11</Size>", kA[2],
                           R"(<TextureInfo item="B" >)",  "<Size>22</Size>", kB[2]};
    const Lines spelledAnim{"<Ui2DAnimation item='P'>\t", "<Cycle>false</Cycle>", kP[2]};
    const auto sparse = [](const char* name, std::uintmax_t size) {
        return [=] { testing::MakeSparse(name, size); };
    };
    const Arrange noCaseTwins = [] {
        if (testing::kNoCaseTwins) {
            throw NotAvailableHere(testing::kNoCaseTwins);
        }
    };
    // A patch without Zor_Anim.txt, which stays.
    const Changes texOnly{{kMainPath, F({kHead, kA, kNewB, kNewC, kP, kEnd})},
                          {kBackupPath, kMain},
                          {"custom/Zor_Tex.txt", {}}};
    const std::string edited = kMain + "<!-- edited -->\r\n";
    const Options restore{.command = Command::Restore};
    const std::string link = " is a symbolic link. Zorby changes only plain files in the custom UI folder, "
                             "never what a link points to.";
    const std::string linkAdvice = "Please put the file itself in its place and run Zorby again.";
    const std::string pipe = " is not a plain file but a folder, a pipe or a device.";
    const auto oddRow = [&](const char* row, const std::string& file, const std::string& kind,
                            Command command) {
        return R(row, Odd(file, kind),
                 {kind == "pipe" ? Refused(file + pipe, "Please remove it and run Zorby again.")
                                 : Refused(file + link, linkAdvice)},
                 {}, {.command = command});
    };
    constexpr Command kPatch = Command::Patch;
    // A second run in the folder is turned away at start with one box; a check runs beside a window.
    const Arrange secondRun = [] {
        FakeWindow second;
        Workspace ws;
        EXPECT_EQ(RunLoadStep(ws, second, "help.html"), Flow::Failed);
        EXPECT_EQ(CheckCurrentFolder().status, 0) << "a check runs beside a window";
        ASSERT_EQ(second.messages.size(), 1U);
        EXPECT_EQ(second.messages[0].text,
                  "Zorby is already running in this folder.\rNothing was changed. Please use the Zorby "
                  "window that is open, or close it and run Zorby again.");
    };
    const auto leftAsItIs = [](const std::string& name) -> Shown {
        return {"Notice", name + " has changed since Zorby read it, so it was left as it is.\rThe patch used "
                                 "the file as it was when Zorby started."};
    };
    // With its closing line, 32,768 lines: as many as a list holds.
    const Lines fullC = Concat({{kNewC[0]}, Lines(32766, "<Size/>"), {kNewC[2]}});
    const Lines endingOnALine{"<!-- a", "longer than the line before --><Loose/>"};
    const auto hardLink = [](const std::string& target, const std::string& name) {
        return All({Remove(name), [=] { fs::create_hard_link(target, name); }});
    };
    // Elements D and P with so many lines inside that the add-on items take their kind to the limit.
    const auto texturesOf = [](int inside) {
        return Concat(
            {{R"(<TextureInfo item="D">)"}, Lines(static_cast<std::size_t>(inside), "<Line/>"), {kB[2]}});
    };
    const auto animationsOf = [](int inside) {
        return Concat({{kP[0]}, Lines(static_cast<std::size_t>(inside), "<Line/>"), {kP[2]}});
    };
    // A list past the 32,768 lines it holds: by how much, and which file is the big one.
    const auto pastTheLines = [](const std::string& what, int lines, const std::string& bigger,
                                 const std::string& reads =
                                     "read, and the next run could not open the file, not "
                                     "even to restore it") {
        return Refused("EQUI_Animations.xml cannot be patched: " + what + " would take " +
                           std::to_string(lines) + " lines, " + std::to_string(lines - 32768) +
                           " more than the 32768 lines that Zorby can " + reads + ".",
                       "Please make " + bigger + " smaller and run Zorby again.");
    };
    const auto unreadableMain = [](const std::string& why, const std::string& advice = "correct the file") {
        return Refused("EQUI_Animations.xml cannot be read: " + why,
                       "Please " + advice + " and run Zorby again.");
    };
    // 40 bytes short of the largest file Zorby reads; the add-on items add more than that.
    const Arrange mainOfNearly64MB = [] {
        const std::string rest = F({kHead, kA, kB, kP, kEnd}) + "<Note></Note>\r\n";
        const std::string note = "<Note>" + std::string((64U << 20U) - 40 - rest.size(), 'x') + "</Note>";
        Main(F({kHead, {kA[0], note, kA[1], kA[2]}, kB, kP, kEnd}))();
    };
    const auto permissions = [](const std::string& name, fs::perms perms) -> Arrange {
        return [=] { fs::permissions(name, perms); };
    };
    // A comment beside a tag leaves the tag what it is; only an opening line of its kind is an element.
    const Lines notedB{R"(  <!-- 2x size --><TextureInfo item="B">)", kB[1], kB[2]};
    const Lines pAfterNote{"<!-- P, the", R"(  --> <Ui2DAnimation item="P">)", kP[1], kP[2]};
    const Lines pAfterNoteKept{pAfterNote[0], "\t\t--> <Ui2DAnimation item=\"P\">", kP[1], kP[2]};
    const Lines headNoted{kHead[0], kHead[1], "<Schema/> <!-- the schema", "   ends here -->"};
    const Lines headKept{kHead[0], kHead[1], headNoted[2], "\t\t\tends here -->"}; // re-indented in the head
    const Lines looseNoted{"<!-- loose:", "--> <Loose/>"};
    const Lines pFrames{kP[0], R"(    <Frames name="Q">)", "    </Frames>", kP[2]};
    const Lines pFramesKept{kP[0], "\t\t\t\t<Frames name=\"Q\">", "\t\t\t\t</Frames>", kP[2]};
    const Lines template_{R"(<WindowDrawTemplate item="Q">)", "</WindowDrawTemplate>"};
    const Lines aQuoting{kA[0], R"(<!-- "B-->)", kA[1], kA[2]};
    const Lines bDash{R"(<TextureInfo item="B-">)", kB[2]};
    const Lines newBDash{R"(<TextureInfo item="B-">)", "<Size>5</Size>", kB[2]};
    const Lines pNamed{R"(<Ui2DAnimation name="n"item="P">)", kP[1], kP[2]};
    const Lines newP{kP[0], "<Cycle>false</Cycle>", kP[2]};
    const Lines texB{R"(<!-- new B --> <TextureInfo item="B">)", kNewB[1],
                     "</TextureInfo> <!-- end of B -->"};
    const Lines texC{"<!-- C,", R"(  new --> <TextureInfo item="C">)", kNewC[1], kNewC[2]};
    const Lines bAfterNote{"<!-- B, the", R"(  --> <TextureInfo item="B">)", kB[1], kB[2]};
    const Lines bNoteAfter{kB[0], kB[1], "</TextureInfo> <!-- B ends;", "C follows -->"};
    const std::string ownLine = " Please put the comment on a line of its own.";
    // Whole elements on one line, with comments and blanks around them as real files have them.
    const std::string oneB = R"(<TextureInfo item="B"><Size>2</Size></TextureInfo>)";
    const std::string oneNewB = "  <TextureInfo item=\"B\"><Size>22</Size></TextureInfo>\t ";
    const std::string oneC = R"(<TextureInfo item="C"><Size>3</Size></TextureInfo>)";
    const std::string oneP = R"(<!-- P --><Ui2DAnimation item="P"><Cycle/></Ui2DAnimation> <!-- end -->)";
    const std::string oneR = R"(<Ui2DAnimation item="R"><Cycle>false</Cycle></Ui2DAnimation>)";
    const std::string oneLines = F({kHead, kA, {oneB, oneP}, kEnd});
    const std::string deepLine =
        "line 2 (<XML ID=\"EQInterfaceDefinitionLanguage\">) has more than 32767 leading spaces.";
    const Shown nothingToSeed =
        Refused("EQUI_Animations.xml is not in this folder, and ..\\default\\ holds none to copy.",
                "Please put a copy of EQUI_Animations.xml in this folder and run Zorby again.");
    const Shown protectedFolder{"Protected Folder",
                                "The folder that holds EQUI_Animations.xml is write protected - "
                                "please un-protect the folder and try again"};
    const Lines tabbedB{"<TextureInfo item=\"B\tx\">", kB[1], kB[2]};
    const Lines spacedNewB{"<TextureInfo item=\"B x\">", kNewB[1], kNewB[2]};
    const std::string twoBlanks = "<TextureInfo  item=\"C\"><Size/></TextureInfo>";
    const std::string farQuote = "<Ui2DAnimation " + std::string(32760, 'x') + "\"R\">";
    // Two spellings of one folder are one folder, also where the disk tells them apart.
    const Arrange secondRunInTwin = [noCaseTwins, secondRun] {
        noCaseTwins();
        fs::copy(".", "../CUSTOM");
        fs::current_path("../CUSTOM");
        secondRun();
        fs::current_path("../custom");
        fs::remove_all("../CUSTOM");
    };

    return {
        Patches("EmptyMainFile", "", kOnlyAddOns),
        // Rewritten, an open comment would take every later line with it, a nested element leave a
        // stray opening line, and an open element take the end tag in.
        R("MainFileCommentLeftOpen", Main(F({kHead, kA, {"<!-- note"}, kB, kP, kEnd})),
          {Unpatchable("the comment that opens on line 7 is never closed.")}),
        R("MainFileElementOpenedInsideAnother", Main(F({kHead, {kA[0], kA[1]}, kB, kP, kEnd})),
          {Unpatchable("the element \"B\" on line 6 opens inside the element \"A\" from line 4, which is not "
                       "closed before it.")}),
        R("MainFileTextureLeftOpen", Main(F({kHead, kA, {kB[0]}, kEnd})),
          {Unpatchable("the element \"B\" that opens on line 7 is never closed.")}),
        // Bytes are never transcoded: NUL and high bytes pass through.
        Patches("BinaryMainFileWithNulBytes", binary,
                F({{"\0\x01"s + "BIN\0\xff\xfe"s, "\t\t\t\x7f\0<x>"s, "\0\0"s}}) + kOnlyAddOns),
        // A 1 MB line inside A, above the replaced B, so that the merge has to look past it.
        Keeps("OneMegabyteLine", kHead,
              {kA[0], "<Note>" + std::string(1 << 20, 'x') + "</Note>", kA[1], kA[2]}, kP),
        R("MoreThan32767LeadingSpaces", Main(F({deep, kA, kEnd})), {unreadableMain(deepLine)}),
        // A one-character line above the replaced element is no opening line: the merge passes it by.
        Keeps("MergeMeetsALineWithoutATitle", kHead, {kA[0], "x", kA[2]}, kP),
        Patches("ListOf32768LinesPatches", F({kHead, loose, kEnd}),
                F({kHead, kNewB, kNewC, kNewR, loose, kEnd})),
        R("MainListPast32768Lines", Main(F({kHead, loose, loose})),
          {unreadableMain(
              "the lines outside its elements take 65534 lines, 32766 more than the 32768 lines that "
              "Zorby can hold.",
              "make EQUI_Animations.xml smaller")}),
        R("AddOnFilePast32768Lines", Tex(F({longC, {kNewC[2]}})),
          {Refused("Zor_Tex.txt cannot be used: it has 32769 lines, 1 more than the 32768 lines that Zorby "
                   "can hold.",
                   "Please make Zor_Tex.txt smaller and run Zorby again.")}),
        R("AddOnFileOf32768Lines", Tex(F({fullC})), {pastTheLines("its textures", 32774, "Zor_Tex.txt")}),
        R("MergeGrowingAListPast32768Lines", All({Main(F({nearlyFull})), Tex(F({growingB}))}),
          {pastTheLines("its textures with those of Zor_Tex.txt", 32770, "EQUI_Animations.xml", "hold")}),
        R("AddOnItemClosedOnlyByTheNextOne", Anim(F({{kNewR[0], kNewQ[0] + kNewQ[2]}})),
          {Cannot("Anim.txt cannot be used: the element that starts on line 1 (<Ui2DAnimation item=\"R\">) "
                  "is not closed before line 2 starts another.")}),
        // Cut off after its opening line: a patch would drop the item and delete its only copy.
        R("AddOnEndingInABareOpeningLine", Tex(F({kNewB, {kNewC[0]}})), {CNotClosed(4)}),
        R("AddOnWithOneStrayLineAtTheEnd", Tex(F({kNewB, kNewC, {"</XML>"}})), {kCompleted},
          Patched(kPatched)),
        R("AddOnWithTwoStrayLinesAtTheEnd", Tex(F({kNewB, kNewC, {"</XML>", "</XML>"}})),
          {Cannot("Tex.txt cannot be used: line 7 (</XML>) should start a <TextureInfo> element.")}),
        R("AddOnEndingInComments", Tex(F({kNewB, kNewC, {"<!-- one", "two -->"}})),
          {Cannot("Tex.txt cannot be used: line 7 (<!-- one) should start a <TextureInfo> element.")}),
        R("AddOnClosingTagInOtherLetterCase", Tex(F({{kNewC[0], kNewC[1], "</textureinfo>"}})),
          {CNotClosed(1)}),
        R("AddOnFileThatIsAFolder",
          All({Remove("Zor_Anim.txt"), [] { fs::create_directory("Zor_Anim.txt"); },
               Write("Zor_Anim.txt/x", "")}),
          {kCompleted}, texOnly),
        // Only a case-sensitive disk holds both spellings; the file read must be the one deleted.
        R("AddOnFileBesideATwinInOtherCase",
          All({noCaseTwins, Write("zor_anim.txt", F({{R"(<Ui2DAnimation item="S">)", "</Ui2DAnimation>"}}))}),
          {kCompleted}, Patched(kPatched)),
        R("ReadOnlyMainFile", ReadOnly("EQUI_Animations.xml"), {Protected("EQUI_Animations.xml")}),
        R("ReadOnlyMainFileWithAnOlderBackup",
          All({Write("EQUI_An.xml", kOldBackup), ReadOnly("EQUI_Animations.xml")}),
          {kOverwrite, Protected("EQUI_Animations.xml")}, {}, kYes),
        R("ReadOnlyBackupAnsweredYes", All({Write("EQUI_An.xml", kOldBackup), ReadOnly("EQUI_An.xml")}),
          {kOverwrite, Protected("EQUI_An.xml")}, {}, kYes),
        // The patch is complete; only the clean-up fails, and the add-on files stay.
        R("ReadOnlyAddOnFiles", All({ReadOnly("Zor_Tex.txt"), ReadOnly("Zor_Anim.txt")}),
          {kCompleted, Protected("Zor_Anim.txt")}, {{kMainPath, kPatched}, {kBackupPath, kMain}}),
        R("OlderBackupKeptOnNo", Write("EQUI_An.xml", kOldBackup), {kOverwrite, kCompleted},
          Patched(kPatched, kOldBackup), {.answers = {Answer::No}, .summary = kSummary[1]}),
        R("OlderBackupReplacedOnYes", Write("EQUI_An.xml", kOldBackup), {kOverwrite, kCompleted},
          Patched(kPatched), {.answers = {Answer::Yes}, .summary = kSummary[0]}),
        R("NoBackupWhenUnticked", {}, {kCompleted},
          {{kMainPath, kPatched}, {"custom/Zor_Tex.txt", {}}, {"custom/Zor_Anim.txt", {}}},
          {.backupTicked = false, .summary = kSummary[2]}),
        R("NoDefaultFolderAnsweredYesOpensTheHelpPage",
          All({Remove("EQUI_Animations.xml"), Remove("../default")}),
          And(kWrongFolder, {{"open", "help.html"}}), {}, kYes),
        // The game's file is read-only; the copy is the player's own, and the patch can replace it.
        R("SeededFromTheDefaultFolder",
          All({Remove("EQUI_Animations.xml"), Remove("../default/EQUI_Animations.xml"),
               Write("../default/eqUI_animations.XML", kMain), ReadOnly("../default/eqUI_animations.XML")}),
          {kCompleted}, Patched(kPatched)),
        R("StaleHelpersRemoved", All({Write("zorby.BAT", "x"), Write("Zor_Anim.com", "x")}), {kCompleted},
          And(Patched(kPatched), {{"custom/zorby.BAT", {}}, {"custom/Zor_Anim.com", {}}})),
        R("ProtectedStaleHelper", All({Write("Zorby.bat", "x"), ReadOnly("Zorby.bat")}),
          {Protected("Zorby.bat")}),
        // Debug.txt gets the trace: each line without its indentation and with tabs as blanks, none for a
        // blank line; the add-on files stay.
        R("DebugMode", All({Main(looseMain), Write("Debug.txt", "an old trace\r\n")}), {kCompleted},
          {{kMainPath, F({kHead, kA, kNewB, kNewC, kP, kNewR, {"\t\t\t<Loose a=\"1\">\t "}, kEnd})},
           {kBackupPath, looseMain},
           {"custom/Debug.txt", F({kHead, {"<Loose a=\"1\">  "}, kA, kB, kP, kEnd})}},
          {.summary = kSummary[3]}),
        R("DebugTxtCreatedBeforeTheClick", {}, {kCompleted}, {{kMainPath, kPatched}, {kBackupPath, kMain}},
          {.afterStart = Write("debug.TXT", "")}),
        // The copy stops halfway; the older backup the player agreed to replace is still there.
        R("DiskFullWhileWritingTheBackup", Write("EQUI_An.xml", kOldBackup), {kOverwrite, kDiskFull}, {},
          {.answers = {Answer::Yes}, .fileSizeLimit = kMain.size() / 2}),
        // Room for a copy of the old main file, not for the longer new one: no backup either.
        R("DiskFullWhileWritingTheMainFile", {}, {kDiskFull}, {}, {.fileSizeLimit = kMain.size()}),
        R("DiskFullWhileWritingTheTrace", Write("Debug.txt", ""),
          {{"Error", "Debug.txt cannot be written: Disk full (error 61).\rNothing was changed. Please remove "
                     "Debug.txt, or make room on the disk, and run Zorby again."}},
          {}, {.fileSizeLimit = 0}),
        R("OutOfMemoryWhileWritingTheMainFile", {}, {{"Error", "Error 7has occurred in patch module"}}, {},
          {.output = testing::FailingAt(0, true)}),
        // ---- Comments over several lines: nothing inside one opens or closes an element ----
        Keeps("CommentInTheHeadHoldingAWholeElement",
              {kHead[0], "<!-- an old version:", kP[0], kP[2], "-->", kHead[1], kHead[2]}, kA, kP),
        Patches("CommentInsideAnElementHoldingAnOpeningLine", F({kHead, kA, kB, pHidingAnOpening, kEnd}),
                F({kHead, kA, kNewB, kNewC, reindented, kNewR, kEnd})),
        // Every comment between two elements goes with the next one, in order, a replaced one too; those
        // that none follows stay last. A commented-out B, or one a comment quotes, is no element.
        Patches("CommentsBetweenAndAfterElements", F({kHead, notedA, kB, notedP, orphan, kEnd}),
                F({kHead, notedA, kNewB, kNewC, notedP, kNewR, orphan, kEnd})),
        R("CommentInsideAnElementNeverClosed", Main(F({kHead, kA, {kP[0], "<!-- note"}, kEnd})),
          {Unpatchable("the comment that opens on line 8 is never closed.")}),
        R("AddOnCommentsBetweenAndInsideItems", All({Main(endHidden), Anim(F({notedR, noteOnQ, kNewQ}))}),
          {kCompleted},
          Patched(F({kHead, kA, kNewB, kNewC, pHidingItsEnd, noteOnQ, kNewQ, notedR, kEnd}), endHidden)),
        R("AddOnCommentNeverClosed", Anim(F({kNewR, {"<!-- one -->", "<!-- note"}, kNewQ})),
          {Cannot("Anim.txt cannot be used: the comment that opens on line 5 is never closed.")}),
        // ---- Files changed while the window is open are neither overwritten nor deleted ----
        R("AddOnFileAddedAfterStart", Remove("Zor_Tex.txt"), {Changed("Zor_Tex.txt")}, {},
          {.afterStart = Tex(kZorTex)}),
        R("AddOnFileRemovedAfterStart", {}, {Changed("Zor_Anim.txt")}, {},
          {.afterStart = Remove("Zor_Anim.txt")}),
        // The same bytes, but behind a link now: writing the new file there would leave the folder.
        R("MainFileSwappedForALinkToTheSameBytes", Write("../outside.txt", kMain),
          {Changed("EQUI_Animations.xml")}, {},
          {.afterStart = All({Remove("EQUI_Animations.xml"),
                              [] { testing::MakeSymbolicLink("../outside.txt", "EQUI_Animations.xml"); }})}),
        // ---- Nothing is written, replaced or deleted through a link, and a pipe is no missing file; the
        // player's file outside stays as it was ----
        oddRow("DebugTxtLinkedOutside", "Debug.txt", "link", kPatch),
        oddRow("MainFileDanglingLink", "EQUI_Animations.xml", "dangling", kPatch),
        oddRow("MainFileAsAPipe", "EQUI_Animations.xml", "pipe", kPatch),
        // Restore is offered only for a plain backup: this one breaks after start.
        R("BackupAsAPipeAtRestore", Write("EQUI_An.xml", kOldBackup),
          {Refused("EQUI_An.xml" + pipe, "Please remove it and run Zorby again.")}, {},
          {.afterStart = Odd("EQUI_An.xml", "pipe"), .command = Command::Restore}),
        oddRow("BackupLinkedOutsideAtPatch", "EQUI_An.xml", "link", kPatch),
        R("AddOnFileAsAPipe", Odd("Zor_Anim.txt", "pipe"), {kCompleted}, texOnly),
        // An add-on file may be a link: it is read through it, and using it up removes the link only.
        R("AddOnFileLinkedOutside",
          All({Remove("Zor_Anim.txt"), Write("../outside-anim.txt", kZorAnim),
               [] { testing::MakeSymbolicLink("../outside-anim.txt", "Zor_Anim.txt"); }}),
          {kCompleted}, Patched(kPatched)),
        // ---- Comments and tags on one line, titles by opening lines ----
        Patches("CommentAndOpeningLineOnOneLine", F({kHead, kA, notedB, kP, kEnd}), kPatched),
        Patches("CommentEndingOnAnOpeningLine", F({kHead, kA, kB, pAfterNote, kEnd}),
                F({kHead, kA, kNewB, kNewC, pAfterNoteKept, kNewR, kEnd})),
        Keeps("ClosingLineFollowedByAComment", kHead, {kA[0], kA[1], "</TextureInfo> <!-- end of A -->"}, kP),
        Keeps("TagThenACommentOverSeveralLines", kHead,
              {kA[0], "<Size>1</Size> <!-- was:", kA[2], kB[0], "-->", kA[2]}, kP),
        // The rest of a comment stays with the line it starts on; a pending one joins the line it ends on.
        Patches("CommentsRunningOnFromTags", F({headNoted, kA, kB, one, looseNoted, kP, kEnd}),
                F({headKept, kA, kNewB, kNewC, one, kP, kNewR, looseNoted, kEnd})),
        R("ChildLineAndOtherElementKindWithATitle",
          All({Main(F({kHead, kA, kB, template_, pFrames, kQ, kEnd})), Anim(F({kNewQ}))}), {kCompleted},
          Patched(F({kHead, kA, kNewB, kNewC, pFramesKept, kNewQ, template_, kEnd}),
                  F({kHead, kA, kB, template_, pFrames, kQ, kEnd}))),
        R("CommentQuotingATitle",
          All({Main(F({kHead, aQuoting, bDash, kB, kP, kEnd})), Tex(F({newBDash, kNewB}))}), {kCompleted},
          Patched(F({kHead, aQuoting, newBDash, kNewB, kP, kNewR, kEnd}),
                  F({kHead, aQuoting, bDash, kB, kP, kEnd}))),
        R("ItemRightAfterAQuote", All({Main(F({kHead, kA, kB, pNamed, kEnd})), Anim(F({newP}))}),
          {kCompleted}, Patched(F({kHead, kA, kNewB, kNewC, newP, kEnd}), F({kHead, kA, kB, pNamed, kEnd}))),
        R("AddOnCommentsBesideTags", Tex(F({texB, texC})), {kCompleted},
          Patched(F({kHead, kA, texB, texC, kP, kNewR, kEnd}))),
        // Lines are kept whole: replacing these would leave half a comment behind.
        R("ReplacedElementOpeningWhereACommentEnds", Main(F({kHead, kA, bAfterNote, kP, kEnd})),
          {Unpatchable("the element \"B\" that Zor_Tex.txt replaces opens on line 8 (--> <TextureInfo "
                       "item=\"B\">), which also ends a comment begun on an earlier line." +
                       ownLine)}),
        R("ReplacedElementClosingWhereACommentStarts", Main(F({kHead, kA, bNoteAfter, kP, kEnd})),
          {Unpatchable("the element \"B\" that Zor_Tex.txt replaces closes on line 9 (</TextureInfo> <!-- B "
                       "ends;), which also starts a comment that runs on." +
                       ownLine)}),
        R("AddOnItemReplacedByALaterOneWhereACommentEnds",
          Tex(F({{"<!-- B,", R"(--> <TextureInfo item="B">)", kNewB[1], kNewB[2]}, kNewB})),
          {Cannot("Tex.txt cannot be used: the element \"B\" that opens on line 2 (--> <TextureInfo "
                  "item=\"B\">), which also ends a comment begun on an earlier line, is replaced by a later "
                  "element of the same name." +
                  ownLine)}),
        R("AddOnCommentRunningPastItsItem",
          Tex(F({{kNewB[0], kNewB[1], "</TextureInfo> <!-- C:"}, {"new -->"}, kNewC})),
          {Cannot("Tex.txt cannot be used: the comment that starts on line 3 (</TextureInfo> <!-- C:) runs "
                  "on past the end of its element." +
                  ownLine)}),
        R("CommentEndsInAnotherPartOfTheFile",
          Main(F({kHead,
                  kA,
                  {"<Loose/> <!-- about B", R"(--> <TextureInfo item="B">)", kB[1], kB[2]},
                  kP,
                  kEnd})),
          {Unpatchable("the comment that opens on line 7 ends on line 8, and the rewritten file would keep "
                       "these two lines apart." +
                       ownLine)}),
        R("Utf16MainFile", Main("\xFF\xFE" + utf16(kMain)),
          {Refused("EQUI_Animations.xml is saved as Unicode (UTF-16), which Zorby cannot read.",
                   "Please save it as UTF-8 or ANSI and run Zorby again.")}),
        // The mark is no part of a first line; the main file keeps its own, the add-on files' stay out.
        R("Utf8MarkOnEveryFile", All({Main(mark + kMain), Tex(mark + kZorTex), Anim(mark + kZorAnim)}),
          {kCompleted}, Patched(mark + kPatched, mark + kMain)),
        R("TitleSpellingsReplaceTheirElements",
          All({Main(F({kHead, spelledA, kB, kP, kEnd})), Tex(F({spelledTex})), Anim(F({spelledAnim}))}),
          {kCompleted},
          Patched(F({kHead, spelledTex, spelledAnim, kEnd}), F({kHead, spelledA, kB, kP, kEnd}))),
        R("SparseMainFileOf1TiB", sparse("EQUI_Animations.xml", std::uintmax_t{1} << 40),
          {Cannot("EQUI_Animations.xml is 1048576 MB, more than the 64 MB that Zorby can read.")}),
        // Only the tool's own temporary files, left by a run killed while writing, go at start.
        R("LeftoverTemporaryFilesOfAKilledRun",
          All({Write(".EQUI_Animations.xml.zorby-a1B2c3", "half"), Write(".equi_an.xml.zorby-Z9y8X7", "half"),
               Write(".EQUI_Animations.xml.zorby-my_one", "mine"),
               Write("EQUI_Animations.xml.zorby-a1B2c3", "mine")}),
          {kCompleted},
          And(Patched(kPatched),
              {{"custom/.EQUI_Animations.xml.zorby-a1B2c3", {}}, {"custom/.equi_an.xml.zorby-Z9y8X7", {}}})),
        // ---- Two runs, files changed while a box is open, hard links, what the next run can read ----
        // The second run is turned away at start; the first one then finds its files as it read them.
        R("SecondRunWhileTheFirstAsksToOverwrite", Write("EQUI_An.xml", kOldBackup), {kOverwrite, kCompleted},
          Patched(kPatched), {.answers = {Answer::Yes}, .whileShown = {"Confirm", secondRun}}),
        // Closing the program while the question is open is no answer: the run ends, nothing written.
        R("ClosedWhileTheQuestionIsOpen", Write("EQUI_An.xml", kOldBackup), {kOverwrite}, {},
          {.answers = {Answer::Closed}}),
        R("MainFileEditedWhileTheQuestionIsOpen", Write("EQUI_An.xml", kOldBackup),
          {kOverwrite, Changed("EQUI_Animations.xml")}, {{kMainPath, edited}},
          {.answers = {Answer::Yes}, .whileShown = {"Confirm", Main(edited)}}),
        // A folder cannot be replaced by a file: the report, and the older backup stays.
        // Yes mails the report, as it stands, to the author.
        R("MainFileTurnedIntoAFolderWhileTheQuestionIsOpen", Write("EQUI_An.xml", kOldBackup),
          And(And({kOverwrite}, Unexpected("53", "File not found")),
              {{"open", "mailto:kestrin@example.org;zorby-errors@example.org?subject=Zorby EXE ERROR&body= "
                        "<-- Please include a description of what happened immediately before the error -- "
                        "Error Number:53 -- Description: File not found -- Zorby.exe Version: 3.0"}}),
          {},
          {.answers = {Answer::Yes, Answer::Yes},
           .whileShown = {"Confirm", All({Remove("EQUI_Animations.xml"),
                                          [] { fs::create_directory("EQUI_Animations.xml"); }})}}),
        R("BackupSwappedForALinkWhileTheQuestionIsOpen", Write("EQUI_An.xml", kOldBackup),
          {kOverwrite, Refused("EQUI_An.xml" + link, linkAdvice)}, {},
          {.answers = {Answer::Yes}, .whileShown = {"Confirm", Odd("EQUI_An.xml", "link")}}),
        R("AddOnFileReplacedWhilePatchCompletedIsShown", {}, {kCompleted, leftAsItIs("Zor_Anim.txt")},
          {{kMainPath, kPatched},
           {kBackupPath, kMain},
           {"custom/Zor_Tex.txt", {}},
           {"custom/Zor_Anim.txt", F({kNewQ})}},
          {.whileShown = {"Notice", Anim(F({kNewQ}))}}),
        R("DebugTxtHardLinkedToAnOutsideFile",
          All({Write("../outside.txt", "the player's\r\n"), hardLink("../outside.txt", "Debug.txt")}),
          {Refused("Debug.txt has other names: it is a hard link to a file that stands "
                   "elsewhere too, and Zorby would change it there as well.",
                   "Please put a file of its own in its place and run Zorby again.")}),
        R("RestoreWithTheBackupHardLinkedToTheMainFile", hardLink("EQUI_Animations.xml", "EQUI_An.xml"),
          {{"Error", "EQUI_An.xml and EQUI_Animations.xml are one file under two names (a hard link), so "
                     "there is no older version to restore.\rNothing was changed."}},
          {}, restore),
        // The comment ahead of D counts among the texture lines.
        Patches("PatchTakingTheTexturesTo32768Lines", F({kHead, one, texturesOf(32759), kP, kEnd}),
                F({kHead, one, texturesOf(32759), kNewB, kNewC, kP, kNewR, kEnd})),
        // The comment that ends on a loose line is counted too, as the next run files it.
        Patches("PatchTakingTheAnimationsTo32768Lines",
                F({kHead, kA, animationsOf(32763), endingOnALine, kEnd}),
                F({kHead, kA, kNewB, kNewC, animationsOf(32763), kNewR, endingOnALine, kEnd})),
        R("PatchTakingTheAnimationsTo32769Lines", Main(F({kHead, kA, animationsOf(32764), kEnd})),
          {pastTheLines("its animations", 32769, "EQUI_Animations.xml")}),
        R("PatchWhoseFileWouldPass64MB", mainOfNearly64MB,
          {Refused("EQUI_Animations.xml cannot be patched: it would be 65 MB, more than the 64 MB that Zorby "
                   "can read, and the next run could not open the file, not even to restore it.",
                   "Please make EQUI_Animations.xml smaller and run Zorby again.")}),
        R("SeedingFromASparseDefaultOf65MB",
          All({Remove("EQUI_Animations.xml"),
               sparse("../default/EQUI_Animations.xml", std::uintmax_t{65} << 20)}),
          {Refused("..\\default\\EQUI_Animations.xml is 65 MB, more than the 64 MB that Zorby can read.",
                   "Please put a copy of your own EQUI_Animations.xml in this folder and run Zorby again.")}),
        R("FolderThatCannotBeListed", permissions(".", fs::perms::owner_write | fs::perms::owner_exec),
          Unexpected("70", "Permission denied"), {}, {.answers = {Answer::No}, .asPlayer = true}),
        R("FolderThatCannotBeWritten", permissions(".", fs::perms::owner_read | fs::perms::owner_exec),
          {protectedFolder}, {}, {.asPlayer = true}),
        // ---- Elements written on one line ----
        Patches("OneLineElementsReplacedAndKept", oneLines,
                F({kHead, kA, kNewB, kNewC, {oneP}, kNewR, kEnd})),
        R("OneLineAddOnItems", All({Tex(F({{oneNewB, "<!-- C -->", oneC}})), Anim(oneR)}), {kCompleted},
          Patched(F({kHead, kA, {oneNewB, "<!-- C -->", oneC}, kP, {oneR}, kEnd}))),
        R("OneLineItemsReplacingOneLineElements",
          All({Main(oneLines), Tex(F({{oneNewB, oneC, oneB}})), Anim(F({{oneR, kP[0] + kP[2]}}))}),
          {kCompleted}, Patched(F({kHead, kA, {oneB, oneC, kP[0] + kP[2], oneR}, kEnd}), oneLines)),
        R("OpeningLineWithMoreAfterItsClosingTag", Main(F({kHead, kA, {oneB + "<Loose/>"}, kP, kEnd})),
          {Unpatchable("the element \"P\" on line 8 opens inside the element \"B\" from line 7, which is not "
                       "closed before it.")}),
        R("OneLineTextureInsideAnAnimation", Main(F({kHead, kA, kB, {kP[0], oneC, kP[2]}, kEnd})),
          {Unpatchable("the element \"C\" on line 11 opens inside the element \"P\" from line 10, which is "
                       "not closed before it.")}),
        R("ReplacedOneLineElementStartingAComment",
          Main(F({kHead, kA, {oneB + " <!-- B;", "-->"}, kP, kEnd})),
          {Unpatchable("the element \"B\" that Zor_Tex.txt replaces closes on line 7 (" + oneB +
                       " <!-- B;), which also starts a comment that runs on." + ownLine)}),
        // ---- The game's own folder, the older backup, both add-on files unreadable ----
        R("StartedInTheDefaultFolderItself",
          All({[] { fs::current_path("../default"); }, Tex(kZorTex), Anim(kZorAnim)}), kWrongFolder, {}, kNo),
        R("BothAddOnFilesInUtf16", All({Tex(utf16(kZorTex)), Anim(utf16(kZorAnim))}),
          {Refused("Zor_Tex.txt and Zor_Anim.txt are saved as Unicode (UTF-16), which Zorby cannot read.",
                   "Please save them as UTF-8 or ANSI and run Zorby again.")}),
        // ---- Restore within reach whatever the folder holds; what a patch writes, read back first ----
        R("MainFileUnreadableThenRestore", All({Main(F({deep, kA, kEnd})), Write("EQUI_An.xml", kOldBackup)}),
          {unreadableMain(deepLine), kRestoreOnly, kRestored}, {{kMainPath, kOldBackup}, {kBackupPath, {}}},
          restore),
        R("ReadOnlyDebugTxt", All({Write("Debug.txt", ""), ReadOnly("Debug.txt")}), {Protected("Debug.txt")}),
        R("NothingToSeedFromWithABackupThenRestore",
          All({Remove("EQUI_Animations.xml"), Remove("../default/EQUI_Animations.xml"),
               Write("EQUI_An.xml", kOldBackup)}),
          {nothingToSeed, kRestoreOnly, kRestored}, {{kMainPath, kOldBackup}, {kBackupPath, {}}}, restore),
        R("SeedingIntoAReadOnlyFolder",
          All({Remove("EQUI_Animations.xml"),
               permissions(".", fs::perms::owner_read | fs::perms::owner_exec)}),
          {protectedFolder}, {}, {.asPlayer = true}),
        // Without a schema line the head ends where the first element opens; </XML> stays last.
        Keeps("MainFileWithoutASchemaLine", {kHead[0], kHead[1]}, kA, kP),
        // A tab in a title reads as a space, in every file.
        R("TabInTheMainTitleSpaceInTheAddOn",
          All({Main(F({kHead, kA, tabbedB, kP, kEnd})), Tex(F({spacedNewB}))}), {kCompleted},
          Patched(F({kHead, kA, spacedNewB, kP, kNewR, kEnd}), F({kHead, kA, tabbedB, kP, kEnd}))),
        R("AddOnFileOfNothingUsable", Tex(twoBlanks),
          {Cannot("Tex.txt cannot be used: it holds no element Zorby can use; its first line is line 1 (" +
                  twoBlanks + ").")}),
        R("AddOnAnimationHoldingATexture", Anim(F({{kNewR[0], kNewC[0], kNewC[2], kNewR[2]}})),
          {Cannot(
              "Anim.txt cannot be used: the element that starts on line 1 (<Ui2DAnimation item=\"R\">) holds "
              "on line 2 (<TextureInfo item=\"C\">) the start of a <TextureInfo> element, which belongs in "
              "Zor_Tex.txt.")}),
        R("AddOnLineOf40000LeadingSpaces",
          Tex(F({kNewB, {kNewC[0], std::string(40000, ' ') + "<Size/>", kNewC[2]}})),
          {Cannot("Tex.txt cannot be used: patched in, line 5 (<Size/>) would keep the next run from opening "
                  "EQUI_Animations.xml, not even to restore it: it has more than 32767 leading spaces.")}),
        R("AddOnFirstTextureLineOf40000LeadingSpaces", // the first line of the textures, after the head
          Tex(F({{std::string(40000, ' ') + kA[0], kNewC[1], kNewC[2]}})),
          {Cannot(
              "Tex.txt cannot be used: patched in, line 1 (<TextureInfo item=\"A\">) would keep the next run "
              "from opening EQUI_Animations.xml, not even to restore it: it has more than 32767 leading "
              "spaces.")}),
        R("AddOnTitlePastItsFirst32767Characters", Anim(F({{farQuote, kNewR[2]}})),
          {Cannot("Anim.txt cannot be used: line 1 (" + farQuote.substr(0, 80) +
                  "\xE2\x80\xA6) opens an element whose title Zorby cannot read.")}),
        R("StartedInTheDefaultFolderBesideATwin",
          All({noCaseTwins, [] { fs::create_directory("../Default"); },
               [] { fs::current_path("../default"); }}),
          kWrongFolder, {}, kNo),
        R("StartedInTheDefaultFolderSpeltAnotherWay",
          All({noCaseTwins, [] { fs::rename("../default", "../DEFAULT"); },
               [] { fs::current_path("../DEFAULT"); }}),
          kWrongFolder, {}, kNo),
        R("SecondRunInAnotherSpellingOfTheFolder", {}, {kCompleted}, Patched(kPatched),
          {.afterStart = secondRunInTwin}),
        R("RestorePutsTheBackupBack", Write("EQUI_An.xml", kOldBackup), {kRestored},
          {{kMainPath, kOldBackup}, {kBackupPath, {}}}, restore),
        R("RestoreOverAReadOnlyMainFile",
          All({Write("EQUI_An.xml", kOldBackup), ReadOnly("EQUI_Animations.xml")}),
          {Protected("EQUI_Animations.xml")}, {}, restore),
        R("RestoreAfterTheBackupWentAway", Write("EQUI_An.xml", kOldBackup),
          {{"Zorby", "Error 53: File not found\rNothing was changed. Zorby will close now."}}, {},
          {.afterStart = Remove("EQUI_An.xml"), .command = Command::Restore}),
    };
}

// The check foretells a patch that nothing changes under and no question steers, with the backup ticked
// as the window starts; its summary only in a folder that holds its main file (a check never seeds one).
bool Foretold(const Row& row) {
    const Options& o = row.options;
    return o.command == Command::Patch && !o.afterStart && !o.whileShown.second && !o.fileSizeLimit &&
           !o.output && o.backupTicked && std::ranges::find(row.shown, kOverwrite) == row.shown.end();
}

// Starts the tool in the standard folder as a row arranges it, and runs the row's command.
class RobustnessTable : public ::testing::TestWithParam<Row> {
protected:
    void Prepare(const Arrange& arrange) {
        All({Main(kMain), Tex(kZorTex), Anim(kZorAnim),
             Write("../default/EQUI_Animations.xml", "<Schema/>\r\n<!-- the game's own file -->\r\n")})();
        if (arrange) {
            arrange();
        }
    }

    Flow Run(const Options& options, testing::Snapshot& expected) {
        window.answers = options.answers;
        window.backupChecked = options.backupTicked;
        std::optional<testing::FileSizeLimit> limit;
        try { // rows hold sparse files of gigabytes: a fault that copied one would fill the disk
            limit.emplace(options.fileSizeLimit.value_or(std::uint64_t{256} << 20));
        } catch (const NotAvailableHere&) {
            if (options.fileSizeLimit) {
                throw;
            }
        }
        window.whileShown = [&, done = false](const FakeWindow::Message& message) mutable {
            if (!done && message.title == options.whileShown.first) { // the player's change, not Zorby's
                done = true;
                options.whileShown.second();
                expected = testing::TakeSnapshot(folder.Root());
            }
        };
        std::optional<testing::WithoutAdministratorRights> player;
        if (options.asPlayer) {
            player.emplace();
        }
        Workspace ws;
        const Flow flow = RunLoadStep(ws, window, "help.html");
        if (flow == Flow::Continue && !window.messages.empty()) {
            opensAfterFailure = window.messages.size();
            restoreOnly = !window.Enabled(Control::PatchCommand) &&
                          !window.Visible(Control::Backup_Animation) &&
                          window.Enabled(Control::Restore_Animation);
        }
        const bool patch = options.command == Command::Patch;
        if (flow != Flow::Continue ||
            !window.Enabled(patch ? Control::PatchCommand : Control::Restore_Animation)) {
            return flow;
        }
        if (options.afterStart) {
            options.afterStart();
            expected = testing::TakeSnapshot(folder.Root()); // what the command may change starts here
        }
        return RunCommand(window, [&] {
            return patch ? PatchCommand(ws, window, options.output) : RestoreCommand(window);
        });
    }

    ShownList Shown() const {
        ShownList shown;
        for (const auto& message : window.messages) {
            EXPECT_FALSE(message.whileBusy) << message.title << " shown with the busy pointer";
            const bool enterSaysNo = message.buttons == MessageButtons::YesNoDefaultNo;
            const bool completed = message.text.starts_with(kPatchCompleted);
            shown.emplace_back(message.title + (enterSaysNo ? " (Enter: No)" : ""),
                               completed ? kPatchCompleted : message.text);
            if (shown.size() == opensAfterFailure) {
                shown.push_back(restoreOnly ? kRestoreOnly : kOpensAfterFailure);
            }
        }
        for (const auto& link : window.links) {
            shown.emplace_back("open", link);
        }
        return shown;
    }

    TempFolder folder;
    FakeWindow window;
    std::size_t opensAfterFailure = 0; // the boxes the failed start showed before the window opened
    bool restoreOnly = false;
};

TEST_P(RobustnessTable, Row) {
    const Row& row = GetParam();
    testing::Snapshot expected;
    Flow flow = Flow::Continue;
    CheckResult check;
    bool foretold = false;
    bool summaryForetold = false;
    try {
        Prepare(row.arrange);
        expected = testing::TakeSnapshot(folder.Root());
        foretold = Foretold(row);
        summaryForetold = CheckForFile("EQUI_Animations.xml");
        std::optional<testing::WithoutAdministratorRights> player;
        if (row.options.asPlayer) {
            player.emplace();
        }
        check = CheckCurrentFolder();
        player.reset();
        EXPECT_EQ(testing::TakeSnapshot(folder.Root()), expected) << "the check changed something";
        flow = Run(row.options, expected);
    } catch (const NotAvailableHere& why) {
        GTEST_SKIP() << why.what();
    }
    for (const auto& [path, content] : row.changes) {
        content ? void(expected[path] = {testing::SnapshotEntry::Kind::File, *content})
                : void(expected.erase(path));
    }
    // A run that showed nothing never started a command; one that ends with a notice is done.
    // A run the player closed while a question was open ends as closing the window does.
    const auto last = row.shown.empty() ? "" : row.shown.back().first;
    const bool closed = std::ranges::find(row.options.answers, Answer::Closed) != row.options.answers.end();
    EXPECT_EQ(static_cast<int>(flow), static_cast<int>(last.empty() || last == "window" ? Flow::Continue
                                                       : last == "Notice" || closed     ? Flow::Done
                                                                                        : Flow::Failed));
    EXPECT_EQ(Shown(), row.shown);
    EXPECT_TRUE(window.answers.empty()) << "a scripted answer was never asked for";
    EXPECT_FALSE(window.busy) << "the busy pointer was left on";
    EXPECT_EQ(testing::TakeSnapshot(folder.Root()), expected);
    // What the check printed is what the run then showed: the notice's summary, or the refusal's boxes.
    const auto notice = std::ranges::find_if(window.messages, [](const FakeWindow::Message& message) {
        return message.text.starts_with(kPatchCompleted);
    });
    const bool completed = notice != window.messages.end();
    std::string boxes = completed ? notice->text.substr(kCompleted.second.size()) : "";
    for (const auto& message : window.messages) {
        const bool ok = !completed && message.buttons == MessageButtons::Ok;
        boxes += ok ? (boxes.empty() ? "" : "\r\r") + message.text : "";
    }
    if (foretold &&
        ((completed && summaryForetold) || (!completed && (flow == Flow::Failed || restoreOnly)))) {
        EXPECT_EQ(check.status, completed ? 0 : 1);
        EXPECT_EQ(completed ? "\r\r" + check.text : check.text, boxes);
    }
    if (!row.options.summary.empty()) {
        EXPECT_EQ(boxes, "\r\r" + row.options.summary);
    }
    if (flow == Flow::Done && row.options.command == Command::Restore) {
        EXPECT_FALSE(window.Enabled(Control::Restore_Animation)) << "Restore offered with no backup left";
    }
    if (flow == Flow::Done && row.options.command == Command::Patch) {
        EXPECT_EQ(window.Enabled(Control::Restore_Animation), CheckForFile("EQUI_An.xml")) << "Restore";
        Workspace rewritten;
        EXPECT_FALSE(ScanAnimationFile(rewritten, nullptr)) << "the rewritten file could not be read";
        EXPECT_FALSE(rewritten.Defect) << "the rewritten file would be refused";
    }
}

INSTANTIATE_TEST_SUITE_P(Robustness, RobustnessTable, ::testing::ValuesIn(AllRows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

} // namespace
} // namespace zorby
