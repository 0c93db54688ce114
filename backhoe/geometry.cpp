// Kinematics of the working equipment. Each cylinder closes a triangle of
// two fixed lengths and its own pin-to-pin length; solving it gives the
// direction of the cylinder, and each rigid part is then laid out as a fan
// of points at fixed distances and angles from one of its pins.
//
// The fixed lengths are the design lengths of the machine, not distances
// measured between the stored points (those lie slightly off them).
#include <cmath>
#include <numbers>

#include "backhoe.h"

namespace backhoe {

namespace {

constexpr double pi = std::numbers::pi;

// k degrees in radians.
double deg(double k) { return pi * k / 180; }

void set_point(int n, double x, double y) {
    model.point_x[n] = x;
    model.point_y[n] = y;
}

// Point n := point b + r at angle theta.
void place(int n, int b, double r, double theta) {
    set_point(n, model.point_x[b] + r * std::cos(theta), model.point_y[b] + r * std::sin(theta));
}

// Boom cylinder and boom, swung about the boom foot P11.
void compute_boom() {
    set_point(1, 0, 0);
    set_point(11, model.point_x[1] - 7, model.point_y[1] + 3);

    const double boom_cylinder_length = model.boom_cylinder_stroke + 14;
    const double t1 = direction_angle(1, 11) - triangle_angle(23, boom_cylinder_length, 7);
    place(10, 1, boom_cylinder_length, t1);
    place(3, 1, 2.5, t1 + deg(22));
    place(2, 1, 2.5, t1 - deg(22));
    place(4, 1, 14.5, t1 + deg(4));
    place(5, 1, 14.3, t1 + deg(2));
    place(8, 1, 14.3, t1 - deg(2));
    place(9, 1, 14.5, t1 - deg(4));
    place(6, 10, 0.5, t1 + deg(90));
    place(7, 10, 0.5, t1 - deg(90));

    const double t2 = direction_angle(11, 10);
    place(12, 11, 1.5, t2 - deg(94));
    place(13, 11, 1.5, t2 + deg(94));
    place(14, 11, 26.7, t2 + deg(6));
    place(15, 11, 29.5, t2 + deg(3));
    place(16, 11, 32, t2 - deg(6));
    place(17, 11, 51, t2 - deg(36));
    place(18, 11, 49.8, t2 - deg(38));
    place(19, 11, 50, t2 - deg(39));
    place(20, 11, 25, t2 - deg(9));
}

// Stick cylinder and stick, swung about the boom tip P18.
void compute_stick() {
    const double stick_cylinder_length = model.stick_cylinder_stroke + 17;
    const double t3 = triangle_angle(10, stick_cylinder_length, 29) + direction_angle(16, 18);
    place(26, 16, stick_cylinder_length, t3);
    place(22, 16, 3, t3 + deg(22));
    place(21, 16, 3, t3 - deg(22));
    place(23, 16, 17.5, t3 + deg(4));
    place(29, 16, 17.5, t3 - deg(4));
    place(24, 16, 17.5, t3 + deg(1.8));
    place(28, 16, 17.5, t3 - deg(1.8));
    place(25, 26, 0.5, t3 + deg(90));
    place(27, 26, 0.5, t3 - deg(90));

    const double t4 = direction_angle(18, 26);
    place(30, 18, 11, t4 + deg(3));
    place(31, 18, 11.25, t4 - deg(4));
    place(32, 18, 4, t4 - deg(67));
    place(33, 18, 6.5, t4 - deg(140));
    place(34, 18, 18, t4 - deg(170));
    place(35, 18, 23, t4 - deg(174));
    place(36, 18, 22.5, t4 - deg(175));
    place(37, 18, 23, t4 - deg(177));
}

// Bucket cylinder and the four-bar linkage that turns the bucket about the
// stick tip P36: the first link P34-P43, the second link P43-P54 and the
// bucket's own lever P36-P54.
void compute_bucket() {
    const double bucket_cylinder_length = model.bucket_cylinder_stroke + 10;
    const double t5 = triangle_angle(4.9, bucket_cylinder_length, 13) + direction_angle(33, 34);
    place(43, 33, bucket_cylinder_length, t5);
    place(38, 33, 1.5, t5 - deg(31));
    place(39, 33, 1.5, t5 + deg(31));
    place(40, 33, 10.5, t5 + deg(5));
    place(46, 33, 10.5, t5 - deg(5));
    place(41, 33, 10.5, t5 + deg(2.5));
    place(45, 33, 10.5, t5 - deg(2.5));
    place(42, 43, 0.5, t5 + deg(90));
    place(44, 43, 0.5, t5 - deg(90));

    const double t6 = direction_angle(34, 43);
    place(47, 34, 0.5, t6 + deg(87));
    place(50, 34, 0.5, t6 - deg(87));
    place(48, 34, 5.5, t6 + deg(5.3));
    place(49, 34, 5.5, t6 - deg(5.3));

    // Standing at P43, turn from the direction to P33 through the angles of
    // the cylinder triangle, of the triangle P34-P43-P36 and of the triangle
    // P36-P43-P54, to reach the direction of the second link.
    const double dx = model.point_x[43] - model.point_x[36];
    const double dy = model.point_y[43] - model.point_y[36];
    const double d = std::sqrt(dx * dx + dy * dy);
    double t7 = direction_angle(43, 33);
    t7 = t7 + triangle_angle(13, 10 + model.bucket_cylinder_stroke, 4.9);
    t7 = t7 + triangle_angle(5, d, 4.9);
    t7 = t7 + triangle_angle(4, 5, d);
    place(54, 43, 5, t7);
    place(52, 43, 0.5, t7 + deg(87));
    place(51, 43, 0.5, t7 - deg(87));
    place(53, 43, 5.5, t7 + deg(5.3));
    place(55, 43, 5.5, t7 - deg(5.3));

    // The bucket is turned by the direction from its pivot to the second
    // link's outline corner P53.
    const double t8 = direction_angle(36, 53);
    place(56, 36, 1.5, t8 - deg(180));
    place(57, 36, 5, t8);
    place(58, 36, 8, t8 - deg(46));
    place(59, 36, 10.5, t8 - deg(110));
    place(60, 36, 7, t8 - deg(99));
}

struct Offset {
    int point;
    double dx, dy;
};

constexpr Offset body_outline[] = {
    {61, 1, 5},     {62, -6, 20},    {63, -16, 20},  {64, -16, 6},   {65, -38, 6},
    {66, -38, 0},   {67, -16, 0},    {68, 0, -1},    {69, -5, -1},   {70, -20, -1},
    {71, -38, -1},  {72, -20, -3},   {73, -5, -3},   {74, -31, -3},  {75, 2, -3},
    {76, 6, -9},    {77, 2, -13},    {78, -31, -13}, {79, -35, -9},  {80, -34, 6},
    {81, -34, 11},  {82, -22, 11},   {83, -22, 6},   {84, -5.5, 19}, {85, -12, 19},
    {86, -12, 0},
};

// On tyres, points 76 to 79 carry the axle frame and the wheel centres.
constexpr Offset tyre_layout[] = {
    {76, -33.5, -9}, {77, -9, -10}, {78, -20, -10}, {79, 4.5, -9},
};

// The body is fixed to P1; the running gear takes the tracks layout and,
// on tyres, the tyres layout over it.
void compute_body() {
    for (const Offset& o : body_outline)
        set_point(o.point, model.point_x[1] + o.dx, model.point_y[1] + o.dy);
    if (model.on_tyres == 1) {
        for (const Offset& o : tyre_layout)
            set_point(o.point, model.point_x[1] + o.dx, model.point_y[1] + o.dy);
    }
}

}  // namespace

double arc_cos(double x) {
    if (x == 0) return pi / 2;
    if (x == -1) return pi;
    double a = std::atan(std::sqrt(1 - x * x) / x);
    if (a < 0) a = a + pi;
    return a;
}

double triangle_angle(double a, double b, double c) {
    const double s = (a + b + c) / 2;
    return 2 * arc_cos(std::sqrt(std::fabs(s * (s - a) / (b * c))));
}

double direction_angle(int i, int j) {
    const double dx = model.point_x[j] - model.point_x[i];
    const double dy = model.point_y[j] - model.point_y[i];
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0) return 0;  // coincident points have no direction
    double a = arc_cos(dx / d);
    if (model.point_y[i] > model.point_y[j]) a = 2 * pi - a;
    return a;
}

void compute_geometry() {
    const bool boom = model.boom_changed == 1;
    const bool stick = boom || model.stick_changed == 1;
    const bool bucket = stick || model.bucket_changed == 1;
    if (boom) compute_boom();
    if (stick) compute_stick();
    if (bucket) compute_bucket();
    if (model.body_changed == 1) compute_body();
}

}  // namespace backhoe
