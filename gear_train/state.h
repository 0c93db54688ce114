// What gear_train keeps from frame to frame, with its start values. run()
// starts from a fresh State, so every run begins exactly like a new process.
#pragma once

#include <cstdint>

namespace gear_train {

struct State {
    int32_t tooth_count = 8;  // teeth of every gear: even, 4 at the least
    double gear_angle = 0.0;  // radians; grows by 0.01 a frame, never wrapped
    int16_t page = 0;         // the page the next frame is drawn on
    uint8_t key = 0;          // the code read in this frame, 0 if none
};

extern State state;

}  // namespace gear_train
