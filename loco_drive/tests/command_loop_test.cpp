// The command loop's keys: one frame for every code read, ESC ends it.
#include <gtest/gtest.h>

#include "graph.h"
#include "loco_drive.h"
#include "loco_testing.h"

namespace loco_drive {
namespace {

using namespace loco_test;

struct Settings {
    double crank;
    int32_t offset_x1, offset_y1, scale1, offset_x2, offset_y2, scale2;
    bool operator==(const Settings&) const = default;
};

Settings settings() {
    return {crank_angle,      part_offset_x[1], part_offset_y[1], part_scale[1],
            part_offset_x[2], part_offset_y[2], part_scale[2]};
}

std::ostream& operator<<(std::ostream& out, const Settings& s) {
    return out << "crank " << s.crank << ", part 1 (" << s.offset_x1 << ", " << s.offset_y1 << ") x" << s.scale1
               << ", part 2 (" << s.offset_x2 << ", " << s.offset_y2 << ") x" << s.scale2;
}

struct KeyCase {
    const char* tokens;
    Settings expected;
    int frames;  // pages shown after the start picture (a reset shows page 0 too)
};

TEST(CommandLoop, KeysChangeTheMachineAndEachCodeRedrawsOnce) {
    const KeyCase cases[] = {
        {"p", {5, 200, 180, 1, 200, 180, 1}, 1},
        {"o", {-5, 200, 180, 1, 200, 180, 1}, 1},
        {"d", {0, 199, 180, 1, 199, 180, 1}, 1},
        {"f", {0, 201, 180, 1, 201, 180, 1}, 1},
        {"g", {0, 200, 179, 1, 200, 179, 1}, 1},
        {"y", {0, 200, 181, 1, 200, 181, 1}, 1},
        {"x", {0, 200, 180, 2, 200, 180, 2}, 1},
        {"z", {0, 200, 180, 0, 200, 180, 0}, 1},
        {"z z z", {0, 200, 180, -2, 200, 180, -2}, 3},
        // Moves step by the scale, also a negative one.
        {"x x d y", {0, 197, 183, 3, 197, 183, 3}, 4},
        {"z z d", {0, 201, 180, -1, 201, 180, -1}, 3},
        {"p p d x a", {0, 200, 180, 1, 200, 180, 1}, 6},
        // Capital letters have no action.
        {"P O A D F G Y X Z", {0, 200, 180, 1, 200, 180, 1}, 9},
        // Only the second code of a two-code key counts: Alt+F9 is p,
        // Alt+1 is x, Ctrl+F4 is a.
        {"A-F9", {5, 200, 180, 1, 200, 180, 1}, 2},
        {"A-1", {0, 200, 180, 2, 200, 180, 2}, 2},
        {"p x C-F4", {0, 200, 180, 1, 200, 180, 1}, 5},
        // The close box gives 0, 107: no action, two frames.
        {"CLOSE", {0, 200, 180, 1, 200, 180, 1}, 2},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.tokens);
        EXPECT_EQ(run_keys(c.tokens), Ending::ScriptEnded);
        EXPECT_EQ(settings(), c.expected);
        EXPECT_EQ(pages_shown(), 1 + c.frames);
    }
}

TEST(CommandLoop, MovesStepEachPartByItsOwnScale) {
    // Part 2 at scale 3 from the editor: one move shifts part 1 by 1 unit
    // and part 2 by 3, so the two drift apart.
    const KeyCase cases[] = {
        {"2 s s ESC d", {0, 199, 180, 1, 197, 180, 3}, 5},
        {"2 s s ESC f", {0, 201, 180, 1, 203, 180, 3}, 5},
        {"2 s s ESC g", {0, 200, 179, 1, 200, 177, 3}, 5},
        {"2 s s ESC y", {0, 200, 181, 1, 200, 183, 3}, 5},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.tokens);
        run_keys(c.tokens);
        EXPECT_EQ(settings(), c.expected);
    }
    // In pixels, with the 1.2 stretch: 1.2 against 3.6.
    run_keys("2 s s ESC");
    EXPECT_EQ(drawn_gear().point[12], (Pixel{960, 419}));
    run_keys("2 s s ESC d");
    EXPECT_EQ(drawn_gear().point[1], (Pixel{239, 419}));   // 238.8
    EXPECT_EQ(drawn_gear().point[12], (Pixel{956, 419}));  // 956.4
}

