#include "Comparisons.h"
#include "GeneratedFolder.h"
#include "InventoryScan.h"
#include "PlainIo.h"
#include "Workspace.h"

#include <benchmark/benchmark.h>
#include <optional>

namespace zorby::bench {

namespace {

// About 30,000 lines in some 1,200 elements, as a large custom UI has.
FolderRecipe ScanRecipe() {
    FolderRecipe recipe;
    recipe.textures.lines = 600;
    recipe.animations.lines = 29400;
    return recipe;
}

void ReportSize(benchmark::State& state, const GeneratedContent& content) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(content.mainFile.size()));
    state.counters["lines"] = content.mainLines;
    state.counters["elements"] = content.textureElements + content.animationElements;
}

void BM_ScanMainFile(benchmark::State& state) {
    const GeneratedFolder folder(ScanRecipe());
    std::optional<Workspace> workspace;
    for (auto _ : state) {
        workspace.emplace();
        ScanAnimationFile(*workspace, nullptr);
        benchmark::DoNotOptimize(workspace->AllAnimations.Count());
        // Freeing 30,000 lines is the end of the run, not part of the scan.
        state.PauseTiming();
        workspace.reset();
        state.ResumeTiming();
    }
    ReportSize(state, folder.Content());
}
BENCHMARK(BM_ScanMainFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the same bytes read into one string.
void BM_ScanFloorReadBytes(benchmark::State& state) {
    const GeneratedFolder folder(ScanRecipe());
    for (auto _ : state) {
        std::string bytes = ReadAllBytes("EQUI_Animations.xml");
        benchmark::DoNotOptimize(bytes.data());
    }
    ReportSize(state, folder.Content());
}
BENCHMARK(BM_ScanFloorReadBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

const bool kCompared = RegisterComparison({"BM_ScanMainFile", "BM_ScanFloorReadBytes", 0});

} // namespace

} // namespace zorby::bench
