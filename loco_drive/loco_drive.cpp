// Start-up, the reset, the double-buffered redraw and the command loop.
#include "loco_drive.h"

#include <cstdint>

#include "editor.h"
#include "geometry.h"
#include "graph.h"
#include "parts.h"
#include "screens.h"

namespace loco_drive {

namespace {

constexpr uint8_t key_esc = 27;
// Second codes of F1 and F2; the characters ";" and "<" give the same codes.
constexpr uint8_t key_f1 = 59;
constexpr uint8_t key_f2 = 60;
// What q and w turn the drawing by, degrees.
constexpr double view_angle_step = 2;

// Moves both parts by their own scales, part 1 first: parts at equal
// settings move together and stay assembled.
void move_parts(int direction_x, int direction_y) {
    for (int p = 1; p <= part_count; ++p) {
        part_offset_x[p] = add_clamped(part_offset_x[p], int64_t{direction_x} * part_scale[p]);
        part_offset_y[p] = add_clamped(part_offset_y[p], int64_t{direction_y} * part_scale[p]);
    }
}

void change_scales(int32_t by) {
    for (int p = 1; p <= part_count; ++p) part_scale[p] = add_clamped(part_scale[p], by);
}

void act_on_key() {
    switch (key) {
        case '1': edit_part(1); break;
        case '2': edit_part(2); break;
        case key_f1: show_main_help(); break;
        case key_f2: show_credits(); break;
        case 'a': reset_machine(); break;
        case 'p': crank_angle += crank_step; break;
        case 'o': crank_angle -= crank_step; break;
        case 'd': move_parts(-1, 0); break;
        case 'f': move_parts(1, 0); break;
        case 'g': move_parts(0, -1); break;
        case 'y': move_parts(0, 1); break;
        case 'x': change_scales(1); break;
        case 'z': change_scales(-1); break;
        case 'b': machine_reversed = !machine_reversed; break;
        case 'q': view_angle += view_angle_step; break;
        case 'w': view_angle -= view_angle_step; break;
        default: break;  // ESC and every other code only redraw
    }
}

}  // namespace

int32_t add_clamped(int32_t value, int64_t step) {
    const int64_t sum = value + step;
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(sum);
}

void reset_machine() {
    SetViewPort(0, 0, static_cast<int16_t>(GetMaxX()), static_cast<int16_t>(GetMaxY()), 1);
    ClearDevice();
    SetBkColor(BLACK);
    for (int p = 1; p <= part_count; ++p) {
        part_scale[p] = start_scale;
        part_line_type[p] = start_line_type;
        part_color[p] = start_color(p);
        part_offset_x[p] = start_offset_x;
        part_offset_y[p] = start_offset_y;
    }
    crank_angle = start_crank_angle;
    machine_reversed = start_reversed;
    view_angle = start_view_angle;
    compute_geometry();
    page = 0;
    SetActivePage(0);
    SetVisualPage(0);
    ClearDevice();
    draw_all_parts();
    page = 1;
}

void redraw_frame(bool with_geometry) {
    SetActivePage(page);
    // The viewport is the whole window, so both clears wipe the whole page.
    if (with_geometry) {
        ClearDevice();
        compute_geometry();
    } else {
        ClearViewPort();
    }
    draw_all_parts();
    SetVisualPage(page);
    page = static_cast<int16_t>(1 - page);
}

void command_loop() {
    do {
        key = static_cast<uint8_t>(ReadKey());
        act_on_key();
        // Every code, also one without an action, gives exactly one frame.
        redraw_frame(true);
    } while (key != key_esc);
}

void run() {
    const int16_t driver = DRIVER_256;
    const int16_t mode = MODE_800x600;
    InitGraph(driver, mode, "ANGRENAJE LOCOMOTIVA");
    page = 0;
    crank_step = start_crank_step;
    reset_machine();
    command_loop();
    CloseGraph();
}

}  // namespace loco_drive
