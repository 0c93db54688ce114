// Centre of gravity of man and platform, and the piston force and pressure
// that hold them, for the pose in set 1.
#include "loads.h"

#include <cmath>
#include <numbers>

#include "geometry.h"
#include "state.h"

namespace cab_lift {

void compute_loads() {
    double* x = state.point_x[1];
    double* y = state.point_y[1];
    const int32_t man = state.man_mass;
    const int32_t platform = state.platform_mass;
    const int32_t total = man + platform;

    // With nothing on the lift there is no centre of gravity to divide out:
    // the marker rests on the platform's lower left corner and nothing loads
    // the piston.
    if (total == 0) {
        x[99] = x[86];
        y[99] = y[86];
        state.piston_force = 0;
        state.piston_pressure = 0;
        return;
    }

    // Measured from point 86: the platform's weight acts half its top length
    // and half its right-hand height from it, the man's 60 + man_position to
    // the right and 60 above the platform's right-hand height.
    x[99] = ((x[84] - x[85]) * platform / 2 + man * (60 + state.man_position)) / total + x[86];
    y[99] = ((y[84] - y[83]) * platform / 2 + ((y[84] + 60) - y[83]) * man) / total + y[86];

    // Balance of moments about the lever pivot 12; B is the angle at the rod
    // end between the piston and the lever arm of 315.
    const double length = state.piston_stroke + 655;
    const double b = triangle_angle(938, length, 315);
    state.piston_force = total * 9.81 * (x[99] - x[12]) / (315 * std::sin(b));
    state.piston_pressure = std::numbers::pi * 1225 * state.piston_force / 442413.3920089205;
}

}  // namespace cab_lift
