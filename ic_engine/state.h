// What ic_engine keeps from frame to frame, with its start values. run()
// starts from a fresh State, so every run begins exactly like a new process.
#pragma once

#include <cstdint>

namespace ic_engine {

struct State {
    double engine_time = 0.1;  // the animation's running variable; the crank angle is 10 times it
    int16_t page = 0;          // the page the next frame is drawn on
};

extern State state;

}  // namespace ic_engine
