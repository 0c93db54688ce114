// The kinematics as plain functions of the model: reference points of the
// machine at its start, fully closed and fully open strokes; which blocks a
// change recomputes; the angle helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "backhoe.h"

namespace backhoe {
namespace {

constexpr double pi = std::numbers::pi;

struct Strokes {
    double boom, stick, bucket;
};

// Puts the model in its start state with the given strokes and computes
// every block, as a reset does.
void assemble(Strokes s, int on_tyres = 0) {
    model = Model{};
    model.boom_cylinder_stroke = s.boom;
    model.stick_cylinder_stroke = s.stick;
    model.bucket_cylinder_stroke = s.bucket;
    model.on_tyres = on_tyres;
    compute_geometry();
}

// Sets the flags as the command loop leaves them after one key.
void set_flags(int boom, int stick, int bucket, int body) {
    model.boom_changed = boom;
    model.stick_changed = stick;
    model.bucket_changed = bucket;
    model.body_changed = body;
}

struct ReferencePoint {
    int n;
    double x, y;
};

struct ReferenceCase {
    const char* name;
    Strokes strokes;
    std::vector<ReferencePoint> points;
};

class ReferencePoints : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(ReferencePoints, MatchToThreeDecimals) {
    const ReferenceCase& c = GetParam();
    assemble(c.strokes);
    for (const ReferencePoint& p : c.points) {
        EXPECT_NEAR(model.point_x[p.n], p.x, 0.0005) << "x of P" << p.n;
        EXPECT_NEAR(model.point_y[p.n], p.y, 0.0005) << "y of P" << p.n;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Strokes, ReferencePoints,
    ::testing::Values(
        ReferenceCase{"start",
                      {10, 10, 5},
                      {{1, 0, 0},
                       {11, -7, 3},
                       {10, 2.757, 23.841},
                       {16, 9.523, 30.404},
                       {18, 37.407, 25.541},
                       {26, 36.090, 35.219},
                       {33, 42.218, 21.170},
                       {34, 42.893, 8.397},
                       {36, 42.370, 3.595},
                       {43, 47.705, 7.210},
                       {54, 46.573, 2.339},
                       {57, 47.013, 1.739}}},
        ReferenceCase{"minimum",
                      {2.7, 2.7, 2},
                      {{10, 16.558, 2.170},
                       {18, 31.138, -29.023},
                       {36, 30.866, -51.522},
                       {43, 37.241, -46.142},
                       {54, 35.109, -50.665}}},
        ReferenceCase{"maximum",
                      {15, 16, 7.8},
                      {{10, -18.473, 22.355},
                       {18, -0.637, 52.392},
                       {36, 11.382, 33.371},
                       {43, 13.240, 33.922},
                       {54, 12.083, 29.058}}}),
    [](const ::testing::TestParamInfo<ReferenceCase>& info) { return std::string(info.param.name); });

// A change recomputes its own block and the blocks it carries; every other
// point keeps its exact value, and the recomputed points are those a full
// computation with the new strokes gives.
struct BlockCase {
    const char* name;
    Strokes after;
    int boom, stick, bucket, body;
    int on_tyres_after;
    std::vector<std::pair<int, int>> moved;  // ranges of points that may change
};

class Blocks : public ::testing::TestWithParam<BlockCase> {};

TEST_P(Blocks, OnlyTheChainOfTheChangeMoves) {
    const BlockCase& c = GetParam();
    const Strokes before{10, 10, 5};
    assemble(before);
    const Model start = model;

    model.boom_cylinder_stroke = c.after.boom;
    model.stick_cylinder_stroke = c.after.stick;
    model.bucket_cylinder_stroke = c.after.bucket;
    model.on_tyres = c.on_tyres_after;
    set_flags(c.boom, c.stick, c.bucket, c.body);
    compute_geometry();
    const Model changed = model;

    assemble(c.after, c.on_tyres_after);
    const Model full = model;

    auto moves = [&](int n) {
        for (auto [first, last] : c.moved)
            if (n >= first && n <= last) return true;
        return false;
    };
    int moved = 0;
    for (int n = 1; n <= point_count; ++n) {
        EXPECT_EQ(changed.point_x[n], full.point_x[n]) << "P" << n;
        EXPECT_EQ(changed.point_y[n], full.point_y[n]) << "P" << n;
        if (!moves(n)) {
            EXPECT_EQ(changed.point_x[n], start.point_x[n]) << "P" << n << " should not move";
            EXPECT_EQ(changed.point_y[n], start.point_y[n]) << "P" << n << " should not move";
        } else if (changed.point_x[n] != start.point_x[n] || changed.point_y[n] != start.point_y[n]) {
            ++moved;
        }
    }
    EXPECT_GT(moved, 0);
    // compute_geometry changes no flag.
    EXPECT_EQ(changed.boom_changed, c.boom);
    EXPECT_EQ(changed.stick_changed, c.stick);
    EXPECT_EQ(changed.bucket_changed, c.bucket);
    EXPECT_EQ(changed.body_changed, c.body);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, Blocks,
    ::testing::Values(BlockCase{"bucket", {10, 10, 6.5}, 0, 0, 1, 0, 0, {{38, 60}}},
                      BlockCase{"stick", {10, 7, 5}, 0, 1, 0, 0, 0, {{21, 60}}},
                      BlockCase{"boom", {12.4, 10, 5}, 1, 0, 0, 0, 0, {{1, 60}}},
                      BlockCase{"tyres", {10, 10, 5}, 0, 0, 0, 1, 1, {{76, 79}}}),
    [](const ::testing::TestParamInfo<BlockCase>& info) { return std::string(info.param.name); });

// The flags, not the strokes, decide what runs: a block whose flag is clear
// leaves its points as they stand, even when its stroke has changed.
TEST(Blocks, ClearFlagsRecomputeNothing) {
    assemble({10, 10, 5});
    const Model start = model;
    model.boom_cylinder_stroke = 15;
    model.stick_cylinder_stroke = 16;
    model.bucket_cylinder_stroke = 7.8;
    model.on_tyres = 1;
    set_flags(0, 0, 0, 0);
    compute_geometry();
    EXPECT_EQ(model.point_x, start.point_x);
    EXPECT_EQ(model.point_y, start.point_y);
}

TEST(Body, TyresMoveOnlyTheRunningGearAndTogglingBackRestoresTracks) {
    assemble({10, 10, 5});
    const Model tracks = model;
    const double tyres[][3] = {{76, -33.5, -9}, {77, -9, -10}, {78, -20, -10}, {79, 4.5, -9}};

    model.on_tyres = 1;
    set_flags(0, 0, 0, 1);
    compute_geometry();
    for (const auto& t : tyres) {
        EXPECT_EQ(model.point_x[int(t[0])], t[1]);
        EXPECT_EQ(model.point_y[int(t[0])], t[2]);
    }
    model.on_tyres = 0;
    compute_geometry();
    EXPECT_EQ(model.point_x, tracks.point_x);
    EXPECT_EQ(model.point_y, tracks.point_y);
}

TEST(Angles, ArcCos) {
    EXPECT_EQ(arc_cos(1), 0);
    EXPECT_EQ(arc_cos(0), pi / 2);
    EXPECT_EQ(arc_cos(-1), pi);
    for (double x : {-0.999, -0.75, -0.5, -1e-9, 1e-9, 0.3, 0.5, 0.999})
        EXPECT_NEAR(arc_cos(x), std::acos(x), 1e-12) << x;
}

TEST(Angles, TriangleAngleIsOppositeItsFirstSide) {
    EXPECT_NEAR(triangle_angle(5, 3, 4), pi / 2, 1e-12);
    EXPECT_NEAR(triangle_angle(3, 4, 5), std::asin(0.6), 1e-12);
    EXPECT_NEAR(triangle_angle(1, 1, 1), pi / 3, 1e-12);
    // A triangle flattened to a line: the angle opposite the longest side is pi.
    EXPECT_NEAR(triangle_angle(7, 3, 4), pi, 1e-6);
    EXPECT_NEAR(triangle_angle(1, 3, 4), 0, 1e-6);
}

TEST(Angles, DirectionAngleCoversTheCircle) {
    struct Case {
        double dx, dy, angle;
    };
    const Case cases[] = {
        {1, 0, 0},          {1, 1, pi / 4},       {0, 2, pi / 2},      {-3, 3, 3 * pi / 4},
        {-1, 0, pi},        {-1, -1, 5 * pi / 4}, {0, -5, 3 * pi / 2}, {2, -2, 7 * pi / 4},
    };
    model = Model{};
    for (const Case& c : cases) {
        model.point_x[1] = 4;
        model.point_y[1] = -2;
        model.point_x[2] = 4 + c.dx;
        model.point_y[2] = -2 + c.dy;
        EXPECT_NEAR(direction_angle(1, 2), c.angle, 1e-12) << c.dx << ", " << c.dy;
    }
    model.point_x[2] = 4;
    model.point_y[2] = -9;
    EXPECT_EQ(direction_angle(1, 2), 3 * pi / 2);  // straight down
}

TEST(Angles, CoincidentPointsHaveDirectionZero) {
    model = Model{};
    model.point_x[3] = model.point_x[4] = 1.5;
    model.point_y[3] = model.point_y[4] = -2;
    EXPECT_EQ(direction_angle(3, 4), 0);
}

}  // namespace
}  // namespace backhoe
