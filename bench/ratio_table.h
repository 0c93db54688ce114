// The benchmarks' results as the table of ratios: each row the median time
// of one benchmark over the median time of another measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Collects every repetition's time per iteration (seconds) by benchmark
// name, and shows only the medians and the spread on the console.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    std::map<std::string, std::vector<double>> seconds;
    std::map<std::string, std::string> errors;
};

struct RatioRow {
    std::string what;
    std::string against;
    std::string measured;  // benchmark names: time of `measured` over time of `baseline`
    std::string baseline;
    double at_most = 0;    // the target; 0 for a row that is only reported
    std::string target;    // the target as the table shows it
};

// Prints the table; returns the number of rows whose target is not met.
int print_ratio_table(const std::vector<RatioRow>& rows, const CollectingReporter& results);
