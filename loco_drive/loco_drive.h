// The locomotive drive gear: an oscillating cylinder whose piston rod drives
// the crank pin of a spoked wheel, turned 5 degrees a key, shown as two parts
// that can be moved, scaled, recoloured and restyled on their own.
//
// All of the program's state lives here, with its start values. `run` and
// `reset_machine` put every variable back to them, so a second run in the
// same process starts exactly as a new program would.
#pragma once

#include <cstdint>

namespace loco_drive {

// Runs the program from its start state to its end, InitGraph to CloseGraph.
void run();

// --- Start values ------------------------------------------------------------

constexpr int point_count = 18;
constexpr int part_count = 2;

constexpr double start_crank_angle = 0;  // degrees
constexpr double start_crank_step = 5;   // degrees a key
constexpr int32_t start_offset_x = 200;  // x of the model origin, before the stretch
constexpr int32_t start_offset_y = 180;  // model origin above the bottom row, pixels
constexpr int32_t start_scale = 1;       // pixels per model unit
constexpr uint16_t start_line_type = 0;  // solid
constexpr uint16_t start_color(int part) { return static_cast<uint16_t>(part + 1); }
constexpr bool start_reversed = false;
constexpr double start_view_angle = 0;  // degrees

// --- State -------------------------------------------------------------------

// The model points, indexed 1..18 (written by compute_geometry).
inline double point_x[point_count + 1] = {};
inline double point_y[point_count + 1] = {};

// Angle of the crank pin about the wheel centre, counter-clockwise from +x;
// it counts on without bound and is never brought back into 0..360.
inline double crank_angle = start_crank_angle;
inline double crank_step = start_crank_step;

// Per part, indexed 1..2: 1 the cylinder with its rod, 2 the wheel.
inline int32_t part_offset_x[part_count + 1] = {0, start_offset_x, start_offset_x};
inline int32_t part_offset_y[part_count + 1] = {0, start_offset_y, start_offset_y};
inline int32_t part_scale[part_count + 1] = {0, start_scale, start_scale};
inline uint16_t part_color[part_count + 1] = {0, start_color(1), start_color(2)};
inline uint16_t part_line_type[part_count + 1] = {0, start_line_type, start_line_type};

// The part whose settings the drawing helpers use.
inline int32_t current_part = 1;

// The page the next frame is drawn on.
inline int16_t page = 0;

// The key read in the current command-loop iteration.
inline uint8_t key = 0;

// How the whole drawing is turned (keys b, q, w): mirrored left-right about
// the vertical midway between the pivot and the wheel centre, then turned by
// `view_angle` degrees about that midpoint.
inline bool machine_reversed = start_reversed;
inline double view_angle = start_view_angle;

// --- Start-up and command loop -----------------------------------------------

// Puts the crank and every part setting back to the start, recomputes the
// mechanism and draws it on page 0, shown at once.
void reset_machine();
// Reads keys and acts on them until ESC.
void command_loop();
// Draws the next frame on the hidden page and shows it; with_geometry also
// recomputes the points first (the part editor redraws without).
void redraw_frame(bool with_geometry);

// value + step, held at the 32-bit limits instead of overflowing (offsets and
// scales have no limits of their own).
int32_t add_clamped(int32_t value, int64_t step);

}  // namespace loco_drive
