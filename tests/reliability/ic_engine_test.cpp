// ic_engine under a storm of random keys: bursts of keys from the whole key
// table arrive at random frames, many more than the key queue holds. The
// first key that gives any code ends the engine after the frame in progress
// and is left in the queue; keys that give no code (Shift alone, Ctrl with
// punctuation) never end it.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "ic_engine.h"
#include "state.h"
#include "storm.h"

namespace {

using namespace reliability;
namespace gt = graph_testing;

TEST(IcEngineStorm, AnyKeyEndsTheEngineAtTheFrameItArrives) {
    const uint64_t seed = storm_seed(5005);
    KeyStorm storm(seed);
    int codes = 0, runs = 0;
    std::string problem;
    while (codes < storm_codes(100'000) && problem.empty()) {
        const int frame = std::uniform_int_distribution<int>(0, 8)(storm.random());
        const int burst = std::uniform_int_distribution<int>(1, 40)(storm.random());
        gt::Script script;
        int burst_codes = 0;
        for (int i = 0; i < burst; ++i) {
            const KeyCodes key = storm.next_codes();
            script.keys_from(key, frame);
            burst_codes += key.count;
        }
        script.frames = frame + 3;  // a burst without codes leaves it running
        int frames = 0;
        double time = 0.1;
        gt::Hooks hooks;
        hooks.on_frame = [&](int shown) {
            frames = shown;
            if (ic_engine::state.engine_time != time) problem = "the crank's time went wrong";
            time += 0.0005;
        };
        const gt::Ending end = gt::run_with(ic_engine::run, script, hooks);
        const std::string where = "seed " + std::to_string(seed) + ", run " + std::to_string(runs);
        if (!problem.empty()) problem += "; " + where;
        if (burst_codes == 0) {
            ASSERT_EQ(end, gt::Ending::FramesDone) << where;
        } else {
            ASSERT_EQ(end, gt::Ending::Returned) << where;
            ASSERT_EQ(frames, std::max(frame, 1)) << where;
            ASSERT_GT(gt::queued_codes(), 0) << "the key was taken from the queue; " << where;
            ASSERT_LE(gt::queued_codes(), KeyQueue::capacity) << where;
        }
        codes += burst_codes;
        ++runs;
    }
    EXPECT_EQ(problem, "");
    std::printf("ic_engine storm: seed %llu, %d codes in %d bursts\n", static_cast<unsigned long long>(seed),
                codes, runs);
}

}  // namespace
