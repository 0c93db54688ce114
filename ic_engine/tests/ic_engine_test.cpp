// ic_engine run headless: the frames it draws, their pacing and its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "graph.h"
#include "graph_testing.h"
#include "ic_engine.h"
#include "state.h"

namespace ic_engine {
namespace {

using graph_testing::Ending;
using graph_testing::Hooks;
using graph_testing::Script;

constexpr double pi = std::numbers::pi;

// The drawing calls of frame n (1 for the first): from its SetActivePage up
// to the next, without the GetMaxX / GetMaxY queries.
std::vector<std::string> frame_calls(int n) {
    std::vector<std::string> calls;
    int frame = 0;
    for (const std::string& line : graph_testing::trace()) {
        if (line.rfind("SetActivePage(", 0) == 0) ++frame;
        if (frame > n) break;
        if (frame == n && line.rfind("GetMax", 0) != 0) calls.push_back(line);
    }
    return calls;
}

std::string call(const char* name, int a, int b) {
    return std::string(name) + "(" + std::to_string(a) + ", " + std::to_string(b) + ")";
}
std::string circle(int x, int y, int r) {
    return "Circle(" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(r) + ")";
}

TEST(IcEngine, FirstFrameDrawsTheEngineAtCrankAngleOne) {
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
    EXPECT_EQ(graph_testing::title(), "MOTOR CU ARDERE INTERNA");
    EXPECT_TRUE(blank_shown_first);

    std::vector<std::string> expected = {"SetActivePage(0)", "SetVisualPage(1)", "ClearDevice()", "SetColor(15)",
                                         circle(649, 300, 80),  // crank circle
                                         call("MoveTo", 166, 274), call("LineTo", 449, 274),
                                         call("LineTo", 449, 324), call("LineTo", 166, 324),
                                         call("LineTo", 166, 274)};
    // The piston, 15 to 60 pixels left of its pin at x 366.2.
    for (int y = 280; y <= 319; ++y) {
        expected.push_back(call("MoveTo", 351, y));
        expected.push_back(call("LineTo", 306, y));
    }
    // Flame level -0.34: no flame, no spark. The rod from (366, 300) to (716, 343).
    const int centres[10][2] = {{366, 300}, {405, 304}, {444, 309}, {483, 314}, {522, 319},
                                {561, 323}, {600, 328}, {638, 333}, {677, 338}, {716, 343}};
    expected.push_back("SetColor(64)");
    for (const auto& c : centres) expected.push_back(circle(c[0], c[1], 10));
    expected.push_back("SetColor(40)");
    for (const auto& c : centres) expected.push_back(circle(c[0], c[1], 15));
    expected.push_back("KeyPressed() = 0");
    EXPECT_EQ(frame_calls(1), expected);
}

// Over one turn (1257 frames) the flame shows whenever the sine of the crank
// angle is below 0.5 and the spark whenever it is below -0.9, judged from the
// pictures the window shows.
TEST(IcEngine, FlameBurnsTwoThirdsOfATurnAndTheSparkAbout14Percent) {
    constexpr int turn = 1257;
    Script script;
    script.frames = turn;
    std::vector<double> crank_angle;     // of frame n at [n - 1]
    std::vector<bool> flame, spark, piston_out;  // as shown after frame n, at [n - 1]
    Hooks hooks;
    hooks.on_frame = [&](int frame) {
        if (frame > 1) {  // the page of frame - 1 is on show
            const int shown = graph_testing::visual_page();
            flame.push_back(graph_testing::pixel(shown, 186, 281) == 44);
            spark.push_back(graph_testing::pixel(shown, 189, 300) == 120);
            piston_out.push_back(graph_testing::pixel(shown, 160, 290) == WHITE);
        }
        if (frame <= turn) crank_angle.push_back(10 * state.engine_time);  // not advanced yet
    };
    ASSERT_EQ(graph_testing::run_with(run, script, hooks), Ending::FramesDone);
    ASSERT_EQ(flame.size(), size_t(turn));
    ASSERT_EQ(crank_angle.size(), size_t(turn));
    EXPECT_NEAR(crank_angle.back() - crank_angle.front(), 2 * pi, 0.005);

    int flames = 0, sparks = 0, first_spark = -1, last_spark = -1;
    for (int i = 0; i < turn; ++i) {
        SCOPED_TRACE(crank_angle[i]);
        EXPECT_EQ(flame[i], std::sin(crank_angle[i]) < 0.5);
        EXPECT_EQ(spark[i], std::sin(crank_angle[i]) < -0.9);
        flames += flame[i];
        if (spark[i]) {
            ++sparks;
            if (first_spark < 0) first_spark = i;
            last_spark = i;
        }
    }
    EXPECT_NEAR(double(flames) / turn, 2.0 / 3.0, 0.002);
    EXPECT_NEAR(double(sparks) / turn, 0.1436, 0.002);
    // One burst, centred on the piston's nearest approach to the head, when
    // the piston reaches out past the cylinder's left edge.
    EXPECT_EQ(last_spark - first_spark + 1, sparks);
    EXPECT_NEAR((crank_angle[first_spark] + crank_angle[last_spark]) / 2, 3 * pi / 2, 0.005);
    EXPECT_TRUE(piston_out[(first_spark + last_spark) / 2]);
    EXPECT_FALSE(piston_out[0]);
}

// A frame near crank angle 3 pi / 2 has every part: the colours in drawing
// order, each the palette entry nearest to its named colour.
TEST(IcEngine, PartsInDrawingOrderInTheirNamedColours) {
    constexpr int spark_frame = 743;
    Script script;
    script.frames = spark_frame;
    script.trace = true;
    ASSERT_EQ(graph_testing::run(run, script), Ending::FramesDone);
    const auto calls = frame_calls(spark_frame);
    std::vector<std::string> colours;
    for (const auto& line : calls)
        if (line.rfind("SetColor(", 0) == 0) colours.push_back(line);
    EXPECT_EQ(colours, (std::vector<std::string>{"SetColor(15)", "SetColor(44)", "SetColor(120)", "SetColor(64)",
                                                 "SetColor(40)"}));
    EXPECT_EQ(graph_testing::palette_rgb(15), 0xFCFCFCu);
    EXPECT_EQ(graph_testing::palette_rgb(44), 0xFCFC00u);
    EXPECT_EQ(graph_testing::palette_rgb(120), 0x007000u);
    EXPECT_EQ(graph_testing::palette_rgb(64), 0xFC7C7Cu);
    EXPECT_EQ(graph_testing::palette_rgb(40), 0xFC0000u);

    // The spark: 60 triangles (two MoveTo and three LineTo each) whose outer
    // corners point in the twelve directions 30 degrees apart.
    const auto begin = std::find(calls.begin(), calls.end(), "SetColor(120)");
    const auto end = std::find(calls.begin(), calls.end(), "SetColor(64)");
    int moves = 0, lines = 0;
    std::set<int> directions;
    for (auto it = begin; it != end; ++it) {
        int x = 0, y = 0;
        if (std::sscanf(it->c_str(), "MoveTo(%d, %d)", &x, &y) == 2) ++moves;
        if (std::sscanf(it->c_str(), "LineTo(%d, %d)", &x, &y) == 2) ++lines;
        if (std::hypot(x - 189, y - 300) > 13.8) {
            const double degrees = std::atan2(x - 189, y - 300) * 180 / pi;
            directions.insert(int(std::lround(degrees / 30 + 12)) % 12);
            EXPECT_NEAR(std::remainder(degrees, 30.0), 0.0, 3.0) << *it;
        }
    }
    EXPECT_EQ(moves, 120);
    EXPECT_EQ(lines, 180);
    EXPECT_EQ(directions.size(), 12u);
}

// A frame every 2 ms on the clock; a late frame is followed at once by the
// next ones until the schedule is caught up, and no frame is skipped: each
// advances the model by one step.
TEST(IcEngine, FramesArePacedOnTheClockAndALateFrameIsCaughtUp) {
    Script script;
    script.frames = 10;
    std::vector<int64_t> starts;
    std::vector<double> times;
    Hooks hooks;
    hooks.on_frame = [&](int frame) {
        starts.push_back(ClockMicros());
        times.push_back(state.engine_time);
        if (frame == 5) Delay(7);  // frame 5 takes 7 ms to draw
    };
    ASSERT_EQ(graph_testing::run_with(run, script, hooks), Ending::FramesDone);
    EXPECT_EQ(starts, (std::vector<int64_t>{0, 2000, 4000, 6000, 8000, 15000, 15000, 15000, 16000, 18000, 20000}));
    for (size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i], 0.1 + 0.0005 * double(i), 1e-12) << i;
}

TEST(IcEngine, AnyKeyEndsItAfterTheFrameInProgressWithoutReadingIt) {
    struct Case {
        const char* key;
        int codes;
    };
    const Case cases[] = {{"x", 1}, {"ESC", 1}, {"SPACE", 1}, {"F1", 2}, {"A-a", 2}, {"CLOSE", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Script script;
        script.trace = true;
        script.tokens(c.key, 3);  // queued once three pages have been shown
        int frames = 0;
        Hooks hooks;
        hooks.on_frame = [&](int frame) { frames = frame; };
        ASSERT_EQ(graph_testing::run_with(run, script, hooks), Ending::Returned);
        EXPECT_EQ(frames, 3);
        EXPECT_EQ(graph_testing::queued_codes(), c.codes);
        const auto& trace = graph_testing::trace();
        EXPECT_EQ(trace.end()[-2], "KeyPressed() = 1");
        EXPECT_EQ(trace.back(), "CloseGraph()");
        EXPECT_EQ(std::count_if(trace.begin(), trace.end(),
                                [](const std::string& line) { return line.rfind("ReadKey", 0) == 0; }),
                  0);
    }
}

TEST(IcEngine, EveryRunStartsFromTheStartState) {
    Script first;
    first.frames = 2;
    first.trace = true;
    graph_testing::run(run, first);
    const std::vector<std::string> fresh = graph_testing::trace();

    Script longer;
    longer.frames = 101;
    graph_testing::run(run, longer);

    graph_testing::run(run, first);
    EXPECT_EQ(graph_testing::trace(), fresh);
}

}  // namespace
}  // namespace ic_engine
