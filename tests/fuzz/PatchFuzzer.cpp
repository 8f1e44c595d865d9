// A whole run on a folder built from the input: the start-up step, then "Patch!" or "Restore". Then what
// only random files can show: nothing changed but what a run may change, and only the way it may; nothing
// left behind; a completed patch wrote exactly what the step-by-step merge gives, every comment of the main
// file outside the elements it replaced among it, and a file the next start loads; one that should complete
// did; with a backup present, Restore is within reach whatever the main file holds. A violation throws: the
// libFuzzer entry aborts on it, so that the input is kept; engine_tests replays the seed corpus
// (tests/fuzz/corpus, made by make_corpus.py) the same way.
//
// Input: byte 0 the folder (the bits below; the top one clicks "Restore"); byte 1, n > 0: the n-th write of
// the new main file fails as on a full disk (the one after the last line is the final flush); bytes 2, 3:
// the Yes/No answers in turn, lowest bit first (1 = Yes); then EQUI_Animations.xml, Zor_Tex.txt,
// Zor_Anim.txt and the old EQUI_An.xml, split by 0x1E rather than lengths, so that a mutation changes one
// file without shifting the others. A short input counts as padded with zeros.

#include "Commands.h"
#include "FailingSink.h"
#include "FakeWindow.h"
#include "FolderSnapshot.h"
#include "InventoryScan.h"
#include "LineGrammar.h"
#include "LoadStep.h"
#include "PatchPreconditions.h"
#include "StepByStepMerge.h"
#include "TempFolder.h"
#include "TextFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#ifdef ZORBY_FUZZ_CORPUS
#include <gtest/gtest.h>
#endif
#include <optional>
#include <stdexcept>

