// What a key-driven program costs while it only waits in ReadKey: its CPU
// time over a stretch of wall-clock time, in a real window.
#pragma once

#include <string>
#include <vector>

struct IdleCost {
    std::string program;
    double cpu_seconds = 0;
    double wall_seconds = 0;
    std::string failure;  // why it was not measured, or ""
};

// Starts each program (paths) on the current DISPLAY at once, lets them
// settle, then measures them all over the same `seconds`.
std::vector<IdleCost> measure_idle_programs(const std::vector<std::string>& programs, double seconds);
