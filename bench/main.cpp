// build/bin/bench: runs every benchmark with repetitions in random
// interleaved order (so each pair of a ratio shares the machine's noise),
// then prints the table of ratios of medians, each beside its target.
//
// Google Benchmark's own flags work (--benchmark_filter, ...). Unless given,
// 15 repetitions of at least 0.05 s each, interleaved. The programs' idle
// cost in a real window is measured only in a run without a filter.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "benchmarks.h"
#include "idle_cpu.h"
#include "ratio_table.h"
#include "xvfb.h"

namespace {

constexpr double idle_seconds = 5;
const char* const key_driven[] = {"cab_lift", "backhoe", "loco_drive"};

std::vector<RatioRow> table_rows() {
    std::vector<RatioRow> rows = {
        {"ClearDevice of an 800 x 600 page", "memset of the page", "ClearDevice/800x600", "memset/800x600",
         1.1, "<= 1.1"},
    };
    for (const char* program : {"gear_train", "ic_engine"}) {
        const std::string frame = std::string("frame/") + program;
        rows.push_back({std::string(program) + " frame, platform", "memset of the page", frame + "/platform",
                        "memset/800x600", 3, "<= 3"});
    }
    for (const char* program : {"gear_train", "ic_engine"}) {
        const std::string frame = std::string("frame/") + program;
        for (const char* bits : {"8", "32"}) {
            const std::string sdl = frame + "/SDL " + bits + "-bit";
            rows.push_back({std::string(program) + " frame, platform", std::string("SDL software ") + bits + "-bit",
                            frame + "/platform", sdl, 0.1, "<= 0.1 (10 x faster)"});
            rows.push_back({std::string(program) + " drawing only, platform",
                            std::string("SDL software ") + bits + "-bit", frame + "/platform drawing only",
                            sdl + " drawing only", 1 / 1.5, "<= 0.667 (1.5 x faster)"});
        }
    }
    for (const char* program : {"gear_train", "ic_engine"}) {
        const std::string frame = std::string("frame/") + program;
        rows.push_back({std::string(program) + " drawing only, platform", "SDL 32-bit, chains as polylines",
                        frame + "/platform drawing only", frame + "/SDL 32-bit polylines drawing only", 0,
                        "report"});
    }
    rows.push_back({"10,000 random lines, platform", "SDL software 8-bit", "lines/platform", "lines/SDL 8-bit",
                    0.7, "<= 0.7"});
    rows.push_back({"10,000 random lines, platform", "SDL software 32-bit", "lines/platform", "lines/SDL 32-bit",
                    0.7, "<= 0.7"});
    rows.push_back({"the lines dashed, exclusive-or", "solid lines, copy", "lines/platform dashed xor",
                    "lines/platform", 1.5, "<= 1.5"});
    rows.push_back({"palette expansion to 32-bit", "memcpy of the 32-bit frame", "expand/page to 32-bit",
                    "memcpy/32-bit frame", 3, "<= 3"});
    rows.push_back({"the same, a page of random pixels", "memcpy of the 32-bit frame",
                    "expand/random page to 32-bit", "memcpy/32-bit frame", 0, "report"});
    rows.push_back({"present in a window (Xvfb), platform", "SDL default renderer", "present/platform window",
                    "present/SDL default renderer", 0.2, "<= 0.2 (5 x faster)"});
    rows.push_back({"backhoe p, key to next wait", "memset of the page", "key/backhoe p", "memset/640x480", 0,
                    "report"});
    rows.push_back({"cab_lift p, key to next wait", "memset of the page", "key/cab_lift p", "memset/640x480", 0,
                    "report"});
    rows.push_back({"loco_drive p, key to next wait", "memset of the page", "key/loco_drive p",
                    "memset/800x600", 0, "report"});
    rows.push_back({"cab_lift help screen, key to next wait", "memset of the page", "key/cab_lift help screen",
                    "memset/640x480", 0, "report"});
    for (const char* program : key_driven)
        rows.push_back({std::string(program) + " waiting in ReadKey 5 s (window)", "one core",
                        std::string("idle/") + program, "idle/wall", 0.01, "<= 0.01"});
    return rows;
}

bool has_flag(int argc, char** argv, const char* prefix) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0) return true;
    return false;
}

std::string own_directory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    const std::string exe(path, size_t(length));
    return exe.substr(0, exe.find_last_of('/'));
}

void measure_idle(CollectingReporter& results, bool display, const std::string& no_display) {
    std::vector<std::string> programs;
    for (const char* program : key_driven) {
        const std::string name = std::string("idle/") + program;
        if (!display) {
            results.errors[name] = no_display;
            continue;
        }
        programs.push_back(own_directory() + "/" + program);
    }
    if (programs.empty()) return;
    std::printf("measuring %s waiting for a key, %g s...\n", "cab_lift, backhoe and loco_drive", idle_seconds);
    std::fflush(stdout);
    for (const IdleCost& cost : measure_idle_programs(programs, idle_seconds)) {
        const std::string name = "idle/" + cost.program;
        if (!cost.failure.empty()) results.errors[name] = cost.failure;
        results.seconds[name] = {cost.cpu_seconds};
        results.seconds["idle/wall"] = {cost.wall_seconds};
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=15";
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    char min_time[] = "--benchmark_min_time=0.05";
    if (!has_flag(argc, argv, "--benchmark_repetitions")) args.push_back(repetitions);
    if (!has_flag(argc, argv, "--benchmark_enable_random_interleaving")) args.push_back(interleaving);
    if (!has_flag(argc, argv, "--benchmark_min_time")) args.push_back(min_time);
    const bool filtered = has_flag(argc, argv, "--benchmark_filter");
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;

    PrivateXServer x_server;
    std::string no_display;
    const bool display = x_server.start(2500, 700, no_display);
    if (!display) no_display = "no display: " + no_display;

    register_drawing_benchmarks();
    register_present_benchmarks(display, no_display);
    register_key_benchmarks();
    CollectingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);
    close_present_windows();
    if (!filtered) measure_idle(results, display, no_display);
    x_server.stop();

    const int unmet = print_ratio_table(table_rows(), results);
    std::printf("\nratio: median time of \"what\" over median time of \"measured against\", both measured\n"
                "in this run, %s.\n", unmet == 0 ? "every target met" : "SOME TARGETS NOT MET");
    benchmark::Shutdown();
    return 0;
}
