// loco_drive under a storm of random keys; with the drawing moved tens of
// thousands of pixels off the window by holding the move keys of the command
// loop and of the part editor; and zoomed to scales beyond +/-10000.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry.h"
#include "graph.h"
#include "loco_drive.h"
#include "parts.h"
#include "pixel.h"
#include "storm.h"

namespace {

using namespace reliability;
namespace ld = loco_drive;

// The program's whole state (it lives in loose variables).
struct Loco {
    double point_x[ld::point_count + 1];
    double point_y[ld::point_count + 1];
    double crank_angle, crank_step, view_angle;
    int32_t offset_x[3], offset_y[3], scale[3];
    uint16_t color[3], line_type[3];
    bool reversed;
    int16_t page;
};

Loco capture() {
    Loco s;
    for (int i = 0; i <= ld::point_count; ++i) {
        s.point_x[i] = ld::point_x[i];
        s.point_y[i] = ld::point_y[i];
    }
    s.crank_angle = ld::crank_angle;
    s.crank_step = ld::crank_step;
    s.view_angle = ld::view_angle;
    for (int p = 0; p <= ld::part_count; ++p) {
        s.offset_x[p] = ld::part_offset_x[p];
        s.offset_y[p] = ld::part_offset_y[p];
        s.scale[p] = ld::part_scale[p];
        s.color[p] = ld::part_color[p];
        s.line_type[p] = ld::part_line_type[p];
    }
    s.reversed = ld::machine_reversed;
    s.page = ld::page;
    return s;
}

void restore_settings(const Loco& s) {
    ld::crank_angle = s.crank_angle;
    ld::crank_step = s.crank_step;
    ld::view_angle = s.view_angle;
    for (int p = 0; p <= ld::part_count; ++p) {
        ld::part_offset_x[p] = s.offset_x[p];
        ld::part_offset_y[p] = s.offset_y[p];
        ld::part_scale[p] = s.scale[p];
        ld::part_color[p] = s.color[p];
        ld::part_line_type[p] = s.line_type[p];
    }
    ld::machine_reversed = s.reversed;
}

template <typename T>
void append_bytes(std::string& key, const T& value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string drawing_key(const Loco& s) {
    std::string key;
    append_bytes(key, s.crank_angle);
    append_bytes(key, s.view_angle);
    append_bytes(key, s.offset_x);
    append_bytes(key, s.offset_y);
    append_bytes(key, s.scale);
    append_bytes(key, s.color);
    append_bytes(key, s.line_type);
    append_bytes(key, s.reversed);
    return key;
}

// The crank turns 5 degrees a key and the drawing 2: both stay on their
// whole-number grids, however far they are driven.
std::string limits_problem(const Loco& s) {
    if (!std::isfinite(s.crank_angle) || std::fmod(s.crank_angle, 5) != 0)
        return "crank angle " + std::to_string(s.crank_angle);
    if (s.crank_step != 5) return "crank step " + std::to_string(s.crank_step);
    if (!std::isfinite(s.view_angle) || std::fmod(s.view_angle, 2) != 0)
        return "view angle " + std::to_string(s.view_angle);
    for (int p = 1; p <= ld::part_count; ++p) {
        if (s.color[p] > 15) return "colour of part " + std::to_string(p);
        if (s.line_type[p] > 4) return "line type of part " + std::to_string(p);
    }
    for (int i = 1; i <= ld::point_count; ++i) {
        if (!std::isfinite(s.point_x[i]) || !std::isfinite(s.point_y[i]))
            return "point " + std::to_string(i) + " is not finite";
    }
    if (s.page != 0 && s.page != 1) return "page " + std::to_string(s.page);
    return "";
}

struct Checkpoint {
    int keys_read;
    uint64_t page_hash;
    Loco state;
};

// Draws the state afresh on the active page; false when the recomputed
// points differ from the state's own.
bool draw_afresh(const Loco& s) {
    restore_settings(s);
    ld::compute_geometry();
    bool same_points = true;
    for (int i = 1; i <= ld::point_count; ++i)
        same_points = same_points && ld::point_x[i] == s.point_x[i] && ld::point_y[i] == s.point_y[i];
    SetBkColor(BLACK);
    ClearDevice();
    ld::draw_all_parts();
    return same_points;
}

TEST(LocoDriveStorm, EveryFrameIsTheStateDrawnAfreshAndEveryValueInItsLimits) {
    const uint64_t seed = storm_seed(3003);
    KeyStorm keys(seed);
    KeyDrivenStorm storm(ld::run, seed, keys.keys(storm_codes(100'000)));

    std::string problem;
    int frames_since_key = 0;
    std::vector<Checkpoint> checkpoints;
    std::map<std::string, uint64_t> fresh_hashes;
    int keys_checked = 0, checked = 0, drawn_afresh = 0;
    // How far the storm took the machine.
    int32_t lowest_scale = 1, highest_scale = 1, farthest_offset = 0;

    storm.before_run = [&] {
        frames_since_key = 0;
        checkpoints.clear();
    };
    storm.on_frame = [&](int) { ++frames_since_key; };
    // A key that drew no frame opened a help screen, the credits or the
    // editor: there is no new frame to look at.
    storm.on_read_key = [&](int keys_read) {
        if (!problem.empty()) return;
        const Loco state = capture();
        const std::string limits = limits_problem(state);
        if (!limits.empty()) problem = limits + "; " + storm.where(keys_read);
        for (int p = 1; p <= ld::part_count; ++p) {
            lowest_scale = std::min(lowest_scale, state.scale[p]);
            highest_scale = std::max(highest_scale, state.scale[p]);
            farthest_offset = std::max({farthest_offset, std::abs(state.offset_x[p]), std::abs(state.offset_y[p])});
        }
        if (frames_since_key == 0) return;
        frames_since_key = 0;
        ++keys_checked;
        const uint64_t hash = visual_page_hash();
        if (!checkpoints.empty() && checkpoints.back().page_hash == hash &&
            drawing_key(checkpoints.back().state) == drawing_key(state))
            return;
        checkpoints.push_back({keys_read, hash, state});
    };
    storm.after_run = [&] {
        if (!problem.empty()) return;
        run_reference(MODE_800x600, [&] {
            for (const Checkpoint& c : checkpoints) {
                ++checked;
                auto found = fresh_hashes.find(drawing_key(c.state));
                if (found != fresh_hashes.end() && found->second == c.page_hash) continue;
                if (!draw_afresh(c.state)) {
                    problem = "the points are not those of the crank angle; " + storm.where(c.keys_read);
                    return;
                }
                const uint64_t fresh = page_hash(graph_testing::page(0));
                fresh_hashes[drawing_key(c.state)] = fresh;
                ++drawn_afresh;
                if (fresh != c.page_hash) {
                    const std::vector<uint8_t> expected = graph_testing::page(0);
                    problem = "the frame is not the state drawn afresh (" +
                              page_difference(storm.replay_page(c.keys_read), expected, 800) + "); " +
                              storm.where(c.keys_read);
                    return;
                }
            }
        });
    };
    storm.run();
    EXPECT_EQ(problem, "");
    EXPECT_GE(storm.codes(), storm_codes(100'000));
    std::printf("loco_drive storm: seed %llu, %d codes, %d runs ended by ESC; the frame checked after %d keys: "
                "%d changes, %d drawn afresh; scales %d to %d, offsets up to %d\n",
                static_cast<unsigned long long>(seed), storm.codes(), storm.runs(), keys_checked, checked, drawn_afresh,
                lowest_scale, highest_scale, farthest_offset);
}

// --- Extreme settings ------------------------------------------------------------

constexpr int width = 800, height = 600;

struct Hold {
    const char* setup;  // keys before the hold
    const char* key;
    int dx, dy;  // screen pixels per press
    int presses;
};

std::string repeated(const char* token, int times) {
    std::string keys;
    for (int i = 0; i < times; ++i) keys += std::string(token) + " ";
    return keys;
}

// The command loop moves both parts by their scale: at scale 30 (or -30,
// mirrored) one press moves the drawing 36 pixels across or 30 up or down,
// and 2000 or 2400 presses move it 72000 pixels, past the 16-bit range and
// past where a coordinate wrapped modulo 65536 would be back on the page. At
// every press the frame is the first one shifted by the distance moved, cut
// at the window's edges; the drawing never comes back.
TEST(LocoDriveExtremes, TheDrawingHeldMovingSlidesOutOfTheWindowAndNeverComesBack) {
    const std::string to_30 = repeated("x", 29), to_minus_30 = repeated("z", 31);
    const Hold holds[] = {{to_30.c_str(), "f", 36, 0, 2000},
                          {to_30.c_str(), "g", 0, 30, 2400},
                          {to_30.c_str(), "y", 0, -30, 2400},
                          {to_minus_30.c_str(), "f", -36, 0, 2000}};
    for (const Hold& hold : holds) {
        SCOPED_TRACE(std::string("key ") + hold.key + " at scale " + (hold.dx < 0 ? "-30" : "30"));
        graph_testing::Script script;
        script.tokens(hold.setup);
        const int setup_codes = int(script.keys.size());
        script.tokens(repeated(hold.key, hold.presses) + "ESC");
        std::vector<uint8_t> first;
        std::string problem;
        int checks = 0;
        graph_testing::Hooks hooks;
        hooks.on_read_key = [&](int keys_read) {
            const long moves = keys_read - setup_codes;
            if (moves < 0 || !problem.empty()) return;
            const std::vector<uint8_t>& shown = graph_testing::page(graph_testing::visual_page());
            if (moves == 0) {
                first = shown;
                return;
            }
            const long dx = moves * hold.dx, dy = moves * hold.dy;
            if (!checked_press(dx + dy, moves, hold.presses)) return;
            ++checks;
            const std::string difference = page_difference(shown, shifted(first, width, height, dx, dy, BLACK), width);
            if (!difference.empty())
                problem = "after " + std::to_string(moves) + " presses (" + std::to_string(dx + dy) +
                          " pixels): " + difference;
        };
        EXPECT_EQ(graph_testing::run_with(ld::run, script, hooks), graph_testing::Ending::Returned);
        EXPECT_EQ(problem, "");
        EXPECT_GT(checks, 100);
    }
}

// The part editor moves one part by 20 units whatever its scale: 24 pixels
// across, 20 up or down. Held for 3000 or 3600 presses the part slides out of
// the window and stays out while the other part stays where it was.
TEST(LocoDriveExtremes, APartHeldMovingInTheEditorSlidesOutOfTheWindowAndNeverComesBack) {
    struct EditorHold {
        int part;
        const char* key;
        int dx, dy, presses;
    };
    const EditorHold holds[] = {{1, "f", 24, 0, 3000}, {2, "d", -24, 0, 3000}, {1, "y", 0, -20, 3600},
                                {2, "g", 0, 20, 3600}};
    graph_testing::run(ld::run, graph_testing::Script{});
    const Loco start = capture();
    std::vector<uint8_t> layers[ld::part_count + 1];
    run_reference(MODE_800x600, [&] {
        for (int p = 1; p <= ld::part_count; ++p) {
            restore_settings(start);
            ld::compute_geometry();
            ClearDevice();
            ld::draw_part(p);
            layers[p] = graph_testing::page(0);
        }
    });
    for (const EditorHold& hold : holds) {
        SCOPED_TRACE(std::string("part ") + std::to_string(hold.part) + ", key " + hold.key);
        graph_testing::Script script;
        script.key(uint8_t('0' + hold.part));
        script.tokens(repeated(hold.key, hold.presses) + "ESC ESC");
        std::string problem;
        int checks = 0;
        graph_testing::Hooks hooks;
        hooks.on_read_key = [&](int keys_read) {
            const long moves = keys_read - 1;  // the first code opened the editor
            if (moves < 1 || moves > hold.presses || !problem.empty()) return;
            const long dx = moves * hold.dx, dy = moves * hold.dy;
            if (!checked_press(dx + dy, moves, hold.presses)) return;
            // The cylinder first, the wheel over it.
            std::vector<uint8_t> expected(size_t(width) * height, BLACK);
            for (int p = 1; p <= ld::part_count; ++p)
                paint_over(expected, p == hold.part ? shifted(layers[p], width, height, dx, dy, BLACK) : layers[p],
                           BLACK);
            ++checks;
            const std::string difference =
                page_difference(graph_testing::page(graph_testing::visual_page()), expected, width);
            if (!difference.empty())
                problem = "after " + std::to_string(moves) + " presses (" + std::to_string(dx + dy) +
                          " pixels): " + difference;
        };
        EXPECT_EQ(graph_testing::run_with(ld::run, script, hooks), graph_testing::Ending::Returned);
        EXPECT_EQ(problem, "");
        EXPECT_GT(checks, 150);
    }
}

// Every coordinate a frame passes is the saturated pixel of one of the
// model's points in the parts' mapping (x stretched by 1.2 with its offset),
// and every radius the saturated radius of one of the three pin sizes: a
// coordinate far off the page is held at -32768 or 32767, never wrapped.
std::string coordinates_problem(const std::vector<Primitive>& primitives) {
    const double k = ld::part_scale[1];
    std::set<std::pair<long, long>> points;
    for (int i = 1; i <= ld::point_count; ++i)
        points.insert({to_pixel((k * ld::point_x[i] + ld::part_offset_x[1]) * 1.2),
                       to_pixel(height - 1 - (k * ld::point_y[i] + ld::part_offset_y[1]))});
    const std::set<long> radii = {to_radius(k * ld::pin_radius), to_radius(k * ld::wheel_inner_radius),
                                  to_radius(k * ld::wheel_outer_radius)};
    for (const Primitive& p : primitives) {
        const bool known = points.count({p.x1, p.y1}) &&
                           (p.circle ? radii.count(p.radius) != 0 : points.count({p.x2, p.y2}) != 0);
        if (!known)
            return (p.circle ? "a circle at (" : "a line from (") + std::to_string(p.x1) + ", " +
                   std::to_string(p.y1) + ") is not where the model's points lie";
    }
    return "";
}

// Holding x from scale 1 up to 10500, and z down to -10500: at every checked
// scale the frame's coordinates are the saturated ones, and the picture is
// exactly the pixels of the lines and circles they give, cut at the window.
TEST(LocoDriveExtremes, AZoomHeldBeyondTenThousandDrawsTheSaturatedCoordinates) {
    struct Zoom {
        const char* key;
        int presses;
        int last_scale;
    };
    for (const Zoom zoom : {Zoom{"x", 10'499, 10'500}, Zoom{"z", 10'501, -10'500}}) {
        SCOPED_TRACE(std::string("key ") + zoom.key);
        graph_testing::Script script;
        script.trace = true;
        script.tokens("p p p " + repeated(zoom.key, zoom.presses) + "ESC");  // the crank turned 15 degrees
        std::string problem;
        size_t traced = 0;
        int checks = 0;
        graph_testing::Hooks hooks;
        hooks.on_read_key = [&](int keys_read) {
            const size_t frame_start = traced;
            traced = graph_testing::trace().size();
            const int presses = keys_read - 3;
            if (presses < 1 || !problem.empty()) return;
            if (presses > 60 && presses % 50 != 0 && presses != zoom.presses) return;
            const std::vector<Primitive> primitives = traced_primitives(frame_start, traced);
            ++checks;
            std::string found = coordinates_problem(primitives);
            if (found.empty())
                found = picture_problem(graph_testing::page(graph_testing::visual_page()), width, height,
                                        BLACK, primitives);
            if (!found.empty())
                problem = "at scale " + std::to_string(ld::part_scale[1]) + ": " + found;
        };
        EXPECT_EQ(graph_testing::run_with(ld::run, script, hooks), graph_testing::Ending::Returned);
        EXPECT_EQ(problem, "");
        EXPECT_EQ(ld::part_scale[1], zoom.last_scale);
        EXPECT_GT(checks, 250);
    }
}

}  // namespace
