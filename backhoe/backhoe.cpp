// Start-up, the reset to the assembled machine, the double-buffered redraw
// and the command loop.
#include "backhoe.h"

#include "graph.h"

namespace backhoe {

Model model;

int background_color() { return NamedColor(LIGHT_BLUE_RGB); }

namespace {

constexpr uint8_t esc = 27;
constexpr uint8_t f1 = 59;  // second code of F1, also ";"
constexpr uint8_t f2 = 60;  // second code of F2, also "<"

// The step is applied to the stored value; only a value strictly beyond the
// limit is replaced by the limit itself.
void lengthen(double& stroke, double step, double max) {
    stroke = stroke + step;
    if (stroke > max) stroke = max;
}

void shorten(double& stroke, double step, double min) {
    stroke = stroke - step;
    if (stroke < min) stroke = min;
}

void toggle_running_gear() {
    model.body_changed = 1;
    model.on_tyres = 1 - model.on_tyres;
    compute_geometry();
    model.body_changed = 0;
}

void act_on_key(uint8_t key) {
    if (key >= '1' && key <= '8') {
        edit_part(key - '0');
        return;
    }
    switch (key) {
    case f1: show_main_help(); break;
    case f2: show_credits(); break;
    case 'a': reset_excavator(); break;
    case 't': toggle_running_gear(); break;
    default: change_stroke(key); break;
    }
}

}  // namespace

bool change_stroke(uint8_t key) {
    switch (key) {
    case 'p':
        lengthen(model.boom_cylinder_stroke, boom_stroke_step, boom_stroke_max);
        model.boom_changed = 1;
        return true;
    case 'o':
        shorten(model.boom_cylinder_stroke, boom_stroke_step, boom_stroke_min);
        model.boom_changed = 1;
        return true;
    case 'l':
        lengthen(model.stick_cylinder_stroke, stick_stroke_step, stick_stroke_max);
        model.stick_changed = 1;
        return true;
    case 'k':
        shorten(model.stick_cylinder_stroke, stick_stroke_step, stick_stroke_min);
        model.stick_changed = 1;
        return true;
    case 'm':
        lengthen(model.bucket_cylinder_stroke, bucket_stroke_step, bucket_stroke_max);
        model.bucket_changed = 1;
        return true;
    case 'n':
        shorten(model.bucket_cylinder_stroke, bucket_stroke_step, bucket_stroke_min);
        model.bucket_changed = 1;
        return true;
    default:
        return false;
    }
}

void reset_excavator() {
    SetViewPort(0, 0, static_cast<int16_t>(GetMaxX()), static_cast<int16_t>(GetMaxY()), 1);
    ClearDevice();
    SetBkColor(background_color());
    for (int p = 1; p <= part_count; ++p) {
        model.part_scale[p] = start_part_scale;
        model.part_line_type[p] = start_part_line_type;
        model.part_color[p] = start_part_color(p);
        model.part_offset_x[p] = start_part_offset_x;
        model.part_offset_y[p] = start_part_offset_y;
    }
    model.boom_cylinder_stroke = start_boom_cylinder_stroke;
    model.stick_cylinder_stroke = start_stick_cylinder_stroke;
    model.bucket_cylinder_stroke = start_bucket_cylinder_stroke;
    model.body_changed = 1;
    model.boom_changed = 1;
    model.stick_changed = 1;
    model.bucket_changed = 1;
    model.on_tyres = 0;
    compute_geometry();

    model.page = 0;
    SetActivePage(0);
    SetVisualPage(0);
    ClearDevice();
    draw_all_parts();
    model.page = 1 - model.page;
    // The other three flags stay set until the next key clears them.
    model.body_changed = 0;
}

void redraw_frame(bool with_geometry) {
    SetActivePage(model.page);
    ClearViewPort();
    if (with_geometry) compute_geometry();
    draw_all_parts();
    SetVisualPage(model.page);
    model.page = 1 - model.page;
}

void command_loop() {
    for (;;) {
        model.key = static_cast<uint8_t>(ReadKey());
        model.boom_changed = 0;
        model.stick_changed = 0;
        model.bucket_changed = 0;
        act_on_key(model.key);
        redraw_frame(true);
        if (model.key == esc) return;
    }
}

void run() {
    model = Model{};
    InitGraph(DRIVER_256, MODE_640x480, "FUNCTIONAREA EXCAVATORULUI CU LINGURA INTOARSA");
    model.page = 0;
    reset_excavator();
    command_loop();
    CloseGraph();
}

}  // namespace backhoe
