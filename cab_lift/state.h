// The whole state of the cab-lifting device program in one place, with the
// values it has when the program starts. run() begins by restoring these, so
// every run in one process starts exactly as a fresh process would.
#pragma once

#include <cstdint>

namespace cab_lift {

constexpr int point_count = 99;  // points 1..99
constexpr int part_count = 6;    // part numbers 1..6 are drawn; the settings arrays hold 8

// Limits and steps of the device inputs.
constexpr double stroke_min = 87, stroke_max = 513, stroke_step = 10;
constexpr double man_position_min = 0, man_position_max = 1370, man_position_step = 30;
constexpr int32_t man_mass_min = 0, man_mass_max = 200;
constexpr int32_t platform_mass_min = 0, platform_mass_max = 1000;
constexpr int32_t mass_step = 5;

struct State {
    // Model points in millimetres, y up, indexed [set][point]. Set 1 is the
    // pose being drawn; set 2 is the pose still on the screen, kept only so
    // that it can be erased. Index 0 of both is unused.
    double point_x[3][point_count + 1] = {};
    double point_y[3][point_count + 1] = {};

    // Device inputs.
    double piston_stroke = 87;    // mm
    double man_position = 685;    // mm from point 85 along the platform's top
    int32_t man_mass = 80;        // kg
    int32_t platform_mass = 100;  // kg

    // Loads of the current pose (set 1).
    double piston_force = 0;     // N
    double piston_pressure = 0;  // bar

    // Per-part display settings, indexed by part 1..8 (7 and 8 unused).
    int32_t part_offset_x[9] = {0, 80, 80, 80, 80, 80, 80, 80, 80};  // pixels
    int32_t part_offset_y[9] = {0, 80, 80, 80, 80, 80, 80, 80, 80};  // pixels above the bottom row
    int32_t part_scale[9] = {0, 7, 7, 7, 7, 7, 7, 7, 7};             // millimetres per pixel
    uint16_t part_color[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    uint16_t part_line_type[9] = {};

    // The window's bottom row (GetMaxY), read once the window is open.
    int32_t screen_max_y = 479;

    // What draw_link and draw_joint read: set by draw_part.
    int32_t current_set = 1;
    int32_t current_part = 1;

    // Force/pressure graph: pixels, current point and the previous one.
    bool graph_mode = false;
    double graph_x = 0;
    double graph_force = 0;
    double graph_pressure = 0;
    double graph_prev_x = 0;
    double graph_prev_force = 0;
    double graph_prev_pressure = 0;

    // Flags of one command-loop iteration.
    bool stroke_changed = false;
    bool man_changed = false;
    bool masses_changed = false;
};

inline State state;

}  // namespace cab_lift
