#include "Comparisons.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <utility>

namespace zorby::bench {

namespace {

std::vector<Comparison>& Registered() {
    static std::vector<Comparison> comparisons;
    return comparisons;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string Format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

} // namespace

bool RegisterComparison(Comparison comparison) {
    Registered().push_back(std::move(comparison));
    return true;
}

void ComparisonReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const auto& run : runs) {
        if (run.error_occurred) {
            continue;
        }
        const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        // With --benchmark_report_aggregates_only the repetitions come as aggregates alone.
        if (run.run_type == Run::RT_Iteration) {
            seconds_[run.run_name.function_name].push_back(seconds);
        } else if (run.aggregate_name == "median") {
            medians_[run.run_name.function_name] = seconds;
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

std::optional<double> ComparisonReporter::MedianSeconds(const std::string& name) const {
    if (const auto median = medians_.find(name); median != medians_.end()) {
        return median->second;
    }
    if (const auto runs = seconds_.find(name); runs != seconds_.end()) {
        return Median(runs->second);
    }
    return std::nullopt;
}

void ComparisonReporter::Finalize() {
    std::ostream& out = GetOutputStream();
    bool header = false;
    for (const auto& comparison : Registered()) {
        const auto step = MedianSeconds(comparison.measured);
        const auto base = MedianSeconds(comparison.floor);
        if (!step || !base) {
            continue;
        }
        if (!header) {
            out << "\nAgainst the floor (real time, median of repetitions):\n";
            header = true;
        }
        const double ratio = *step / *base;
        out << "  " << comparison.measured << " " << Format("%.3f", *step * 1e3) << " ms / "
            << comparison.floor << " " << Format("%.3f", *base * 1e3) << " ms = " << Format("%.2f", ratio)
            << "x";
        if (comparison.goal > 0) {
            out << "  (goal " << Format("%g", comparison.goal)
                << "x: " << (ratio <= comparison.goal ? "met" : "MISSED") << ")";
        }
        out << "\n";
    }
    ConsoleReporter::Finalize();
}

} // namespace zorby::bench
