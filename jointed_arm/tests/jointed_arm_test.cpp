// jointed_arm run headless: the arm as the mouse poses it, and its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "graph.h"
#include "graph_testing.h"
#include "jointed_arm.h"

namespace jointed_arm {
namespace {

using graph_testing::Ending;
using graph_testing::Hooks;
using graph_testing::Script;

// The Line and Circle calls of frame n (1 for the first).
std::vector<std::string> drawn_in_frame(int n) {
    std::vector<std::string> calls;
    int frame = 0;
    for (const std::string& line : graph_testing::trace()) {
        if (line.rfind("SetActivePage(", 0) == 0) ++frame;
        if (frame > n) break;
        if (frame == n && (line.rfind("Line(", 0) == 0 || line.rfind("Circle(", 0) == 0)) calls.push_back(line);
    }
    return calls;
}

// Runs `frames` frames with the mouse at (x, y) from the start, or never
// moved when x is negative.
void run_frames(int frames, int x = -1, int y = -1) {
    Script script;
    script.frames = frames;
    script.trace = true;
    if (x >= 0) script.mouse_at(x, y);
    ASSERT_EQ(graph_testing::run(run, script), Ending::FramesDone);
}

// Before the mouse has moved over the window it reads (0, 0): the arm points
// right and curls anticlockwise, 112.3 degrees a joint.
TEST(JointedArm, MouseAtOriginBeforeItMoves) {
    Script script;
    script.frames = 1;
    script.trace = true;
    bool blank_shown_first = false;
    Hooks hooks;
    hooks.on_frame = [&](int frame) {
        if (frame != 1) return;
        const auto& page = graph_testing::page(graph_testing::visual_page());
        blank_shown_first = graph_testing::visual_page() == 1 &&
                            std::all_of(page.begin(), page.end(), [](uint8_t c) { return c == BLACK; });
    };
    ASSERT_EQ(graph_testing::run_with(run, script, hooks), Ending::FramesDone);
    EXPECT_EQ(graph_testing::title(), "BRAT ARTICULAT");
    EXPECT_TRUE(blank_shown_first);
    const auto& trace = graph_testing::trace();
    EXPECT_NE(std::find(trace.begin(), trace.end(), "GetMouseX() = 0"), trace.end());
    EXPECT_EQ(drawn_in_frame(1), (std::vector<std::string>{
                                     "Line(400, 314, 450, 310)", "Line(450, 310, 500, 310)", "Circle(450, 310, 5)",
                                     "Line(500, 310, 481, 263)", "Circle(500, 310, 5)", "Line(481, 263, 445, 298)",
                                     "Circle(481, 263, 5)", "Line(445, 298, 491, 318)", "Circle(445, 298, 5)",
                                     "Line(491, 318, 492, 268)", "Circle(491, 318, 5)"}));
    // White on black, and the drawing shows on the page made visual next.
    EXPECT_EQ(graph_testing::pixel(0, 400, 314), WHITE);
    EXPECT_EQ(graph_testing::pixel(0, 492, 268), WHITE);
}

// The mouse's x read as degrees turns the whole arm; the links land on
// half pixels, which go to the even neighbour.
TEST(JointedArm, MouseXTurnsTheFirstTwoLinks) {
    struct Case {
        int mouse_x;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {0, "Line(400, 314, 450, 310)", "Line(450, 310, 500, 310)"},    // right
        {90, "Line(400, 314, 400, 360)", "Line(400, 360, 400, 410)"},   // down
        {180, "Line(400, 314, 350, 310)", "Line(350, 310, 300, 310)"},  // left
        {270, "Line(400, 314, 400, 260)", "Line(400, 260, 400, 210)"},  // up
        {360, "Line(400, 314, 450, 310)", "Line(450, 310, 500, 310)"},  // right again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mouse_x);
        run_frames(1, c.mouse_x, 450);
        const auto drawn = drawn_in_frame(1);
        ASSERT_EQ(drawn.size(), 11u);
        EXPECT_EQ(drawn[0], c.first);
        EXPECT_EQ(drawn[1], c.second);
    }
}

// A full pose away from the axes, and the joint circles: radius 5 at the
// start of each of the last five links, none at the base or the free tip.
TEST(JointedArm, JointCirclesAtTheFiveJointsOnly) {
    run_frames(1, 123, 456);
    const auto drawn = drawn_in_frame(1);
    EXPECT_EQ(drawn, (std::vector<std::string>{
                         "Line(400, 314, 372, 351)", "Line(372, 351, 345, 393)", "Circle(372, 351, 5)",
                         "Line(345, 393, 295, 392)", "Circle(345, 393, 5)", "Line(295, 392, 270, 348)",
                         "Circle(295, 392, 5)", "Line(270, 348, 295, 305)", "Circle(270, 348, 5)",
                         "Line(295, 305, 345, 303)", "Circle(295, 305, 5)"}));

    for (int mouse_y : {0, 299, 300, 599}) {
        run_frames(1, 77, mouse_y);
        const auto calls = drawn_in_frame(1);
        ASSERT_EQ(calls.size(), 11u);
        int lines[6][4] = {};
        for (int i = 0; i < 6; ++i) {
            const std::string& line = calls[i == 0 ? 0 : 2 * i - 1];
            ASSERT_EQ(std::sscanf(line.c_str(), "Line(%d, %d, %d, %d)", &lines[i][0], &lines[i][1], &lines[i][2],
                                  &lines[i][3]),
                      4)
                << line;
        }
        for (int i = 1; i < 6; ++i) {
            EXPECT_EQ(lines[i][0], lines[i - 1][2]);
            EXPECT_EQ(lines[i][1], lines[i - 1][3]);
            EXPECT_EQ(calls[2 * i], "Circle(" + std::to_string(lines[i][0]) + ", " + std::to_string(lines[i][1]) +
                                        ", 5)");
        }
    }
}

// Each frame is posed from the mouse position of that frame.
TEST(JointedArm, ArmFollowsTheMouseFromFrameToFrame) {
    run_frames(1, 300, 150);
    const auto first_pose = drawn_in_frame(1);
    run_frames(1, 640, 520);
    const auto second_pose = drawn_in_frame(1);
    ASSERT_NE(first_pose, second_pose);

    Script script;
    script.frames = 6;
    script.trace = true;
    script.mouse_at(300, 150, 0).mouse_at(640, 520, 3);  // moves once three pages are shown
    ASSERT_EQ(graph_testing::run(run, script), Ending::FramesDone);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(drawn_in_frame(n), first_pose) << n;
    for (int n = 4; n <= 6; ++n) EXPECT_EQ(drawn_in_frame(n), second_pose) << n;
}

TEST(JointedArm, AnyKeyEndsItAfterTheFrameInProgressWithoutReadingIt) {
    struct Case {
        const char* key;
        int codes;
    };
    const Case cases[] = {{"q", 1}, {"ESC", 1}, {"ENTER", 1}, {"F10", 2}, {"C-RIGHT", 2}, {"CLOSE", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Script script;
        script.trace = true;
        script.tokens(c.key, 4);
        int frames = 0;
        Hooks hooks;
        hooks.on_frame = [&](int frame) { frames = frame; };
        ASSERT_EQ(graph_testing::run_with(run, script, hooks), Ending::Returned);
        EXPECT_EQ(frames, 4);
        EXPECT_EQ(drawn_in_frame(4).size(), 11u);  // the frame in progress is finished
        EXPECT_EQ(graph_testing::queued_codes(), c.codes);
        const auto& trace = graph_testing::trace();
        EXPECT_EQ(trace.end()[-2], "KeyPressed() = 1");
        EXPECT_EQ(trace.back(), "CloseGraph()");
    }
}

// Only the page toggle carries over between frames, and a new run starts it
// afresh: an odd number of pages shown before must not shift them.
TEST(JointedArm, EveryRunStartsFromTheStartState) {
    Script first;
    first.frames = 1;  // two pages shown
    first.trace = true;
    graph_testing::run(run, first);
    const std::vector<std::string> fresh = graph_testing::trace();

    Script odd;
    odd.frames = 2;  // three pages shown
    graph_testing::run(run, odd);

    graph_testing::run(run, first);
    EXPECT_EQ(graph_testing::trace(), fresh);
}

}  // namespace
}  // namespace jointed_arm