namespace zorby::fuzzing {

using testing::TempFolder;
namespace {

// Byte 0: the folder. Without its own main file, it is seeded from ../default at start.
enum : std::uint8_t {
    kNoMainFile = 0x01,
    kNoTextures = 0x02,
    kNoAnimations = 0x04,
    kOldBackup = 0x08,
    kBackupUnticked = 0x10,
    kNoDefaultFolder = 0x20,
    kNoDefaultFile = 0x40,
    kRestore = 0x80,
};
const char* const kFileNames[] = {"EQUI_Animations.xml", "Zor_Tex.txt", "Zor_Anim.txt", "EQUI_An.xml"};

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
        const std::string trimmed = TTrim(TabTrim(rest));
        if (!closing.empty() && (trimmed == closing || (opens && trimmed.ends_with(closing)))) {
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

// What a patch must come to: the refusal's start, or the bytes written and the window's calls.
struct Expectation {
    bool written = false;
    std::string message = {};
    std::string output = {};
    std::vector<std::string> calls = {}; // of the window: the busy pointer, progress, redraws
};

// Worked out in a folder of its own: scanned as the tool scans, refused as it refuses, then merged step by
// step. Nothing where the scan fails.
std::optional<Expectation> Expect(const std::string& main, const std::string* tex, const std::string* anim) {
    TempFolder oracle;
    TempFolder::Write(kFileNames[0], main);
    for (const auto& [name, bytes] : {std::pair{kFileNames[1], tex}, std::pair{kFileNames[2], anim}}) {
        if (bytes != nullptr) {
            TempFolder::Write(name, *bytes);
        }
    }
    Workspace ws;
    testing::FakeWindow window;
    try {
        if (ScanAnimationFile(ws, nullptr)) {
            return std::nullopt;
        }
        ScanAddOnFiles(ws, window);
    } catch (const Failure&) {
        return std::nullopt;
    }
    if (const auto refusal = FindPatchRefusal(ws)) {
        return Expectation{false, "Error: " + refusal->text};
    }
    Expectation expected{true};
    try {
        expected.output = testing::StepByStepPatchOutput(ws, &window);
    } catch (const Failure& failure) {
        Require(failure.Number() == Overflow,
                "the reference merge failed with " + std::to_string(failure.Number()));
        return Expectation{false, "Error: EQUI_Animations.xml cannot be patched: its "};
    }
    // What the next start could not load is refused; which line is to blame is the check's to tell.
    if (!NextStartLoads(expected.output)) {
        return Expectation{false, "Error: "};
    }
    RequireCommentsKept(ws, expected.output);
    expected.calls = window.calls;
    expected.calls.insert(expected.calls.begin(), "busy on");
    expected.calls.push_back("busy off");
    return expected;
}

} // namespace

void FuzzOnePatch(const std::uint8_t* data, std::size_t size) {
    const auto control = [&](std::size_t index) -> unsigned { return index < size ? data[index] : 0U; };
    const auto has = [folder = control(0)](unsigned bit) { return (folder & bit) != 0; };
    const int failingWrite = static_cast<int>(control(1)) - 1; // 0-based; -1 for none
    std::deque<Answer> answers;
    for (unsigned bit = 0; bit < 16; ++bit) {
        answers.push_back((((control(2) | (control(3) << 8U)) >> bit) & 1U) != 0 ? Answer::Yes : Answer::No);
    }
    std::string files[4]; // as kFileNames
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    rest.remove_prefix(std::min<std::size_t>(size, 4));
    for (std::string& file : files) {
        const auto end = rest.find('\x1e');
        file = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    const bool present[] = {!has(kNoMainFile), !has(kNoTextures), !has(kNoAnimations), has(kOldBackup)};
    // The main file the tool reads: its own, or the seed from ../default; none when neither is there.
    const bool seeds = !has(kNoDefaultFolder) && !has(kNoDefaultFile);
    const std::optional<std::string> main = present[0] || seeds ? std::optional(files[0]) : std::nullopt;
    const std::optional<Expectation> expected =
        main ? Expect(*main, present[1] ? &files[1] : nullptr, present[2] ? &files[2] : nullptr)
             : std::nullopt;

    TempFolder folder(!has(kNoDefaultFolder));
    if (seeds) {
        TempFolder::Write("../default/EQUI_Animations.xml",
                          present[0] ? "<!-- the game's own file, never copied over one here -->" : files[0]);
    }
    for (int file = 0; file < 4; ++file) {
        if (present[file]) {
            TempFolder::Write(kFileNames[file], files[file]);
        }
    }
    const testing::Snapshot before = testing::TakeSnapshot(folder.Root());
    testing::FakeWindow window;
    window.answers = answers;
    window.backupChecked = !has(kBackupUnticked);
    const bool restore = has(kRestore);
    Flow load = Flow::Continue, command = Flow::Continue;
    bool clicked = false, restoreOffered = false;
    try {
        Workspace ws;
        load = RunLoadStep(ws, window, "help.html");
        restoreOffered = window.Enabled(Control::Restore_Animation);
        clicked = load == Flow::Continue &&
                  window.Enabled(restore ? Control::Restore_Animation : Control::PatchCommand);
        const SinkWrapper wrap = failingWrite >= 0 ? testing::FailingAt(failingWrite) : nullptr;
        if (clicked) {
            command = RunCommand(
                window, [&] { return restore ? RestoreCommand(window) : PatchCommand(ws, window, wrap); });
        }
    } catch (const std::exception& escaped) {
        Require(false, std::string("an exception escaped the run: ") + escaped.what());
    }
    const bool completed = std::ranges::any_of(
        window.messages, [](const auto& message) { return message.text.starts_with("Patch Completed"); });
    const bool restored = restore && command == Flow::Done;
    const std::string last = window.messages.empty()
                                 ? "(none)"
                                 : window.messages.back().title + ": " + window.messages.back().text;
    Require(!window.busy, "the busy pointer was left on");
    Require(load != Flow::Done && (!clicked || command != Flow::Continue), "a run that did not end");

    const testing::Snapshot after = testing::TakeSnapshot(folder.Root());
    const auto holds = [&](const std::string& path, const std::optional<std::string>& bytes) {
        const auto it = after.find(path);
        return bytes ? it != after.end() && it->second.bytes == *bytes : it == after.end();
    };
    // Only a completed patch replaces an older backup, and only one the player let go: the question is the
    // first a patch that completes asks. Restore moves it.
    const bool mayBackUp = !has(kBackupUnticked) && completed && (!present[3] || answers[0] == Answer::Yes);
    testing::Snapshot every = before;
    every.insert(after.begin(), after.end());
    for (const auto& [path, ignored] : every) {
        const auto was = before.find(path), is = after.find(path);
        const bool same =
            was == before.end() ? is == after.end() : is != after.end() && was->second == is->second;
        const bool allowed = path == "custom/EQUI_Animations.xml"
                                 ? (was == before.end() && holds(path, main)) ||
                                       (completed && expected && holds(path, expected->output)) ||
                                       (restored && holds(path, files[3]))
                             : path == "custom/EQUI_An.xml"
                                 ? (mayBackUp && holds(path, main)) || (restored && holds(path, {}))
                                 : (path == "custom/Zor_Tex.txt" || path == "custom/Zor_Anim.txt") &&
                                       completed && holds(path, {});
        Require(same || allowed, "a change the run may not make: " + path);
    }

    // The end of the run must be the one the files call for. Whatever the main file holds, a backup can be
    // put back, unless this is no custom UI folder.
    const bool restoreOnly = !expected && present[3] && !(!present[0] && has(kNoDefaultFolder));
    Require((load == Flow::Failed) == (!expected && !restoreOnly),
            "the start failed or went on against the odds: " + last);
    Require(load == Flow::Failed || restoreOffered == present[3],
            "Restore offered without a backup, or out of reach with one");
    if (restore) {
        Require(clicked == (load == Flow::Continue && present[3]) && restored == clicked,
                "Restore did not put the backup back: " + last);
        return;
    }
    Require(
        clicked == (load == Flow::Continue && !restoreOnly && (present[1] || present[2])),
        "Patch! enabled without add-on files or with a main file that could not be read, or disabled with "
        "them");
    if (!clicked) {
        return;
    }
    if (!expected->written) {
        Require(command == Flow::Failed && last.starts_with(expected->message),
                "expected \"" + expected->message + "\", got \"" + last + "\"");
        return;
    }
    const bool writeFails = failingWrite == 0 || failingWrite == 1; // the new file in one write, its flush
    Require(completed == !writeFails && command == (writeFails ? Flow::Failed : Flow::Done),
            "completed or not against the odds: " + last);
    Require(!completed || holds("custom/EQUI_Animations.xml", expected->output),
            "Patch Completed without the merge's bytes in the main file");
    Require(window.calls == expected->calls,
            "the busy pointer, progress or redraws differ from the reference's");
}

} // namespace zorby::fuzzing

#ifdef ZORBY_FUZZ_CORPUS
// The seeds, and the findings kept among them, in every test run.
TEST(FuzzCorpus, EverySeedPassesTheFuzzersChecks) {
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZORBY_FUZZ_CORPUS)) {
        const std::string bytes = zorby::testing::TempFolder::Read(entry.path());
        try {
            zorby::fuzzing::FuzzOnePatch(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        } catch (const std::logic_error& violation) {
            ADD_FAILURE() << entry.path().filename() << ": " << violation.what();
        }
        ++seeds;
    }
    EXPECT_GT(seeds, 20);
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
