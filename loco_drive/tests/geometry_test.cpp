// The mechanism's points as functions of the crank angle, without the
// platform.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry.h"
#include "loco_drive.h"

namespace loco_drive {
namespace {

struct DirectionCase {
    double dx, dy;
    double expected;
};

TEST(DirectionAngle, EveryQuadrantAndAxis) {
    const double t = std::atan(0.5);  // |arctan(dy / dx)| for |dy| = 1, |dx| = 2
    const DirectionCase cases[] = {
        {2, 1, t},               {-2, 1, pi - t},      {-2, -1, pi + t},
        {2, -1, 2 * pi - t},     {0, 3, pi / 2},       {0, -3, 3 * pi / 2},
        {3, 0, 0},               {-3, 0, pi},          {0, 0, 0},  // coincident points
    };
    for (const DirectionCase& c : cases) {
        // From a start point that is not the origin, so the differences count.
        EXPECT_EQ(direction_angle(10, -20, 10 + c.dx, -20 + c.dy), c.expected)
            << "dx " << c.dx << " dy " << c.dy;
    }
}

TEST(DirectionAngle, StaysBelowAFullTurn) {
    // Just below the +x axis, 2 pi - t rounds to 2 pi itself: that is 0.
    const double just_below[] = {-1e-14, -1e-300, -4.9e-324};
    for (const double dy : just_below) {
        const double angle = direction_angle(0, 0, 250, dy);
        EXPECT_GE(angle, 0) << dy;
        EXPECT_LT(angle, 2 * pi) << dy;
    }
    EXPECT_LT(direction_angle(0, 0, 250, -1e-6), 2 * pi);
    EXPECT_GT(direction_angle(0, 0, 250, -1e-6), 6.28);
}

void compute_at(double angle) {
    crank_angle = angle;
    compute_geometry();
}

double distance(int i, int j) { return std::hypot(point_x[j] - point_x[i], point_y[j] - point_y[i]); }

// Signed angle of the cylinder axis above the horizontal, in degrees.
double swing_degrees() { return std::atan2(point_y[7], point_x[7]) * 180 / pi; }

TEST(Geometry, AtCrankAngleZeroEverythingIsExact) {
    compute_at(0);
    struct Expected {
        int point;
        double x, y;
    };
    const Expected points[] = {
        {1, 0, 0},      {2, 0, 5},        {3, 0, -5},      {4, 80, -5},   {5, 80, 5},
        {6, 80, 2.5},   {7, 80, 0},       {8, 80, -2.5},   {9, 250, -2.5}, {10, 250, 2.5},
        {11, 250, 0},   {12, 200, 0},     {13, 245, 0},
    };
    for (const Expected& e : points) {
        EXPECT_NEAR(point_x[e.point], e.x, 1e-12) << "P" << e.point;
        EXPECT_NEAR(point_y[e.point], e.y, 1e-12) << "P" << e.point;
    }
    // The pin's y is exactly 0, so the axis is exactly horizontal and every
    // point on it has y exactly 0: the half-pixel heights depend on it.
    EXPECT_EQ(point_y[11], 0.0);
    EXPECT_EQ(point_y[7], 0.0);
    EXPECT_EQ(point_y[6], 2.5);
    EXPECT_EQ(point_y[8], -2.5);
}

TEST(Geometry, ShapeHoldsAtEveryCrankAngle) {
    for (double angle = -725; angle <= 725; angle += 7.5) {
        compute_at(angle);
        SCOPED_TRACE(angle);
        const double a = angle * pi / 180;
        // The pin circles the wheel centre, which stays 200 right of the pivot.
        EXPECT_EQ(point_x[12], 200.0);
        EXPECT_EQ(point_y[12], 0.0);
        EXPECT_NEAR(point_x[11], 200 + 50 * std::cos(a), 1e-9);
        EXPECT_NEAR(point_y[11], 50 * std::sin(a), 1e-9);
        // Spokes every 60 degrees, the first along the crank radius.
        for (int k = 0; k <= 5; ++k) {
            EXPECT_NEAR(point_x[13 + k], 200 + 45 * std::cos(a + k * pi / 3), 1e-9) << k;
            EXPECT_NEAR(point_y[13 + k], 45 * std::sin(a + k * pi / 3), 1e-9) << k;
        }
        // The cylinder's axis points at the pin: pivot, axis end and pin in a row.
        const double cross = point_x[7] * point_y[11] - point_y[7] * point_x[11];
        EXPECT_NEAR(cross, 0, 1e-9);
        EXPECT_GT(point_x[7] * point_x[11] + point_y[7] * point_y[11], 0);
        // The cylinder is an 80 x 10 rectangle, the rod 5 wide from its end
        // to the pin.
        EXPECT_NEAR(distance(1, 7), 80, 1e-9);
        EXPECT_NEAR(distance(2, 3), 10, 1e-9);
        EXPECT_NEAR(distance(5, 4), 10, 1e-9);
        EXPECT_NEAR(distance(2, 5), 80, 1e-9);
        EXPECT_NEAR(distance(3, 4), 80, 1e-9);
        EXPECT_NEAR(distance(6, 8), 5, 1e-9);
        EXPECT_NEAR(distance(10, 9), 5, 1e-9);
        EXPECT_NEAR(distance(6, 10), distance(7, 11), 1e-9);
        // Left (points 2, 5, 6, 10) is the counter-clockwise side of the axis.
        const double ux = point_x[7] / 80, uy = point_y[7] / 80;
        for (const int left : {2, 5, 6, 10}) {
            const int base = left == 2 ? 1 : left == 10 ? 11 : 7;
            EXPECT_GT(ux * (point_y[left] - point_y[base]) - uy * (point_x[left] - point_x[base]), 0)
                << "P" << left;
        }
        // The rod shows 70 to 170 units outside the cylinder.
        EXPECT_GE(distance(7, 11), 70 - 1e-9);
        EXPECT_LE(distance(7, 11), 170 + 1e-9);
    }
}

TEST(Geometry, CylinderSwingsAtMostArcsinOfAQuarter) {
    const double limit = std::asin(50.0 / 200) * 180 / pi;  // about 14.48 degrees
    double highest = 0, lowest = 0;
    for (double angle = 0; angle < 360; angle += 0.25) {
        compute_at(angle);
        highest = std::max(highest, swing_degrees());
        lowest = std::min(lowest, swing_degrees());
    }
    EXPECT_NEAR(limit, 14.48, 0.005);
    EXPECT_LE(highest, limit + 1e-9);
    EXPECT_GE(lowest, -limit - 1e-9);
    // Reached where the rod is tangent to the pin's circle.
    EXPECT_NEAR(highest, limit, 1e-3);
    EXPECT_NEAR(lowest, -limit, 1e-3);
    compute_at(90);
    EXPECT_NEAR(swing_degrees(), std::atan(50.0 / 200) * 180 / pi, 1e-12);  // about 14.04
    compute_at(180);
    EXPECT_NEAR(swing_degrees(), 0, 1e-12);
    EXPECT_NEAR(distance(7, 11), 70, 1e-12);  // the rod at its shortest
}

TEST(Geometry, CrankAngleIsNotWrapped) {
    // A whole turn more or less gives the same mechanism.
    for (const double angle : {0.0, 35.0, 90.0, 215.0}) {
        compute_at(angle);
        double x[point_count + 1], y[point_count + 1];
        for (int i = 1; i <= point_count; ++i) x[i] = point_x[i], y[i] = point_y[i];
        for (const double turns : {-2.0, 1.0, 3.0}) {
            compute_at(angle + 360 * turns);
            for (int i = 1; i <= point_count; ++i) {
                EXPECT_NEAR(point_x[i], x[i], 1e-9) << angle << " P" << i;
                EXPECT_NEAR(point_y[i], y[i], 1e-9) << angle << " P" << i;
            }
        }
    }
}

}  // namespace
}  // namespace loco_drive
