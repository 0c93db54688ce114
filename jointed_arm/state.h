// What jointed_arm keeps from frame to frame, with its start value: only the
// page toggle; the arm is posed afresh from the mouse every frame. run()
// starts from a fresh State, so every run begins exactly like a new process.
#pragma once

#include <cstdint>

namespace jointed_arm {

struct State {
    int16_t page = 0;  // the page the next frame is drawn on
};

extern State state;

}  // namespace jointed_arm
