// The redraw protocol: whatever keys move, edit or rearrange the device,
// each part is on the screen exactly once, drawn from set 1 with its current
// settings. So the visual page must be byte-for-byte the page that drawing
// the six parts once onto a black page gives. Help screens, the masses panel
// and the graph draw in copy mode over the device and are left out here.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "support.h"

using namespace cab_lift_test;

namespace {

struct Checkpoint {
    int keys_read;
    uint64_t page_hash;
    cab_lift::State state;
};

uint64_t hash_page(const std::vector<uint8_t>& page) {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (uint8_t byte : page) h = (h ^ byte) * 1099511628211ull;
    return h;
}

// Runs the keys and checks the page against a fresh drawing at every key
// the program waits for (the previous key handled completely).
void expect_protocol_holds(const std::string& tokens) {
    std::vector<Checkpoint> checkpoints;
    graph_testing::Hooks hooks;
    hooks.on_read_key = [&](int keys_read) {
        checkpoints.push_back({keys_read, hash_page(visual_page()), cab_lift::state});
    };
    graph_testing::Script script;
    script.tokens(tokens);
    ASSERT_EQ(graph_testing::run_with(cab_lift::run, script, hooks), graph_testing::Ending::ScriptEnded);
    const std::vector<uint8_t> last_page = visual_page();

    for (const Checkpoint& c : checkpoints) {
        const std::vector<uint8_t> expected = fresh_drawing(c.state);
        if (hash_page(expected) != c.page_hash) {
            ADD_FAILURE() << "after " << c.keys_read << " codes of \"" << tokens
                          << "\" the screen is not the six parts drawn once";
            return;
        }
    }
    // The same, pixel by pixel, for the final screen.
    EXPECT_EQ(page_difference(last_page, fresh_drawing(checkpoints.back().state)), "");
}

// A random walk over the keys that move, edit and rearrange the device,
// including keys without an action and two-code keys whose second code is
// bound. Stays clear of ESC in the command loop (it ends the program), of F1
// and ';' (help), of e, r, t, y (masses panel) and g (graph).
std::string random_keys(uint32_t seed, int count) {
    std::mt19937 random(seed);
    auto pick = [&](const std::vector<const char*>& from) { return from[random() % from.size()]; };
    const std::vector<const char*> loop_keys = {
        "p", "p", "p", "p", "o", "o", "o", "m", "m", "n", "n", "d", "a", "1", "2", "3", "4", "5", "6",
        "P", "7", "x", "k", "UP", "RIGHT", "F2", "CLOSE", "A-F9", "C-F4", "S-F1",
    };
    const std::vector<const char*> editor_keys = {
        "c", "c", "d", "f", "g", "y", "s", "s", "t", "t", "x", "p", "e", "DOWN", "F3", "C-RIGHT", "A-F9",
    };
    std::string tokens;
    bool in_editor = false;
    for (int i = 0; i < count; ++i) {
        const char* key;
        if (in_editor) {
            key = random() % 8 == 0 ? "ESC" : pick(editor_keys);
            in_editor = std::string(key) != "ESC";
        } else {
            key = pick(loop_keys);
            in_editor = key[0] >= '1' && key[0] <= '6' && key[1] == 0;
        }
        tokens += std::string(tokens.empty() ? "" : " ") + key;
    }
    return tokens;
}

}  // namespace

TEST(RedrawProtocol, RandomKeySequences) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        expect_protocol_holds(random_keys(seed, 300));
    }
}

TEST(RedrawProtocol, ChosenKeySequences) {
    const char* sequences[] = {
        // The whole stroke up, past the limit, and back down.
        "p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p p o o o o o o",
        // The man to both ends of the platform and beyond.
        "m m m m m m m m m m m m m m m m m m m m m m m m n n n n n n n n n n n n n n n n n n n n n n n n n n n n",
        // Every editor setting, then moves of the edited device.
        "2 c c s s t f y ESC p p 6 s s s s s s s s t g d ESC m m o",
        // A part drawn in black is invisible and must stay so as it moves.
        "3 c c c c c c c c c c c c c ESC p p o 3 c ESC p",
        // Apart, moved, then reassembled.
        "d p p m 4 f f ESC o a p",
        // A part moved far off the window and back.
        "5 d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d d ESC p "
        "5 f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f f ESC o",
        // Two-code keys acting as their second code, and keys with no action.
        "A-F9 A-F9 CLOSE P 7 8 9 UP LEFT C-F4 p",
    };
    for (const char* tokens : sequences) {
        SCOPED_TRACE(tokens);
        expect_protocol_holds(tokens);
    }
}
