// The engine's geometry on its own: where crank, piston and rod stand.
#include "engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace ic_engine {
namespace {

constexpr double pi = std::numbers::pi;

TEST(EngineFrame, FirstFrameAtCrankAngleOne) {
    const EngineFrame f = engine_frame(0.1, 799, 599);
    EXPECT_DOUBLE_EQ(f.crank_angle, 1.0);
    EXPECT_DOUBLE_EQ(f.crank_radius, 79.9);
    EXPECT_EQ(f.cylinder_base_x, 299.0);
    EXPECT_EQ(f.crank_centre_x, 649.0);
    EXPECT_EQ(f.axis_y, 299.5);
    EXPECT_NEAR(f.piston_pin_x, 366.2335, 1e-4);
    EXPECT_NEAR(f.crank_pin_x, 716.2335, 1e-4);
    EXPECT_NEAR(f.crank_pin_y, 342.6702, 1e-4);
    EXPECT_NEAR(f.flame_level, -0.3415, 1e-4);
    EXPECT_FALSE(flame_burns(f));
    EXPECT_FALSE(spark_flashes(f));
}

// The crank turns counter-clockwise on the screen, starting at the bottom.
TEST(EngineFrame, CrankPinGoesBottomRightTopLeft) {
    struct Case {
        double crank_angle;
        double pin_x, pin_y;
        double piston_pin_x;
        bool flame, spark;
    };
    const Case cases[] = {
        {0, 649.0, 379.4, 299.0, true, false},
        {pi / 2, 728.9, 299.5, 378.9, false, false},
        {pi, 649.0, 219.6, 299.0, true, false},
        {3 * pi / 2, 569.1, 299.5, 219.1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.crank_angle);
        const EngineFrame f = engine_frame(c.crank_angle / 10, 799, 599);
        EXPECT_NEAR(f.crank_pin_x, c.pin_x, 1e-9);
        EXPECT_NEAR(f.crank_pin_y, c.pin_y, 1e-9);
        EXPECT_NEAR(f.piston_pin_x, c.piston_pin_x, 1e-9);
        EXPECT_EQ(flame_burns(f), c.flame);
        EXPECT_EQ(spark_flashes(f), c.spark);
    }
}

// Both ring rows sit on the same ten centres from the piston pin to the
// crank pin, and the rod always spans 350 pixels in x.
TEST(EngineFrame, RodRingsRunFromPistonPinToCrankPinAtEveryAngle) {
    for (int step = 0; step < 1257; ++step) {
        const EngineFrame f = engine_frame(0.1 + step * 0.0005, 799, 599);
        EXPECT_NEAR(f.crank_pin_x - f.piston_pin_x, 350.0, 1e-9);
        for (int i = 0; i < rod_rings; ++i) {
            const PixelPoint inner = inner_ring_centre(f, i);
            const PixelPoint outer = outer_ring_centre(f, i);
            ASSERT_EQ(inner.x, outer.x) << step << " " << i;
            ASSERT_EQ(inner.y, outer.y) << step << " " << i;
        }
        const PixelPoint first = inner_ring_centre(f, 0), last = inner_ring_centre(f, rod_rings - 1);
        EXPECT_LE(std::fabs(first.x - f.piston_pin_x), 0.5);
        EXPECT_LE(std::fabs(first.y - f.axis_y), 0.5);
        EXPECT_LE(std::fabs(last.x - f.crank_pin_x), 0.5);
        EXPECT_LE(std::fabs(last.y - f.crank_pin_y), 0.5);
    }
}

TEST(SparkVertex, AngleZeroPointsDownAndRadiusZeroIsTheCentre) {
    struct Case {
        double theta, r;
        int x, y;
    };
    const Case cases[] = {
        {0, 14, 189, 314},
        {pi / 2, 14, 203, 300},
        {pi, 14, 189, 286},
        {2 * pi / 3, 14, 201, 293},
        {1.234, 0, 189, 300},
    };
    for (const Case& c : cases) {
        const PixelPoint v = spark_vertex(c.theta, c.r, 189, 300);
        EXPECT_EQ(v.x, c.x) << c.theta;
        EXPECT_EQ(v.y, c.y) << c.theta;
    }
}

}  // namespace
}  // namespace ic_engine
