#include "Commands.h"
#include "Comparisons.h"
#include "GeneratedFolder.h"
#include "LoadStep.h"
#include "PlainIo.h"
#include "WindowPort.h"
#include "Workloads.h"
#include "Workspace.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <optional>
#include <string>

namespace zorby::bench {

namespace {

// A window nobody looks at: every question is answered Yes, the backup box is unticked, and progress
// goes nowhere. Only the text of an error box is kept, to say why a run failed.
class SilentWindow : public WindowPort {
public:
    Answer ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                       MessageButtons buttons) override {
        if (icon == MessageIcon::Critical) {
            lastError = title + ": " + text;
        }
        return buttons == MessageButtons::YesNo ? Answer::Yes : Answer::Ok;
    }
    void SetProgress(float) override {}
    void Redraw() override {}
    void SetBusyPointer(bool) override {}
    void SetVisible(Control, bool) override {}
    void SetEnabled(Control, bool) override {}
    bool IsChecked(Control) const override { return false; }
    bool OpenLink(const std::string&) override { return true; }

    std::string lastError;
};

void ReportSize(benchmark::State& state, const GeneratedContent& content) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(content.mainFile.size()));
    state.counters["lines"] = content.mainLines;
}

// What a successful patch leaves: the rewritten file at the expected length, and no add-on files.
std::optional<std::string> FindWrongResult(const GeneratedContent& content) {
    const std::string written = ReadAllBytes("EQUI_Animations.xml");
    std::size_t lines = 0;
    for (std::size_t at = written.find("\r\n"); at != std::string::npos; at = written.find("\r\n", at + 2)) {
        ++lines;
    }
    if (lines != static_cast<std::size_t>(content.patchedLines)) {
        return "patched file has " + std::to_string(lines) + " lines, expected " +
               std::to_string(content.patchedLines);
    }
    if (std::filesystem::exists("Zor_Tex.txt") || std::filesystem::exists("Zor_Anim.txt")) {
        return std::string("add-on files were not deleted");
    }
    return std::nullopt;
}

// The whole "Patch!" as a player runs it: start-up with the scan, both merges, the write and the
// deletion of the add-on files. The folder is put back between runs with the clock stopped.
void RunPatch(benchmark::State& state, const FolderRecipe& recipe) {
    const GeneratedFolder folder(recipe);
    SilentWindow window;
    bool resultChecked = false;
    std::optional<Workspace> workspace;
    for (auto _ : state) {
        workspace.emplace();
        Flow flow = RunLoadStep(*workspace, window, "help.html");
        if (flow == Flow::Continue) {
            flow = RunCommand(window, [&] { return PatchCommand(*workspace, window); });
        }
        state.PauseTiming();
        if (flow != Flow::Done) {
            state.SkipWithError(("patch failed: " + window.lastError).c_str());
            break;
        }
        if (!resultChecked) {
            if (const auto wrong = FindWrongResult(folder.Content())) {
                state.SkipWithError(wrong->c_str());
                break;
            }
            resultChecked = true;
        }
        workspace.reset();
        folder.Restore();
        state.ResumeTiming();
    }
    ReportSize(state, folder.Content());
}

// The floor: the main file read and its bytes written to a new file in the same folder.
void RunReadWriteFloor(benchmark::State& state, const FolderRecipe& recipe, Durability durability) {
    const GeneratedFolder folder(recipe);
    for (auto _ : state) {
        const std::string bytes = ReadAllBytes("EQUI_Animations.xml");
        WriteWholeFile("EQUI_Animations.copy", bytes, durability);
        state.PauseTiming();
        std::filesystem::remove("EQUI_Animations.copy");
        state.ResumeTiming();
    }
    ReportSize(state, folder.Content());
}

void BM_PatchW1(benchmark::State& state) {
    RunPatch(state, W1());
}
void BM_PatchW1Floor(benchmark::State& state) {
    RunReadWriteFloor(state, W1(), Durability::Buffered);
}
// The patch syncs its output and the folder before it reports success; this floor does the same.
void BM_PatchW1FloorSynced(benchmark::State& state) {
    RunReadWriteFloor(state, W1(), Durability::Synced);
}
void BM_PatchW2(benchmark::State& state) {
    RunPatch(state, W2());
}
void BM_PatchW2Floor(benchmark::State& state) {
    RunReadWriteFloor(state, W2(), Durability::Buffered);
}
void BM_PatchW2FloorSynced(benchmark::State& state) {
    RunReadWriteFloor(state, W2(), Durability::Synced);
}

BENCHMARK(BM_PatchW1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW1Floor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW1FloorSynced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW2Floor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW2FloorSynced)->Unit(benchmark::kMillisecond)->UseRealTime();

const bool kCompared = RegisterComparison({"BM_PatchW1", "BM_PatchW1Floor", 5}) &&
                       RegisterComparison({"BM_PatchW1", "BM_PatchW1FloorSynced", 0}) &&
                       RegisterComparison({"BM_PatchW2", "BM_PatchW2Floor", 10}) &&
                       RegisterComparison({"BM_PatchW2", "BM_PatchW2FloorSynced", 0});

} // namespace

} // namespace zorby::bench
