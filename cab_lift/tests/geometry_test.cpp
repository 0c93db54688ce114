// The linkage against reference values, and the properties that keep it a
// proper mechanism over the whole stroke range.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "geometry.h"
#include "state.h"

using namespace cab_lift;

namespace {

constexpr double pi = std::numbers::pi;

// Every stroke the keys can reach: 87, 97, ..., 507, 513.
std::vector<double> reachable_strokes() {
    std::vector<double> strokes;
    for (double s = 87; s < 513; s += 10) strokes.push_back(s);
    strokes.push_back(513);
    return strokes;
}

void pose(double stroke, double man_position = 685) {
    state = State{};
    state.piston_stroke = stroke;
    state.man_position = man_position;
    compute_geometry();
}

double px(int point) { return state.point_x[1][point]; }
double py(int point) { return state.point_y[1][point]; }
double distance(int a, int b) { return std::hypot(px(a) - px(b), py(a) - py(b)); }
double degrees(double radians) { return radians * 180 / pi; }

// The piston's angle, from its axis through the rod end.
double piston_angle() { return std::atan2(py(10) - py(1), px(10) - px(1)); }

}  // namespace

TEST(Geometry, ReferencePoses) {
    struct Case {
        double stroke, angle_deg, x10, y10;
    };
    const Case cases[] = {{87, 33.00, 622.3, 404.1}, {513, 38.20, 917.9, 722.3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stroke);
        pose(c.stroke);
        EXPECT_NEAR(degrees(piston_angle()), c.angle_deg, 0.005);
        EXPECT_NEAR(px(10), c.x10, 0.05);
        EXPECT_NEAR(py(10), c.y10, 0.05);
        EXPECT_NEAR(distance(1, 10), c.stroke + 655, 1e-9);
    }
    pose(87);
    EXPECT_NEAR(px(36), 593.0, 0.05);
    EXPECT_NEAR(py(36), -190.0, 0.05);
}

TEST(Geometry, TriangleAngle) {
    EXPECT_NEAR(triangle_angle(5, 3, 4), pi / 2, 1e-12);
    EXPECT_NEAR(triangle_angle(3, 4, 5), std::asin(3.0 / 5), 1e-12);
    EXPECT_NEAR(triangle_angle(2, 2, 2), pi / 3, 1e-12);
    // Sides that form no triangle still give a number.
    EXPECT_TRUE(std::isfinite(triangle_angle(1, 1, 5)));
}

TEST(Geometry, SlopeAngle) {
    struct Case {
        double x1, x2, y1, y2, expected;
    };
    const Case cases[] = {
        {0, 0, 5, 1, pi / 2},    // vertical, first point higher
        {3, 3, -2, 7, -pi / 2},  // vertical, first point lower
        {4, 4, 6, 6, 0},         // equal points
        {0, 10, 0, 10, pi / 4},
        {10, 0, 10, 0, pi / 4},  // no quadrant: towards increasing x either way
        {0, 10, 0, -10, -pi / 4},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(slope_angle(c.x1, c.x2, c.y1, c.y2), c.expected)
            << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
    }
}

// Both triangles of the construction are proper at every reachable stroke,
// and the points really lie at the lengths they were built from.
TEST(Geometry, TrianglesProperOverStrokeRange) {
    for (double stroke : reachable_strokes()) {
        SCOPED_TRACE(stroke);
        pose(stroke);
        const double length = stroke + 655;
        const double k = (stroke - 87) * 60 / 71 + 608;
        const double d = distance(13, 78);
        const double piston[] = {315, length, 938};
        const double plate[] = {k, d, 1038};
        for (const double* sides : {piston, plate}) {
            EXPECT_LT(sides[0], sides[1] + sides[2]);
            EXPECT_LT(sides[1], sides[0] + sides[2]);
            EXPECT_LT(sides[2], sides[0] + sides[1]);
            const double angle = triangle_angle(sides[0], sides[1], sides[2]);
            EXPECT_GT(angle, 0);
            EXPECT_LT(angle, pi);
        }
        EXPECT_NEAR(distance(13, 36), 1038, 1e-9);
        EXPECT_NEAR(distance(78, 36), k, 1e-9);
        EXPECT_NEAR(distance(35, 78), 380, 1e-9);
        EXPECT_NEAR(distance(12, 35), 1425, 1e-9);
        // The lever and the plate never flip.
        EXPECT_GT(px(10), px(12));
        EXPECT_GT(px(78), px(13));
    }
}

// The bar from 13 hangs just past the vertical only at the reset stroke, so
// only there its direction is turned by 180 degrees; either way it points
// down from pivot 13 towards the plate.
TEST(Geometry, BarFrom13TurnsOnlyAtResetStroke) {
    for (double stroke : reachable_strokes()) {
        SCOPED_TRACE(stroke);
        pose(stroke);
        const double v = slope_angle(px(13), px(36), py(13), py(36));
        if (stroke == 87) {
            EXPECT_GT(v, 0);
        } else {
            EXPECT_LT(v, 0);
        }
        // Point 58 lies 1078 along the bar at -3 degrees: beyond 36, below 13.
        EXPECT_LT(py(58), py(13));
        EXPECT_NEAR(distance(13, 58), 1078, 1e-9);
    }
}

// The platform and the plate translate without turning.
TEST(Geometry, PlatformAndPlateKeepTheirAttitude) {
    pose(87);
    const double platform_dx = px(84) - px(78), platform_dy = py(84) - py(78);
    const double plate_dx = px(74) - px(36), plate_dy = py(74) - py(36);
    for (double stroke : reachable_strokes()) {
        SCOPED_TRACE(stroke);
        pose(stroke);
        EXPECT_NEAR(px(84) - px(78), platform_dx, 1e-9);
        EXPECT_NEAR(py(84) - py(78), platform_dy, 1e-9);
        EXPECT_NEAR(px(74) - px(36), plate_dx, 1e-9);
        EXPECT_NEAR(py(74) - py(36), plate_dy, 1e-9);
    }
}

// Which points each input moves.
TEST(Geometry, EachInputMovesOnlyItsPoints) {
    const std::vector<int> fixed = {1,  11, 12, 13, 14, 15, 16, 17, 18, 19, 32, 34, 39, 40, 41,
                                    42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55};
    auto is_fixed = [&](int p) { return std::find(fixed.begin(), fixed.end(), p) != fixed.end(); };
    auto snapshot = [] {
        std::vector<std::pair<double, double>> points;
        for (int p = 0; p <= point_count; ++p) points.emplace_back(px(p), py(p));
        return points;
    };

    pose(87);
    const auto base = snapshot();
    EXPECT_EQ(px(1), 0);
    EXPECT_EQ(py(1), 0);
    EXPECT_EQ(px(46), 630);
    EXPECT_EQ(py(46), -195);

    pose(97);
    const auto stroked = snapshot();
    pose(87, 715);
    const auto man_moved = snapshot();
    state = State{};
    state.man_mass = 85;
    compute_geometry();
    const auto mass_changed = snapshot();

    for (int p = 1; p <= point_count; ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(stroked[p] == base[p], is_fixed(p));
        EXPECT_EQ(man_moved[p] == base[p], p < 91);
        EXPECT_EQ(mass_changed[p] == base[p], p != 99);
    }
}
