// The heaviest key of each key-driven program: the CPU time from ReadKey
// returning the key to the program's next ReadKey, headless, trace off.
#include <benchmark/benchmark.h>

#include <time.h>

#include <string>
#include <vector>

#include "backhoe.h"
#include "benchmarks.h"
#include "cab_lift.h"
#include "graph_testing.h"
#include "loco_drive.h"

namespace {

// The thread's CPU time, in seconds: what the key costs, whatever else the
// machine runs meanwhile.
double cpu_now() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct KeyCase {
    const char* name;
    void (*program)();
    const char* tokens;  // the keys of one run
    uint8_t timed_code;  // the key whose handling is timed
};

// Each run starts from the program's start state; p sixteen times stays
// within every stroke's limits, so every key moves the machine.
constexpr const char* sixteen_p = "p p p p p p p p p p p p p p p p";
const KeyCase key_cases[] = {
    {"key/backhoe p", backhoe::run, sixteen_p, 'p'},
    {"key/cab_lift p", cab_lift::run, sixteen_p, 'p'},
    {"key/loco_drive p", loco_drive::run, sixteen_p, 'p'},
    // ";" is F1's second code: the main help screen's text; x dismisses it.
    {"key/cab_lift help screen", cab_lift::run, "; x ; x ; x ; x ; x ; x ; x ; x", ';'},
};

// One run of the program per iteration; its time is the mean over the run
// of the timed keys, leaving out the first (caches still cold).
void key_handling(benchmark::State& state, const KeyCase* key_case) {
    graph_testing::Script script;
    script.tokens(key_case->tokens);
    std::vector<double> read_at;  // when ReadKey was called after N codes
    read_at.reserve(script.keys.size() * 2 + 8);
    graph_testing::Hooks hooks;
    hooks.on_read_key = [&](int keys_read) {
        if (size_t(keys_read) == read_at.size()) read_at.push_back(cpu_now());
    };
    for (auto _ : state) {
        read_at.clear();
        graph_testing::run_with(key_case->program, script, hooks);
        double total = 0;
        int timed = 0;
        bool first = true;
        for (size_t code = 1; code < read_at.size() && code <= script.keys.size(); ++code) {
            if (script.keys[code - 1].codes[0] != key_case->timed_code) continue;
            if (!first) {
                total += read_at[code] - read_at[code - 1];
                ++timed;
            }
            first = false;
        }
        if (timed == 0) return state.SkipWithError("the program read none of the timed keys");
        state.SetIterationTime(total / timed);
    }
}

}  // namespace

void register_key_benchmarks() {
    for (const KeyCase& c : key_cases)
        benchmark::RegisterBenchmark(c.name, key_handling, &c)->UseManualTime()->Iterations(3);
}
