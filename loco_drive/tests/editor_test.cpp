// The part editor: one part's display settings, fixed steps, wrapping keys.
#include <gtest/gtest.h>

#include <functional>

#include "loco_drive.h"
#include "loco_testing.h"

namespace loco_drive {
namespace {

using namespace loco_test;

std::string times(int count, const std::string& token) {
    std::string tokens;
    for (int i = 0; i < count; ++i) tokens += token + " ";
    return tokens;
}

// The value of one setting after each key the program read.
std::vector<int> values_after_each_key(const std::string& tokens, const std::function<int()>& value) {
    std::vector<int> values;
    graph_testing::Hooks hooks;
    hooks.on_read_key = [&](int keys_read) {
        if (keys_read > 0) values.push_back(value());
    };
    run_keys(tokens, hooks);
    return values;
}

struct WrapCase {
    const char* name;
    std::string tokens;
    std::function<int()> value;
    std::vector<int> last_values;  // after the last keys, in order
};

TEST(Editor, ScaleColourAndLineTypeWrap) {
    const WrapCase cases[] = {
        {"s from 9", "1 " + times(8, "s") + times(7, "s"), [] { return part_scale[1]; },
         {9, 10, 11, 12, 13, 14, 15, 1}},
        // A scale the command loop left below 1 counts up from where it is.
        {"s from -1", "z z 1 s s", [] { return part_scale[1]; }, {-1, 0, 1}},
        {"s from 16", times(15, "x") + "2 s", [] { return part_scale[2]; }, {16, 1}},
        {"c from 15", "2 " + times(12, "c") + "c c", [] { return part_color[2]; }, {15, 0, 1}},
        {"t from 0", "1 " + times(5, "t"), [] { return part_line_type[1]; }, {0, 1, 2, 3, 4, 0}},
    };
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<int> values = values_after_each_key(c.tokens, c.value);
        ASSERT_GE(values.size(), c.last_values.size());
        EXPECT_EQ(std::vector<int>(values.end() - c.last_values.size(), values.end()), c.last_values);
    }
}

struct MoveCase {
    const char* tokens;
    Pixel pivot, wheel_centre;
};

TEST(Editor, MovesOnePartBy20Units) {
    const MoveCase cases[] = {
        {"1 d", {216, 419}, {480, 419}},  // 24 pixels left: the gear taken apart
        {"1 f", {264, 419}, {480, 419}},
        {"1 g", {240, 439}, {480, 419}},  // 20 pixels down
        {"1 y", {240, 399}, {480, 419}},
        {"2 d d", {240, 419}, {432, 419}},
        // Fixed steps, whatever the part's scale.
        {"x x 1 d", {216, 419}, {960, 419}},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.tokens);
        run_keys(c.tokens);
        const DrawnGear gear = drawn_gear();
        EXPECT_EQ(gear.point[1], c.pivot);
        EXPECT_EQ(gear.point[12], c.wheel_centre);
    }
    run_keys("1 d y 2 f ESC a");
    EXPECT_EQ(shown_page(), start_page());
}

TEST(Editor, DrawsNothingOnEntryAndOnceForEachKey) {
    run_keys("1");
    EXPECT_EQ(pages_shown(), 1);  // only the start picture
    run_keys("2 ESC");
    std::vector<std::string> clears;
    for (const std::string& call : graph_testing::trace())
        if (call == "ClearDevice()" || call == "ClearViewPort()") clears.push_back(call);
    // The reset's two clears, the editor's frame, the command loop's frame.
    EXPECT_EQ(clears, (std::vector<std::string>{"ClearDevice()", "ClearDevice()", "ClearViewPort()", "ClearDevice()"}));
    EXPECT_EQ(shown_page(), start_page());
}

TEST(Editor, CommandLoopKeysHaveNoActionInside) {
    // p and o do not turn the crank, the digits do not switch parts, the
    // command loop's a, x, z, b, q, w do nothing.
    run_keys("1 p o 2 a x z b q w 3 A C S T ESC");
    EXPECT_EQ(crank_angle, 0.0);
    EXPECT_EQ(part_scale[1], 1);
    EXPECT_EQ(part_color[1], 2);
    EXPECT_FALSE(machine_reversed);
    EXPECT_EQ(view_angle, 0.0);
    EXPECT_EQ(pages_shown(), 1 + 15 + 1);
    EXPECT_EQ(shown_page(), start_page());
}

TEST(Editor, SecondCodesOfTwoCodeKeysAct) {
    run_keys("1 C-F6 C-LEFT ESC");  // 0, 99 is c; 0, 115 is s
    EXPECT_EQ(part_color[1], 3);
    EXPECT_EQ(part_scale[1], 2);
    EXPECT_EQ(pages_shown(), 1 + 5 + 1);  // one frame for every code
}

TEST(Editor, EscOnItsHelpReturnsToTheEditor) {
    EXPECT_EQ(run_keys("1 F1 ESC c ESC"), Ending::ScriptEnded);
    EXPECT_EQ(part_color[1], 3);  // the c after the help still reached the editor
    // F1's 0, the 59 after the help, c, ESC; then the command loop's frame.
    EXPECT_EQ(pages_shown(), 1 + 4 + 1);
}

}  // namespace
}  // namespace loco_drive
