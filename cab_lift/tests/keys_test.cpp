// The command loop's and the editor's keys: steps, clamps, wraps, two-code
// keys read one code at a time, and what ends what.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support.h"

using namespace cab_lift_test;
using cab_lift::State;
using graph_testing::Ending;

namespace {

std::string repeat(const std::string& key, int times) {
    std::string tokens;
    for (int i = 0; i < times; ++i) tokens += (i ? " " : "") + key;
    return tokens;
}

using Field = std::function<double(const State&)>;

double stroke(const State& s) { return s.piston_stroke; }
double man_position(const State& s) { return s.man_position; }
double man_mass(const State& s) { return s.man_mass; }
double platform_mass(const State& s) { return s.platform_mass; }

}  // namespace

// Each press steps from the value before it; the last steps are cut at the
// limit, and further presses stay there.
TEST(CommandKeys, InputsStepAndClamp) {
    struct Case {
        std::string tokens;
        Field field;
        double step;
        std::vector<std::pair<int, double>> expected;  // value after press n
    };
    const std::string up = repeat("p", 44);
    const Case cases[] = {
        {up, stroke, 10, {{1, 97}, {2, 107}, {42, 507}, {43, 513}, {44, 513}}},
        {up + " " + repeat("o", 44), stroke, -10, {{45, 503}, {46, 493}, {86, 93}, {87, 87}, {88, 87}}},
        {repeat("m", 24), man_position, 30, {{1, 715}, {22, 1345}, {23, 1370}, {24, 1370}}},
        {repeat("n", 24), man_position, -30, {{1, 655}, {22, 25}, {23, 0}, {24, 0}}},
        {repeat("e", 17), man_mass, -5, {{1, 75}, {16, 0}, {17, 0}}},
        {repeat("r", 25), man_mass, 5, {{1, 85}, {24, 200}, {25, 200}}},
        {repeat("t", 21), platform_mass, -5, {{1, 95}, {20, 0}, {21, 0}}},
        {repeat("y", 181), platform_mass, 5, {{1, 105}, {180, 1000}, {181, 1000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tokens.substr(0, 1));
        const std::vector<State> states = states_between_keys(c.tokens);
        for (auto [press, value] : c.expected) {
            ASSERT_LT(press, int(states.size()));
            EXPECT_EQ(c.field(states[press]), value) << "press " << press;
        }
        // Every other press is one plain step.
        const int last = c.expected.back().first;
        for (int press = c.expected.front().first + 1; press <= last; ++press) {
            const double before = c.field(states[press - 1]);
            const double after = c.field(states[press]);
            if (after != before + c.step) {
                EXPECT_TRUE(press >= last - 1) << "press " << press << ": " << before << " -> " << after;
            }
        }
    }
}

TEST(EditorKeys, SettingsStepAndWrap) {
    struct Case {
        std::string tokens;  // after "1"
        std::function<double(const State&)> field;
        std::vector<double> expected;  // after each key
    };
    auto scale = [](const State& s) { return double(s.part_scale[1]); };
    auto color = [](const State& s) { return double(s.part_color[1]); };
    auto line_type = [](const State& s) { return double(s.part_line_type[1]); };
    auto offset_x = [](const State& s) { return double(s.part_offset_x[1]); };
    auto offset_y = [](const State& s) { return double(s.part_offset_y[1]); };
    const Case cases[] = {
        {repeat("s", 8), scale, {6, 5, 4, 3, 2, 1, 20, 19}},
        {repeat("c", 16), color, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1}},
        {repeat("t", 6), line_type, {1, 2, 3, 4, 0, 1}},
        {"d d f", offset_x, {60, 40, 60}},
        {"g y y", offset_y, {60, 80, 100}},
        // Keys without an action in the editor, a mass and a stroke key among them.
        {"x e p UP F3 k", scale, {7, 7, 7, 7, 7, 7, 7, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tokens);
        const std::vector<State> states = states_between_keys("1 " + c.tokens);
        ASSERT_EQ(states.size(), c.expected.size() + 2);
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(c.field(states[i + 2]), c.expected[i]) << "key " << i + 1;
        }
        // The editor changes only its own part and never the pose.
        const State& last = states.back();
        for (int part = 2; part <= 6; ++part) {
            EXPECT_EQ(last.part_scale[part], 7);
            EXPECT_EQ(last.part_color[part], part);
            EXPECT_EQ(last.part_offset_x[part], 80);
        }
        EXPECT_EQ(last.piston_stroke, 87);
        EXPECT_EQ(last.man_mass, 80);
    }
}

// The second code of a two-code key is read like the character key with the
// same code.
TEST(CommandKeys, TwoCodeKeysActAsTheirSecondCode) {
    run_keys("");
    const auto start_page = visual_page();

    struct Case {
        std::string tokens;
        std::function<void(const State&)> check;
    };
    const Case cases[] = {
        {"p p m C-F4",  // 0, 97: like a
         [](const State& s) {
             EXPECT_EQ(s.piston_stroke, 87);
             EXPECT_EQ(s.man_position, 685);
         }},
        {"A-F9", [](const State& s) { EXPECT_EQ(s.piston_stroke, 97); }},        // 0, 112: like p
        {"C-RIGHT", [](const State& s) { EXPECT_EQ(s.platform_mass, 95); }},     // 0, 116: like t
        {"1 C-RIGHT", [](const State& s) { EXPECT_EQ(s.part_line_type[1], 1); }},  // t in the editor
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tokens);
        const std::vector<State> states = states_between_keys(c.tokens);
        c.check(states.back());
    }
    // After the reset by Ctrl+F4 the screen is the start-up screen again.
    run_keys("p p m C-F4");
    EXPECT_EQ(page_difference(visual_page(), start_page), "");
}

