// Conversions of computed model values to pixels, shared by every program:
// round to the nearest integer with halves to the even neighbour, then
// saturate to the 16-bit range the platform takes, so a value far off the
// page is clamped to its edge instead of wrapping around.
#pragma once

#include <cstdint>

// Nearest integer, halves to the even neighbour (399.5 -> 400, 416.5 -> 416).
double round_half_even(double value);
// A pixel coordinate: rounded, then saturated to -32768 .. 32767; NaN gives 0.
int16_t to_pixel(double value);
// A circle radius: the absolute value rounded, saturated to 0 .. 65535; NaN gives 0.
uint16_t to_radius(double value);
