// libFuzzer target for a whole run of the tool: the start-up step and "Patch!" on a folder built from
// the input (see FuzzCase.h for the input layout), followed by checks that no file was lost or mangled.
//
// A failed run (refused, failed, or a failed start) may change only what the tool is allowed to change
// before it fails: the stale helper files deleted at start, Debug.txt emptied and filled with the trace,
// EQUI_Animations.xml seeded from ..\default\, and a backup made just before a failed write. Everything
// else, above all EQUI_Animations.xml and the add-on files, must be byte for byte as before.
//
// A completed patch must have written exactly what the literal reference merge gives for the same
// files; the used add-on files are gone unless Debug.txt exists, and the backup is the old main file.

#include "Commands.h"
#include "FailingSink.h"
#include "Failure.h"
#include "FakeWindow.h"
#include "FileNames.h"
#include "FuzzCase.h"
#include "FuzzFolder.h"
#include "LoadStep.h"
#include "PatchExpectation.h"
#include "PlainText.h"
#include "ReplacementFile.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zorby::fuzzing {

namespace {

constexpr const char* kMainFile = "EQUI_Animations.xml";
constexpr const char* kBackupFile = "EQUI_An.xml";
constexpr const char* kDebugFile = "Debug.txt";
constexpr const char* kStaleHelpers[] = {"Zorby.bat", "ZOR_ANIM.COM"};
constexpr const char* kTwinAnimations = "zor_anim.txt";
const std::string kDefaultOwnFile = "<!-- the game's own file, not to be copied over an existing one -->\r\n";
const std::string kOldTrace = "an old trace\r\n";

// The tree of this process, removed before a finding ends it (the input alone reproduces the run).
FuzzFolder* currentFolder = nullptr;

[[noreturn]] void Violated(const std::string& what) {
    std::fprintf(stderr, "\n==== zorby patch invariant violated: %s\n", what.c_str());
    std::fflush(stderr);
    if (currentFolder != nullptr) {
        currentFolder->Remove();
    }
    std::abort();
}

void Require(bool holds, const std::string& what) {
    if (!holds) {
        Violated(what);
    }
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return fold(x) == fold(y);
    });
}

// The folder as the input asks for it.
struct Layout {
    std::vector<std::pair<std::string, std::string>> addOns; // name on disk, content
    std::optional<std::string> mainAsRead; // what the scan reads: the main file or its seed; none if neither
    bool mainPresent = false;
    bool debug = false;
    bool staleHelpers = false;

    // The add-on file that the tool uses for `wanted`, whatever its spelling: the first name in byte
    // order that differs from it in letter case only. Empty when there is none.
    std::string ReadName(const std::string& wanted) const {
        std::string found;
        for (const auto& [name, bytes] : addOns) {
            if (EqualIgnoringAsciiCase(name, wanted) && (found.empty() || name < found)) {
                found = name;
            }
        }
        return found;
    }
    // Whether the scan read this add-on file, under the spellings the scan asks for.
    bool IsReadAddOn(const std::string& name) const {
        return name == ReadName(names::kAddOnAnimationsRead) || name == ReadName(names::kAddOnTexturesRead);
    }
};

