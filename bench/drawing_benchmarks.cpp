// Drawing speed: a page clear against memset, whole animation frames
// through the platform and through SDL2's software renderer, and random
// lines clipped to the page.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "benchmarks.h"
#include "graph.h"
#include "headless.h"
#include "random_lines.h"
#include "recorded_frames.h"
#include "sdl_drawing.h"

namespace {

constexpr int random_line_count = 10'000;

const std::vector<LineEnds>& the_random_lines() {
    static const std::vector<LineEnds> lines = random_lines(random_line_count);
    return lines;
}

void memset_page(benchmark::State& state, int width, int height) {
    std::vector<uint8_t> page(size_t(width) * height, 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(page.data());
        std::memset(page.data(), 0, page.size());
        benchmark::ClobberMemory();
    }
}

void clear_device(benchmark::State& state) {
    open_headless(MODE_800x600);
    for (auto _ : state) {
        ClearDevice();
        benchmark::ClobberMemory();
    }
}

void platform_frame(benchmark::State& state, const Frame* frame, bool with_clear) {
    open_headless(MODE_800x600);
    for (auto _ : state) {
        draw_on_platform(*frame, with_clear);
        benchmark::ClobberMemory();
    }
}

void sdl_frame(benchmark::State& state, const Frame* frame, int bits, bool with_clear, bool polylines) {
    SdlCanvas canvas(800, 600, bits);
    for (auto _ : state) canvas.draw(*frame, with_clear, polylines);
}

// The lines as the programs draw them: thickness 0, so no end point is set
// apart from the line's own pixels.
void platform_lines(benchmark::State& state, bool dashed_xor) {
    open_headless(MODE_800x600);
    SetLineStyle(dashed_xor ? DASHED_LINE : SOLID_LINE, 0, 0);
    SetWriteMode(dashed_xor ? XOR_PUT : COPY_PUT);
    SetColor(WHITE);
    const auto& lines = the_random_lines();
    for (auto _ : state) {
        for (const LineEnds& l : lines) Line(l.x1, l.y1, l.x2, l.y2);
        benchmark::ClobberMemory();
    }
}

void sdl_lines(benchmark::State& state, int bits) {
    SdlCanvas canvas(800, 600, bits);
    const auto& lines = the_random_lines();
    for (auto _ : state) canvas.draw_lines(lines, WHITE);
}

}  // namespace

void register_drawing_benchmarks() {
    benchmark::RegisterBenchmark("memset/800x600", memset_page, 800, 600);
    benchmark::RegisterBenchmark("memset/640x480", memset_page, 640, 480);
    benchmark::RegisterBenchmark("ClearDevice/800x600", clear_device);

    // Recorded now, before anything is timed.
    const struct {
        const char* name;
        const Frame* frame;
    } frames[] = {{"gear_train", &gear_train_frame()}, {"ic_engine", &ic_engine_frame()}};
    for (const auto& f : frames) {
        const std::string name = std::string("frame/") + f.name;
        benchmark::RegisterBenchmark((name + "/platform").c_str(), platform_frame, f.frame, true);
        benchmark::RegisterBenchmark((name + "/platform drawing only").c_str(), platform_frame, f.frame,
                                     false);
        for (int bits : {8, 32}) {
            const std::string sdl = name + "/SDL " + std::to_string(bits) + "-bit";
            benchmark::RegisterBenchmark(sdl.c_str(), sdl_frame, f.frame, bits, true, false);
            benchmark::RegisterBenchmark((sdl + " drawing only").c_str(), sdl_frame, f.frame, bits, false,
                                         false);
        }
        benchmark::RegisterBenchmark((name + "/SDL 32-bit polylines drawing only").c_str(), sdl_frame, f.frame,
                                     32, false, true);
    }

    the_random_lines();
    benchmark::RegisterBenchmark("lines/platform", platform_lines, false);
    benchmark::RegisterBenchmark("lines/platform dashed xor", platform_lines, true);
    benchmark::RegisterBenchmark("lines/SDL 8-bit", sdl_lines, 8);
    benchmark::RegisterBenchmark("lines/SDL 32-bit", sdl_lines, 32);
}
