// backhoe under a storm of random keys, and with parts driven tens of
// thousands of pixels off the window by holding the editor's move keys.
//
// Every key ends with a frame built afresh on the hidden page, so after each
// key that drew a frame the window must show exactly what drawing the state
// afresh gives: the whole mechanism recomputed from the strokes (not just the
// chains the key moved) and the eight parts drawn on the background.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "backhoe.h"
#include "graph.h"
#include "storm.h"

namespace {

using backhoe::Model;
using namespace reliability;

template <typename T>
void append_bytes(std::string& key, const T& value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string drawing_key(const Model& m) {
    std::string key;
    append_bytes(key, m.boom_cylinder_stroke);
    append_bytes(key, m.stick_cylinder_stroke);
    append_bytes(key, m.bucket_cylinder_stroke);
    append_bytes(key, m.on_tyres);
    append_bytes(key, m.part_offset_x);
    append_bytes(key, m.part_offset_y);
    append_bytes(key, m.part_scale);
    append_bytes(key, m.part_color);
    append_bytes(key, m.part_line_type);
    return key;
}

std::string limits_problem(const Model& m) {
    if (m.boom_cylinder_stroke < backhoe::boom_stroke_min || m.boom_cylinder_stroke > backhoe::boom_stroke_max)
        return "boom stroke " + std::to_string(m.boom_cylinder_stroke);
    if (m.stick_cylinder_stroke < backhoe::stick_stroke_min ||
        m.stick_cylinder_stroke > backhoe::stick_stroke_max)
        return "stick stroke " + std::to_string(m.stick_cylinder_stroke);
    if (m.bucket_cylinder_stroke < backhoe::bucket_stroke_min ||
        m.bucket_cylinder_stroke > backhoe::bucket_stroke_max)
        return "bucket stroke " + std::to_string(m.bucket_cylinder_stroke);
    if (m.on_tyres != 0 && m.on_tyres != 1) return "body type " + std::to_string(m.on_tyres);
    for (int p = 1; p <= backhoe::part_count; ++p) {
        if (m.part_scale[p] < 1 || m.part_scale[p] > 15) return "scale of part " + std::to_string(p);
        if (m.part_color[p] < 0 || m.part_color[p] > 15) return "colour of part " + std::to_string(p);
        if (m.part_line_type[p] < 0 || m.part_line_type[p] > 4) return "line type of part " + std::to_string(p);
    }
    for (int i = 1; i <= backhoe::point_count; ++i) {
        if (!std::isfinite(m.point_x[i]) || !std::isfinite(m.point_y[i]))
            return "point " + std::to_string(i) + " is not finite";
    }
    return "";
}

// Draws the model afresh on the active page: every chain recomputed, the
// eight parts on the background. Returns false when the recomputed points
// differ from the model's own.
bool draw_afresh(const Model& m) {
    backhoe::model = m;
    backhoe::model.boom_changed = backhoe::model.stick_changed = backhoe::model.bucket_changed =
        backhoe::model.body_changed = 1;
    backhoe::compute_geometry();
    const bool same_points = backhoe::model.point_x == m.point_x && backhoe::model.point_y == m.point_y;
    SetBkColor(backhoe::background_color());
    ClearDevice();
    backhoe::draw_all_parts();
    return same_points;
}

struct Checkpoint {
    int keys_read;
    uint64_t page_hash;
    Model model;
};

TEST(BackhoeStorm, EveryFrameIsTheStateDrawnAfreshAndEveryValueInItsLimits) {
    const uint64_t seed = storm_seed(2002);
    KeyStorm keys(seed);
    KeyDrivenStorm storm(backhoe::run, seed, keys.keys(storm_codes(100'000)));

    std::string problem;
    int frames_since_key = 0;
    std::vector<Checkpoint> checkpoints;
    std::map<std::string, uint64_t> fresh_hashes;
    int keys_checked = 0, checked = 0, drawn_afresh = 0;
    // How far the storm took the machine: the keys at which each stroke was
    // at its limit, and the farthest offset.
    int strokes_at_limits = 0;
    int32_t farthest_offset = 0;

    storm.before_run = [&] {
        frames_since_key = 0;
        checkpoints.clear();
    };
    storm.on_frame = [&](int) { ++frames_since_key; };
    // A key that drew no frame opened a help screen, the credits or the
    // editor: there is no new frame to look at.
    storm.on_read_key = [&](int keys_read) {
        if (!problem.empty()) return;
        const Model& m = backhoe::model;
        const std::string limits = limits_problem(m);
        if (!limits.empty()) problem = limits + "; " + storm.where(keys_read);
        strokes_at_limits += (m.boom_cylinder_stroke == backhoe::boom_stroke_min ||
                              m.boom_cylinder_stroke == backhoe::boom_stroke_max) &&
                             (m.stick_cylinder_stroke == backhoe::stick_stroke_min ||
                              m.stick_cylinder_stroke == backhoe::stick_stroke_max) &&
                             (m.bucket_cylinder_stroke == backhoe::bucket_stroke_min ||
                              m.bucket_cylinder_stroke == backhoe::bucket_stroke_max);
        for (int p = 1; p <= backhoe::part_count; ++p)
            farthest_offset = std::max({farthest_offset, std::abs(m.part_offset_x[p]), std::abs(m.part_offset_y[p])});
        if (frames_since_key == 0) return;
        frames_since_key = 0;
        ++keys_checked;
        const uint64_t hash = visual_page_hash();
        if (!checkpoints.empty() && checkpoints.back().page_hash == hash &&
            drawing_key(checkpoints.back().model) == drawing_key(backhoe::model))
            return;
        checkpoints.push_back({keys_read, hash, backhoe::model});
    };
    storm.after_run = [&] {
        if (!problem.empty()) return;
        run_reference(MODE_640x480, [&] {
            for (const Checkpoint& c : checkpoints) {
                ++checked;
                auto found = fresh_hashes.find(drawing_key(c.model));
                if (found != fresh_hashes.end() && found->second == c.page_hash) continue;
                if (!draw_afresh(c.model)) {
                    problem = "the points are not those of the strokes; " + storm.where(c.keys_read);
                    return;
                }
                const uint64_t fresh = page_hash(graph_testing::page(0));
                fresh_hashes[drawing_key(c.model)] = fresh;
                ++drawn_afresh;
                if (fresh != c.page_hash) {
                    const std::vector<uint8_t> expected = graph_testing::page(0);
                    problem = "the frame is not the state drawn afresh (" +
                              page_difference(storm.replay_page(c.keys_read), expected, 640) + "); " +
                              storm.where(c.keys_read);
                    return;
                }
            }
        });
    };
    storm.run();
    EXPECT_EQ(problem, "");
    EXPECT_GE(storm.codes(), storm_codes(100'000));
    std::printf("backhoe storm: seed %llu, %d codes, %d runs ended by ESC; the frame checked after %d keys: "
                "%d changes, %d drawn afresh; all three strokes at a limit at %d keys, offsets up to %d\n",
                static_cast<unsigned long long>(seed), storm.codes(), storm.runs(), keys_checked, checked, drawn_afresh,
                strokes_at_limits, farthest_offset);
}

// --- Extreme settings ------------------------------------------------------------

struct Hold {
    int part;
    const char* key;
    int dx, dy;  // screen pixels per key
    int presses;
};

// A part moved by holding an editor key 72000 pixels away (3000 presses of
// 24 pixels, or 3600 of 20) slides out of the window and stays out: the
// frame is the parts drawn in order, this one shifted by the distance moved
// and cut at the window's edges.
TEST(BackhoeExtremes, APartHeldMovingSlidesOutOfTheWindowAndNeverComesBack) {
    const Hold holds[] = {{1, "f", 24, 0, 3000}, {7, "d", -24, 0, 3000}, {8, "y", 0, -20, 3600},
                          {2, "g", 0, 20, 3600}};
    graph_testing::run(backhoe::run, graph_testing::Script{});
    const Model start = backhoe::model;
    const int background = backhoe::background_color();
    const int w = 640, h = 480;

    // Each part alone on the background, as the start state draws it.
    std::vector<std::vector<uint8_t>> layers(backhoe::part_count + 1);
    run_reference(MODE_640x480, [&] {
        for (int p = 1; p <= backhoe::part_count; ++p) {
            backhoe::model = start;
            SetBkColor(background);
            ClearDevice();
            backhoe::draw_part(p);
            layers[p] = graph_testing::page(0);
        }
    });

    for (const Hold& hold : holds) {
        SCOPED_TRACE(std::string("part ") + std::to_string(hold.part) + ", key " + hold.key);
        // The parts drawn before this one, and those drawn over it.
        std::vector<uint8_t> below(size_t(w) * h, uint8_t(background)), above = below;
        for (int p = 1; p <= backhoe::part_count; ++p)
            if (p != hold.part) paint_over(p < hold.part ? below : above, layers[p], uint8_t(background));
        graph_testing::Script script;
        script.key(uint8_t('0' + hold.part));
        for (int i = 0; i < hold.presses; ++i) script.tokens(hold.key);
        script.tokens("ESC ESC");
        std::string problem;
        int checks = 0;
        graph_testing::Hooks hooks;
        hooks.on_read_key = [&](int keys_read) {
            const long moves = keys_read - 1;  // the first code opened the editor
            if (moves < 1 || moves > hold.presses || !problem.empty()) return;
            const long dx = moves * hold.dx, dy = moves * hold.dy;
            if (!checked_press(dx + dy, moves, hold.presses)) return;
            std::vector<uint8_t> expected = below;
            paint_over(expected, shifted(layers[hold.part], w, h, dx, dy, uint8_t(background)), uint8_t(background));
            paint_over(expected, above, uint8_t(background));
            ++checks;
            const std::string difference =
                page_difference(graph_testing::page(graph_testing::visual_page()), expected, w);
            if (!difference.empty())
                problem = "after " + std::to_string(moves) + " presses (" + std::to_string(dx + dy) +
                          " pixels): " + difference;
        };
        EXPECT_EQ(graph_testing::run_with(backhoe::run, script, hooks), graph_testing::Ending::Returned);
        EXPECT_EQ(problem, "");
        EXPECT_GT(checks, 150);
    }
}

}  // namespace
