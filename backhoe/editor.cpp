// The part editor: moves, recolours, rescales and restyles one part, so the
// machine can be shown taken apart. It never moves the mechanism.
#include "graph.h"

#include "backhoe.h"

namespace backhoe {

namespace {

constexpr int esc = 27;
constexpr int f1 = 59;  // second code of F1, also ";"
constexpr int offset_step = 20;

void act_on_editor_key(int key, int p) {
    switch (key) {
    case f1: show_editor_help(); break;
    case 'c':
        model.part_color[p] = static_cast<int16_t>(model.part_color[p] + 1);
        if (model.part_color[p] > 15) model.part_color[p] = 0;
        break;
    case 'd': model.part_offset_x[p] -= offset_step; break;
    case 'f': model.part_offset_x[p] += offset_step; break;
    case 'g': model.part_offset_y[p] -= offset_step; break;
    case 'y': model.part_offset_y[p] += offset_step; break;
    case 's':
        model.part_scale[p] += 1;
        if (model.part_scale[p] > 15) model.part_scale[p] = 1;
        break;
    case 't':
        model.part_line_type[p] = static_cast<int16_t>(model.part_line_type[p] + 1);
        if (model.part_line_type[p] > 4) model.part_line_type[p] = 0;
        break;
    default: break;  // codes below 59 (digits, ESC, a leading 0) and the rest
    }
}

}  // namespace

// The editor reads its keys into a variable of its own: the command loop's
// key (the digit that opened the editor) must survive the ESC that closes
// it, or that ESC would end the program too.
void edit_part(int p) {
    for (;;) {
        const int key = ReadKey();
        act_on_editor_key(key, p);
        redraw_frame(false);
        if (key == esc) return;
    }
}

}  // namespace backhoe
