// gear_train under a storm of random keys, one key a frame: the keys change
// the tooth count and nothing else, the count stays even and at least 4, the
// gears keep turning 0.01 rad a frame, and ESC ends the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "gear_train.h"
#include "state.h"
#include "storm.h"

namespace {

using namespace reliability;
namespace gt = graph_testing;

TEST(GearTrainStorm, KeysChangeOnlyTheToothCountAndEscEndsTheProgram) {
    const uint64_t seed = storm_seed(4004);
    KeyStorm storm(seed);
    std::vector<gt::ScriptKey> keys = storm.keys(storm_codes(100'000));
    const int codes = code_count(keys);
    gt::Script ending;
    ending.tokens("ESC");
    keys.push_back(ending.keys[0]);

    std::string problem;
    size_t first = 0;  // the first key of the current run
    int runs = 0;
    int32_t most_teeth = 8;
    while (first < keys.size() && problem.empty()) {
        const std::string where = "seed " + std::to_string(seed) + ", run " + std::to_string(runs);
        gt::Script script;
        script.keys.assign(keys.begin() + long(first), keys.end());
        // Frame n shows the page of frame n - 1 and then draws; the key read in
        // frame n - 1 has been acted on.
        int32_t teeth = 8;
        double angle = 0;
        int frames = 0;
        gt::Hooks hooks;
        hooks.on_frame = [&](int frame) {
            frames = frame;
            if (!problem.empty()) return;
            const gear_train::State& s = gear_train::state;
            if (frame > 1) {
                const gt::ScriptKey& key = keys[first + size_t(frame) - 2];
                const uint8_t code = key.codes[key.count - 1];
                if (s.key != code) problem = "frame " + std::to_string(frame - 1) + " read another key";
                if (code == 'a') teeth += 2;
                if (code == 'z' && teeth > 5) teeth -= 2;
            }
            most_teeth = std::max(most_teeth, s.tooth_count);
            if (s.tooth_count != teeth || s.tooth_count % 2 != 0 || s.tooth_count < 4)
                problem = std::to_string(s.tooth_count) + " teeth at frame " + std::to_string(frame);
            if (s.gear_angle != angle) problem = "the gears turned wrongly by frame " + std::to_string(frame);
            if (s.page != gt::visual_page() || s.page != frame % 2)
                problem = "page " + std::to_string(s.page) + " shown at frame " + std::to_string(frame);
            if (!problem.empty()) problem += "; " + where;
            angle += 0.01;
        };
        const gt::Ending end = gt::run_with(gear_train::run, script, hooks);
        // One key a frame, each read whole in its frame: the last was ESC.
        ASSERT_EQ(end, gt::Ending::Returned) << where;
        ASSERT_GE(frames, 1) << where;
        ASSERT_EQ(gear_train::state.key, 27) << where;
        ASSERT_EQ(keys[first + size_t(frames) - 1].codes[0], 27) << where;
        first += size_t(frames);
        ++runs;
    }
    EXPECT_EQ(problem, "");
    EXPECT_GE(codes, storm_codes(100'000));
    std::printf("gear_train storm: seed %llu, %d codes, %d runs ended by ESC, up to %d teeth\n",
                static_cast<unsigned long long>(seed), codes, runs, most_teeth);
}

}  // namespace
