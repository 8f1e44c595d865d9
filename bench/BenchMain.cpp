#include "Comparisons.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

// The usual benchmark main, with a console table that ends in the ratios to the floors. A missed goal is
// reported in that table, not through the exit status: timings on a shared machine are no verdict.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    zorby::bench::ComparisonReporter reporter(::isatty(STDOUT_FILENO) != 0
                                                  ? benchmark::ConsoleReporter::OO_Color
                                                  : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
