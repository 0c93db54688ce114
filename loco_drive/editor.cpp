#include "editor.h"

#include <cstdint>

#include "graph.h"
#include "loco_drive.h"
#include "screens.h"

namespace loco_drive {

namespace {

constexpr uint8_t key_esc = 27;
constexpr uint8_t key_f1 = 59;   // also the character ";"
constexpr int32_t move_step = 20;  // model units, whatever the part's scale
constexpr int32_t largest_scale = 15;
constexpr uint16_t largest_color = 15;
constexpr uint16_t largest_line_type = 4;

void act_on_editor_key(int p, uint8_t editor_key) {
    switch (editor_key) {
        case key_f1: show_editor_help(); break;
        case 'c':
            part_color[p] += 1;
            if (part_color[p] > largest_color) part_color[p] = 0;
            break;
        case 'd': part_offset_x[p] = add_clamped(part_offset_x[p], -move_step); break;
        case 'f': part_offset_x[p] = add_clamped(part_offset_x[p], move_step); break;
        case 'g': part_offset_y[p] = add_clamped(part_offset_y[p], -move_step); break;
        case 'y': part_offset_y[p] = add_clamped(part_offset_y[p], move_step); break;
        case 's': {
            // Wraps only above 15: a scale the command loop left below 1
            // counts up from where it is.
            const int32_t scale = add_clamped(part_scale[p], 1);
            part_scale[p] = scale > largest_scale ? 1 : scale;
            break;
        }
        case 't':
            part_line_type[p] += 1;
            if (part_line_type[p] > largest_line_type) part_line_type[p] = 0;
            break;
        default: break;  // codes below 59 (ESC, digits, a leading 0) and the rest
    }
}

}  // namespace

void edit_part(int p) {
    uint8_t editor_key;
    // Nothing is drawn on entry: the picture stays until the first key.
    do {
        editor_key = static_cast<uint8_t>(ReadKey());
        act_on_editor_key(p, editor_key);
        redraw_frame(false);
    } while (editor_key != key_esc);
}

}  // namespace loco_drive
