// Centre of gravity, piston force and pressure.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geometry.h"
#include "state.h"

using namespace cab_lift;

namespace {

void load(double stroke, int32_t man_mass, int32_t platform_mass, double man_position = 685) {
    state = State{};
    state.piston_stroke = stroke;
    state.man_mass = man_mass;
    state.platform_mass = platform_mass;
    state.man_position = man_position;
    compute_geometry();
}

double px(int point) { return state.point_x[1][point]; }
double py(int point) { return state.point_y[1][point]; }

// Force per bar of pressure: e^13 / (1225 pi).
const double newtons_per_bar = 442413.3920089205 / (1225 * std::numbers::pi);

}  // namespace

TEST(Loads, PressureAtBothStrokeEnds) {
    struct Case {
        double stroke, pressure;
    };
    for (const Case& c : {Case{87, 58.01}, Case{513, 96.11}}) {
        SCOPED_TRACE(c.stroke);
        load(c.stroke, 80, 100);
        EXPECT_NEAR(state.piston_pressure, c.pressure, 0.005);
        EXPECT_NEAR(state.piston_force, state.piston_pressure * newtons_per_bar, 1e-6);
    }
}

// With one mass at 0 the centre of gravity is the other load's own.
TEST(Loads, CentreOfGravityWithOneMassAtZero) {
    load(297, 0, 350, 400);
    EXPECT_NEAR(px(99), (px(84) - px(85)) / 2 + px(86), 1e-9);
    EXPECT_NEAR(py(99), (py(84) - py(83)) / 2 + py(86), 1e-9);

    load(297, 120, 0, 400);
    EXPECT_NEAR(px(99), px(86) + 60 + 400, 1e-9);
    EXPECT_NEAR(py(99), py(86) + (py(84) + 60 - py(83)), 1e-9);
}

// Nothing on the lift: the marker rests on point 86 and nothing loads the
// piston, at any stroke.
TEST(Loads, BothMassesZero) {
    for (double stroke : {87.0, 297.0, 513.0}) {
        SCOPED_TRACE(stroke);
        load(stroke, 0, 0, 1370);
        EXPECT_EQ(px(99), px(86));
        EXPECT_EQ(py(99), py(86));
        EXPECT_EQ(state.piston_force, 0);
        EXPECT_EQ(state.piston_pressure, 0);
    }
}

// The heaviest load needs more than 50 000 N only from stroke 197 on.
TEST(Loads, HeaviestLoad) {
    load(87, 200, 1000);
    EXPECT_NEAR(state.piston_force, 44358, 1);
    load(187, 200, 1000);
    EXPECT_LT(state.piston_force, 50000);
    load(197, 200, 1000);
    EXPECT_GT(state.piston_force, 50000);
}

// Moving the man outwards needs more force: his weight's arm about pivot
// 12 grows.
TEST(Loads, ForceGrowsAsTheManMovesOut) {
    double previous = 0;
    for (double position = 0; position <= 1370; position += 30) {
        load(300, 80, 100, position);
        EXPECT_GT(state.piston_force, previous) << position;
        previous = state.piston_force;
    }
}
