// From model units to window pixels, for the part being drawn.
#pragma once

#include <cstdint>

namespace loco_drive {

struct ScreenPoint {
    int16_t x;
    int16_t y;
};

// The pixel of model point (x, y) in the mapping of current_part: the
// drawing's orientation (keys b, q, w) first, then the part's scale and
// offset, x stretched by 1.2 together with its offset.
ScreenPoint to_screen(double x, double y);

// A circle radius of r model units in the mapping of current_part: scaled,
// never stretched, and never negative (a mirrored part keeps round pins).
uint16_t to_screen_radius(double r);

}  // namespace loco_drive