TEST(CommandLoop, KeysWithoutActionLeaveThePictureAlone) {
    for (const char* tokens : {"P O A D F G Y X Z B Q W", "CLOSE", "3 e ENTER SPACE F3 UP C-a", "p o", "d f g y"}) {
        run_keys(tokens);
        EXPECT_EQ(shown_page(), start_page()) << tokens;
    }
}

TEST(CommandLoop, CrankAngleCountsOnWithoutWrapping) {
    std::string keys;
    for (int i = 0; i < 18; ++i) keys += "p ";
    run_keys(keys);
    EXPECT_EQ(crank_angle, 90.0);
    for (int i = 0; i < 54 + 72; ++i) keys += "p ";
    run_keys(keys);
    EXPECT_EQ(crank_angle, 720.0);
}

TEST(CommandLoop, FramesAlternateBetweenPagesZeroAndOne) {
    run_keys("p p p");
    std::vector<std::string> pages;
    for (const std::string& call : graph_testing::trace())
        if (call.rfind("SetActivePage", 0) == 0 || call.rfind("SetVisualPage", 0) == 0) pages.push_back(call);
    const std::vector<std::string> expected = {
        "SetActivePage(0)", "SetVisualPage(0)",                       // the reset
        "SetActivePage(1)", "SetVisualPage(1)", "SetActivePage(0)", "SetVisualPage(0)",
        "SetActivePage(1)", "SetVisualPage(1)",
    };
    EXPECT_EQ(pages, expected);
    // The shown page is also the active one, so a text screen appears at once.
    EXPECT_EQ(graph_testing::active_page(), graph_testing::visual_page());
}

TEST(CommandLoop, EscEndsAfterOneMoreFrame) {
    for (const char* tokens : {"ESC", "p ESC p"}) {
        SCOPED_TRACE(tokens);
        EXPECT_EQ(run_keys(tokens), Ending::Returned);
        const auto& trace = graph_testing::trace();
        EXPECT_EQ(trace.back(), "CloseGraph()");
        EXPECT_EQ(trace[trace.size() - 2].rfind("SetVisualPage(", 0), 0u);
    }
    EXPECT_EQ(pages_shown(), 3);  // the reset, p and ESC; the last p is never read
    EXPECT_EQ(graph_testing::queued_codes(), 0);
}

TEST(CommandLoop, EveryRunStartsAfresh) {
    run_keys("p p x d 1 c t s g ESC b q");
    run_keys("");
    EXPECT_EQ(shown_page(), start_page());
    EXPECT_EQ(settings(), (Settings{0, 200, 180, 1, 200, 180, 1}));
    EXPECT_EQ(part_color[1], 2);
    EXPECT_EQ(part_line_type[1], 0);
    EXPECT_FALSE(machine_reversed);
    EXPECT_EQ(view_angle, 0.0);
}

TEST(CommandLoop, SettingsStopAtThe32BitLimits) {
    // Offsets and scales have no limits of their own; held far enough, a key
    // would run them past the 32-bit range, where they stay at the edge.
    std::vector<Settings> after;
    graph_testing::Hooks hooks;
    hooks.on_read_key = [&](int keys_read) {
        if (keys_read == 0) {
            part_scale[1] = INT32_MAX;
            part_scale[2] = INT32_MIN;
            part_offset_x[1] = INT32_MAX - 5;
            part_offset_x[2] = INT32_MIN + 5;
        } else {
            after.push_back(settings());
        }
    };
    run_keys("x f z d", hooks);
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[0].scale1, INT32_MAX);
    EXPECT_EQ(after[0].scale2, INT32_MIN + 1);
    EXPECT_EQ(after[1].offset_x1, INT32_MAX);
    EXPECT_EQ(after[1].offset_x2, INT32_MIN);
    EXPECT_EQ(after[2].scale2, INT32_MIN);
    // d at scale INT32_MIN moves by 2^31 to the right.
    EXPECT_EQ(after[3].offset_x1, 1);
    EXPECT_EQ(after[3].offset_x2, 0);
}

}  // namespace
}  // namespace loco_drive
