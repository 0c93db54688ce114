#include "gear.h"

#include <cmath>
#include <numbers>

#include "graph.h"
#include "pixel.h"

namespace gear_train {

double tanh_from_exp(double s) {
    const double sinh_s = (std::exp(s) - std::exp(-s)) * 0.5;
    const double cosh_s = (std::exp(s) + std::exp(-s)) * 0.5;
    return sinh_s / cosh_s;
}

double profile_factor(int32_t tooth_count, double t) {
    const double s = tooth_sharpness * std::sin(tooth_count * t);
    return 1.0 + tanh_from_exp(s) / tooth_sharpness;
}

Point outline_point(int32_t tooth_count, int32_t direction, double centre_x, double centre_y,
                    double pitch_radius, double angle, int i) {
    const double t = i * 2.0 * std::numbers::pi / outline_chords;
    const double rho = profile_factor(tooth_count, t);
    const double phi = direction * angle + t;
    return {std::cos(phi) * (rho * pitch_radius) + centre_x,
            std::sin(phi) * (rho * pitch_radius) + centre_y};
}

Point gear_centre(const SceneGear& gear, int max_x, int max_y) {
    return {max_x / 2.0 + gear.offset_x, max_y / 2.0 + gear.offset_y};
}

void draw_gear(int32_t tooth_count, int32_t direction, double centre_x, double centre_y,
               double pitch_radius, double angle) {
    for (int i = 0; i <= outline_chords; ++i) {
        const Point p =
            outline_point(tooth_count, direction, centre_x, centre_y, pitch_radius, angle, i);
        if (i == 0) {
            MoveTo(to_pixel(p.x), to_pixel(p.y));
        } else {
            LineTo(to_pixel(p.x), to_pixel(p.y));
        }
    }
}

}  // namespace gear_train
