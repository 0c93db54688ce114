#include "idle_cpu.h"

#include <dirent.h>
#include <unistd.h>
#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "xvfb.h"

namespace {

// CPU time of every thread of a process, in seconds; negative when the
// process is gone. The scheduler's own count, in nanoseconds.
double cpu_seconds_of(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (dir == nullptr) return -1;
    double total = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        FILE* file = std::fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r");
        if (file == nullptr) continue;
        unsigned long long on_cpu = 0;
        if (std::fscanf(file, "%llu", &on_cpu) == 1) total += double(on_cpu) * 1e-9;
        std::fclose(file);
    }
    closedir(dir);
    return total;
}

std::string base_name(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

std::vector<IdleCost> measure_idle_programs(const std::vector<std::string>& programs, double seconds) {
    using Clock = std::chrono::steady_clock;
    std::vector<IdleCost> costs;
    std::vector<pid_t> pids;
    for (const std::string& program : programs) {
        IdleCost cost;
        cost.program = base_name(program);
        if (access(program.c_str(), X_OK) != 0) cost.failure = "no program at " + program;
        costs.push_back(cost);
        pids.push_back(cost.failure.empty() ? start_program(program) : -1);
    }
    // Start-up (SDL, the window, the first picture) is not waiting.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    std::vector<double> before;
    for (pid_t pid : pids) before.push_back(cpu_seconds_of(pid));
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    for (size_t i = 0; i < pids.size(); ++i) {
        const double after = cpu_seconds_of(pids[i]);
        costs[i].cpu_seconds = after - before[i];
        costs[i].wall_seconds = wall;
        const bool ran = still_running(pids[i]);
        if (ran) end_program(pids[i]);
        if (costs[i].failure.empty() && (!ran || before[i] < 0 || after < 0))
            costs[i].failure = "the program did not keep running (no window?)";
    }
    return costs;
}