// Capitals, digits 7 to 9, cursor keys and the close box have no action:
// the state and the screen stay as they were, and the program goes on.
TEST(CommandKeys, KeysWithoutAction) {
    run_keys("");
    const auto start_page = visual_page();
    const std::vector<State> states = states_between_keys("P O M A D 7 8 9 0 UP DOWN LEFT RIGHT F2 CLOSE x");
    const State& start = states.front();
    const State& last = states.back();
    EXPECT_EQ(last.piston_stroke, start.piston_stroke);
    EXPECT_EQ(last.man_position, start.man_position);
    EXPECT_EQ(last.man_mass, start.man_mass);
    EXPECT_EQ(last.platform_mass, start.platform_mass);
    EXPECT_EQ(page_difference(visual_page(), start_page), "");
}

TEST(CommandKeys, WhatEndsTheProgram) {
    struct Case {
        const char* tokens;
        Ending ending;
    };
    const Case cases[] = {
        {"ESC", Ending::Returned},
        {"CLOSE", Ending::ScriptEnded},    // 0, 107: the close box does not close
        {"A-F4", Ending::ScriptEnded},
        {"1 ESC", Ending::ScriptEnded},    // ESC in the editor leaves only the editor
        {"1 ESC ESC", Ending::Returned},
        {"F1 ESC", Ending::ScriptEnded},   // ESC leaves the help screen
        {"F1 ESC ESC", Ending::Returned},
        {"p ESC p", Ending::Returned},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run_keys(c.tokens), c.ending) << c.tokens;
    }
}

// While the graph is on, it is drawn after every code, ESC included; F1 is
// two codes, so two iterations, and on the help screen F1 leaves its 59
// for the command loop, which opens the help again.
TEST(CommandKeys, IterationsPerCode) {
    const std::string graph_drawn = "OutTextXY(30, 20, \"Forta [N]\")";
    const std::string help_opened = "OutTextXY(20, 10, \"TASTA            |        FUNCTIA INDEPLINITA\")";
    struct Case {
        const char* tokens;
        int graphs, helps;
    };
    const Case cases[] = {
        {"F1 x", 0, 1},
        {"; x", 0, 1},
        {"F1 F1 x", 0, 2},
        {"g", 1, 0},
        {"g x", 2, 0},
        {"g F1 x", 3, 1},  // code 0, then 59 with the help, each followed by the graph
        {"g ESC", 2, 0},
        {"ESC", 0, 0},
        {"g a p", 1, 0},   // a ends graph mode
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tokens);
        run_keys(c.tokens, true);
        EXPECT_EQ(trace_count(graph_drawn), c.graphs);
        EXPECT_EQ(trace_count(help_opened), c.helps);
    }
}

// Each run starts from the start state, however the last one ended.
TEST(CommandKeys, EveryRunStartsAfresh) {
    run_keys("");
    const auto start_page = visual_page();
    run_keys("p p m y r 3 c s f ESC g d");
    const std::vector<State> states = states_between_keys("");
    EXPECT_EQ(states.front().piston_stroke, 87);
    EXPECT_EQ(states.front().graph_mode, false);
    EXPECT_EQ(states.front().graph_prev_x, 0);
    EXPECT_EQ(page_difference(visual_page(), start_page), "");
}
