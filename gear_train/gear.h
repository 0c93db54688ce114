// The gears: the tanh-of-sine tooth profile, the fixed scene of five meshing
// gears, and the outline drawing. Everything but draw_gear is a plain
// function of its arguments.
#pragma once

#include <array>
#include <cstdint>

namespace gear_train {

// Sharpness of the tooth profile: tanh of 9 sin(n t) is a rounded square wave.
constexpr double tooth_sharpness = 9.0;
// Chords of one outline; point `outline_chords` lands back on point 0.
constexpr int outline_chords = 100;

struct Point {
    double x;
    double y;
};

// One gear of the scene: its centre relative to the window's centre, its
// pitch radius and the sense in which gear_angle turns it.
struct SceneGear {
    double offset_x;
    double offset_y;
    double pitch_radius;
    int32_t direction;
};

// The centre gear, then the four that mesh with it: right, top, left, bottom.
// The outer pitch radius plus the centre one is the 110-pixel distance.
constexpr std::array<SceneGear, 5> scene = {{
    {0.0, 0.0, 50.0, +1},
    {+110.0, 0.0, 55.0, -1},
    {0.0, -110.0, 55.0, -1},
    {-110.0, 0.0, 55.0, -1},
    {0.0, +110.0, 55.0, -1},
}};

// tanh(s) built from the exponential, as sinh(s) / cosh(s).
double tanh_from_exp(double s);

// Radius factor of the tooth profile at the outline's own parameter t: about
// 1 + 1/9 on a tooth, 1 - 1/9 in a gap, exactly 1 where sin(n t) is 0.
double profile_factor(int32_t tooth_count, double t);

// Point i (0 .. outline_chords) of a gear's outline, in window pixels.
Point outline_point(int32_t tooth_count, int32_t direction, double centre_x, double centre_y,
                    double pitch_radius, double angle, int i);

// Centre of a scene gear in a window whose largest coordinates are max_x and
// max_y. The halves are taken in floating point: the centres lie on half pixels.
Point gear_centre(const SceneGear& gear, int max_x, int max_y);

// Draws one closed gear outline (MoveTo, then 100 LineTo) in the current
// colour on the active page; the gear is turned by direction * angle.
void draw_gear(int32_t tooth_count, int32_t direction, double centre_x, double centre_y,
               double pitch_radius, double angle);

}  // namespace gear_train
