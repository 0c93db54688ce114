#include "support.h"

#include <algorithm>

#include "graph.h"
#include "parts.h"

namespace cab_lift_test {

namespace {

cab_lift::State reference_state;

// A program of its own, so the reference starts on a fresh black page.
void draw_reference() {
    InitGraph(DRIVER_256, MODE_640x480, "reference");
    cab_lift::state = reference_state;
    cab_lift::draw_all_parts();
    CloseGraph();
}

}  // namespace

graph_testing::Ending run_keys(const std::string& tokens, bool trace) {
    graph_testing::Script script;
    script.tokens(tokens);
    script.trace = trace;
    return graph_testing::run(cab_lift::run, script);
}

std::vector<cab_lift::State> states_between_keys(const std::string& tokens) {
    std::vector<cab_lift::State> states;
    graph_testing::Hooks hooks;
    hooks.on_read_key = [&](int) { states.push_back(cab_lift::state); };
    graph_testing::Script script;
    script.tokens(tokens);
    graph_testing::run_with(cab_lift::run, script, hooks);
    return states;
}

std::vector<uint8_t> visual_page() { return graph_testing::page(graph_testing::visual_page()); }

std::vector<uint8_t> fresh_drawing(const cab_lift::State& state) {
    reference_state = state;
    graph_testing::run(draw_reference, graph_testing::Script{});
    return visual_page();
}

std::string page_difference(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected) {
    if (actual.size() != expected.size()) return "pages of different sizes";
    int count = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] == expected[i]) continue;
        if (count++ == 0) first = i;
    }
    if (count == 0) return "";
    const int w = graph_testing::width();
    return std::to_string(count) + " pixels differ, the first at (" + std::to_string(first % w) + ", " +
           std::to_string(first / w) + "): " + std::to_string(actual[first]) + " instead of " +
           std::to_string(expected[first]);
}

int trace_count(const std::string& line) {
    const auto& t = graph_testing::trace();
    return int(std::count(t.begin(), t.end(), line));
}

int trace_find(const std::string& line, int from) {
    const auto& t = graph_testing::trace();
    for (int i = from; i < int(t.size()); ++i) {
        if (t[i] == line) return i;
    }
    return -1;
}

int trace_find_last(const std::string& line) {
    const auto& t = graph_testing::trace();
    for (int i = int(t.size()) - 1; i >= 0; --i) {
        if (t[i] == line) return i;
    }
    return -1;
}

}  // namespace cab_lift_test
