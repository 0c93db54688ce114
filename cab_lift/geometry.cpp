// The linkage of the cab-lifting device, built in closed form from the
// stroke: fixed frame, piston, lever, coupling plate and bars, platform, man,
// and finally the loads. Each step only reads points placed before it.
#include "geometry.h"

#include <cmath>
#include <cstddef>
#include <numbers>

#include "loads.h"
#include "state.h"

namespace cab_lift {

namespace {

double& x(int point) { return state.point_x[1][point]; }
double& y(int point) { return state.point_y[1][point]; }

void set_point(int point, double px, double py) {
    x(point) = px;
    y(point) = py;
}

// Point `point` := point `base` + r * dir(angle).
void place(int point, int base, double r, double angle) {
    set_point(point, x(base) + r * std::cos(angle), y(base) + r * std::sin(angle));
}

// A point at `r` and `delta` degrees from a base point and base angle.
struct Polar {
    int point;
    double delta;
    double r;
};

template <std::size_t N>
void place_group(int base, double base_angle, const Polar (&points)[N]) {
    for (const Polar& p : points) place(p.point, base, p.r, base_angle + radians(p.delta));
}

struct Fixed {
    int point;
    double x, y;
};

constexpr Fixed fixed_points[] = {
    {11, 245, 723}, {12, 598, 723}, {13, 598, 848}, {14, 588, 605}, {15, 735, 1005},
    {16, 536, 1167}, {17, 180, 938}, {18, 112, 683}, {19, 222, 605}, {32, 655, 675},
    {34, 112, 848}, {39, 325, 300}, {40, 235, -175}, {41, 580, -175}, {42, 90, -150},
    {43, 90, -175}, {44, -53, -175}, {45, -53, -195}, {46, 630, -195}, {47, 630, -175},
    {48, 593, 28}, {49, 583, 28}, {50, 270, 453}, {51, 290, 453}, {52, -50, 0},
    {53, -28, 43}, {54, 38, 30}, {55, 118, -50},
};

void place_fixed_points() {
    set_point(1, 0, 0);
    for (const Fixed& f : fixed_points) set_point(f.point, x(1) + f.x, y(1) + f.y);
}

// The cylinder turns about point 1; its rod end (10) lies 315 from the
// lever pivot, taken as 938 from point 1 in the direction 50 degrees.
void place_piston(double length) {
    const double a = radians(50) - triangle_angle(315, length, 938);
    struct Outline {
        int point;
        double along, across, side;  // side: +90 or -90 degrees from the axis
    };
    const Outline outline[] = {
        {10, length, 0, 0},
        {3, 0, 45, 90},       {2, 0, 45, -90},       {5, 655, 45, 90},  {4, 655, 45, -90},
        {7, 655, 25, 90},     {6, 655, 25, -90},     {9, length, 25, 90}, {8, length, 25, -90},
        {37, 575, 45, 90},    {38, 575, 45, -90},
    };
    for (const Outline& o : outline) {
        const double side = a + radians(o.side);
        set_point(o.point, x(1) + o.along * std::cos(a) + o.across * std::cos(side),
                  y(1) + o.along * std::sin(a) + o.across * std::sin(side));
    }
}

// The lever turns about point 12, towards the rod end.
void place_lever() {
    const double t = slope_angle(x(12), x(10), y(12), y(10));
    constexpr Polar lever[] = {
        {21, -130, 55}, {22, -42, 415}, {33, -39, 513}, {23, -14, 875}, {24, 0, 1095},
        {25, 38, 1480}, {26, 41, 1423}, {27, 8, 1015},  {28, -4, 763},  {29, -6, 475},
        {30, -5, 415},  {31, 9.5, 325}, {20, 116, 55},  {35, 38, 1425},
    };
    place_group(12, t, lever);
}

// Point 36 lies 1038 from the fixed pivot 13 and k from the platform pivot
// 78, k growing with the stroke; the plate hangs from it as a rectangle.
void place_plate() {
    const double k = (state.piston_stroke - 87) * 60 / 71 + 608;
    const double dx = x(78) - x(13);
    const double dy = y(78) - y(13);
    const double d = std::sqrt(dx * dx + dy * dy);
    const double u = slope_angle(x(13), x(78), y(13), y(78)) - triangle_angle(k, d, 1038);
    place(36, 13, 1038, u);
    set_point(76, x(36), y(36) - 125);
    set_point(77, x(76) - 363, y(76));
    set_point(90, x(77), y(36));
}

// The direction along a bar that points downwards (to the right when level).
double downwards(double v) { return v > 0 ? v + radians(180) : v; }

// The direction along a bar that points to the left, reversed when it would
// lie between 90 and 107 degrees.
double leftwards(double v) { return v < radians(107) ? v + radians(180) : v; }

void place_bars() {
    constexpr Polar from_13[] = {{57, -137, 80}, {58, -3, 1078}, {59, 3, 1078}, {56, 137, 80}};
    constexpr Polar from_11[] = {{65, -137, 80}, {66, -3, 1078}, {67, 3, 1078}, {64, 137, 80}};
    constexpr Polar plate[] = {{73, -26, 415}, {74, 4, 448}, {75, 88, 183}, {72, -158, 70}};
    constexpr Polar from_78[] = {{63, -2, 1070}, {62, 2, 1070}, {61, 134, 58}, {60, -134, 58}};
    constexpr Polar from_35[] = {{69, -2, 1070}, {70, 2, 1070}, {71, 134, 58}, {68, -134, 58}};

    place_group(13, downwards(slope_angle(x(13), x(36), y(13), y(36))), from_13);
    place_group(11, downwards(slope_angle(x(11), x(77), y(11), y(77))), from_11);
    place_group(36, slope_angle(x(77), x(36), y(77), y(36)) + radians(180), plate);
    place_group(78, leftwards(slope_angle(x(78), x(90), y(78), y(90)) + radians(180)), from_78);
    place_group(35, leftwards(slope_angle(x(35), x(76), y(35), y(76)) + radians(180)), from_35);
}

// The platform keeps its attitude: its outline is fixed about pivot 78.
void place_platform() {
    constexpr Polar platform[] = {
        {86, -162, 308}, {87, -172, 65}, {88, -112, 92},  {89, 7, 288},
        {79, -7, 383},   {80, 1, 528},   {81, 15, 608},   {82, 21, 608},
        {83, 20.5, 1170}, {84, 29.7, 1186}, {85, 167, 363},
    };
    place_group(78, radians(-20), platform);
}

// The man stands upright at man_position from point 85: feet 91 and 97,
// armpits 92 and 96, hands 93 and 95, head centre 94, crotch 98.
void place_man() {
    set_point(91, x(85) + state.man_position, y(85));
    set_point(92, x(91), y(91) + 520);
    set_point(93, x(91) - 120, y(91) + 400);
    set_point(94, x(91) + 60, y(91) + 720);
    set_point(95, x(91) + 240, y(93));
    set_point(96, x(91) + 120, y(92));
    set_point(97, x(96), y(91));
    set_point(98, x(91) + 60, y(91) + 400);
}

}  // namespace

double radians(double degrees) { return degrees * std::numbers::pi / 180; }

double triangle_angle(double a, double b, double c) {
    const double s = (a + b + c) / 2;
    const double q = (s - b) * (s - c) / (s * (s - a));
    return 2 * std::atan(std::sqrt(std::fabs(q)));
}

double slope_angle(double x1, double x2, double y1, double y2) {
    if (x1 - x2 != 0) return std::atan((y1 - y2) / (x1 - x2));
    if (y1 > y2) return std::numbers::pi / 2;
    if (y1 < y2) return -std::numbers::pi / 2;
    return 0;
}

void compute_geometry() {
    const double length = state.piston_stroke + 655;
    place_fixed_points();
    place_piston(length);
    place_lever();
    place(78, 35, 380, radians(160));
    place_plate();
    place_bars();
    place_platform();
    place_man();
    compute_loads();
}

}  // namespace cab_lift
