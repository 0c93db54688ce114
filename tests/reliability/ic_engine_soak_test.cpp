// ic_engine for a million frames, headless: the real program with its trace
// off, its late frames compared with the frame drawn afresh for the same
// running variable.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine.h"
#include "engine_drawing.h"
#include "graph.h"
#include "ic_engine.h"
#include "state.h"
#include "storm.h"

namespace {

using namespace reliability;
namespace gt = graph_testing;

struct Sample {
    int frame;
    double engine_time;
    std::vector<uint8_t> shown;
};

TEST(IcEngineSoak, AMillionFramesLaterTheFramesAreStillDrawnRight) {
    constexpr int frames = 1'000'000;
    gt::Script script;
    script.frames = frames;
    // Frame n shows the page drawn in frame n - 1, with the running variable
    // that frame n - 1 saw.
    double time_of_last_frame = 0;
    std::vector<Sample> samples;
    gt::Hooks hooks;
    hooks.on_frame = [&](int frame) {
        if (frame > 1 && (frame % 100'000 == 1 || frame == frames))
            samples.push_back({frame - 1, time_of_last_frame, gt::page(gt::visual_page())});
        time_of_last_frame = ic_engine::state.engine_time;
    };
    ASSERT_EQ(gt::run_with(ic_engine::run, script, hooks), gt::Ending::FramesDone);
    ASSERT_EQ(samples.size(), 11u);
    for (const Sample& sample : samples) {
        run_reference(MODE_800x600, [&] {
            ClearDevice();
            draw_engine(ic_engine::engine_frame(sample.engine_time, GetMaxX(), GetMaxY()));
            EXPECT_EQ(page_difference(sample.shown, gt::page(0), 800), "") << "frame " << sample.frame;
        });
    }
    std::printf("ic_engine soak: %d frames, crank angle %.1f rad at the end\n", frames,
                10 * samples.back().engine_time);
}

}  // namespace
