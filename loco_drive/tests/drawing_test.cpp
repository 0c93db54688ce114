// What the parts draw, at the pixels the mapping gives.
#include <gtest/gtest.h>

#include <set>

#include "graph.h"
#include "loco_drive.h"
#include "loco_testing.h"
#include "parts.h"
#include "screen_mapping.h"

namespace loco_drive {
namespace {

using namespace loco_test;

std::string times(int count, const std::string& token) {
    std::string tokens;
    for (int i = 0; i < count; ++i) tokens += token + " ";
    return tokens;
}

TEST(Drawing, FirstPictureIsTheAssembledGearAtCrankAngleZero) {
    EXPECT_EQ(run_keys(""), Ending::ScriptEnded);
    EXPECT_EQ(graph_testing::title(), "ANGRENAJE LOCOMOTIVA");
    EXPECT_EQ(graph_testing::trace().front(), "InitGraph(3, 6, \"ANGRENAJE LOCOMOTIVA\")");
    EXPECT_EQ(last_drawing(), expected_frame(start_pixels(), {2, 2, 55, 50}));
    // Drawn on page 0, shown at once.
    EXPECT_EQ(graph_testing::visual_page(), 0);
    EXPECT_EQ(graph_testing::active_page(), 0);
    EXPECT_EQ(pages_shown(), 1);
    EXPECT_EQ(graph_testing::pixel(0, 240, 419 - 2), GREEN);  // top of the pivot pin
    EXPECT_EQ(graph_testing::pixel(0, 480 + 55, 419), CYAN);   // the outer rim
    EXPECT_EQ(graph_testing::pixel(0, 0, 0), BLACK);
}

// Pixels read from each frame's drawing, for crank positions the points of
// which can be told by hand.
struct CrankCase {
    const char* name;
    int presses;
    const char* key;
    double angle;
    std::vector<std::pair<int, Pixel>> points;
};

TEST(Drawing, CrankPositions) {
    const CrankCase cases[] = {
        {"90 degrees", 18, "p", 90, {{11, {480, 369}}, {13, {480, 374}}, {12, {480, 419}}, {1, {240, 419}}}},
        // The rod at its shortest, the cylinder horizontal again.
        {"180 degrees", 36, "p", 180,
         {{11, {420, 419}}, {9, {420, 422}}, {10, {420, 416}}, {6, {336, 416}}, {8, {336, 422}}, {13, {426, 419}}}},
        {"-5 degrees", 1, "o", -5, {{11, {540, 423}}}},
        // A whole turn: the crank is back where it started.
        {"360 degrees", 72, "p", 360, {{11, {540, 419}}, {13, {534, 419}}, {6, {336, 416}}, {10, {540, 416}}}},
        {"-360 degrees", 72, "o", -360, {{11, {540, 419}}, {13, {534, 419}}}},
    };
    for (const CrankCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(run_keys(times(c.presses, c.key)), Ending::ScriptEnded);
        EXPECT_EQ(crank_angle, c.angle);
        EXPECT_EQ(pages_shown(), 1 + c.presses);
        const DrawnGear gear = drawn_gear();
        for (const auto& [point, pixel] : c.points) {
            EXPECT_EQ(gear.point[point].x, pixel.x) << "P" << point;
            EXPECT_EQ(gear.point[point].y, pixel.y) << "P" << point;
        }
        EXPECT_EQ(gear.radius, (std::array<int, 4>{2, 2, 55, 50}));
    }
}

TEST(Drawing, WholeTurnsGiveTheStartPicture) {
    for (const char* tokens : {"p p p o o o", "", "o p"}) {
        run_keys(std::string(tokens) + " " + times(72, "p"));
        EXPECT_EQ(last_drawing(), expected_frame(start_pixels(), {2, 2, 55, 50})) << tokens;
        EXPECT_EQ(crank_angle, 360.0);
    }
}

TEST(Drawing, AxisEndPointsAtTheCrankPinAtNinetyDegrees) {
    // Point 7 is not drawn itself: read it through the mapping while the
    // program waits for the key after the eighteenth p.
    Pixel axis_end;
    graph_testing::Hooks hooks;
    hooks.on_read_key = [&](int keys_read) {
        if (keys_read != 18) return;
        current_part = 1;
        const ScreenPoint p = to_screen(point_x[7], point_y[7]);
        axis_end = {p.x, p.y};
    };
    run_keys(times(18, "p") + "a", hooks);
    EXPECT_EQ(axis_end, (Pixel{333, 400}));
}

TEST(Drawing, ScaleTwoKeepsCirclesRoundAndStretchesX) {
    run_keys("x");
    DrawnGear gear = drawn_gear();
    EXPECT_EQ(gear.radius, (std::array<int, 4>{4, 4, 110, 100}));
    EXPECT_EQ(gear.point[12], (Pixel{720, 419}));
    EXPECT_EQ(gear.point[13].x - gear.point[12].x, 108);  // 90 units, stretched
    EXPECT_EQ(gear.point[16].x - gear.point[12].x, -108);
    run_keys(times(18, "p") + "x");
    gear = drawn_gear();
    EXPECT_EQ(gear.point[13].y - gear.point[12].y, -90);  // straight up, not stretched
}

TEST(Drawing, ScaleZeroShrinksBothPartsToTheModelOrigin) {
    run_keys("z");
    EXPECT_EQ(part_scale[1], 0);
    EXPECT_EQ(part_scale[2], 0);
    const DrawnGear gear = drawn_gear();
    for (int i = 1; i <= point_count; ++i)
        if (i != 7) {
            EXPECT_EQ(gear.point[i], (Pixel{240, 419})) << "P" << i;
        }
    EXPECT_EQ(gear.radius, (std::array<int, 4>{0, 0, 0, 0}));
    // A circle of radius 0 sets its centre pixel: the picture is that one
    // pixel, in the wheel's colour, drawn last.
    const std::vector<uint8_t> page = shown_page();
    for (int y = 0; y < graph_testing::height(); ++y)
        for (int x = 0; x < graph_testing::width(); ++x)
            ASSERT_EQ(page[size_t(y) * graph_testing::width() + x], x == 240 && y == 419 ? int{CYAN} : int{BLACK})
                << x << ", " << y;
}

TEST(Drawing, NegativeScaleMirrorsThroughTheModelOrigin) {
    run_keys("z z");
    EXPECT_EQ(part_scale[1], -1);
    const DrawnGear gear = drawn_gear();
    EXPECT_EQ(gear.point[1], (Pixel{240, 419}));
    EXPECT_EQ(gear.point[12], (Pixel{0, 419}));     // 200 units to the left, stretched
    EXPECT_EQ(gear.point[11], (Pixel{-60, 419}));   // off the window's left edge
    EXPECT_EQ(gear.point[2], (Pixel{240, 424}));    // above the axis becomes below
    // Radii stay positive, so the pins stay round.
    EXPECT_EQ(gear.radius, (std::array<int, 4>{2, 2, 55, 50}));
    run_keys("z z x x");
    EXPECT_EQ(shown_page(), start_page());
}

TEST(Drawing, CoordinatesFarOffTheWindowSaturate) {
    // The scale keys have no limit: a big enough scale puts the crank pin
    // beyond the 16-bit range, where it is held at the edge.
    graph_testing::Hooks hooks;
    hooks.on_read_key = [](int keys_read) {
        if (keys_read == 0) part_scale[1] = part_scale[2] = 400;  // before the first key
    };
    run_keys("#0", hooks);  // one code without an action: a redraw at scale 400
    const DrawnGear gear = drawn_gear();
    EXPECT_EQ(gear.point[11], (Pixel{32767, 419}));  // (400 * 250 + 200) * 1.2
    EXPECT_EQ(gear.point[1], (Pixel{240, 419}));
    EXPECT_EQ(gear.radius[2], 22000);
    EXPECT_EQ(gear.point[2].y, 599 - (2000 + 180));
}

TEST(Drawing, LineStyleAndColourPerPart) {
    run_keys("1 t t c 2 ESC");  // part 1 dash-dot in colour 3; the 2 has no action in the editor
    EXPECT_EQ(last_drawing(), expected_frame(start_pixels(), {2, 2, 55, 50}, 3, 3, 2, 0));
}

TEST(Drawing, PartInColourZeroIsInvisible) {
    run_keys("1 " + times(14, "c") + "ESC");  // 2 -> 15 -> 0
    EXPECT_EQ(part_color[1], 0);
    const std::vector<uint8_t> page = shown_page();
    const std::set<uint8_t> colours(page.begin(), page.end());
    EXPECT_EQ(colours, (std::set<uint8_t>{uint8_t{BLACK}, uint8_t{CYAN}}));
}

TEST(Drawing, OnlyPartsOneAndTwoExist) {
    size_t before = 0, after = 0;
    graph_testing::Hooks hooks;
    hooks.on_read_key = [&](int) {
        before = graph_testing::trace().size();
        for (const int p : {0, 3, -1, 1000}) draw_part(p);
        after = graph_testing::trace().size();
    };
    run_keys("", hooks);
    EXPECT_GT(before, 0u);
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace loco_drive
