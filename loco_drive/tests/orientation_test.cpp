// Keys b, q and w: the machine mirrored to face the other way and the
// drawing turned, both before each part's scale and offset.
#include <gtest/gtest.h>

#include "loco_drive.h"
#include "loco_testing.h"

namespace loco_drive {
namespace {

using namespace loco_test;

TEST(Orientation, StartValuesDrawThePlainMapping) {
    for (const char* tokens : {"b b", "q w", "w q", "b q b w", "q q q w w w", "b w a"}) {
        SCOPED_TRACE(tokens);
        run_keys(tokens);
        EXPECT_EQ(last_drawing(), expected_frame(start_pixels(), {2, 2, 55, 50}));
        EXPECT_EQ(shown_page(), start_page());
    }
}

TEST(Orientation, BMirrorsAboutTheMiddleOfThePivotAndWheel) {
    // Model x = 100 is pixel x = 360 at the start settings: every drawn
    // point moves to the other side of it.
    run_keys("b");
    EXPECT_TRUE(machine_reversed);
    const DrawnGear gear = drawn_gear();
    const auto start = start_pixels();
    for (int i = 1; i <= point_count; ++i) {
        if (i == 7) continue;
        EXPECT_EQ(gear.point[i], (Pixel{720 - start[i].x, start[i].y})) << "P" << i;
    }
    EXPECT_EQ(gear.radius, (std::array<int, 4>{2, 2, 55, 50}));
}

struct TurnCase {
    const char* tokens;
    std::vector<std::pair<int, Pixel>> points;
    int outer_rim = 55;  // pixels: circles are scaled, never turned or stretched
};

TEST(Orientation, MirrorAndTurnComeBeforeScaleAndOffset) {
    const TurnCase cases[] = {
        // 2 degrees counter-clockwise about model (100, 0): the pivot goes
        // down and the crank pin up.
        {"q", {{1, {240, 422}}, {12, {480, 416}}, {11, {540, 414}}}},
        {"w", {{1, {240, 416}}, {12, {480, 422}}, {11, {540, 424}}}},
        // Mirrored first, then turned: the pivot, now on the right, goes up.
        {"b q", {{1, {480, 416}}, {12, {240, 422}}, {11, {180, 424}}}},
        // In each part's own scale: the mirror line is model x = 100 of the
        // part, pixel (2 * 100 + 200) * 1.2 = 480 at scale 2.
        {"b x", {{1, {720, 419}}, {12, {240, 419}}, {11, {120, 419}}}, 110},
        // And in each part's own offset: part 2 moved 20 units left first.
        {"2 d ESC b", {{1, {480, 419}}, {12, {216, 419}}}},
        // The crank still turns counter-clockwise in the model: mirrored, it
        // turns clockwise on the screen.
        {"b p p p p p p p p p p p p p p p p p p", {{11, {240, 369}}}},
    };
    for (const TurnCase& c : cases) {
        SCOPED_TRACE(c.tokens);
        run_keys(c.tokens);
        const DrawnGear gear = drawn_gear();
        for (const auto& [point, pixel] : c.points) EXPECT_EQ(gear.point[point], pixel) << "P" << point;
        EXPECT_EQ(gear.radius[2], c.outer_rim);
    }
}

TEST(Orientation, ResetAndCreditsUndoIt) {
    for (const char* tokens : {"b q q a", "w b < x", "b 1 d ESC a"}) {
        SCOPED_TRACE(tokens);
        run_keys(tokens);
        EXPECT_FALSE(machine_reversed);
        EXPECT_EQ(view_angle, 0.0);
        EXPECT_EQ(shown_page(), start_page());
    }
}

}  // namespace
}  // namespace loco_drive
