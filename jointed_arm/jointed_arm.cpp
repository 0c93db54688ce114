// Start-up and frame loop: the arm is re-posed from the mouse every frame
// until a key is waiting.
#include "jointed_arm.h"

#include <cstdint>

#include "arm.h"
#include "graph.h"
#include "pixel.h"
#include "state.h"

namespace jointed_arm {

State state;

namespace {

void draw_link(const Link& link) {
    Line(to_pixel(link.from_x), to_pixel(link.from_y), to_pixel(link.to_x), to_pixel(link.to_y));
}

// The links in the platform's default white; a joint circle where each of
// the last five links starts (none at the base, none at the free tip).
void draw_arm(const ArmPose& links) {
    draw_link(links[0]);
    for (int i = 1; i <= segment_count; ++i) {
        draw_link(links[i]);
        Circle(to_pixel(links[i].from_x), to_pixel(links[i].from_y), to_radius(joint_radius));
    }
}

}  // namespace

void run() {
    InitGraph(DRIVER_256, MODE_800x600, "BRAT ARTICULAT");
    state = State{};
    for (;;) {
        // The window shows the page just finished while this one is drawn.
        SetActivePage(state.page);
        state.page = 1 - state.page;
        SetVisualPage(state.page);
        ClearDevice();
        const int32_t mouse_x = static_cast<uint16_t>(GetMouseX());
        const int32_t mouse_y = static_cast<uint16_t>(GetMouseY());
        const int max_x = GetMaxX();
        const int max_y = GetMaxY();
        draw_arm(arm_pose(mouse_x, mouse_y, max_x, max_y));
        // The key is left in the queue.
        if (KeyPressed()) break;
    }
    CloseGraph();
}

}  // namespace jointed_arm
