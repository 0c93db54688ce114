#include "engine_drawing.h"

#include <numbers>

#include "graph.h"
#include "pixel.h"

namespace ic_engine {

namespace {

constexpr double pi = std::numbers::pi;

// A block filled with horizontal lines from x1 to x2, rows y1 to y2 - 1.
void fill_rows(int16_t x1, int16_t x2, int16_t y1, int16_t y2) {
    for (int y = y1; y < y2; ++y) {
        MoveTo(x1, static_cast<int16_t>(y));
        LineTo(x2, static_cast<int16_t>(y));
    }
}

void draw_crank_circle(const EngineFrame& f) {
    Circle(to_pixel(f.crank_centre_x), to_pixel(f.axis_y), to_radius(f.crank_radius));
}

void draw_cylinder(const EngineFrame& f) {
    const int16_t x1 = to_pixel(f.cylinder_base_x - f.max_x / 6.0);
    const int16_t y1 = to_pixel(f.axis_y - 25);
    const int16_t x2 = to_pixel(f.crank_centre_x - f.max_x / 4.0);
    const int16_t y2 = to_pixel(f.axis_y + 25);
    MoveTo(x1, y1);
    LineTo(x2, y1);
    LineTo(x2, y2);
    LineTo(x1, y2);
    LineTo(x1, y1);
}

// The piston stands 15 to 60 pixels left of its pin.
void draw_piston(const EngineFrame& f) {
    fill_rows(to_pixel(f.piston_pin_x - 15), to_pixel(f.piston_pin_x - 60),
              to_pixel(f.axis_y - 20), to_pixel(f.axis_y + 20));
}

void draw_flame(const EngineFrame& f) {
    fill_rows(to_pixel(f.cylinder_base_x - 115), to_pixel(f.cylinder_base_x - 95),
              to_pixel(f.axis_y - 20), to_pixel(f.axis_y + 20));
}

// Equilateral triangles inscribed in circles of radius 0 to 14, each in four
// rotations 30 degrees apart: a twelve-pointed star.
void draw_spark(const EngineFrame& f) {
    const int16_t cx = to_pixel(f.cylinder_base_x - 110);
    const int16_t cy = to_pixel(f.max_y / 2.0);
    for (int r = 0; r <= 14; ++r) {
        for (int j = 0; j <= 3; ++j) {
            const double alpha = j * 30 * pi / 180;
            const PixelPoint a = spark_vertex(alpha, r, cx, cy);
            const PixelPoint b = spark_vertex(alpha + 2 * pi / 3, r, cx, cy);
            const PixelPoint c = spark_vertex(alpha - 2 * pi / 3, r, cx, cy);
            MoveTo(a.x, a.y);
            LineTo(b.x, b.y);
            LineTo(c.x, c.y);
            MoveTo(c.x, c.y);
            LineTo(a.x, a.y);
        }
    }
}

void draw_rod(const EngineFrame& f) {
    SetColor(NamedColor(LIGHT_RED_RGB));
    for (int i = 0; i < rod_rings; ++i) {
        const PixelPoint c = inner_ring_centre(f, i);
        Circle(c.x, c.y, 10);
    }
    SetColor(NamedColor(RED_RGB));
    for (int i = 0; i < rod_rings; ++i) {
        const PixelPoint c = outer_ring_centre(f, i);
        Circle(c.x, c.y, 15);
    }
}

}  // namespace

void draw_engine(const EngineFrame& frame) {
    SetColor(NamedColor(WHITE_RGB));
    draw_crank_circle(frame);
    draw_cylinder(frame);
    draw_piston(frame);
    if (flame_burns(frame)) {
        SetColor(NamedColor(YELLOW_RGB));
        draw_flame(frame);
        if (spark_flashes(frame)) {
            SetColor(NamedColor(DARK_GREEN_RGB));
            draw_spark(frame);
        }
    }
    draw_rod(frame);
}

}  // namespace ic_engine
