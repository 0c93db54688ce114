#include "engine.h"

#include <cmath>

#include "pixel.h"

namespace ic_engine {

EngineFrame engine_frame(double engine_time, int max_x, int max_y) {
    EngineFrame f{};
    f.max_x = max_x;
    f.max_y = max_y;
    f.crank_angle = 10 * engine_time;
    f.crank_radius = max_x * 10 / 100.0;
    f.cylinder_base_x = max_x - 500;
    f.crank_centre_x = max_x - 150;
    f.axis_y = max_y / 2.0;
    // The piston pin follows the crank pin's horizontal movement, so the rod
    // always spans crank_centre_x - cylinder_base_x and only tilts.
    f.piston_pin_x = f.cylinder_base_x + f.crank_radius * std::sin(f.crank_angle);
    f.crank_pin_x = f.crank_centre_x + f.crank_radius * std::sin(f.crank_angle);
    f.crank_pin_y = f.axis_y + f.crank_radius * std::cos(f.crank_angle);
    f.flame_level = 0.5 - std::sin(f.crank_angle);
    return f;
}

bool flame_burns(const EngineFrame& frame) { return frame.flame_level > 0; }

bool spark_flashes(const EngineFrame& frame) { return frame.flame_level > 1.4; }

PixelPoint spark_vertex(double theta, double r, int16_t cx, int16_t cy) {
    return {to_pixel(std::sin(theta) * r + cx), to_pixel(std::cos(theta) * r + cy)};
}

PixelPoint inner_ring_centre(const EngineFrame& frame, int i) {
    const double pa_x = frame.piston_pin_x, pa_y = frame.axis_y;
    const double pb_x = frame.crank_pin_x, pb_y = frame.crank_pin_y;
    const double f = i / 9.0;
    return {to_pixel(pa_x + f * (pb_x - pa_x)), to_pixel(pa_y + f * (pb_y - pa_y))};
}

PixelPoint outer_ring_centre(const EngineFrame& frame, int i) {
    const double pa_x = frame.piston_pin_x, pa_y = frame.axis_y;
    const double pb_x = frame.crank_pin_x, pb_y = frame.crank_pin_y;
    const double d = (pb_x - pa_x) / 9;
    const double x = i * d + pa_x;
    const double y = (x - pa_x) * (pb_y - pa_y) / (pb_x - pa_x) + pa_y;
    return {to_pixel(x), to_pixel(y)};
}

}  // namespace ic_engine
