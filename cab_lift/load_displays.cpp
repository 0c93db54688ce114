// Masses panel and force/pressure graph. Both draw in copy mode over the
// device; each number is wiped with a black bar before it is written again.
#include "load_displays.h"

#include <cstdio>

#include "graph.h"
#include "pixel.h"
#include "state.h"

namespace cab_lift {

namespace {

// A value of the graph: fixed point, 3 decimals, right-aligned in 9 places.
void write_graph_value(int16_t x, int16_t y, double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%9.3f", value);
    OutTextXY(x, y, text);
}

// Wipes the old number with a black bar and writes the new one in yellow.
void write_mass(int16_t bar_top, int32_t mass) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", mass);
    Bar(480, bar_top, 550, bar_top + 30);
    SetColor(YELLOW);
    OutTextXY(520, bar_top, text);
}

}  // namespace

void show_masses() {
    SetTextStyle(0, 0, 2);
    SetFillStyle(SOLID_FILL, BLACK);
    SetWriteMode(COPY_PUT);
    SetColor(LIGHTGREEN);
    OutTextXY(480, 350, "MASA TALERULUI:");
    OutTextXY(480, 400, "MASA OMULUI:");
    write_mass(370, state.platform_mass);
    write_mass(420, state.man_mass);
}

void draw_graph() {
    // The horizontal axis lies at half the height; m is kept exact for the
    // curves, mi is its pixel row.
    const double m = GetMaxY() / 2.0;
    const int16_t mi = to_pixel(m);
    const int16_t right = GetMaxX();

    SetWriteMode(COPY_PUT);
    SetColor(LIGHTBLUE);
    Line(10, 0, 10, mi);
    Line(10, mi, right, mi);
    Line(10, 0, 20, 20);
    Line(10, 0, 0, 20);
    Line(right, mi, right - 20, mi + 20);
    Line(right, mi, right - 20, mi - 20);

    SetTextStyle(0, 0, 2);
    SetWriteMode(COPY_PUT);
    SetColor(LIGHTGREEN);
    OutTextXY(30, 20, "Forta [N]");
    SetColor(LIGHTRED);
    OutTextXY(30, 40, "Presiunea [Barr]");
    SetColor(LIGHTCYAN);
    OutTextXY(480, 250, "Cursa [mm]");
    SetTextStyle(0, 0, 2);
    SetFillStyle(SOLID_FILL, BLACK);

    // 12 pixels per 10 mm of stroke; 60 N and 2/3 bar per pixel of height.
    state.graph_x = (state.piston_stroke - 87) * 1.2 + 10;
    state.graph_force = state.piston_force / 60;
    state.graph_pressure = state.piston_pressure * 1.5;
    const int16_t cx = to_pixel(state.graph_x + 10);
    const int16_t px = to_pixel(state.graph_prev_x + 10);

    // Each curve's newest segment, then its value just above the axis,
    // following the curve's newest end.
    SetColor(LIGHTGREEN);
    Line(px, to_pixel(m - state.graph_prev_force), cx, to_pixel(m - state.graph_force));
    Bar(px + 3, mi - 55, cx + 100, mi - 40);
    write_graph_value(cx + 7, mi - 55, state.piston_force);

    SetColor(LIGHTRED);
    Line(px, to_pixel(m - state.graph_prev_pressure), cx, to_pixel(m - state.graph_pressure));
    Bar(px + 4, mi - 39, cx + 120, mi - 20);
    write_graph_value(cx + 7, mi - 39, state.piston_pressure);

    SetColor(LIGHTCYAN);
    Bar(px + 2, mi - 19, cx + 90, mi - 1);
    write_graph_value(cx + 3, mi - 19, state.piston_stroke);
}

}  // namespace cab_lift