Layout LayOut(const FuzzCase& c, const FuzzFolder& folder) {
    Layout layout;
    const bool otherSpelling = c.Blocks(FuzzCase::kObstacleOtherSpelling);
    if (!c.Has(FuzzCase::kFolderNoTextures)) {
        const std::string name = otherSpelling ? "ZOR_TEX.TXT" : "Zor_Tex.txt";
        FuzzFolder::Write(name, c.textures, c.Blocks(FuzzCase::kObstacleTexturesReadOnly));
        layout.addOns.emplace_back(name, c.textures);
    }
    if (!c.Has(FuzzCase::kFolderNoAnimations)) {
        const std::string name = otherSpelling ? "zor_anim.TXT" : "Zor_Anim.txt";
        FuzzFolder::Write(name, c.animations, c.Blocks(FuzzCase::kObstacleAnimationsReadOnly));
        layout.addOns.emplace_back(name, c.animations);
    }
    if (c.Blocks(FuzzCase::kObstacleTwinAnimations)) {
        FuzzFolder::Write(kTwinAnimations, c.twinAnimations);
        layout.addOns.emplace_back(kTwinAnimations, c.twinAnimations);
    }

    layout.mainPresent = !c.Has(FuzzCase::kFolderNoMainFile);
    if (layout.mainPresent) {
        FuzzFolder::Write(kMainFile, c.mainFile, c.Blocks(FuzzCase::kObstacleMainReadOnly));
        layout.mainAsRead = c.mainFile;
    }
    if (!c.Has(FuzzCase::kFolderNoDefaultFolder)) {
        fs::create_directory(folder.Default());
        if (!c.Has(FuzzCase::kFolderNoDefaultFile)) {
            FuzzFolder::Write(folder.Default() / kMainFile,
                              layout.mainPresent ? kDefaultOwnFile : c.mainFile);
            if (!layout.mainPresent) {
                layout.mainAsRead = c.mainFile;
            }
        }
    }

    if (c.Has(FuzzCase::kFolderOldBackup)) {
        FuzzFolder::Write(kBackupFile, c.oldBackup, c.Blocks(FuzzCase::kObstacleBackupReadOnly));
    }
    const bool helpersReadOnly = c.Blocks(FuzzCase::kObstacleHelpersReadOnly);
    layout.debug = c.Has(FuzzCase::kFolderDebug);
    if (layout.debug) {
        FuzzFolder::Write(kDebugFile, kOldTrace, helpersReadOnly);
    }
    layout.staleHelpers = c.Has(FuzzCase::kFolderStaleHelpers);
    if (layout.staleHelpers) {
        FuzzFolder::Write(kStaleHelpers[0], "@echo off\r\n", helpersReadOnly);
        FuzzFolder::Write(kStaleHelpers[1], std::string("\x90\xc3", 2), helpersReadOnly);
    }
    return layout;
}

// What the run did, as far as the checks need it.
struct RunRecord {
    testing::FakeWindow window;
    Flow load = Flow::Continue;
    bool clicked = false; // "Patch!" was enabled and pressed
    Flow patch = Flow::Continue;
    bool completed = false;                // the completion notice was shown
    std::optional<Answer> overwriteAnswer; // the answer to the question about an older backup
    std::string changedInput;              // the first input file changed while the window was open
    std::optional<Snapshot> beforeClick;   // the folder after such a change
};

