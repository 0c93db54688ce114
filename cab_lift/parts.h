// The six parts of the device, drawn in exclusive-or mode from a point set:
// drawing a part a second time with the same pose and settings erases it.
#pragma once

#include <cstdint>

namespace cab_lift {

struct Pixel {
    int16_t x, y;
};

// Where a model point lands on the screen with the settings of `part`: its
// model origin `part_offset_x` pixels from the left edge and `part_offset_y`
// above the bottom row, `part_scale` millimetres to the pixel.
Pixel screen_point(double x, double y, int part);

// Draws part 1..6 from point set 1 or 2 with the part's settings; any other
// part number draws nothing.
void draw_part(int set, int part);
// Every part, numbers 1 to 6, from set 1, in this order.
void draw_all_parts();
// Line style, colour and exclusive-or mode of `part`.
void apply_part_style(int part);
// A line between two points of current_set, mapped for current_part.
void draw_link(int a, int b);
// A diamond of half-diagonal size / part_scale around a point.
void draw_joint(int point, int size);

}  // namespace cab_lift
