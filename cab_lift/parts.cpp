// Outlines of the six parts: each part is a list of links followed by joint
// markers (diamonds) on its pivots, sized in model millimetres.
#include "parts.h"

#include <cstddef>

#include "graph.h"
#include "pixel.h"
#include "state.h"

namespace cab_lift {

namespace {

struct Link {
    int a, b;
};

struct Joint {
    int point, size;
};

template <std::size_t L, std::size_t J>
void draw_outline(const Link (&links)[L], const Joint (&joints)[J]) {
    for (const Link& l : links) draw_link(l.a, l.b);
    for (const Joint& j : joints) draw_joint(j.point, j.size);
}

void draw_fixed_part() {
    constexpr Link links[] = {
        {46, 45}, {45, 52}, {52, 53}, {53, 54}, {54, 55}, {55, 50}, {50, 51}, {51, 19}, {19, 18},
        {18, 34}, {34, 17}, {17, 16}, {16, 15}, {15, 32}, {32, 14}, {14, 19}, {14, 49}, {49, 48},
        {48, 47}, {49, 41}, {47, 44}, {47, 46}, {40, 39}, {39, 51}, {43, 42}, {42, 55},
    };
    constexpr Joint joints[] = {{1, 20}, {13, 20}, {11, 20}, {12, 20}};
    draw_outline(links, joints);
}

void draw_piston() {
    constexpr Link links[] = {{3, 5}, {5, 4}, {4, 2}, {38, 37}, {6, 8}, {7, 9}, {8, 9}, {2, 3}};
    constexpr Joint joints[] = {{1, 49}, {10, 49}};
    draw_outline(links, joints);
}

void draw_mobile_part() {
    constexpr Link links[] = {
        {21, 22}, {22, 33}, {33, 23}, {23, 24}, {24, 25}, {25, 26}, {26, 27},
        {27, 28}, {28, 29}, {29, 30}, {30, 31}, {31, 20}, {20, 21},
    };
    constexpr Joint joints[] = {{12, 23}, {10, 23}, {35, 23}};
    draw_outline(links, joints);
}

void draw_bars() {
    constexpr Link links[] = {
        {56, 57}, {57, 58}, {58, 59}, {59, 56}, {64, 65}, {65, 66}, {66, 67},
        {67, 64}, {72, 73}, {73, 74}, {74, 75}, {75, 72}, {60, 63}, {63, 62},
        {62, 61}, {61, 60}, {68, 69}, {69, 70}, {70, 71}, {71, 68},
    };
    constexpr Joint joints[] = {{77, 15}, {36, 15}, {76, 15}, {13, 15},
                                {11, 15}, {78, 15}, {35, 15}, {90, 15}};
    draw_outline(links, joints);
}

void draw_platform() {
    constexpr Link links[] = {
        {79, 80}, {80, 81}, {81, 82}, {82, 83}, {83, 84}, {84, 85},
        {85, 86}, {86, 87}, {87, 88}, {88, 89}, {89, 79}, {82, 87},
    };
    constexpr Joint joints[] = {{35, 20}, {78, 20}};
    draw_outline(links, joints);
}

// The man is one closed polygon with a diamond for his head; the centre of
// gravity of man and platform goes with him, always in light grey.
void draw_man() {
    constexpr Link links[] = {{91, 92}, {92, 93}, {93, 94}, {94, 95},
                              {95, 96}, {96, 97}, {97, 98}, {98, 91}};
    constexpr Joint head[] = {{94, 100}};
    draw_outline(links, head);
    SetColor(LIGHTGRAY);
    draw_joint(99, 30);
}

}  // namespace

Pixel screen_point(double x, double y, int part) {
    const double scale = state.part_scale[part];
    return {to_pixel(x / scale + state.part_offset_x[part]),
            to_pixel(state.screen_max_y - (y / scale + state.part_offset_y[part]))};
}

void apply_part_style(int part) {
    SetLineStyle(state.part_line_type[part], 1, 0);
    SetColor(state.part_color[part]);
    SetWriteMode(XOR_PUT);
}

void draw_link(int a, int b) {
    const int set = state.current_set;
    const Pixel from = screen_point(state.point_x[set][a], state.point_y[set][a], state.current_part);
    const Pixel to = screen_point(state.point_x[set][b], state.point_y[set][b], state.current_part);
    Line(from.x, from.y, to.x, to.y);
}

void draw_joint(int point, int size) {
    const int set = state.current_set;
    const Pixel c = screen_point(state.point_x[set][point], state.point_y[set][point], state.current_part);
    const int h = to_pixel(double(size) / state.part_scale[state.current_part]);
    // Corners of the diamond, saturated like any other coordinate.
    const int16_t left = to_pixel(c.x - h), right = to_pixel(c.x + h);
    const int16_t top = to_pixel(c.y - h), bottom = to_pixel(c.y + h);
    Line(c.x, bottom, right, c.y);
    Line(right, c.y, c.x, top);
    Line(c.x, top, left, c.y);
    Line(left, c.y, c.x, bottom);
}

void draw_part(int set, int part) {
    if (part < 1 || part > part_count) return;
    state.current_set = set;
    state.current_part = part;
    apply_part_style(part);
    switch (part) {
        case 1: draw_fixed_part(); break;
        case 2: draw_piston(); break;
        case 3: draw_mobile_part(); break;
        case 4: draw_bars(); break;
        case 5: draw_platform(); break;
        case 6: draw_man(); break;
    }
}

void draw_all_parts() {
    for (int part = 1; part <= part_count; ++part) draw_part(1, part);
}

}  // namespace cab_lift
