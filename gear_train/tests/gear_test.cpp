// The gear geometry on its own: the tooth profile, the outline and the way
// the five gears of the scene mesh.
#include "gear.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace gear_train {
namespace {

constexpr double pi = std::numbers::pi;

// Radius of a gear's outline towards window direction psi (y downwards): the
// profile at the outline parameter that the gear's turn brings to psi.
double radius_towards(const SceneGear& gear, int32_t tooth_count, double angle, double psi) {
    return profile_factor(tooth_count, psi - gear.direction * angle) * gear.pitch_radius;
}

// Angle difference folded into (-pi, pi].
double folded(double a) { return std::remainder(a, 2 * pi); }

TEST(ToothProfile, TanhBuiltFromTheExponentialIsTheLibraryTanh) {
    for (double s = -9.0; s <= 9.0; s += 0.01) EXPECT_NEAR(tanh_from_exp(s), std::tanh(s), 1e-15) << s;
}

// n flat-topped teeth, tips at 1 + tanh(9)/9 and roots at 1 - tanh(9)/9 of
// the pitch radius, teeth and gaps each pi/n wide.
TEST(ToothProfile, TeethAndGapsAreEvenAndEquallyWide) {
    for (int32_t n : {4, 8, 22, 50}) {
        SCOPED_TRACE(n);
        constexpr int samples = 200000;
        double highest = 0, lowest = 2;
        int teeth = 0, on_tooth = 0;
        bool was_on_tooth = profile_factor(n, 0.0 - 1e-9) > 1;
        for (int k = 0; k < samples; ++k) {
            const double t = (k + 0.5) * 2 * pi / samples;
            const double rho = profile_factor(n, t);
            highest = std::max(highest, rho);
            lowest = std::min(lowest, rho);
            const bool is_on_tooth = rho > 1;
            if (is_on_tooth && !was_on_tooth) ++teeth;
            on_tooth += is_on_tooth;
            was_on_tooth = is_on_tooth;
        }
        EXPECT_NEAR(highest, 1.1111, 1e-4);
        EXPECT_NEAR(lowest, 0.8889, 1e-4);
        EXPECT_EQ(teeth, n);
        EXPECT_NEAR(double(on_tooth) / samples, 0.5, 1e-4);
    }
}

TEST(Outline, PointsLieOnTheProfileTurnedByDirectionTimesAngle) {
    for (const SceneGear& gear : scene) {
        for (int32_t n : {4, 8, 14}) {
            for (double angle : {0.01, 1.3, -2.0, 40.0}) {
                const Point c = gear_centre(gear, 799, 599);
                for (int i = 0; i <= outline_chords; ++i) {
                    const Point p = outline_point(n, gear.direction, c.x, c.y, gear.pitch_radius, angle, i);
                    const double psi = std::atan2(p.y - c.y, p.x - c.x);
                    EXPECT_NEAR(std::hypot(p.x - c.x, p.y - c.y), radius_towards(gear, n, angle, psi), 1e-9);
                }
                const Point first = outline_point(n, gear.direction, c.x, c.y, gear.pitch_radius, angle, 0);
                const Point last =
                    outline_point(n, gear.direction, c.x, c.y, gear.pitch_radius, angle, outline_chords);
                EXPECT_NEAR(first.x, last.x, 1e-9);
                EXPECT_NEAR(first.y, last.y, 1e-9);
            }
        }
    }
}

// On the screen y grows downwards, so a growing angle is clockwise.
TEST(Outline, GrowingAngleTurnsTheCentreClockwiseAndTheOthersAnticlockwise) {
    for (const SceneGear& gear : scene) {
        const Point c = gear_centre(gear, 799, 599);
        auto first_direction = [&](double angle) {
            const Point p = outline_point(8, gear.direction, c.x, c.y, gear.pitch_radius, angle, 0);
            return std::atan2(p.y - c.y, p.x - c.x);
        };
        const double turn = folded(first_direction(0.31) - first_direction(0.21));
        EXPECT_NEAR(turn, gear.direction * 0.1, 1e-12);
    }
}

TEST(Scene, CentresLieOnHalfPixelsAndOuterGearsStand110Away) {
    const Point expected[] = {{399.5, 299.5}, {509.5, 299.5}, {399.5, 189.5}, {289.5, 299.5}, {399.5, 409.5}};
    const Point c0 = gear_centre(scene[0], 799, 599);
    for (size_t g = 0; g < scene.size(); ++g) {
        const Point c = gear_centre(scene[g], 799, 599);
        EXPECT_EQ(c.x, expected[g].x) << g;
        EXPECT_EQ(c.y, expected[g].y) << g;
        if (g > 0) {
            EXPECT_EQ(std::hypot(c.x - c0.x, c.y - c0.y), 110.0) << g;
        }
    }
}

// On each axis through the centre gear, where the centre gear and an outer
// gear face each other, one shows a tooth and the other a gap, for every
// reachable (even) count and at every angle. Returns the worst product of
// the two radius offsets from the pitch circles: <= 0 means they mesh.
double worst_meshing(int32_t n, const SceneGear& outer) {
    const Point c0 = gear_centre(scene[0], 799, 599);
    const Point c = gear_centre(outer, 799, 599);
    const double psi = std::atan2(c.y - c0.y, c.x - c0.x);
    double worst = -1e300;
    for (int frame = 1; frame <= 2000; ++frame) {
        const double angle = frame * 0.01;
        const double centre_offset = radius_towards(scene[0], n, angle, psi) - scene[0].pitch_radius;
        const double outer_offset = radius_towards(outer, n, angle, psi + pi) - outer.pitch_radius;
        worst = std::max(worst, centre_offset * outer_offset);
    }
    return worst;
}

TEST(Scene, TeethFaceGapsOnAllFourAxesForEveryEvenCount) {
    for (int32_t n = 4; n <= 100; n += 2)
        for (size_t g = 1; g < scene.size(); ++g) EXPECT_LE(worst_meshing(n, scene[g]), 1e-9) << n << " " << g;
}

// The check above can fail: with an odd count, tips would meet tips on the
// horizontal axis.
TEST(Scene, AnOddCountWouldPutTipsOnTips) {
    EXPECT_GT(worst_meshing(7, scene[1]), 1.0);
    EXPECT_GT(worst_meshing(7, scene[3]), 1.0);
}

// At 50 and 100 teeth every sample falls on a zero of the sine.
TEST(Outline, FiftyAndHundredTeethGiveAPlainPolygonOfThePitchRadius) {
    for (int32_t n : {48, 50, 100}) {
        for (const SceneGear& gear : scene) {
            const Point c = gear_centre(gear, 799, 599);
            double worst = 0;
            for (double angle : {0.01, 0.22, 3.0})
                for (int i = 0; i <= outline_chords; ++i) {
                    const Point p = outline_point(n, gear.direction, c.x, c.y, gear.pitch_radius, angle, i);
                    worst = std::max(worst, std::fabs(std::hypot(p.x - c.x, p.y - c.y) - gear.pitch_radius));
                }
            if (n == 48) {
                EXPECT_GT(worst, 1.0);
            } else {
                EXPECT_LT(worst, 1e-9) << n;
            }
        }
    }
}

}  // namespace
}  // namespace gear_train
