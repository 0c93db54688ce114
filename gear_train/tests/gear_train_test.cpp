// gear_train run headless: what each frame draws, and what the keys do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "gear_train.h"
#include "graph.h"
#include "graph_testing.h"
#include "state.h"

namespace gear_train {
namespace {

using graph_testing::Ending;
using graph_testing::Hooks;
using graph_testing::Script;

// The calls of frame n (1 for the first): from its SetActivePage up to the next.
std::vector<std::string> frame_calls(int n) {
    std::vector<std::string> calls;
    int frame = 0;
    for (const std::string& line : graph_testing::trace()) {
        if (line.rfind("SetActivePage(", 0) == 0) ++frame;
        if (frame == n) calls.push_back(line);
        if (frame > n) break;
    }
    return calls;
}

struct XY {
    int x;
    int y;
};

// The points of the outlines drawn in a frame, one list per MoveTo.
std::vector<std::vector<XY>> outlines(const std::vector<std::string>& calls) {
    std::vector<std::vector<XY>> result;
    for (const std::string& line : calls) {
        XY p{};
        if (std::sscanf(line.c_str(), "MoveTo(%d, %d)", &p.x, &p.y) == 2) {
            result.push_back({p});
        } else if (std::sscanf(line.c_str(), "LineTo(%d, %d)", &p.x, &p.y) == 2) {
            result.back().push_back(p);
        }
    }
    return result;
}

TEST(GearTrain, FirstFrameShowsTheBlankPageAndTheSecondTheGearsAt001Rad) {
    Script script;
    script.frames = 1;
    script.trace = true;
    bool page_one_blank = false;
    int first_visual = -1, second_visual = -1;
    std::vector<uint8_t> second_shown;
    Hooks hooks;
    hooks.on_frame = [&](int frame) {
        if (frame == 1) {
            first_visual = graph_testing::visual_page();
            const auto& page = graph_testing::page(first_visual);
            page_one_blank = std::all_of(page.begin(), page.end(), [](uint8_t c) { return c == BLACK; });
        } else {
            second_visual = graph_testing::visual_page();
            second_shown = graph_testing::page(second_visual);
        }
    };
    ASSERT_EQ(graph_testing::run_with(run, script, hooks), Ending::FramesDone);
    EXPECT_EQ(graph_testing::title(), "ANGRENAJ DINTAT CU DINTI IN NUMAR PAR");
    EXPECT_EQ(graph_testing::trace().front(), "InitGraph(3, 6, \"ANGRENAJ DINTAT CU DINTI IN NUMAR PAR\")");
    EXPECT_EQ(first_visual, 1);
    EXPECT_TRUE(page_one_blank);
    EXPECT_EQ(second_visual, 0);

    const auto calls = frame_calls(1);
    const std::vector<std::string> opening(calls.begin(), calls.begin() + 4);
    EXPECT_EQ(opening, (std::vector<std::string>{"SetActivePage(0)", "SetVisualPage(1)", "ClearDevice()",
                                                 "SetColor(15)"}));
    EXPECT_EQ(calls.end()[-2], "KeyPressed() = 0");
    EXPECT_EQ(calls.back(), "Delay(10)");

    // Centre, right, top, left, bottom, each starting at parameter 0 turned
    // by +-0.01 rad; centres on half pixels go to the even neighbour.
    const XY starts[] = {{449, 300}, {564, 299}, {454, 189}, {344, 299}, {454, 409}};
    const XY seconds[] = {{455, 304}, {571, 303}, {461, 193}, {351, 303}, {461, 413}};
    const XY halfway[] = {{350, 299}, {455, 300}, {345, 190}, {235, 300}, {345, 410}};
    const auto drawn = outlines(calls);
    ASSERT_EQ(drawn.size(), 5u);
    for (size_t g = 0; g < drawn.size(); ++g) {
        SCOPED_TRACE(g);
        ASSERT_EQ(drawn[g].size(), 101u);
        EXPECT_EQ(drawn[g][0].x, starts[g].x);
        EXPECT_EQ(drawn[g][0].y, starts[g].y);
        EXPECT_EQ(drawn[g][1].x, seconds[g].x);
        EXPECT_EQ(drawn[g][1].y, seconds[g].y);
        EXPECT_EQ(drawn[g][50].x, halfway[g].x);
        EXPECT_EQ(drawn[g][50].y, halfway[g].y);
        EXPECT_EQ(drawn[g][100].x, drawn[g][0].x);
        EXPECT_EQ(drawn[g][100].y, drawn[g][0].y);
        // Every vertex is drawn, in white, on the page shown next.
        for (const XY& p : drawn[g]) EXPECT_EQ(second_shown[size_t(p.y) * 800 + p.x], WHITE);
    }
}

TEST(GearTrain, FramesAlternatePagesAndEachTakes10Milliseconds) {
    Script script;
    script.frames = 6;
    script.trace = true;
    std::vector<int64_t> clock;
    Hooks hooks;
    hooks.on_frame = [&](int) { clock.push_back(ClockMicros()); };
    graph_testing::run_with(run, script, hooks);
    for (int n = 1; n <= 6; ++n) {
        const auto calls = frame_calls(n);
        EXPECT_EQ(calls[0], "SetActivePage(" + std::to_string((n - 1) % 2) + ")");
        EXPECT_EQ(calls[1], "SetVisualPage(" + std::to_string(n % 2) + ")");
    }
    for (size_t i = 1; i < clock.size(); ++i) EXPECT_EQ(clock[i] - clock[i - 1], 10000);
}

// The tooth count drawn in each frame, for a script of keys.
std::vector<int> tooth_counts(const Script& keys, int frames) {
    Script script = keys;
    script.frames = frames - 1;
    std::vector<int> counts;
    Hooks hooks;
    // At SetVisualPage the new frame has not been drawn yet.
    hooks.on_frame = [&](int) { counts.push_back(state.tooth_count); };
    EXPECT_EQ(graph_testing::run_with(run, script, hooks), Ending::FramesDone);
    return counts;
}

TEST(GearTrain, ToothCountFollowsTheKeysOneKeyAFrame) {
    struct Case {
        const char* keys;
        int due_frame;  // graph_testing::on_read: one key whenever the queue is empty
        std::vector<int> counts;
    };
    const Case cases[] = {
        {"z z z a", graph_testing::on_read, {8, 6, 4, 4, 6}},  // 4 is the least
        {"a a z a", graph_testing::on_read, {8, 10, 12, 10, 12}},
        {"A Z", graph_testing::on_read, {8, 8, 8}},             // capitals do nothing
        {"C-F4 A-3 A-3", graph_testing::on_read, {8, 10, 8, 6}},  // 0,97 and 0,122
        {"CLOSE x F1 ;", graph_testing::on_read, {8, 8, 8, 8, 8}},  // close box ignored
        {"a a a", 0, {8, 10, 12, 14, 14}},                      // held key: a burst in the queue
        {"A-3 a", 0, {8, 6, 8}},
    };
    for (const Case& c : cases) {
        Script script;
        script.tokens(c.keys, c.due_frame);
        EXPECT_EQ(tooth_counts(script, int(c.counts.size())), c.counts) << c.keys;
    }
}

TEST(GearTrain, EscEndsAfterItsFrameLeavingLaterKeysQueued) {
    Script script;
    script.trace = true;
    script.tokens("a ESC a", 0);
    int frames = 0;
    Hooks hooks;
    hooks.on_frame = [&](int frame) { frames = frame; };
    ASSERT_EQ(graph_testing::run_with(run, script, hooks), Ending::Returned);
    EXPECT_EQ(frames, 2);
    EXPECT_EQ(state.tooth_count, 10);
    EXPECT_EQ(graph_testing::queued_codes(), 1);
    const auto& trace = graph_testing::trace();
    ASSERT_GE(trace.size(), 2u);
    EXPECT_EQ(trace.end()[-2], "Delay(10)");
    EXPECT_EQ(trace.back(), "CloseGraph()");
}

TEST(GearTrain, FiftyTeethAreDrawnAsAPolygonOfThePitchRadius) {
    Script script;
    for (int i = 0; i < 21; ++i) script.key('a');
    script.frames = 22;
    script.trace = true;
    ASSERT_EQ(graph_testing::run(run, script), Ending::FramesDone);
    ASSERT_EQ(state.tooth_count, 50);
    const double centres[5][3] = {
        {399.5, 299.5, 50}, {509.5, 299.5, 55}, {399.5, 189.5, 55}, {289.5, 299.5, 55}, {399.5, 409.5, 55}};
    const auto drawn = outlines(frame_calls(22));
    ASSERT_EQ(drawn.size(), 5u);
    for (size_t g = 0; g < 5; ++g)
        for (const XY& p : drawn[g])
            EXPECT_NEAR(std::hypot(p.x - centres[g][0], p.y - centres[g][1]), centres[g][2], 0.7072) << g;
}

TEST(GearTrain, EveryRunStartsFromTheStartState) {
    Script first;
    first.frames = 2;
    first.trace = true;
    graph_testing::run(run, first);
    const std::vector<std::string> fresh = graph_testing::trace();

    Script busy;
    busy.tokens("a a a z");
    busy.frames = 7;
    graph_testing::run(run, busy);

    graph_testing::run(run, first);
    EXPECT_EQ(graph_testing::trace(), fresh);
}

}  // namespace
}  // namespace gear_train
