// Stroke arithmetic: each key adds or subtracts its step to the stored
// double, and only a value strictly beyond a limit is replaced by the limit.
// The strokes leave the 0.1 grid after a clamp and by accumulation, so they
// are compared with a tolerance, and also with the doubles that this
// arithmetic itself gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backhoe.h"
#include "run_helpers.h"

namespace backhoe {
namespace {

double& stroke_of(char key) {
    switch (key) {
    case 'p': case 'o': return model.boom_cylinder_stroke;
    case 'l': case 'k': return model.stick_cylinder_stroke;
    default: return model.bucket_cylinder_stroke;
    }
}

struct Cylinder {
    char lengthen, shorten;
    double step, min, max;
};

constexpr Cylinder cylinders[] = {
    {'p', 'o', 0.3, 2.7, 15},
    {'l', 'k', 1, 2.7, 16},
    {'m', 'n', 0.5, 2, 7.8},
};

const Cylinder& cylinder_of(char key) {
    for (const Cylinder& c : cylinders)
        if (key == c.lengthen || key == c.shorten) return c;
    throw std::invalid_argument("not a stroke key");
}

struct Press {
    char key;
    int times;
    std::vector<double> values;  // the stroke after each press (the last repeats)
};

struct StrokeCase {
    const char* name;
    std::vector<Press> presses;
};

class StrokeSequences : public ::testing::TestWithParam<StrokeCase> {};

TEST_P(StrokeSequences, FollowTheStepsAndClampAtTheLimits) {
    model = Model{};
    const char key = GetParam().presses.front().key;
    double expected = stroke_of(key);
    int n = 0;
    for (const Press& press : GetParam().presses) {
        const Cylinder& c = cylinder_of(press.key);
        for (int i = 0; i < press.times; ++i, ++n) {
            ASSERT_TRUE(change_stroke(uint8_t(press.key)));
            if (press.key == c.lengthen) {
                expected = expected + c.step;
                if (expected > c.max) expected = c.max;
            } else {
                expected = expected - c.step;
                if (expected < c.min) expected = c.min;
            }
            const double decimal = press.values[std::min<size_t>(i, press.values.size() - 1)];
            EXPECT_EQ(stroke_of(press.key), expected) << "press " << n + 1;
            EXPECT_NEAR(stroke_of(press.key), decimal, 1e-9) << "press " << n + 1;
        }
    }
}

std::vector<double> from_to(double first, double step, int count) {
    std::vector<double> v;
    for (int i = 0; i < count; ++i) v.push_back(first + step * i);
    return v;
}

std::vector<double> then(std::vector<double> v, std::vector<double> more) {
    v.insert(v.end(), more.begin(), more.end());
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StrokeSequences,
    ::testing::Values(
        // 24 presses reach 2.8, the next is clamped from 2.5, and p leaves the grid.
        StrokeCase{"boom_down", {{'o', 24, from_to(9.7, -0.3, 24)}, {'o', 3, {2.7}}, {'p', 2, {3.0, 3.3}}}},
        StrokeCase{"boom_up", {{'p', 16, from_to(10.3, 0.3, 16)}, {'p', 2, {15}}, {'o', 1, {14.7}}}},
        StrokeCase{"stick_down_and_up",
                   {{'k', 7, from_to(9, -1, 7)}, {'k', 2, {2.7}}, {'l', 14, then(from_to(3.7, 1, 13), {16})}}},
        // Coming down from 14.7 the stick reaches 3.7 by another road.
        StrokeCase{"stick_round_trip",
                   {{'k', 8, then(from_to(9, -1, 7), {2.7})}, {'l', 12, from_to(3.7, 1, 12)}, {'k', 12, then(from_to(13.7, -1, 11), {2.7})}}},
        StrokeCase{"stick_up", {{'l', 6, from_to(11, 1, 6)}, {'l', 2, {16}}, {'k', 1, {15}}}},
        StrokeCase{"bucket_up", {{'m', 5, from_to(5.5, 0.5, 5)}, {'m', 3, {7.8}}, {'n', 2, {7.3, 6.8}}}},
        StrokeCase{"bucket_down", {{'n', 6, from_to(4.5, -0.5, 6)}, {'n', 2, {2}}, {'m', 1, {2.5}}}}),
    [](const ::testing::TestParamInfo<StrokeCase>& info) { return std::string(info.param.name); });

TEST(StrokeKeys, EachSetsOnlyItsOwnFlagAndStroke) {
    struct Case {
        char key;
        int32_t Model::*flag;
    };
    const Case cases[] = {{'p', &Model::boom_changed},  {'o', &Model::boom_changed},
                          {'l', &Model::stick_changed}, {'k', &Model::stick_changed},
                          {'m', &Model::bucket_changed}, {'n', &Model::bucket_changed}};
    for (const Case& c : cases) {
        model = Model{};
        model.boom_changed = model.stick_changed = model.bucket_changed = model.body_changed = 0;
        const Model before = model;
        ASSERT_TRUE(change_stroke(uint8_t(c.key)));
        EXPECT_EQ(model.*c.flag, 1) << c.key;
        int flags = model.boom_changed + model.stick_changed + model.bucket_changed + model.body_changed;
        EXPECT_EQ(flags, 1) << c.key;
        int strokes_changed = (model.boom_cylinder_stroke != before.boom_cylinder_stroke) +
                              (model.stick_cylinder_stroke != before.stick_cylinder_stroke) +
                              (model.bucket_cylinder_stroke != before.bucket_cylinder_stroke);
        EXPECT_EQ(strokes_changed, 1) << c.key;
    }
}

TEST(StrokeKeys, OtherKeysAndCapitalsAreNotStrokeKeys) {
    model = Model{};
    for (int code : std::initializer_list<int>{'P', 'O', 'L', 'K', 'M', 'N', 'T', 'A', 't', 'a', '1', 0, 27, 59, 60}) {
        EXPECT_FALSE(change_stroke(uint8_t(code))) << code;
    }
    EXPECT_EQ(model.boom_cylinder_stroke, start_boom_cylinder_stroke);
    EXPECT_EQ(model.stick_cylinder_stroke, start_stick_cylinder_stroke);
    EXPECT_EQ(model.bucket_cylinder_stroke, start_bucket_cylinder_stroke);
}

// The flags as the command loop leaves them after each key: it clears the
// three chain flags before acting, a stroke key sets its own, t recomputes
// the body and clears its flag again, a reset leaves the chain flags set.
TEST(StrokeKeys, FlagsAfterEachKeyOfTheCommandLoop) {
    struct Flags {
        int boom, stick, bucket, body, on_tyres;
    };
    const std::vector<std::pair<std::string, Flags>> steps = {
        {"start", {1, 1, 1, 0, 0}}, {"p", {1, 0, 0, 0, 0}}, {"k", {0, 1, 0, 0, 0}},
        {"m", {0, 0, 1, 0, 0}},     {"t", {0, 0, 0, 0, 1}}, {"x", {0, 0, 0, 0, 1}},
        {"o", {1, 0, 0, 0, 1}},     {"a", {1, 1, 1, 0, 0}}, {"n", {0, 0, 1, 0, 0}},
        {"l", {0, 1, 0, 0, 0}},     {"t", {0, 0, 0, 0, 1}}, {"P", {0, 0, 0, 0, 1}},
    };
    std::string tokens;
    for (size_t i = 1; i < steps.size(); ++i) tokens += steps[i].first + " ";
    std::vector<Flags> seen;
    testing::gt::Hooks hooks;
    hooks.on_read_key = [&](int) {
        seen.push_back({model.boom_changed, model.stick_changed, model.bucket_changed, model.body_changed,
                        model.on_tyres});
    };
    testing::run_keys(tokens, hooks);
    ASSERT_EQ(seen.size(), steps.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        const Flags& want = steps[i].second;
        const Flags& got = seen[i];
        EXPECT_EQ(got.boom, want.boom) << "after " << steps[i].first << " (key " << i << ")";
        EXPECT_EQ(got.stick, want.stick) << "after " << steps[i].first << " (key " << i << ")";
        EXPECT_EQ(got.bucket, want.bucket) << "after " << steps[i].first << " (key " << i << ")";
        EXPECT_EQ(got.body, want.body) << "after " << steps[i].first << " (key " << i << ")";
        EXPECT_EQ(got.on_tyres, want.on_tyres) << "after " << steps[i].first << " (key " << i << ")";
    }
}

// The window's close box queues 0 and 107: the 0 only redraws and the 107
// acts as k, down to the stick's minimum; the program goes on.
TEST(StrokeKeys, CloseBoxShortensTheStick) {
    std::vector<double> strokes;
    testing::gt::Hooks hooks;
    hooks.on_read_key = [&](int) { strokes.push_back(model.stick_cylinder_stroke); };
    std::string tokens;
    for (int i = 0; i < 9; ++i) tokens += "CLOSE ";
    EXPECT_EQ(testing::run_keys(tokens, hooks), testing::gt::Ending::ScriptEnded);
    ASSERT_EQ(strokes.size(), 19u);
    EXPECT_EQ(strokes[1], 10);  // after the 0
    EXPECT_EQ(strokes[2], 9);   // after the 107
    EXPECT_EQ(strokes[16], 2.7);
    EXPECT_EQ(strokes[18], 2.7);
}

}  // namespace
}  // namespace backhoe