// The bytes of the file the tool reads for `wanted` (whatever its letter case: the first such name in
// byte order), or nothing when there is none.
std::optional<std::string> InputBytes(const std::string& wanted) {
    std::string found;
    for (const auto& entry : fs::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && EqualIgnoringAsciiCase(name, wanted) &&
            (found.empty() || name < found)) {
            found = name;
        }
    }
    if (found.empty()) {
        return std::nullopt;
    }
    std::ifstream in(found, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Changes the input files while the window is open, as a player or a second window might. Returns the
// first of them (in the order the tool checks them) whose bytes differ afterwards, or nothing.
std::string ChangeInputs(const FuzzCase& c) {
    const char* inputs[] = {kMainFile, names::kAddOnTexturesRead, names::kAddOnAnimationsRead};
    std::optional<std::string> was[3];
    for (int i = 0; i < 3; ++i) {
        was[i] = InputBytes(inputs[i]);
    }
    const auto readName = [](const std::string& wanted) {
        for (const auto& entry : fs::directory_iterator(".")) {
            const std::string name = entry.path().filename().string();
            if (EqualIgnoringAsciiCase(name, wanted)) {
                return name;
            }
        }
        return std::string();
    };
    if (c.Changes(FuzzCase::kChangeMainFile) && was[0]) {
        FuzzFolder::Write(readName(kMainFile), *was[0] + "<!-- edited -->\r\n");
    }
    if (c.Changes(FuzzCase::kChangeTextures)) {
        if (was[1]) {
            fs::remove(readName(names::kAddOnTexturesRead));
        } else {
            FuzzFolder::Write(names::kAddOnTextures, c.textures);
        }
    }
    // Beside a twin another spelling could come first and hold the same bytes; left out.
    if (c.Changes(FuzzCase::kChangeAnimations) && !c.Blocks(FuzzCase::kObstacleTwinAnimations)) {
        const std::string bytes = was[2].value_or(c.animations) + "<!-- changed -->\r\n";
        FuzzFolder::Write(was[2] ? readName(names::kAddOnAnimationsRead) : names::kAddOnAnimations, bytes);
    }
    const char* shown[] = {kMainFile, names::kAddOnTextures, names::kAddOnAnimations};
    for (int i = 0; i < 3; ++i) {
        if (InputBytes(inputs[i]) != was[i]) {
            return shown[i];
        }
    }
    return {};
}

void Run(const FuzzCase& c, const FuzzFolder& folder, RunRecord& run) {
    auto& window = run.window;
    window.answers.assign(c.answers.begin(), c.answers.end());
    window.backupChecked = !c.Blocks(FuzzCase::kObstacleBackupUnticked);
    const SinkWrapper wrap =
        c.failingWrite >= 0 ? testing::FailingSink::FailingAt(c.failingWrite) : SinkWrapper();
    try {
        Workspace ws;
        run.load = RunLoadStep(ws, window, "help.html");
        if (run.load == Flow::Continue && window.Enabled(Control::PatchCommand)) {
            if (c.afterStart != 0) {
                run.changedInput = ChangeInputs(c);
                run.beforeClick = folder.Take();
            }
            run.clicked = true;
            run.patch = RunCommand(window, [&] { return PatchCommand(ws, window, wrap); });
        }
    } catch (const std::exception& escaped) {
        Violated(std::string("an exception escaped the run: ") + escaped.what());
    }

    std::size_t yesNo = 0;
    for (const auto& message : window.messages) {
        if (message.title == "Notice" && message.text.starts_with("Patch Completed")) {
            run.completed = true;
        }
        if (message.buttons != MessageButtons::YesNo) {
            continue;
        }
        if (message.text == "Overwrite previous EQUI_Animation.xml backup?" && yesNo < c.answers.size()) {
            run.overwriteAnswer = c.answers[yesNo];
        }
        ++yesNo;
    }
}

std::string Quoted(const std::optional<FileState>& file) {
    if (!file) {
        return "(absent)";
    }
    std::string shown = file->bytes.substr(0, 200);
    for (char& ch : shown) {
        if (ch == '\r' || ch == '\n') {
            ch = '|';
        }
    }
    return "\"" + shown + (file->bytes.size() > 200 ? "...\"" : "\"") +
           (file->readOnly ? " (read-only)" : "");
}

// The checks of one run.
class RunChecks {
public:
    RunChecks(const FuzzCase& c, const Layout& layout, const Snapshot& before, const Snapshot& after,
              const RunRecord& run, const std::optional<PatchExpectation>& expected)
        : c_(c), layout_(layout), before_(before), after_(after), run_(run), expected_(expected) {}

    void All() {
        CheckFlow();
        if (!run_.changedInput.empty()) {
            CheckChangedInput();
            return;
        }
        CheckFiles();
        CheckOutcome();
    }

private:
    std::optional<FileState> Before(const std::string& name) const { return Find(before_, "custom/" + name); }
    static std::optional<FileState> Find(const Snapshot& snapshot, const std::string& name) {
        const auto it = snapshot.find(name);
        return it == snapshot.end() ? std::nullopt : std::optional<FileState>(it->second);
    }

    void CheckFlow() const {
        Require(!run_.clicked || run_.patch != Flow::Continue, "Patch! returned Continue");
        Require(!run_.window.busy, "the busy pointer was left on");
        Require(!run_.completed || run_.clicked, "a completion notice without a patch");
        Require(run_.load != Flow::Done, "the start-up step ended the run as done");
    }

    void CheckFiles() const {
        std::set<std::string> names;
        for (const Snapshot* snapshot : {&before_, &after_}) {
            for (const auto& entry : *snapshot) {
                names.insert(entry.first);
            }
        }
        for (const auto& path : names) {
            const auto was = Find(before_, path);
            const auto is = Find(after_, path);
            if (!path.starts_with("custom/")) {
                Require(was == is,
                        path + " in the game's default folder changed: " + Quoted(was) + " -> " + Quoted(is));
                continue;
            }
            const std::string name = path.substr(7);
            const std::string change = name + ": " + Quoted(was) + " -> " + Quoted(is);
            if (name == kMainFile) {
                CheckMainFile(was, is, change);
            } else if (name == kBackupFile) {
                CheckBackup(was, is, change);
            } else if (name == kDebugFile) {
                CheckTrace(was, is, change);
            } else if (name == kStaleHelpers[0] || name == kStaleHelpers[1]) {
                Require(!is || is == was, "stale helper changed: " + change);
                Require(!is || run_.load != Flow::Continue,
                        "stale helper left after a good start: " + change);
            } else if (IsAddOn(name)) {
                CheckAddOn(name, was, is, change);
            } else {
                Require(was == is, "a file the tool has no business with: " + change);
            }
        }
    }

    bool IsAddOn(const std::string& name) const {
        return std::any_of(layout_.addOns.begin(), layout_.addOns.end(),
                           [&](const auto& addOn) { return addOn.first == name; });
    }

    void CheckMainFile(const std::optional<FileState>& was, const std::optional<FileState>& is,
                       const std::string& change) const {
        if (run_.completed) {
            Require(expected_ && expected_->outcome == PatchExpectation::Outcome::Written,
                    "patch completed where it must refuse or fail: " + change);
            Require(is.has_value(), "EQUI_Animations.xml gone after the patch");
            Require(is->bytes == expected_->output,
                    "patched EQUI_Animations.xml differs from the reference merge: " + change + " expected " +
                        Quoted(FileState{expected_->output, false}));
            Require(is->readOnly == (was && was->readOnly),
                    "patched EQUI_Animations.xml changed its protection");
            return;
        }
        if (was) {
            Require(is == was, "EQUI_Animations.xml changed by a patch that did not complete: " + change);
        } else {
            Require(!is || (layout_.mainAsRead && is->bytes == *layout_.mainAsRead && !is->readOnly),
                    "EQUI_Animations.xml is not the seed copy: " + change);
        }
    }

    void CheckBackup(const std::optional<FileState>& was, const std::optional<FileState>& is,
                     const std::string& change) const {
        const bool ticked = !c_.Blocks(FuzzCase::kObstacleBackupUnticked);
        const bool mayBackUp =
            ticked && run_.clicked && layout_.mainAsRead && (!was || run_.overwriteAnswer == Answer::Yes);
        if (is == was) {
            const bool made = mayBackUp && run_.completed;
            Require(!made || (is && is->bytes == *layout_.mainAsRead),
                    "no backup made by a completed patch: " + change);
            return;
        }
        Require(mayBackUp && is && is->bytes == *layout_.mainAsRead,
                "backup changed, or it is not the old EQUI_Animations.xml: " + change);
    }

    void CheckTrace(const std::optional<FileState>& was, const std::optional<FileState>& is,
                    const std::string& change) const {
        Require(was.has_value(), "Debug.txt created: " + change);
        Require(is.has_value(), "Debug.txt deleted: " + change);
        const std::string full = layout_.mainAsRead ? ExpectTrace(*layout_.mainAsRead) : std::string();
        if (run_.load == Flow::Continue) {
            Require(is->bytes == full, "Debug.txt is not the trace of the scan: " + change);
            return;
        }
        // A start that failed may have stopped anywhere in the scan, or before the trace was opened.
        const bool partial =
            full.starts_with(is->bytes) && (is->bytes.empty() || is->bytes.ends_with("\r\n"));
        Require(is == was || partial, "Debug.txt is neither the old file nor a part of the trace: " + change);
    }

    void CheckAddOn(const std::string& name, const std::optional<FileState>& was,
                    const std::optional<FileState>& is, const std::string& change) const {
        if (!layout_.IsReadAddOn(name)) {
            Require(is == was, "an add-on file that was never read was changed or deleted: " + change);
            return;
        }
        if (run_.patch == Flow::Done && !layout_.debug) {
            Require(!is, "used add-on file left after a patch without Debug.txt: " + change);
        } else if (run_.completed && !layout_.debug) {
            Require(!is || is == was, "add-on file changed: " + change);
        } else {
            Require(is == was, "add-on file changed though it had to be kept: " + change);
        }
    }

    // A file changed while the window was open: the patch must refuse, naming it, and change nothing.
    void CheckChangedInput() const {
        Require(run_.patch == Flow::Failed && !run_.completed, "patch went on though an input file changed");
        Require(LastMessage() ==
                    "Error: " + run_.changedInput +
                        " has changed since Zorby started.\rNothing was changed. Please run Zorby again.",
                "a changed input refused with another message: " + LastMessage());
        Require(after_ == *run_.beforeClick, "the patch changed files after an input file had changed");
    }

    std::string LastMessage() const {
        const auto& messages = run_.window.messages;
        return messages.empty() ? std::string("(no message)")
                                : messages.back().title + ": " + messages.back().text;
    }

    // The end of the run must be the one the input calls for.
    void CheckOutcome() const {
        using Outcome = PatchExpectation::Outcome;
        const bool scanFails = expected_ && expected_->outcome == Outcome::ScanFails;
        if (run_.load == Flow::Failed) {
            const bool cause =
                !layout_.mainAsRead || scanFails ||
                (c_.Blocks(FuzzCase::kObstacleHelpersReadOnly) && (layout_.debug || layout_.staleHelpers));
            Require(cause, "the start failed on a folder that should have loaded");
            return;
        }
        Require(expected_.has_value(), "the start went on without any EQUI_Animations.xml to read");
        Require(!scanFails, "the start accepted a file whose scan fails");
        Require(run_.clicked == !layout_.addOns.empty(),
                "Patch! enabled without add-on files, or disabled with them");
        if (!run_.clicked) {
            return;
        }

        switch (expected_->outcome) {
        case Outcome::ScanFails:
            break;
        case Outcome::Refused:
            Require(run_.patch == Flow::Failed && !run_.completed, "malformed input was not refused");
            Require(LastMessage() == "Error: " + expected_->refusal,
                    "refused with another message: " + LastMessage());
            return;
        case Outcome::MergeFails: {
            const std::string prefix = "Error " + std::to_string(expected_->failureNumber) + ":";
            Require(run_.patch == Flow::Failed && !run_.completed,
                    "patch went through where the reference merge fails with " + prefix);
            Require(LastMessage().starts_with("Zorby: " + prefix),
                    "merge failure reported as " + LastMessage() + ", the reference fails with " + prefix);
            return;
        }
        case Outcome::Written: {
            const bool mainProtected = layout_.mainPresent && c_.Blocks(FuzzCase::kObstacleMainReadOnly);
            const bool backupProtected =
                !c_.Blocks(FuzzCase::kObstacleBackupUnticked) && c_.Has(FuzzCase::kFolderOldBackup) &&
                c_.Blocks(FuzzCase::kObstacleBackupReadOnly) && run_.overwriteAnswer == Answer::Yes;
            const bool writeFails = c_.failingWrite >= 0 && c_.failingWrite <= expected_->outputLines;
            const bool shouldComplete = !mainProtected && !backupProtected && !writeFails;
            Require(run_.completed == shouldComplete, run_.completed
                                                          ? "patch completed despite an obstacle"
                                                          : "patch failed without cause: " + LastMessage());
            bool addOnProtected = false;
            for (const auto& [name, bytes] : layout_.addOns) {
                const auto was = Before(name);
                addOnProtected = addOnProtected || (layout_.IsReadAddOn(name) && was && was->readOnly);
            }
            const bool shouldFinish = shouldComplete && (layout_.debug || !addOnProtected);
            Require((run_.patch == Flow::Done) == shouldFinish,
                    run_.patch == Flow::Done ? "patch done though a used add-on file is protected"
                                             : "patch not done after its completion notice");
            if (run_.completed) {
                Require(run_.window.progress == expected_->progress,
                        "progress bar differs from the reference merge's");
            }
            return;
        }
        }
    }

    const FuzzCase& c_;
    const Layout& layout_;
    const Snapshot& before_;
    const Snapshot& after_;
    const RunRecord& run_;
    const std::optional<PatchExpectation>& expected_;
};

// With ZORBY_FUZZ_VERBOSE set, a run tells what it saw: handy when replaying one input.
void Describe(const Snapshot& before, const Snapshot& after, const RunRecord& run) {
    static const bool verbose = std::getenv("ZORBY_FUZZ_VERBOSE") != nullptr;
    if (!verbose) {
        return;
    }
    auto list = [](const char* when, const Snapshot& snapshot) {
        for (const auto& [name, state] : snapshot) {
            std::fprintf(stderr, "%s %s %s\n", when, name.c_str(), Quoted(state).c_str());
        }
    };
    list("before", before);
    for (const auto& message : run.window.messages) {
        std::fprintf(stderr, "box    %s: %s\n", message.title.c_str(), message.text.c_str());
    }
    list("after ", after);
}

} // namespace

void FuzzOnePatch(const std::uint8_t* data, std::size_t size) {
    static FuzzFolder folder;
    currentFolder = &folder;
    folder.Reset();

    const FuzzCase c = FuzzCase::Decode(data, size);
    const Layout layout = LayOut(c, folder);
    const Snapshot before = folder.Take();

    RunRecord run;
    Run(c, folder, run);
    const Snapshot after = folder.Take();
    Describe(before, after, run);

    std::optional<PatchExpectation> expected;
    if (layout.mainAsRead) {
        expected = ExpectPatch(folder.Oracle(), *layout.mainAsRead, layout.addOns);
    }
    RunChecks(c, layout, before, after, run, expected).All();
}

} // namespace zorby::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reference merge rebuilds a whole list per replacement; far larger inputs only cost time.
    constexpr std::size_t kLargestInput = 64 * 1024;
    if (size > kLargestInput) {
        return 0;
    }
    zorby::fuzzing::FuzzOnePatch(data, size);
    return 0;
}
