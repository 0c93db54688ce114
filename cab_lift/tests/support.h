// Helpers shared by the cab_lift tests: running the program headless with a
// key script, and the picture the device should leave on the screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cab_lift.h"
#include "graph_testing.h"
#include "state.h"

namespace cab_lift_test {

// Runs the program with the keys of a token string ("p p 1 c ESC").
graph_testing::Ending run_keys(const std::string& tokens, bool trace = false);

// Runs the keys and returns the state each time the program waits for a
// key: the first after start-up, then one after each code handled.
std::vector<cab_lift::State> states_between_keys(const std::string& tokens);

// The visual page of the last run.
std::vector<uint8_t> visual_page();

// The page the six parts leave when each is drawn once from set 1 with the
// settings of `state`, onto a black page. A run of its own: it replaces the
// last run's pages and trace, and cab_lift::state.
std::vector<uint8_t> fresh_drawing(const cab_lift::State& state);

// Empty when the pages are equal, else how many pixels differ and the first.
std::string page_difference(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected);

// How many lines of the last run's trace are exactly `line`.
int trace_count(const std::string& line);
// Index of the first trace line at or after `from` that is exactly `line`, or -1.
int trace_find(const std::string& line, int from = 0);
// Index of the last trace line that is exactly `line`, or -1.
int trace_find_last(const std::string& line);

}  // namespace cab_lift_test
