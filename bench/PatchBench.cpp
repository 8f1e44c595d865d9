#include "CheckCommand.h"
#include "Commands.h"
#include "Comparisons.h"
#include "GeneratedFolder.h"
#include "InventoryScan.h"
#include "LoadStep.h"
#include "PlainIo.h"
#include "SilentWindow.h"
#include "StepByStepMerge.h"
#include "WindowPort.h"
#include "Workloads.h"
#include "Workspace.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <optional>
#include <string>

namespace zorby::bench {

namespace {

void ReportSize(benchmark::State& state, const GeneratedContent& content) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(content.mainFile.size()));
    state.counters["lines"] = content.mainLines;
}

// What a patch of the folder as it stands must write, worked out the slow, literal way: the files
// scanned, then merged step by step, one line-list operation at a time.
std::string ReferenceOutput() {
    Workspace ws;
    SilentWindow window;
    ScanAnimationFile(ws, nullptr);
    ScanAddOnFiles(ws, window);
    return testing::StepByStepPatchOutput(ws);
}

// What a successful patch leaves: exactly the reference bytes, and no add-on files. A faster patch
// cannot be a wrong one.
std::optional<std::string> FindWrongResult(const std::string& reference) {
    const std::string written = ReadAllBytes("EQUI_Animations.xml");
    if (written != reference) {
        std::size_t at = 0;
        while (at < written.size() && at < reference.size() && written[at] == reference[at]) {
            ++at;
        }
        return "patched file differs from the step-by-step merge's at byte " + std::to_string(at);
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
    std::optional<std::string> reference; // worked out once, before the first patch
    bool resultChecked = false;
    std::optional<Workspace> workspace;
    for (auto _ : state) {
        if (!resultChecked) {
            state.PauseTiming();
            reference = ReferenceOutput();
            state.ResumeTiming();
        }
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
            if (const auto wrong = FindWrongResult(*reference)) {
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

// "Zorby --check": the start-up checks, the scan and both merges in memory, nothing written. The folder
// stays as it is, so nothing is put back between runs.
void RunCheck(benchmark::State& state, const FolderRecipe& recipe) {
    const GeneratedFolder folder(recipe);
    for (auto _ : state) {
        if (const CheckResult result = CheckCurrentFolder(); result.status != 0) {
            state.SkipWithError(("check refused: " + result.text).c_str());
            break;
        }
    }
    ReportSize(state, folder.Content());
}

void BM_CheckW3(benchmark::State& state) {
    RunCheck(state, W3());
}
void BM_PatchW3(benchmark::State& state) {
    RunPatch(state, W3());
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

BENCHMARK(BM_CheckW3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW1Floor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW1FloorSynced)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW2Floor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PatchW2FloorSynced)->Unit(benchmark::kMillisecond)->UseRealTime();

const bool kCompared = RegisterComparison({"BM_PatchW1", "BM_PatchW1Floor", 0}) &&
                       RegisterComparison({"BM_PatchW1", "BM_PatchW1FloorSynced", 3}) &&
                       RegisterComparison({"BM_PatchW2", "BM_PatchW2Floor", 0}) &&
                       RegisterComparison({"BM_PatchW2", "BM_PatchW2FloorSynced", 4});

} // namespace

} // namespace zorby::bench
