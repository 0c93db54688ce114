// The arm's pose on its own: how the mouse turns and bends the links.
#include "arm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace jointed_arm {
namespace {

constexpr double pi = std::numbers::pi;

double direction_degrees(double from_x, double from_y, double to_x, double to_y) {
    return std::atan2(to_y - from_y, to_x - from_x) * 180 / pi;
}

// Turn from one direction to the next, folded into (-180, 180].
double turn_degrees(double from, double to) { return std::remainder(to - from, 360.0); }

// The vertical mouse position bends every joint alike: 0.375 degrees per
// pixel below the window's middle (299.5), clockwise on the screen.
TEST(ArmPose, EveryJointBendsByTheSameAmountForAMouseRow) {
    struct Case {
        int32_t mouse_y;
        double bend;  // degrees, clockwise on the screen
    };
    const Case cases[] = {{0, -112.3125}, {100, -74.8125}, {299, -0.1875}, {300, 0.1875}, {599, 112.3125}};
    for (const Case& c : cases) {
        for (int32_t mouse_x : {0, 137, 400}) {
            SCOPED_TRACE(testing::Message() << c.mouse_y << " " << mouse_x);
            const ArmPose links = arm_pose(mouse_x, c.mouse_y, 799, 599);
            // The link after the first continues the first from the base point.
            const double first = direction_degrees(399.5, 309.5, links[0].to_x, links[0].to_y);
            EXPECT_NEAR(turn_degrees(first, mouse_x), 0.0, 1e-9);
            double previous = first;
            for (int i = 1; i <= segment_count; ++i) {
                const double d = direction_degrees(links[i].from_x, links[i].from_y, links[i].to_x, links[i].to_y);
                EXPECT_NEAR(turn_degrees(previous, d), i == 1 ? 0.0 : c.bend, 1e-9) << i;
                previous = d;
            }
        }
    }
}

// Six links of 50, each starting where the previous ends; the first is drawn
// from 5 pixels below the base point, which is 10 below the window's centre.
TEST(ArmPose, SixLinksOfFiftyChainedFromTheBase) {
    for (int32_t mouse_x : {0, 45, 333, 799})
        for (int32_t mouse_y : {0, 250, 599}) {
            const ArmPose links = arm_pose(mouse_x, mouse_y, 799, 599);
            EXPECT_EQ(links[0].from_x, 399.5);
            EXPECT_EQ(links[0].from_y, 314.5);
            EXPECT_NEAR(std::hypot(links[0].to_x - 399.5, links[0].to_y - 309.5), 50.0, 1e-9);
            for (int i = 1; i <= segment_count; ++i) {
                EXPECT_EQ(links[i].from_x, links[i - 1].to_x);
                EXPECT_EQ(links[i].from_y, links[i - 1].to_y);
                EXPECT_NEAR(std::hypot(links[i].to_x - links[i].from_x, links[i].to_y - links[i].from_y), 50.0, 1e-9);
            }
        }
}

}  // namespace
}  // namespace jointed_arm
