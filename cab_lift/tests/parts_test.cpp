// The screen mapping and what the part drawing sends to the platform.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "graph.h"
#include "parts.h"
#include "support.h"

using namespace cab_lift_test;
using cab_lift::state;

TEST(ScreenMapping, ModelPointToPixel) {
    struct Case {
        double x, y;
        int scale, offset_x, offset_y;
        int16_t sx, sy;
    };
    const Case cases[] = {
        {0, 0, 7, 80, 80, 80, 399},           // the model origin of the assembled device
        {630, -195, 7, 80, 80, 170, 427},     // 90 + 80; 479 - (-27.86 + 80)
        {24.5, 0, 7, 80, 80, 84, 399},        // 83.5: halves go to the even pixel
        {31.5, 0, 7, 80, 80, 84, 399},        // 84.5
        {0, -0.5, 1, 80, 80, 80, 400},        // 399.5
        {0, 12.5, 1, 0, 50, 0, 416},          // 416.5
        {0, 0, 1, 40000, 40000, 32767, -32768},  // far off the page: saturated, never wrapped
        {0, 0, 1, -40000, -40000, -32768, 32767},
        {-1e9, 1e9, 1, 0, 0, -32768, -32768},
    };
    for (const Case& c : cases) {
        cab_lift::state = cab_lift::State{};
        state.part_scale[2] = c.scale;
        state.part_offset_x[2] = c.offset_x;
        state.part_offset_y[2] = c.offset_y;
        const cab_lift::Pixel p = cab_lift::screen_point(c.x, c.y, 2);
        EXPECT_EQ(p.x, c.sx) << c.x << ", " << c.y;
        EXPECT_EQ(p.y, c.sy) << c.x << ", " << c.y;
    }
}

namespace {

// The diamond of a joint around (x, y) with half-diagonal h, as four lines.
std::vector<std::string> diamond(int x, int y, int h) {
    auto line = [](int x1, int y1, int x2, int y2) {
        return "Line(" + std::to_string(x1) + ", " + std::to_string(y1) + ", " + std::to_string(x2) + ", " +
               std::to_string(y2) + ")";
    };
    return {line(x, y + h, x + h, y), line(x + h, y, x, y - h), line(x, y - h, x - h, y),
            line(x - h, y, x, y + h)};
}

bool trace_contains_run(const std::vector<std::string>& lines) {
    const auto& t = graph_testing::trace();
    for (int at = trace_find(lines[0]); at >= 0; at = trace_find(lines[0], at + 1)) {
        bool all = at + lines.size() <= t.size();
        for (std::size_t i = 0; all && i < lines.size(); ++i) all = t[at + i] == lines[i];
        if (all) return true;
    }
    return false;
}

}  // namespace

// The start-up picture: styles first, then links and joints in order, the
// joint sizes turned into pixels at scale 7.
TEST(PartDrawing, StartUpCalls) {
    run_keys("", true);
    const auto& t = graph_testing::trace();
    // The fixed part: its style, then its first link 46-45.
    const int style = trace_find("SetLineStyle(0, 1, 0)");
    ASSERT_GE(style, 0);
    EXPECT_EQ(t[style + 1], "SetColor(1)");
    EXPECT_EQ(t[style + 2], "SetWriteMode(1)");
    EXPECT_EQ(t[style + 3], "Line(170, 427, 72, 427)");
    // Point 1 at (80, 399): size 20 is 3 pixels (20 / 7 = 2.86), the piston's
    // 49 is 7.
    EXPECT_TRUE(trace_contains_run(diamond(80, 399, 3)));
    EXPECT_TRUE(trace_contains_run(diamond(80, 399, 7)));
    // Every part once: six styles, 26 + 8 + 13 + 20 + 12 + 8 links and
    // 4 + 2 + 3 + 8 + 2 + 2 joints of four lines each.
    EXPECT_EQ(trace_count("SetWriteMode(1)"), 6);
    int lines = 0;
    for (const auto& line : t) lines += line.rfind("Line(", 0) == 0;
    EXPECT_EQ(lines, 87 + 4 * 21);
}

// The man's head is a diamond of 100 / 7 = 14 pixels; the centre-of-gravity
// marker follows in colour 7 whatever the man's colour.
TEST(PartDrawing, ManAndCentreOfGravity) {
    run_keys("6 c c", true);  // the man's colour becomes 8
    const auto& t = graph_testing::trace();
    int colour_8 = -1, colour_7 = -1;
    for (int i = 0; i < int(t.size()); ++i) {
        if (t[i] == "SetColor(8)") colour_8 = i;
        if (t[i] == "SetColor(7)") colour_7 = i;
    }
    // The last drawing of the man: style, 8 links, the head, colour 7, the marker.
    ASSERT_GE(colour_8, 0);
    ASSERT_EQ(colour_7, colour_8 + 2 + 8 + 4);
    auto half_diagonal = [&](int line) {
        int x1, y1, x2, y2;
        EXPECT_EQ(std::sscanf(t[line].c_str(), "Line(%d, %d, %d, %d)", &x1, &y1, &x2, &y2), 4) << t[line];
        return x2 - x1;
    };
    EXPECT_EQ(half_diagonal(colour_7 - 4), 14);
    EXPECT_EQ(half_diagonal(colour_7 + 1), 4);  // 30 / 7 = 4.29
}

namespace {

void draw_unknown_parts() {
    InitGraph(DRIVER_256, MODE_640x480, "parts");
    cab_lift::state = cab_lift::State{};
    for (int part : {0, 7, 8, -1}) cab_lift::draw_part(1, part);
    CloseGraph();
}

}  // namespace

TEST(PartDrawing, UnknownPartDrawsNothing) {
    graph_testing::Script script;
    script.trace = true;
    graph_testing::run(draw_unknown_parts, script);
    for (const auto& line : graph_testing::trace()) {
        EXPECT_EQ(line.find("Line"), std::string::npos) << line;
        EXPECT_EQ(line.find("SetColor"), std::string::npos) << line;
    }
}
