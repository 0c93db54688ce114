// jointed_arm under a storm of random keys and mouse positions: bursts of
// keys from the whole key table arrive at random frames while the mouse
// jumps anywhere, inside the window or far outside it. The first key that
// gives any code ends the arm after the frame in progress and is left in the
// queue; keys that give no code never end it; every frame is the pose of the
// mouse of that frame.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "arm.h"
#include "jointed_arm.h"
#include "pixel.h"
#include "storm.h"

namespace {

using namespace reliability;
namespace gt = graph_testing;

TEST(JointedArmStorm, AnyKeyEndsTheArmAtTheFrameItArrivesWhereverTheMouseIs) {
    const uint64_t seed = storm_seed(6006);
    KeyStorm storm(seed);
    auto& random = storm.random();
    int codes = 0, runs = 0;
    std::string problem;
    while (codes < storm_codes(100'000) && problem.empty()) {
        const int frame = std::uniform_int_distribution<int>(0, 8)(random);
        const int burst = std::uniform_int_distribution<int>(1, 40)(random);
        gt::Script script;
        script.trace = true;
        std::vector<std::pair<int, int>> mouse;
        for (int f = 0; f <= frame + 3; ++f) {
            const bool far = std::bernoulli_distribution(0.2)(random);
            const int x = far ? std::uniform_int_distribution<int>(-100000, 100000)(random)
                              : std::uniform_int_distribution<int>(0, 799)(random);
            const int y = far ? std::uniform_int_distribution<int>(-100000, 100000)(random)
                              : std::uniform_int_distribution<int>(0, 599)(random);
            script.mouse_at(x, y, f);
            mouse.emplace_back(x, y);
        }
        int burst_codes = 0;
        for (int i = 0; i < burst; ++i) {
            const KeyCodes key = storm.next_codes();
            script.keys_from(key, frame);
            burst_codes += key.count;
        }
        script.frames = frame + 3;
        // The mouse of frame n is set once n - 1 pages have been shown: the
        // first link of the last complete frame starts at the base.
        int frames = 0;
        gt::Hooks hooks;
        hooks.on_frame = [&](int shown) { frames = shown; };
        const gt::Ending end = gt::run_with(jointed_arm::run, script, hooks);
        const std::string where = "seed " + std::to_string(seed) + ", run " + std::to_string(runs);
        if (burst_codes == 0) {
            ASSERT_EQ(end, gt::Ending::FramesDone) << where;
        } else {
            ASSERT_EQ(end, gt::Ending::Returned) << where;
            ASSERT_EQ(frames, std::max(frame, 1)) << where;
            ASSERT_GT(gt::queued_codes(), 0) << "the key was taken from the queue; " << where;
        }
        // The last frame drawn is the pose of the mouse it read. A run stopped
        // by its frame limit stops as the next frame begins.
        const int last_drawn = end == gt::Ending::FramesDone ? frames - 1 : frames;
        const auto& [x, y] = mouse[size_t(last_drawn - 1)];
        const jointed_arm::ArmPose pose =
            jointed_arm::arm_pose(static_cast<uint16_t>(x), static_cast<uint16_t>(y), 799, 599);
        const jointed_arm::Link& last = pose.back();
        const std::string expected = "Line(" + std::to_string(to_pixel(last.from_x)) + ", " +
                                     std::to_string(to_pixel(last.from_y)) + ", " +
                                     std::to_string(to_pixel(last.to_x)) + ", " +
                                     std::to_string(to_pixel(last.to_y)) + ")";
        const auto& trace = gt::trace();
        bool drawn = false;
        int pages_passed = 0;
        for (size_t i = trace.size(); i-- > 0 && pages_passed <= frames - last_drawn;) {
            if (trace[i].rfind("SetVisualPage(", 0) == 0) ++pages_passed;
            drawn = drawn || (pages_passed == frames - last_drawn && trace[i] == expected);
        }
        if (!drawn) problem = "the last frame is not the pose of its mouse; " + where;
        codes += burst_codes;
        ++runs;
    }
    EXPECT_EQ(problem, "");
    std::printf("jointed_arm storm: seed %llu, %d codes in %d bursts\n", static_cast<unsigned long long>(seed),
                codes, runs);
}

}  // namespace
