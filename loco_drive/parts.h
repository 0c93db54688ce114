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
// The cylinder with its piston rod, pivot pin and crank pin (part 1).
void draw_cylinder(int p);
// The wheel: its two rim circles and six spokes (part 2).
void draw_wheel(int p);
// Draws part 1 or 2; any other number draws nothing.
void draw_part(int p);
// Both parts, the wheel last so it paints over the cylinder.
void draw_all_parts();

}  // namespace loco_drive
