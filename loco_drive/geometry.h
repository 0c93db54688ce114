// The drive gear's geometry: the 18 model points as closed-form functions of
// the crank angle. Model units, x to the right and y upwards, origin at the
// cylinder's pivot.
#pragma once

namespace loco_drive {

constexpr double pi = 3.14159265358979323846;

// Dimensions of the mechanism, in model units.
constexpr double wheel_distance = 200;      // pivot to wheel centre, along +x
constexpr double crank_radius = 50;         // wheel centre to crank pin
constexpr double spoke_length = 45;         // the crank radius less 5
constexpr double cylinder_length = 80;      // pivot to the rod end of the cylinder
constexpr double cylinder_half_width = 5;
constexpr double rod_half_width = 2.5;      // a quarter of the cylinder's width
constexpr double pin_radius = 2;
constexpr double wheel_outer_radius = 55;
constexpr double wheel_inner_radius = 50;

// Recomputes points 1 to 18 from crank_angle.
void compute_geometry();

// Direction of the vector from (x1, y1) to (x2, y2) in radians, in [0, 2 pi);
// 0 for two coincident points.
double direction_angle(double x1, double y1, double x2, double y2);

}  // namespace loco_drive
