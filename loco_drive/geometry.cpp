#include "geometry.h"

#include <cmath>

#include "loco_drive.h"

namespace loco_drive {

namespace {

// Point i := point `from` + length u(angle).
void place(int i, int from, double length, double angle) {
    point_x[i] = point_x[from] + length * std::cos(angle);
    point_y[i] = point_y[from] + length * std::sin(angle);
}

}  // namespace

void compute_geometry() {
    point_x[1] = 0;
    point_y[1] = 0;
    point_x[12] = wheel_distance + point_x[1];
    point_y[12] = point_y[1];

    const double a = crank_angle * pi / 180;
    place(11, 12, crank_radius, a);
    // Spoke 13 lies on the crank radius, so one spoke always points at the pin.
    for (int k = 0; k <= 5; ++k) place(13 + k, 12, spoke_length, a + k * pi / 3);

    // The cylinder swings about its pivot so that its axis points at the pin.
    const double phi = direction_angle(point_x[1], point_y[1], point_x[11], point_y[11]);
    // Left of the axis is its counter-clockwise side, seen from the pivot.
    place(2, 1, cylinder_half_width, phi + pi / 2);
    place(3, 1, cylinder_half_width, phi - pi / 2);
    place(4, 3, cylinder_length, phi);
    place(5, 2, cylinder_length, phi);
    place(7, 1, cylinder_length, phi);
    place(6, 7, rod_half_width, phi + pi / 2);
    place(8, 7, rod_half_width, phi - pi / 2);
    place(10, 11, rod_half_width, phi + pi / 2);
    place(9, 11, rod_half_width, phi - pi / 2);
}

double direction_angle(double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    // Exact comparisons: at crank angle 0 the pin's y is exactly 0 and the
    // axis must come out exactly horizontal.
    if (dx == 0) {
        if (dy > 0) return pi / 2;
        if (dy < 0) return 3 * pi / 2;
        return 0;
    }
    if (dy == 0) return dx > 0 ? 0 : pi;
    const double t = std::fabs(std::atan(dy / dx));
    if (dx > 0 && dy > 0) return t;
    if (dx < 0 && dy > 0) return pi - t;
    if (dx < 0) return pi + t;
    // Below the axis by less than half a unit in the last place of 2 pi
    // (sin of a whole turn is not exactly 0), 2 pi - t rounds to 2 pi itself;
    // that direction is 0.
    const double angle = 2 * pi - t;
    return angle < 2 * pi ? angle : 0;
}

}  // namespace loco_drive
