// The part editor. Each key erases the part (exclusive-or), changes one
// setting by one step and draws the part again, so it is on the screen
// exactly once between keys.
#include "editor.h"

#include "graph.h"
#include "help.h"
#include "parts.h"
#include "state.h"

namespace cab_lift {

namespace {

constexpr int offset_step = 20;  // pixels
constexpr int largest_scale = 20;
constexpr int last_color = 15;
constexpr int last_line_type = 4;

void apply_editor_key(int key, int part) {
    switch (key) {
        case ';':  // second code of F1
            show_editor_help(part);
            break;
        case 'c':
            if (++state.part_color[part] > last_color) state.part_color[part] = 0;
            break;
        case 'd': state.part_offset_x[part] -= offset_step; break;
        case 'f': state.part_offset_x[part] += offset_step; break;
        case 'g': state.part_offset_y[part] -= offset_step; break;
        case 'y': state.part_offset_y[part] += offset_step; break;
        case 's':  // a smaller divisor draws the part larger
            if (--state.part_scale[part] < 1) state.part_scale[part] = largest_scale;
            break;
        case 't':
            if (++state.part_line_type[part] > last_line_type) state.part_line_type[part] = 0;
            break;
    }
}

}  // namespace

void edit_part(int part) {
    // The editor's key is its own: ESC here leaves only the editor.
    int key;
    do {
        key = ReadKey();
        draw_part(1, part);
        apply_editor_key(key, part);
        draw_part(1, part);
    } while (key != 27);
}

}  // namespace cab_lift
