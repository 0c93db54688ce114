// Presenting: the palette expansion against memcpy of the 32-bit frame,
// and one frame shown in a real window (Xvfb) by the platform's own path
// against SDL's default renderer (texture update, copy, present).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "backend.h"
#include "benchmarks.h"
#include "graph.h"
#include "headless.h"
#include "palette_expand.h"
#include "recorded_frames.h"

namespace {

constexpr int width = 800, height = 600;
// Time between two timed presents: more than one display refresh, so the
// platform's backend never declines a frame and the X server is idle when
// each one starts.
constexpr auto present_interval = std::chrono::milliseconds(20);
constexpr int presents_per_repetition = 10;

using Clock = std::chrono::steady_clock;

// The ic_engine frame drawn on a page, and the palette to show it through.
struct ShownPage {
    std::vector<uint8_t> pixels;
    uint32_t palette[256];
    uint32_t table[256];  // XRGB8888 pixel of each entry
};

const ShownPage& shown_page() {
    static const ShownPage page = [] {
        ShownPage p;
        open_headless(MODE_800x600);
        draw_on_platform(ic_engine_frame(), true);
        p.pixels = headless_page(0);
        std::memcpy(p.palette, headless_palette(), sizeof p.palette);
        std::memcpy(p.table, headless_palette(), sizeof p.table);
        return p;
    }();
    return page;
}

void memcpy_frame(benchmark::State& state) {
    std::vector<uint32_t> from(size_t(width) * height, 7), to(size_t(width) * height);
    for (auto _ : state) {
        benchmark::DoNotOptimize(from.data());
        std::memcpy(to.data(), from.data(), to.size() * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
}

// The expansion of the ic_engine frame, or of a page of random indices,
// where no two neighbours are alike (the worst case).
void expand_page(benchmark::State& state, bool random) {
    const ShownPage& page = shown_page();
    std::vector<uint8_t> pixels = page.pixels;
    if (random) {
        uint32_t seed = 1;
        for (uint8_t& p : pixels) p = uint8_t((seed = seed * 1664525 + 1013904223) >> 24);
    }
    std::vector<uint32_t> frame(size_t(width) * height);
    for (auto _ : state) {
        expand_through_palette(pixels.data(), width, height, page.table, frame.data(), width * 4);
        benchmark::ClobberMemory();
    }
}

// The two windows, side by side on the private X server: the platform's
// backend window, and a window of SDL's default renderer.
struct Windows {
    Backend* backend = nullptr;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    std::string renderer_name;
    std::string failure;
    std::vector<uint32_t> frame;
};

Windows windows;

bool open_windows() {
    if (windows.backend != nullptr) return windows.failure.empty();
    windows.backend = window_backend();
    if (!windows.backend->open(width, height, "bench: platform present", windows.failure)) return false;
    windows.window = SDL_CreateWindow("bench: SDL renderer", 0, 0, width, height, SDL_WINDOW_SHOWN);
    if (windows.window != nullptr) windows.renderer = SDL_CreateRenderer(windows.window, -1, 0);
    if (windows.renderer != nullptr)
        windows.texture = SDL_CreateTexture(windows.renderer, SDL_PIXELFORMAT_XRGB8888,
                                            SDL_TEXTUREACCESS_STREAMING, width, height);
    if (windows.texture == nullptr) {
        windows.failure = std::string("SDL renderer: ") + SDL_GetError();
        return false;
    }
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(windows.renderer, &info) == 0) windows.renderer_name = info.name;
    windows.frame.resize(size_t(width) * height);
    return true;
}

// Times one present per iteration, each after the same pause.
template <typename Present>
void paced_presents(benchmark::State& state, Present present) {
    for (auto _ : state) {
        std::this_thread::sleep_for(present_interval);
        const auto start = Clock::now();
        present();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}

void present_platform(benchmark::State& state) {
    if (!open_windows()) return state.SkipWithError(windows.failure.c_str());
    const ShownPage& page = shown_page();
    paced_presents(state, [&] {
        if (!windows.backend->present(page.pixels.data(), page.palette))
            state.SkipWithError("the backend declined a frame after a whole refresh");
    });
}

void present_sdl_renderer(benchmark::State& state) {
    if (!open_windows()) return state.SkipWithError(windows.failure.c_str());
    const ShownPage& page = shown_page();
    state.SetLabel(windows.renderer_name);
    paced_presents(state, [&] {
        expand_through_palette(page.pixels.data(), width, height, page.table, windows.frame.data(), width * 4);
        SDL_UpdateTexture(windows.texture, nullptr, windows.frame.data(), width * 4);
        SDL_RenderCopy(windows.renderer, windows.texture, nullptr, nullptr);
        SDL_RenderPresent(windows.renderer);
    });
}

void skipped(benchmark::State& state, std::string reason) {
    for (auto _ : state) {
    }
    state.SkipWithError(reason.c_str());
}

}  // namespace

void register_present_benchmarks(bool display, const std::string& no_display) {
    shown_page();
    benchmark::RegisterBenchmark("memcpy/32-bit frame", memcpy_frame);
    benchmark::RegisterBenchmark("expand/page to 32-bit", expand_page, false);
    benchmark::RegisterBenchmark("expand/random page to 32-bit", expand_page, true);
    if (display) {
        benchmark::RegisterBenchmark("present/platform window", present_platform)
            ->UseManualTime()->Iterations(presents_per_repetition);
        benchmark::RegisterBenchmark("present/SDL default renderer", present_sdl_renderer)
            ->UseManualTime()->Iterations(presents_per_repetition);
    } else {
        for (const char* name : {"present/platform window", "present/SDL default renderer"})
            benchmark::RegisterBenchmark(name, skipped, no_display)->Iterations(1)->Repetitions(1);
    }
}

void close_present_windows() {
    if (windows.texture != nullptr) SDL_DestroyTexture(windows.texture);
    if (windows.renderer != nullptr) SDL_DestroyRenderer(windows.renderer);
    if (windows.window != nullptr) SDL_DestroyWindow(windows.window);
    if (windows.backend != nullptr) windows.backend->close();
    windows = Windows{};
}
