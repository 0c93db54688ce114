// Start-up and frame loop: the five gears turn 0.01 rad a frame; a and z
// change the tooth count by 2, ESC ends the program.
#include "gear_train.h"

#include "gear.h"
#include "graph.h"
#include "state.h"

namespace gear_train {

State state;

namespace {

constexpr uint8_t key_more_teeth = 'a';
constexpr uint8_t key_fewer_teeth = 'z';
constexpr uint8_t key_escape = 27;

// Draws the scene on the hidden page while the window shows the last frame.
void draw_frame() {
    SetActivePage(state.page);
    state.page = 1 - state.page;
    SetVisualPage(state.page);
    ClearDevice();
    state.gear_angle += 0.01;
    SetColor(WHITE);
    const int max_x = GetMaxX();
    const int max_y = GetMaxY();
    for (const SceneGear& gear : scene) {
        const Point centre = gear_centre(gear, max_x, max_y);
        draw_gear(state.tooth_count, gear.direction, centre.x, centre.y, gear.pitch_radius,
                  state.gear_angle);
    }
}

// At most one key a frame; of a two-code key the second code is the key.
void read_key() {
    state.key = 0;
    if (KeyPressed()) {
        state.key = static_cast<uint8_t>(ReadKey());
        if (state.key == 0) state.key = static_cast<uint8_t>(ReadKey());
    }
    if (state.key == key_more_teeth) {
        state.tooth_count += 2;
    } else if (state.key == key_fewer_teeth && state.tooth_count > 5) {
        state.tooth_count -= 2;
    }
}

}  // namespace

void run() {
    InitGraph(DRIVER_256, MODE_800x600, "ANGRENAJ DINTAT CU DINTI IN NUMAR PAR");
    state = State{};
    do {
        draw_frame();
        read_key();
        Delay(10);
    } while (state.key != key_escape);
    CloseGraph();
}

}  // namespace gear_train
