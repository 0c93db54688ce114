#include "parts.h"

#include "geometry.h"
#include "graph.h"
#include "loco_drive.h"
#include "screen_mapping.h"

namespace loco_drive {

void apply_part_style(int p) {
    SetLineStyle(part_line_type[p], 1, 0);
    SetColor(part_color[p]);
}

void draw_link(int i, int j) {
    const ScreenPoint from = to_screen(point_x[i], point_y[i]);
    const ScreenPoint to = to_screen(point_x[j], point_y[j]);
    Line(from.x, from.y, to.x, to.y);
}

void draw_pin(int i, double r) {
    const ScreenPoint centre = to_screen(point_x[i], point_y[i]);
    Circle(centre.x, centre.y, to_screen_radius(r));
}

void draw_cylinder(int p) {
    current_part = p;
    apply_part_style(p);
    // The cylinder, a closed rectangle.
    draw_link(2, 3);
    draw_link(3, 4);
    draw_link(4, 5);
    draw_link(2, 5);
    // The rod: one side, its end at the crank pin, the other side; open where
    // it enters the cylinder.
    draw_link(6, 10);
    draw_link(10, 9);
    draw_link(9, 8);
    draw_pin(1, pin_radius);
    draw_pin(11, pin_radius);
}

void draw_wheel(int p) {
    current_part = p;
    apply_part_style(p);
    draw_pin(12, wheel_outer_radius);
    draw_pin(12, wheel_inner_radius);
    for (int spoke_end = 13; spoke_end <= 18; ++spoke_end) draw_link(12, spoke_end);
}

void draw_part(int p) {
    if (p == 1) draw_cylinder(1);
    if (p == 2) draw_wheel(2);
}

void draw_all_parts() {
    draw_part(1);
    draw_part(2);
}

}  // namespace loco_drive
