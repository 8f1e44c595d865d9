#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zorby::bench {

// A measured step next to the plain file work on the same bytes that it cannot go below.
struct Comparison {
    std::string measured; // benchmark names as registered
    std::string floor;
    double goal = 0; // the step should take at most this many times its floor; 0 for no goal
};

// Called from the benchmark files at start-up, next to the benchmarks they compare.
bool RegisterComparison(Comparison comparison);

// The console table as usual, then every registered comparison whose two sides ran: the ratio of their
// real times (the median over repetitions) and whether the goal was met.
class ComparisonReporter : public benchmark::ConsoleReporter {
public:
    explicit ComparisonReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::optional<double> MedianSeconds(const std::string& name) const;

    std::map<std::string, std::vector<double>> seconds_; // per iteration run
    std::map<std::string, double> medians_;              // median aggregates, where reported
};

} // namespace zorby::bench
