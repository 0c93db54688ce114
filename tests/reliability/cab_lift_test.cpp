// cab_lift under a storm of random keys, and with parts driven tens of
// thousands of pixels off the window by holding the editor's move keys.
//
// The device is never cleared to move it: each part is drawn in
// exclusive-or mode and must be on the screen exactly once. So whenever no
// masses panel, graph or help screen has been drawn since the last clear,
// the screen must be byte for byte the six parts drawn once, afresh from
// the inputs, onto a black page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "cab_lift.h"
#include "geometry.h"
#include "graph.h"
#include "state.h"
#include "storm.h"
#include "support.h"

namespace {

using cab_lift::State;
using namespace reliability;

template <typename T>
void append_bytes(std::string& key, const T& value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Everything the picture of the six parts depends on.
std::string drawing_key(const State& s) {
    std::string key;
    append_bytes(key, s.piston_stroke);
    append_bytes(key, s.man_position);
    append_bytes(key, s.man_mass);
    append_bytes(key, s.platform_mass);
    for (int p = 1; p <= cab_lift::part_count; ++p) {
        append_bytes(key, s.part_offset_x[p]);
        append_bytes(key, s.part_offset_y[p]);
        append_bytes(key, s.part_scale[p]);
        append_bytes(key, s.part_color[p]);
        append_bytes(key, s.part_line_type[p]);
    }
    return key;
}

// The inputs and settings that have limits, and the model's numbers.
std::string limits_problem(const State& s) {
    if (s.piston_stroke < cab_lift::stroke_min || s.piston_stroke > cab_lift::stroke_max)
        return "stroke " + std::to_string(s.piston_stroke);
    if (s.man_position < cab_lift::man_position_min || s.man_position > cab_lift::man_position_max)
        return "man position " + std::to_string(s.man_position);
    if (s.man_mass < cab_lift::man_mass_min || s.man_mass > cab_lift::man_mass_max)
        return "man mass " + std::to_string(s.man_mass);
    if (s.platform_mass < cab_lift::platform_mass_min || s.platform_mass > cab_lift::platform_mass_max)
        return "platform mass " + std::to_string(s.platform_mass);
    for (int p = 1; p <= cab_lift::part_count; ++p) {
        if (s.part_scale[p] < 1 || s.part_scale[p] > 20) return "scale of part " + std::to_string(p);
        if (s.part_color[p] > 15) return "colour of part " + std::to_string(p);
        if (s.part_line_type[p] > 4) return "line type of part " + std::to_string(p);
    }
    for (int set = 1; set <= 2; ++set) {
        for (int i = 1; i <= cab_lift::point_count; ++i) {
            if (!std::isfinite(s.point_x[set][i]) || !std::isfinite(s.point_y[set][i]))
                return "point " + std::to_string(i) + " of set " + std::to_string(set) + " is not finite";
        }
    }
    if (!std::isfinite(s.piston_force) || !std::isfinite(s.piston_pressure)) return "force or pressure";
    return "";
}

// The state with its points, force and pressure recomputed from its inputs.
State recomputed(const State& s) {
    cab_lift::state = s;
    cab_lift::compute_geometry();
    return cab_lift::state;
}

bool same_set_1(const State& a, const State& b) {
    for (int i = 1; i <= cab_lift::point_count; ++i) {
        if (a.point_x[1][i] != b.point_x[1][i] || a.point_y[1][i] != b.point_y[1][i]) return false;
    }
    return true;
}

struct Checkpoint {
    int keys_read;
    uint64_t page_hash;
    State state;
};

TEST(CabLiftStorm, EachPartStaysOnTheScreenExactlyOnceAndEveryValueInItsLimits) {
    // The default seed is one whose storm also empties both masses (the
    // centre of gravity of no mass at all) for a few hundred keys.
    const uint64_t seed = storm_seed(8);
    KeyStorm keys(seed);
    KeyDrivenStorm storm(cab_lift::run, seed, keys.keys(storm_codes(100'000)));
    storm.trace = true;  // to see what was drawn since the last clear

    std::string problem;
    size_t traced = 0;
    bool decorated = false;  // a panel, graph or help drawn since the last clear
    std::vector<Checkpoint> checkpoints;
    std::map<std::string, uint64_t> fresh_hashes;
    int keys_checked = 0, checked = 0, drawn_afresh = 0;
    // How far the storm took the device.
    double lowest_stroke = 1e9, highest_stroke = -1e9;
    int32_t farthest_offset = 0;
    int both_masses_zero = 0;

    storm.before_run = [&] {
        traced = 0;
        decorated = false;
        checkpoints.clear();
    };
    storm.on_read_key = [&](int keys_read) {
        if (!problem.empty()) return;
        const auto& trace = graph_testing::trace();
        for (; traced < trace.size(); ++traced) {
            const std::string& line = trace[traced];
            if (line == "ClearDevice()") decorated = false;
            if (line.rfind("OutTextXY(", 0) == 0 || line.rfind("Bar(", 0) == 0) decorated = true;
        }
        const State& s = cab_lift::state;
        const std::string limits = limits_problem(s);
        if (!limits.empty()) problem = limits + "; " + storm.where(keys_read);
        lowest_stroke = std::min(lowest_stroke, s.piston_stroke);
        highest_stroke = std::max(highest_stroke, s.piston_stroke);
        both_masses_zero += s.man_mass == 0 && s.platform_mass == 0;
        for (int p = 1; p <= cab_lift::part_count; ++p)
            farthest_offset = std::max({farthest_offset, std::abs(s.part_offset_x[p]), std::abs(s.part_offset_y[p])});
        if (decorated) return;
        ++keys_checked;
        const uint64_t hash = visual_page_hash();
        if (!checkpoints.empty() && checkpoints.back().page_hash == hash &&
            drawing_key(checkpoints.back().state) == drawing_key(cab_lift::state))
            return;
        checkpoints.push_back({keys_read, hash, cab_lift::state});
    };
    // The fresh drawings are runs of their own, so they wait for the run's end.
    storm.after_run = [&] {
        for (const Checkpoint& c : checkpoints) {
            if (!problem.empty()) return;
            const State fresh = recomputed(c.state);
            if (!same_set_1(fresh, c.state)) {
                problem = "the points of set 1 are not those of the inputs; " + storm.where(c.keys_read);
                return;
            }
            const std::string key = drawing_key(fresh);
            auto found = fresh_hashes.find(key);
            if (found == fresh_hashes.end()) {
                found = fresh_hashes.emplace(key, page_hash(cab_lift_test::fresh_drawing(fresh))).first;
                ++drawn_afresh;
            }
            ++checked;
            if (found->second != c.page_hash) {
                problem = "the screen is not the six parts drawn once (" +
                          page_difference(storm.replay_page(c.keys_read), cab_lift_test::fresh_drawing(fresh),
                                          640) +
                          "); " + storm.where(c.keys_read);
            }
        }
    };
    storm.run();
    EXPECT_EQ(problem, "");
    EXPECT_GE(storm.codes(), storm_codes(100'000));
    std::printf("cab_lift storm: seed %llu, %d codes, %d runs ended by ESC; the screen checked after %d keys: "
                "%d changes, %d drawn afresh; strokes %g to %g, both masses 0 at %d keys, offsets up to %d\n",
                static_cast<unsigned long long>(seed), storm.codes(), storm.runs(), keys_checked, checked, drawn_afresh,
                lowest_stroke, highest_stroke, both_masses_zero, farthest_offset);
}

// --- Extreme settings ------------------------------------------------------------

struct Hold {
    int part;
    const char* key;
    int dx, dy;  // screen pixels per key
};

// Each part is moved by 3600 presses of one editor key, 72000 pixels: past
// the 16-bit range, and past the point where a coordinate wrapped around
// modulo 65536 would be back on the page. It must simply slide out of the
// window: the screen is the other five parts and this part's first picture
// shifted by the distance moved, cut at the window's edges.
TEST(CabLiftExtremes, APartHeldMovingSlidesOutOfTheWindowAndNeverComesBack) {
    constexpr int presses = 3600;
    // Not part 6: its centre-of-gravity marker is drawn in light grey
    // whatever the part's colour, so colour 0 cannot take it off the picture.
    const Hold holds[] = {{1, "f", 20, 0}, {2, "d", -20, 0}, {3, "y", 0, -20}, {5, "g", 0, 20}};

    graph_testing::run(cab_lift::run, graph_testing::Script{});
    const State start = cab_lift::state;
    for (const Hold& hold : holds) {
        SCOPED_TRACE(std::string("part ") + std::to_string(hold.part) + ", key " + hold.key);
        // The parts add up by exclusive-or: the part alone is the whole
        // picture less the others.
        State others = start;
        others.part_color[hold.part] = 0;  // exclusive-or with 0 draws nothing
        const std::vector<uint8_t> others_page = cab_lift_test::fresh_drawing(others);
        std::vector<uint8_t> alone_page = cab_lift_test::fresh_drawing(start);
        for (size_t i = 0; i < alone_page.size(); ++i) alone_page[i] ^= others_page[i];
        const int w = graph_testing::width(), h = graph_testing::height();

        graph_testing::Script script;
        script.key(uint8_t('0' + hold.part));
        for (int i = 0; i < presses; ++i) script.tokens(hold.key);
        script.tokens("ESC ESC");
        std::string problem;
        int checks = 0;
        graph_testing::Hooks hooks;
        hooks.on_read_key = [&](int keys_read) {
            const long moves = keys_read - 1;  // the first code opened the editor
            if (moves < 0 || moves > presses || !problem.empty()) return;
            const long dx = moves * hold.dx, dy = moves * hold.dy;
            if (!checked_press(dx + dy, moves, presses)) return;
            std::vector<uint8_t> expected = shifted(alone_page, w, h, dx, dy, BLACK);
            for (size_t i = 0; i < expected.size(); ++i) expected[i] ^= others_page[i];
            ++checks;
            const std::string difference = page_difference(graph_testing::page(0), expected, w);
            if (!difference.empty())
                problem = "after " + std::to_string(moves) + " presses (" + std::to_string(dx + dy) +
                          " pixels): " + difference;
        };
        EXPECT_EQ(graph_testing::run_with(cab_lift::run, script, hooks), graph_testing::Ending::Returned);
        EXPECT_EQ(problem, "");
        EXPECT_GT(checks, 150);
        EXPECT_EQ(std::labs(cab_lift::state.part_offset_x[hold.part] - 80) +
                      std::labs(cab_lift::state.part_offset_y[hold.part] - 80),
                  72000);
    }
}

}  // namespace
