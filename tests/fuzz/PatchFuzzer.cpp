// A whole run of the tool on a folder built from the input: the start-up step and "Patch!" (or "Restore").
// Then what only random files can show: nothing changed but what a run may change, and only the way it may;
// nothing left behind; a completed patch wrote exactly what the step-by-step merge gives, every comment of
// the main file outside the elements it replaced among it, a file the next start loads, and one that should
// complete did; with a backup present, Restore is within reach whatever the main file holds. The folders
// themselves (links, protected files, changes while the window is open) are the robustness table's. A
// violation throws: the libFuzzer entry aborts on it, so that the input is kept; engine_tests replays the
// seed corpus (tests/fuzz/corpus, made by make_corpus.py) the same way.
//
// Input: byte 0 the folder (kFolder... bits, the top one: click "Restore" instead); byte 1, n > 0: the n-th
// write of the new main file fails, as a full disk would (the one after the last line is the final flush);
// bytes 2, 3: the answers to the Yes/No boxes in turn, lowest bit first (1 = Yes); then EQUI_Animations.xml,
// Zor_Tex.txt, Zor_Anim.txt and the old EQUI_An.xml, separated by 0x1E, a separator rather than lengths so
// that the usual mutations change one file without shifting the others. A short input counts as padded with
// zeros.

#include "Commands.h"
#include "FailingSink.h"
#include "FakeWindow.h"
#include "FolderSnapshot.h"
#include "InventoryScan.h"
#include "LineGrammar.h"
#include "LoadStep.h"
#include "PatchOutput.h"
#include "PatchPreconditions.h"
#include "StepByStepMerge.h"
#include "TempFolder.h"
#include "TextFile.h"

#include <algorithm>
#include <cstdint>
#ifdef ZORBY_FUZZ_CORPUS
#include <gtest/gtest.h>
#endif
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <stdexcept>

namespace zorby::fuzzing {
namespace {

using testing::Snapshot;
using testing::TempFolder;

constexpr std::uint8_t kFolderNoMainFile = 0x01; // seeded from ../default at start
constexpr std::uint8_t kFolderNoTextures = 0x02;
constexpr std::uint8_t kFolderNoAnimations = 0x04;
constexpr std::uint8_t kFolderOldBackup = 0x08;
constexpr std::uint8_t kFolderBackupUnticked = 0x10;
constexpr std::uint8_t kFolderNoDefaultFolder = 0x20;
constexpr std::uint8_t kFolderNoDefaultFile = 0x40;
constexpr std::uint8_t kFolderRestore = 0x80; // "Restore" is clicked instead of "Patch!"

const char* const kFileNames[] = {"EQUI_Animations.xml", "Zor_Tex.txt", "Zor_Anim.txt", "EQUI_An.xml"};

struct FuzzCase {
    std::uint8_t folder = 0;
    int failingWrite = -1; // 0-based; -1 for none
    std::deque<Answer> answers;
    std::string files[4]; // as kFileNames

