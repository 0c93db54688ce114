// gear_train soaked for ten million frames, headless.
//
// A frame costs about 50 microseconds of processor time here (five outlines
// of 101 points, each with a sine and four exponentials), so ten million
// real frames would take some nine minutes. The soak therefore has two
// halves: the real program runs its first million frames, its late frames
// compared with frames drawn afresh for the same angle, and its angle shown
// to be bit for bit a million additions of 0.01; then the program is run
// again with its angle advanced at its first frame to that of frame
// 9,999,000, the same additions carried on, and its last thousand frames up
// to frame 10,000,000 are compared in the same way.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gear.h"
#include "gear_train.h"
#include "graph.h"
#include "state.h"
#include "storm.h"

namespace {

using namespace reliability;
namespace gt = graph_testing;

struct Sample {
    int frame;
    double gear_angle;
    std::vector<uint8_t> shown;
};

// The angle after `frames` frames, added up as the program adds it.
double angle_after(int frames) {
    double angle = 0.0;
    for (int i = 0; i < frames; ++i) angle += 0.01;
    return angle;
}

std::vector<uint8_t> fresh_frame(double angle) {
    std::vector<uint8_t> page;
    run_reference(MODE_800x600, [&] {
        ClearDevice();
        SetColor(WHITE);
        for (const gear_train::SceneGear& gear : gear_train::scene) {
            const gear_train::Point centre = gear_train::gear_centre(gear, GetMaxX(), GetMaxY());
            gear_train::draw_gear(8, gear.direction, centre.x, centre.y, gear.pitch_radius, angle);
        }
        page = gt::page(0);
    });
    return page;
}

// Runs `frames` frames (with frame_offset > 0, the angle set to start_angle
// as the first begins) and keeps frame n - 1 (the page frame n shows, whose
// angle the state holds when frame n begins) for every 1/10 of the frames.
std::vector<Sample> run_and_sample(int frames, int frame_offset, double start_angle) {
    gt::Script script;
    script.frames = frames;
    std::vector<Sample> samples;
    gt::Hooks hooks;
    hooks.on_frame = [&](int frame) {
        if (frame == 1 && frame_offset > 0) gear_train::state.gear_angle = start_angle;
        if (frame > 1 && frame % (frames / 10) == 1)
            samples.push_back({frame_offset + frame - 1, gear_train::state.gear_angle, gt::page(gt::visual_page())});
    };
    EXPECT_EQ(gt::run_with(gear_train::run, script, hooks), gt::Ending::FramesDone);
    return samples;
}

void expect_drawn_right(const std::vector<Sample>& samples) {
    for (const Sample& sample : samples)
        EXPECT_EQ(page_difference(sample.shown, fresh_frame(sample.gear_angle), 800), "")
            << "frame " << sample.frame;
}

TEST(GearTrainSoak, TheFirstMillionFramesAreDrawnRightAndTheAngleAddsUpExactly) {
    constexpr int frames = 1'000'000;
    const std::vector<Sample> samples = run_and_sample(frames, 0, 0.0);
    ASSERT_EQ(samples.size(), 10u);
    expect_drawn_right(samples);
    EXPECT_EQ(samples.back().gear_angle, angle_after(frames));
}

TEST(GearTrainSoak, FramesUpToTheTenMillionthAreDrawnRight) {
    constexpr int last = 10'000'000, run = 1000;
    // Frame 1 of this run draws what frame last - run + 1 of a whole run draws.
    const double start = angle_after(last - run);
    const std::vector<Sample> samples = run_and_sample(run, last - run, start);
    ASSERT_EQ(samples.size(), 10u);
    expect_drawn_right(samples);
    EXPECT_EQ(samples.back().frame, last);
    EXPECT_EQ(samples.back().gear_angle, angle_after(last));

    // What ten million additions of 0.01 have drifted from 100000 rad.
    const std::vector<uint8_t> exact = fresh_frame(100000.0);
    const std::string drift = page_difference(fresh_frame(angle_after(last)), exact, 800);
    std::printf("gear_train soak: at frame %d the angle is %.9f rad; against 100000 rad: %s\n", last,
                angle_after(last), drift.empty() ? "the same picture" : drift.c_str());
}

}  // namespace
