// The backhoe excavator: boom, stick and bucket driven by three hydraulic
// cylinders, on a body standing on tracks or on tyres. The keys lengthen and
// shorten the cylinders; the part editor moves, recolours, rescales and
// restyles each of the eight parts on its own.
//
// All state lives in `model` below, with its start values; `run()` starts
// from them every time, as a fresh process would.
#pragma once

#include <array>
#include <cstdint>

namespace backhoe {

// Runs the program from its start state to its end, InitGraph to CloseGraph.
void run();

// --- Model state ------------------------------------------------------------

constexpr int point_count = 86;
constexpr int part_count = 8;

// The eight parts, numbered as the keys 1 to 8 select them.
enum Part {
    BOOM_CYLINDER = 1, BOOM, STICK_CYLINDER, STICK,
    BUCKET_CYLINDER, BUCKET_LINKAGE, BUCKET, BODY
};

// Start values, restored by reset_excavator.
constexpr double start_boom_cylinder_stroke = 10;
constexpr double start_stick_cylinder_stroke = 10;
constexpr double start_bucket_cylinder_stroke = 5;
constexpr int start_part_offset_x = 200;
constexpr int start_part_offset_y = 180;
constexpr int start_part_scale = 3;
constexpr int16_t start_part_line_type = 0;
constexpr int16_t start_part_color(int part) { return static_cast<int16_t>(part + 1); }

// Per-part and per-point arrays, indexed from 1 (element 0 is unused).
template <typename T>
using PerPart = std::array<T, part_count + 1>;
using PerPoint = std::array<double, point_count + 1>;

template <typename T>
constexpr PerPart<T> every_part(T value) {
    PerPart<T> values{};
    for (int p = 1; p <= part_count; ++p) values[p] = value;
    return values;
}

constexpr PerPart<int16_t> start_part_colors() {
    PerPart<int16_t> colors{};
    for (int p = 1; p <= part_count; ++p) colors[p] = start_part_color(p);
    return colors;
}

// Stroke steps and limits of the three cylinders. The pin-to-pin length of
// a cylinder is its stroke plus its closed length (14, 17 and 10).
constexpr double boom_stroke_step = 0.3, boom_stroke_min = 2.7, boom_stroke_max = 15;
constexpr double stick_stroke_step = 1, stick_stroke_min = 2.7, stick_stroke_max = 16;
constexpr double bucket_stroke_step = 0.5, bucket_stroke_min = 2, bucket_stroke_max = 7.8;

struct Model {
    // Model points, x to the right and y upwards; the origin is point 1,
    // the base pivot of the boom cylinder on the body.
    PerPoint point_x{};
    PerPoint point_y{};

    double boom_cylinder_stroke = start_boom_cylinder_stroke;
    double stick_cylinder_stroke = start_stick_cylinder_stroke;
    double bucket_cylinder_stroke = start_bucket_cylinder_stroke;

    // Which chains compute_geometry recomputes.
    int32_t boom_changed = 1;
    int32_t stick_changed = 1;
    int32_t bucket_changed = 1;
    int32_t body_changed = 1;
    int32_t on_tyres = 0;  // 0 tracks, 1 tyres

    // Per part: where its model origin sits (x before the 1.2 horizontal
    // stretch; y as the height above the bottom row), pixels per model unit,
    // colour 0..15 and line style 0..4.
    PerPart<int32_t> part_offset_x = every_part<int32_t>(start_part_offset_x);
    PerPart<int32_t> part_offset_y = every_part<int32_t>(start_part_offset_y);
    PerPart<int32_t> part_scale = every_part<int32_t>(start_part_scale);
    PerPart<int16_t> part_color = start_part_colors();
    PerPart<int16_t> part_line_type = every_part<int16_t>(start_part_line_type);

    int32_t current_part = 0;  // the part whose mapping the drawing uses
    int32_t page = 0;          // the page the next frame is drawn on
    uint8_t key = 0;           // the key of the current command-loop turn
};

extern Model model;

// Background of the machine's picture and of the editor's help: the named
// colour light blue.
int background_color();

// --- Start-up and command loop (backhoe.cpp) --------------------------------

void reset_excavator();
void command_loop();
// Builds a frame on the hidden page and shows it.
void redraw_frame(bool with_geometry);
// The stroke keys p o l k m n: changes the stroke and sets its chain's flag.
// Returns false for any other key.
bool change_stroke(uint8_t key);

// --- Geometry (geometry.cpp) ------------------------------------------------

// Recomputes the points of every block whose flag is set; changes no flag.
void compute_geometry();
// Radians in [0, pi].
double arc_cos(double x);
// The angle between sides b and c, opposite side a.
double triangle_angle(double a, double b, double c);
// Direction from point i to point j, radians in [0, 2 pi); 0 when they coincide.
double direction_angle(int i, int j);

// --- Parts and editor (parts.cpp, editor.cpp) -------------------------------

void apply_part_style(int part);
void draw_link(int i, int j);
void draw_pin(int i, double radius);
void draw_part(int part);
void draw_all_parts();
void edit_part(int part);

// --- Screens (screens.cpp) --------------------------------------------------

void show_main_help();
void show_editor_help();
void show_credits();

}  // namespace backhoe
