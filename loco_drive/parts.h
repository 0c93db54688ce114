// Drawing the two component parts, each in its own placement, scale, colour
// and line style.
#pragma once

namespace loco_drive {

// Line style and colour of part p.
void apply_part_style(int p);
// A line from point i to point j, in the current part's mapping.
void draw_link(int i, int j);
// A circle of r model units around point i, in the current part's mapping.
void draw_pin(int i, double r);
// Part 1: the cylinder, its piston rod, the pivot pin and the crank pin.
void draw_cylinder(int p);
// Part 2: the wheel's two rim circles and its six spokes.
void draw_wheel(int p);
// Part 1 or 2; any other number draws nothing.
void draw_part(int p);
// Both parts, the wheel last so it paints over the cylinder.
void draw_all_parts();

}  // namespace loco_drive