    FuzzCase(const std::uint8_t* data, std::size_t size) {
        const auto control = [&](std::size_t index) -> unsigned { return index < size ? data[index] : 0U; };
        folder = static_cast<std::uint8_t>(control(0));
        failingWrite = static_cast<int>(control(1)) - 1;
        for (unsigned bit = 0; bit < 16; ++bit) {
            answers.push_back((((control(2) | (control(3) << 8U)) >> bit) & 1U) != 0 ? Answer::Yes
                                                                                     : Answer::No);
        }
        const std::size_t controls = std::min<std::size_t>(size, 4);
        std::string_view rest(reinterpret_cast<const char*>(data) + controls, size - controls);
        for (std::string& file : files) {
            const auto end = rest.find('\x1e');
            file = rest.substr(0, end);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
    }
    bool Has(std::uint8_t bit) const { return (folder & bit) != 0; }
    bool Present(int file) const {
        const std::uint8_t absent[] = {kFolderNoMainFile, kFolderNoTextures, kFolderNoAnimations, 0};
        return file == 3 ? Has(kFolderOldBackup) : !Has(absent[file]);
    }
    // The main file the tool reads: its own, or the seed from ../default; none when neither is there.
    std::optional<std::string> MainAsRead() const {
        const bool seeded = !Has(kFolderNoDefaultFolder) && !Has(kFolderNoDefaultFile);
        return Present(0) || seeded ? std::optional(files[0]) : std::nullopt;
    }
};

void Require(bool holds, const std::string& what) {
    if (!holds) {
        throw std::logic_error("zorby patch invariant violated: " + what);
    }
}

// Every comment line of the main file outside the elements a patch may replace is in the new file; in
// the same order when the file already stands as the writer writes it: the head, the textures, the
// animations, then the rest, with no comment on a line outside the elements.
void RequireCommentsKept(const Workspace& ws, const std::string& output) {
    std::vector<std::string> kept, written;
    bool head = true, inOrder = true, animations = false, replaced = false;
    std::string_view closing; // of the open element; empty outside elements
    CommentTracker comments;
    std::string buffer;
    const std::string main = ReadTextFile(kFileNames[0]).text;
    const auto endsWith = [](std::string_view rest, std::string_view tag) {
        return !tag.empty() && TTrim(TabTrim(rest)).ends_with(tag);
    };
    LineSplitter lines(main);
    for (std::string_view raw; lines.Next(raw);) {
        const bool inComment = comments.IsOpen();
        const std::string_view t = TestFormView(raw, buffer);
        const CommentTracker::Line line = comments.Take(t);
        const std::string_view rest = line.rest.substr(IndentOf(line.rest));
        const bool texture = StartsWith(rest, tags::kTextureOpening);
        const bool opening = texture || StartsWith(rest, tags::kAnimationOpening);
        const bool opens = opening && closing.empty();
        if (opening && !opens) {
            return; // one element opened inside another: the scan shares their lines out by another rule
        }
        if (opens) {
            const auto& titles = (texture ? ws.ZorTextures : ws.ZorAnimations).Lines();
            replaced = std::ranges::find(titles, TitleOf(rest).value_or("")) != titles.end();
            inOrder = inOrder && !(texture && animations);
            head = false;
            animations = animations || !texture;
            closing = texture ? tags::kTextureClosing : tags::kAnimationClosing;
        } else if (closing.empty() && !rest.empty()) {
            inOrder = inOrder && (head || !(line.comment || inComment));
            head = head && !StartsWith(rest, tags::kSchema);
        }
        if ((line.comment || inComment) && !t.empty() && !(replaced && !closing.empty())) {
            kept.push_back(TTrim(TabTrim(raw)));
        }
        if ((!closing.empty() && TTrim(TabTrim(rest)) == closing) || (opens && endsWith(rest, closing))) {
            closing = {};
        }
    }
    LineSplitter out(std::string_view(output).substr(ws.MainFileMark ? kUtf8Mark.size() : 0));
    for (std::string_view line; out.Next(line);) {
        written.push_back(TTrim(TabTrim(line)));
    }
    if (!inOrder) { // then each one somewhere, as often as in the main file
        std::ranges::sort(kept);
        std::ranges::sort(written);
    }
    auto at = written.begin();
    for (const std::string& comment : kept) {
        at = std::find(at, written.end(), comment);
        Require(at++ != written.end(), "a comment of the main file lost or moved: " + comment);
    }
}

// Whether the next start could load `bytes` as its EQUI_Animations.xml and patch it again.
bool NextStartLoads(std::string bytes) {
    TextFileContent content = TextContentOf(std::move(bytes));
    Workspace next;
    return content.unreadable == Unreadable::No && !ScanMainFileText(next, std::move(content.text)) &&
           !next.Defect;
}

// What a patch of these files must come to, worked out in a folder of its own: scanned as the tool scans,
// refused as it refuses, then merged step by step.
struct Expectation {
    enum class Outcome { ScanFails, Refused, Written } outcome = Outcome::ScanFails;
    std::string message = {}; // the start of the refusal
    std::string output = {};
    int writes = 0;                      // of the new file, before its final flush
    std::vector<std::string> calls = {}; // of the window: the busy pointer, progress, redraws
};

Expectation Expect(const FuzzCase& c) {
    TempFolder oracle;
    TempFolder::Write(kFileNames[0], *c.MainAsRead());
    for (int file = 1; file <= 2; ++file) {
        if (c.Present(file)) {
            TempFolder::Write(kFileNames[file], c.files[file]);
        }
    }
    Workspace ws;
    testing::FakeWindow window;
    try {
        if (ScanAnimationFile(ws, nullptr)) {
            return {};
        }
        ScanAddOnFiles(ws, window);
    } catch (const Failure&) {
        return {};
    }
    if (const auto refusal = FindPatchRefusal(ws)) {
        return {Expectation::Outcome::Refused, "Error: " + refusal->text};
    }
    Expectation expected{Expectation::Outcome::Written};
    try {
        expected.output = testing::StepByStepPatchOutput(ws, &window);
    } catch (const Failure& failure) {
        Require(failure.Number() == Overflow,
                "the reference merge failed with " + std::to_string(failure.Number()));
        return {Expectation::Outcome::Refused, "Error: EQUI_Animations.xml cannot be patched: its "};
    }
    // What the next start could not load is refused; which line is to blame is the check's to tell.
    if (!NextStartLoads(expected.output)) {
        return {Expectation::Outcome::Refused, "Error: "};
    }
    RequireCommentsKept(ws, expected.output);
    expected.calls = window.calls;
    expected.calls.insert(expected.calls.begin(), "busy on");
    expected.calls.push_back("busy off");
    expected.writes = 1; // the new file in one write, then its flush
    return expected;
}

struct RunRecord {
    testing::FakeWindow window;
    Flow load = Flow::Continue;
    bool clicked = false; // "Patch!" (or "Restore") was enabled and pressed
    Flow patch = Flow::Continue;
    bool completed = false; // the completion notice was shown
    bool restored = false;
    bool restoreOffered = false; // when the window opened

