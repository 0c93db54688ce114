// Where the engine's parts stand in one frame: plain functions of the
// running variable and the window size, computed afresh every frame.
#pragma once

#include <cstdint>

namespace ic_engine {

// The model's values of one frame, in window pixels (y downwards).
struct EngineFrame {
    int max_x;               // GetMaxX of the window
    int max_y;               // GetMaxY of the window
    double crank_angle;      // radians; the crank pin is at the bottom at 0
    double crank_radius;     // R
    double cylinder_base_x;  // where the piston pin stands when the crank is vertical
    double crank_centre_x;
    double axis_y;           // the cylinder's axis and the crank's centre
    double piston_pin_x;
    double crank_pin_x;
    double crank_pin_y;
    double flame_level;      // above 0 the flame burns, above 1.4 the spark flashes
};

EngineFrame engine_frame(double engine_time, int max_x, int max_y);

// The flame burns while the sine of the crank angle is below 0.5 (two
// thirds of a turn); the spark flashes while it is below -0.9, around the
// moment the piston is nearest the head.
bool flame_burns(const EngineFrame& frame);
bool spark_flashes(const EngineFrame& frame);

struct PixelPoint {
    int16_t x;
    int16_t y;
};

// A corner of the spark's triangles: the point at angle theta on the circle
// of radius r about (cx, cy), with angle 0 straight down.
PixelPoint spark_vertex(double theta, double r, int16_t cx, int16_t cy);

// Centre of ring i (0..9) of the connecting rod, from the piston pin (i = 0)
// to the crank pin (i = 9): interpolated along the rod for the inner rings,
// stepped in x and placed on the rod's line for the outer rings.
constexpr int rod_rings = 10;
PixelPoint inner_ring_centre(const EngineFrame& frame, int i);
PixelPoint outer_ring_centre(const EngineFrame& frame, int i);

}  // namespace ic_engine
