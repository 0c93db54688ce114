#include "ratio_table.h"

#include <algorithm>
#include <cstdio>

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> shown;
    for (const Run& run : runs) {
        const std::string& name = run.run_name.function_name;
        if (run.error_occurred) {
            errors[name] = run.error_message;
            shown.push_back(run);
        } else if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median" || run.aggregate_name == "cv") shown.push_back(run);
        } else if (run.iterations > 0) {
            // CPU time, which the other processes of a shared machine disturb
            // far less than wall-clock time; a benchmark that times itself
            // says which it took (a present includes the X server's work, so
            // it is timed on the wall clock).
            const bool manual = run.run_name.time_type == "manual_time";
            const double time = manual ? run.real_accumulated_time : run.cpu_accumulated_time;
            seconds[name].push_back(time / double(run.iterations));
        }
    }
    if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
}

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The reason a benchmark has no time, or "" when it has one.
std::string missing(const CollectingReporter& results, const std::string& name) {
    if (const auto e = results.errors.find(name); e != results.errors.end()) return e->second;
    const auto s = results.seconds.find(name);
    if (s == results.seconds.end() || s->second.empty()) return "not run (filtered out)";
    return "";
}

}  // namespace

int print_ratio_table(const std::vector<RatioRow>& rows, const CollectingReporter& results) {
    size_t what_width = 4, against_width = 15;
    for (const RatioRow& row : rows) {
        what_width = std::max(what_width, row.what.size());
        against_width = std::max(against_width, row.against.size());
    }
    const int w = int(what_width), a = int(against_width);
    std::printf("\n%-*s  %-*s  %8s  %-22s  %s\n", w, "what", a, "measured against", "ratio", "target", "met");
    int unmet = 0;
    for (const RatioRow& row : rows) {
        std::string reason = missing(results, row.measured);
        if (reason.empty()) reason = missing(results, row.baseline);
        if (!reason.empty()) {
            std::printf("%-*s  %-*s  %8s  %-22s  %s\n", w, row.what.c_str(), a, row.against.c_str(), "-",
                        row.target.c_str(), ("skipped: " + reason).c_str());
            continue;
        }
        const double ratio =
            median(results.seconds.at(row.measured)) / median(results.seconds.at(row.baseline));
        const char* met = row.at_most == 0 ? "-" : ratio <= row.at_most ? "yes" : "no";
        if (row.at_most != 0 && ratio > row.at_most) ++unmet;
        std::printf("%-*s  %-*s  %8.3f  %-22s  %s\n", w, row.what.c_str(), a, row.against.c_str(), ratio,
                    row.target.c_str(), met);
    }
    return unmet;
}