    std::string LastMessage() const {
        return window.messages.empty() ? "(none)"
                                       : window.messages.back().title + ": " + window.messages.back().text;
    }
};

RunRecord Run(const FuzzCase& c) {
    RunRecord run;
    run.window.answers = c.answers;
    run.window.backupChecked = !c.Has(kFolderBackupUnticked);
    Workspace ws;
    run.load = RunLoadStep(ws, run.window, "help.html");
    run.restoreOffered = run.window.Enabled(Control::Restore_Animation);
    const bool restore = c.Has(kFolderRestore);
    if (run.load == Flow::Continue &&
        run.window.Enabled(restore ? Control::Restore_Animation : Control::PatchCommand)) {
        run.clicked = true;
        const SinkWrapper wrap =
            c.failingWrite >= 0 ? testing::FailingSink::FailingAt(c.failingWrite) : nullptr;
        run.patch = RunCommand(run.window, [&] {
            return restore ? RestoreCommand(run.window) : PatchCommand(ws, run.window, wrap);
        });
    }
    run.completed = std::ranges::any_of(
        run.window.messages, [](const auto& message) { return message.text.starts_with("Patch Completed"); });
    run.restored = restore && run.patch == Flow::Done;
    return run;
}

void Check(const FuzzCase& c, const Snapshot& before, const Snapshot& after, const RunRecord& run,
           const std::optional<Expectation>& expected) {
    using O = Expectation::Outcome;
    Require(!run.window.busy, "the busy pointer was left on");
    Require(run.load != Flow::Done && (!run.clicked || run.patch != Flow::Continue),
            "a run that did not end");
    const auto mainAsRead = c.MainAsRead();
    const auto mayChange = [&](const std::string& path, const auto& was, const auto& is) {
        if (path == "custom/EQUI_Animations.xml") {
            const bool seeded = !was && is && is->bytes == mainAsRead;
            return seeded || (run.completed && is && is->bytes == expected->output) ||
                   (run.restored && is && is->bytes == c.files[3]);
        }
        if (path == "custom/EQUI_An.xml") {
            // Only a completed patch replaces an older backup, and only one the player let go: the question
            // is the first a patch that completes asks. Restore moves it.
            const bool mayBackUp =
                !c.Has(kFolderBackupUnticked) && run.completed && (!was || c.answers[0] == Answer::Yes);
            return (mayBackUp && is && is->bytes == mainAsRead) || (run.restored && !is);
        }
        return (path == "custom/Zor_Tex.txt" || path == "custom/Zor_Anim.txt") && run.completed && !is;
    };
    std::set<std::string> paths;
    for (const Snapshot* snapshot : {&before, &after}) {
        for (const auto& entry : *snapshot) {
            paths.insert(entry.first);
        }
    }
    for (const std::string& path : paths) {
        const auto was = testing::Find(before, path);
        const auto is = testing::Find(after, path);
        Require(was == is || mayChange(path, was, is), "a change the run may not make: " + path);
    }

    // The end of the run must be the one the files call for. Whatever the main file holds, a backup can be
    // put back, unless this is no custom UI folder.
    const bool scanFails = !expected || expected->outcome == O::ScanFails;
    const bool wrongFolder = !c.Present(0) && c.Has(kFolderNoDefaultFolder);
    const bool restoreOnly = scanFails && c.Has(kFolderOldBackup) && !wrongFolder;
    Require((run.load == Flow::Failed) == (scanFails && !restoreOnly),
            "the start failed or went on against the odds: " + run.LastMessage());
    Require(run.load == Flow::Failed || run.restoreOffered == c.Has(kFolderOldBackup),
            "Restore offered without a backup, or out of reach with one");
    if (c.Has(kFolderRestore)) {
        Require(run.clicked == (run.load == Flow::Continue && c.Has(kFolderOldBackup)) &&
                    run.restored == run.clicked,
                "Restore did not put the backup back: " + run.LastMessage());
        return;
    }
    Require(
        run.clicked == (run.load == Flow::Continue && !restoreOnly && (c.Present(1) || c.Present(2))),
        "Patch! enabled without add-on files or with a main file that could not be read, or disabled with "
        "them");
    if (!run.clicked) {
        return;
    }
    if (expected->outcome != O::Written) {
        Require(run.patch == Flow::Failed && run.LastMessage().starts_with(expected->message),
                "expected \"" + expected->message + "\", got \"" + run.LastMessage() + "\"");
        return;
    }
    const bool writeFails = c.failingWrite >= 0 && c.failingWrite <= expected->writes;
    Require(run.completed == !writeFails && run.patch == (writeFails ? Flow::Failed : Flow::Done),
            "completed or not against the odds: " + run.LastMessage());
    const auto written = testing::Find(after, "custom/EQUI_Animations.xml");
    Require(!run.completed || (written && written->bytes == expected->output),
            "Patch Completed without the merge's bytes in the main file");
    Require(!run.completed || NextStartLoads(written->bytes),
            "a completed patch wrote a file the next start refuses");
    Require(run.window.calls == expected->calls,
            "the busy pointer, progress or redraws differ from the reference's");
}

} // namespace

void FuzzOnePatch(const std::uint8_t* data, std::size_t size) {
    const FuzzCase c(data, size);
    std::optional<Expectation> expected;
    if (c.MainAsRead()) {
        expected = Expect(c);
    }
    TempFolder folder(!c.Has(kFolderNoDefaultFolder));
    if (!c.Has(kFolderNoDefaultFolder) && !c.Has(kFolderNoDefaultFile)) {
        TempFolder::Write("../default/EQUI_Animations.xml",
                          c.Present(0) ? "<!-- the game's own file, never copied over one here -->"
                                       : c.files[0]);
    }
    for (int file = 0; file < 4; ++file) {
        if (c.Present(file)) {
            TempFolder::Write(kFileNames[file], c.files[file]);
        }
    }
    const Snapshot before = testing::TakeSnapshot(folder.Root());
    RunRecord run;
    try {
        run = Run(c);
    } catch (const std::exception& escaped) {
        Require(false, std::string("an exception escaped the run: ") + escaped.what());
    }
    Check(c, before, testing::TakeSnapshot(folder.Root()), run, expected);
}

} // namespace zorby::fuzzing

#ifdef ZORBY_FUZZ_CORPUS
// The seeds, and the findings kept among them, in every test run.
TEST(FuzzCorpus, EverySeedPassesTheFuzzersChecks) {
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(ZORBY_FUZZ_CORPUS)) {
        inputs.push_back(entry.path());
    }
    ASSERT_GT(inputs.size(), 20U);
    for (const auto& input : inputs) {
        const std::string bytes = zorby::testing::TempFolder::Read(input);
        try {
            zorby::fuzzing::FuzzOnePatch(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        } catch (const std::logic_error& violation) {
            ADD_FAILURE() << input.filename() << ": " << violation.what();
        }
    }
}
#else
// Build with TMPDIR on a memory file system: every completed patch syncs its files.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reference merge rebuilds a whole list per replacement; far larger inputs only cost time.
    if (size <= 64 * 1024) {
        try {
            zorby::fuzzing::FuzzOnePatch(data, size);
        } catch (const std::logic_error& violation) {
            std::fprintf(stderr, "\n==== %s\n", violation.what());
            std::abort();
        }
    }
    return 0;
}
#endif
