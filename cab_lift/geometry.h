// The linkage: every point of the device in its current pose, computed from
// the piston's stroke and the man's position. Pure functions of the state;
// nothing here draws.
#pragma once

namespace cab_lift {

// Recomputes points 1..99 of set 1, the piston force and the pressure from
// the stroke, the man's position and the two masses. Set 2 is not touched.
void compute_geometry();

// The angle (radians) opposite side `a` of the triangle with sides a, b, c,
// by the half-angle formula. Sides that form no triangle still give a number.
double triangle_angle(double a, double b, double c);

// The inclination (radians, -pi/2 .. pi/2) of the line through (x1, y1) and
// (x2, y2), taken towards increasing x; a vertical line gives +pi/2 when the
// first point is the higher, -pi/2 when the lower, 0 for equal points.
double slope_angle(double x1, double x2, double y1, double y2);

// Degrees to radians.
double radians(double degrees);

}  // namespace cab_lift
