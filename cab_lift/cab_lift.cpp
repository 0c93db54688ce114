// Start-up and the command loop of the cab-lifting device.
//
// The device is never cleared from the screen to move it. Every part is drawn
// in exclusive-or mode and is on the screen exactly once, drawn from point
// set 1: a move copies the pose on the screen into set 2, recomputes set 1,
// draws the new pose and then draws the old one again, which erases it.
#include "cab_lift.h"

#include <algorithm>

#include "editor.h"
#include "geometry.h"
#include "graph.h"
#include "help.h"
#include "load_displays.h"
#include "parts.h"
#include "state.h"

namespace cab_lift {

namespace {

constexpr int escape = 27;

// Assembled: every part at scale 7 with its model origin at (80, 80).
void reset_device() {
    ClearDevice();
    SetBkColor(BLACK);
    for (int part = 1; part <= part_count; ++part) {
        state.part_scale[part] = 7;
        state.part_line_type[part] = 0;
        state.part_color[part] = part;
        state.part_offset_x[part] = 80;
        state.part_offset_y[part] = 80;
    }
    state.piston_stroke = 87;
    state.man_position = 685;
    state.man_mass = 80;
    state.platform_mass = 100;
    state.graph_mode = false;
    compute_geometry();
    draw_all_parts();
}

// Apart: the six parts side by side at scale 9, all light green; each part
// keeps its line type.
void take_apart() {
    struct Place {
        int32_t x, y;
    };
    constexpr Place places[part_count + 1] = {{}, {40, 300}, {200, 300}, {330, 260},
                                              {20, 80}, {120, 50}, {300, 0}};
    ClearDevice();
    SetBkColor(BLACK);
    for (int part = 1; part <= part_count; ++part) {
        state.part_offset_x[part] = places[part].x;
        state.part_offset_y[part] = places[part].y;
        state.part_scale[part] = 9;
        state.part_color[part] = LIGHTGREEN;
        draw_part(1, part);
    }
}

// Graph: the device small in the lower half, the graph in the upper half.
void enter_graph_mode() {
    ClearDevice();
    SetBkColor(BLACK);
    state.graph_mode = true;
    state.graph_prev_x = 0;
    state.graph_prev_force = 0;
    state.graph_prev_pressure = 0;
    for (int part = 1; part <= part_count; ++part) {
        state.part_scale[part] = 15;
        state.part_line_type[part] = 0;
        state.part_color[part] = part;
        state.part_offset_x[part] = 230;
        state.part_offset_y[part] = 50;
    }
    draw_all_parts();
}

// A stroke key: the graph's current point becomes its previous one first.
void change_stroke(double step) {
    if (state.graph_mode) {
        state.graph_prev_x = state.graph_x;
        state.graph_prev_force = state.graph_force;
        state.graph_prev_pressure = state.graph_pressure;
    }
    state.piston_stroke = std::clamp(state.piston_stroke + step, stroke_min, stroke_max);
    state.stroke_changed = true;
}

void change_man_position(double step) {
    state.man_position = std::clamp(state.man_position + step, man_position_min, man_position_max);
    state.man_changed = true;
}

void change_mass(int32_t& mass, int32_t step, int32_t lowest, int32_t highest) {
    mass = std::clamp(mass + step, lowest, highest);
    state.man_changed = true;
    state.masses_changed = true;
}

// The moving parts (numbers 2 to 6) in the new pose, then again in the old pose, which erases it.
void redraw_moving_parts() {
    for (int part = 2; part <= part_count; ++part) draw_part(1, part);
    for (int part = 2; part <= part_count; ++part) draw_part(2, part);
}

void copy_points_to_set_2(int first, int last) {
    for (int point = first; point <= last; ++point) {
        state.point_x[2][point] = state.point_x[1][point];
        state.point_y[2][point] = state.point_y[1][point];
    }
}

void act_on_key(int key) {
    switch (key) {
        case '1': case '2': case '3': case '4': case '5': case '6':
            edit_part(key - '0');
            break;
        case ';':  // the second code of F1
            show_main_help();
            break;
        case 'a': reset_device(); break;
        case 'd': take_apart(); break;
        case 'e': change_mass(state.man_mass, -mass_step, man_mass_min, man_mass_max); break;
        case 'r': change_mass(state.man_mass, mass_step, man_mass_min, man_mass_max); break;
        case 't': change_mass(state.platform_mass, -mass_step, platform_mass_min, platform_mass_max); break;
        case 'y': change_mass(state.platform_mass, mass_step, platform_mass_min, platform_mass_max); break;
        case 'g': enter_graph_mode(); break;
        case 'm': change_man_position(man_position_step); break;
        case 'n': change_man_position(-man_position_step); break;
        case 'o': change_stroke(-stroke_step); break;
        case 'p': change_stroke(stroke_step); break;
    }
}

// One key per iteration; a two-code key takes two iterations, and its second
// code acts like the character key with the same code.
void command_loop() {
    int key;
    do {
        state.stroke_changed = false;
        state.man_changed = false;
        state.masses_changed = false;
        key = ReadKey();
        act_on_key(key);
        if (state.stroke_changed) {
            copy_points_to_set_2(1, point_count);
            compute_geometry();
            redraw_moving_parts();
        }
        if (state.man_changed) {
            // Only the man and the centre of gravity move.
            copy_points_to_set_2(91, 99);
            compute_geometry();
            draw_part(1, 6);
            draw_part(2, 6);
        }
        if (state.graph_mode) draw_graph();
        if (state.masses_changed) show_masses();
    } while (key != escape);
}

}  // namespace

void run() {
    state = State{};
    InitGraph(DRIVER_256, MODE_640x480, "DISPOZITIV DE RIDICAT CABINA EXCAVATORULUI");
    state.screen_max_y = GetMaxY();
    reset_device();
    command_loop();
    CloseGraph();
}

}  // namespace cab_lift
