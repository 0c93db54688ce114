#include "screen_mapping.h"

#include <cmath>

#include "geometry.h"
#include "graph.h"
#include "loco_drive.h"
#include "pixel.h"

namespace loco_drive {

namespace {

// The drawing is mirrored and turned about the point midway between the
// pivot and the wheel centre, so the machine stays where it was.
constexpr double turn_centre_x = wheel_distance / 2;
constexpr double horizontal_stretch = 1.2;

}  // namespace

ScreenPoint to_screen(double x, double y) {
    // At the start values both steps are skipped, so the picture is exactly
    // the plain mapping's, down to the half-pixel ties.
    if (machine_reversed) x = wheel_distance - x;
    if (view_angle != 0) {
        const double t = view_angle * pi / 180;
        const double turned_x = turn_centre_x + (x - turn_centre_x) * std::cos(t) - y * std::sin(t);
        const double turned_y = (x - turn_centre_x) * std::sin(t) + y * std::cos(t);
        x = turned_x;
        y = turned_y;
    }
    const double k = part_scale[current_part];
    return {to_pixel((k * x + part_offset_x[current_part]) * horizontal_stretch),
            to_pixel(GetMaxY() - (k * y + part_offset_y[current_part]))};
}

uint16_t to_screen_radius(double r) {
    return to_radius(part_scale[current_part] * r);
}

}  // namespace loco_drive
