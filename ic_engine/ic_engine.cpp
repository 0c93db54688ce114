// Start-up and frame loop: the engine runs by itself, one frame every 2 ms
// on a steady clock, until a key is waiting.
#include "ic_engine.h"

#include <cstdint>

#include "engine.h"
#include "engine_drawing.h"
#include "graph.h"
#include "state.h"

namespace ic_engine {

State state;

namespace {

// One model step per frame; pacing by the clock rather than by a delay keeps
// the crank's speed the same on a fast or a slow machine and the drawing
// time out of the period. A late frame is followed at once by the next, and
// no frame is ever skipped.
constexpr int64_t frame_period_micros = 2000;

}  // namespace

void run() {
    InitGraph(DRIVER_256, MODE_800x600, "MOTOR CU ARDERE INTERNA");
    state = State{};
    int64_t next_frame = ClockMicros();
    for (;;) {
        // The window shows the page just finished while this one is drawn.
        SetActivePage(state.page);
        state.page = 1 - state.page;
        SetVisualPage(state.page);
        ClearDevice();
        const int max_x = GetMaxX();
        const int max_y = GetMaxY();
        draw_engine(engine_frame(state.engine_time, max_x, max_y));
        state.engine_time += 0.0005;
        // The key is left in the queue.
        if (KeyPressed()) break;
        next_frame += frame_period_micros;
        WaitUntilMicros(next_frame);
    }
    CloseGraph();
}

}  // namespace ic_engine
