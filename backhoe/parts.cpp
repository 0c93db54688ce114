// The eight parts, each drawn as a fixed list of links between model points
// and of pin circles, in its own placement, scale, colour and line style.
#include <span>

#include "graph.h"
#include "pixel.h"

#include "backhoe.h"

namespace backhoe {

namespace {

struct ScreenPoint {
    int16_t x, y;
};

// The one mapping from model units to pixels, for the current part: scaled
// about the model origin, which sits at (1.2 * offset x, GetMaxY - offset y);
// x (offset included) is stretched by 1.2, radii are not.
ScreenPoint to_screen(int i) {
    const int p = model.current_part;
    const double k = model.part_scale[p];
    const double x = (k * model.point_x[i] + model.part_offset_x[p]) * 1.2;
    const double y = GetMaxY() - (k * model.point_y[i] + model.part_offset_y[p]);
    return {to_pixel(x), to_pixel(y)};
}

uint16_t to_screen_radius(double r) {
    return to_radius(model.part_scale[model.current_part] * r);
}

struct Link {
    int from, to;
};

struct Pin {
    int point;
    double radius;
};

void begin_part(int part) {
    model.current_part = part;
    apply_part_style(part);
}

void draw_links(std::span<const Link> list) {
    for (const Link& l : list) draw_link(l.from, l.to);
}

void draw_pins(std::span<const Pin> list) {
    for (const Pin& p : list) draw_pin(p.point, p.radius);
}

// Each cylinder: a triangle at its base pin, a closed barrel and an open rod
// outline ending at its rod-end pin.
constexpr Link boom_cylinder_links[] = {
    {1, 2}, {1, 3}, {2, 3}, {3, 4}, {4, 9}, {9, 2}, {5, 6}, {6, 7}, {7, 8}};
constexpr Pin boom_cylinder_pins[] = {{10, 0.8}, {1, 0.8}};

constexpr Link boom_links[] = {
    {12, 13}, {13, 14}, {14, 15}, {15, 17}, {17, 19}, {19, 20}, {20, 12}};
constexpr Pin boom_pins[] = {{10, 1.5}, {18, 0.5}, {16, 1.5}, {11, 1.5}};

constexpr Link stick_cylinder_links[] = {
    {16, 21}, {16, 22}, {21, 22}, {22, 23}, {23, 29}, {29, 21}, {24, 25}, {25, 27}, {27, 28}};
constexpr Pin stick_cylinder_pins[] = {{16, 0.8}, {26, 0.8}};

constexpr Link stick_links[] = {{31, 30}, {30, 37}, {37, 35}, {35, 32}, {32, 31}};
constexpr Pin stick_pins[] = {{18, 1.5}, {26, 1}, {34, 1.5}, {33, 1.5}, {36, 0.5}};

constexpr Link bucket_cylinder_links[] = {
    {33, 38}, {33, 39}, {38, 39}, {39, 40}, {40, 46}, {46, 38}, {41, 42}, {42, 44}, {44, 45}};
constexpr Pin bucket_cylinder_pins[] = {{33, 0.8}, {43, 0.8}};

constexpr Link bucket_linkage_links[] = {
    {47, 50}, {50, 49}, {49, 48}, {48, 47}, {51, 52}, {52, 53}, {53, 55}, {55, 51}};
constexpr Pin bucket_linkage_pins[] = {{34, 0.8}, {54, 0.5}, {43, 0.5}};

constexpr Link bucket_links[] = {{56, 57}, {57, 58}, {58, 59}, {59, 60}, {60, 56}};
constexpr Pin bucket_pins[] = {{54, 1.5}, {36, 1.5}};

// Front and rear outline, base frame, the beam on its two posts, a small
// rectangle and an inner line.
constexpr Link body_links[] = {
    {1, 61},  {61, 62}, {62, 63}, {63, 67}, {64, 65}, {65, 66}, {66, 1},  {66, 71}, {71, 68},
    {68, 1},  {74, 75}, {70, 72}, {69, 73}, {80, 81}, {81, 82}, {82, 83}, {84, 85}, {85, 86}};
// With the beam 74-75 these close the track outline.
constexpr Link track_links[] = {{75, 76}, {76, 77}, {77, 78}, {78, 79}, {79, 74}};
// The axle frame, then each wheel as a hub and a tyre.
constexpr Link tyre_links[] = {{74, 78}, {78, 77}, {77, 75}};
constexpr Pin tyre_pins[] = {{79, 4}, {79, 8}, {76, 4}, {76, 8}};

void draw_boom_cylinder(int p) {
    begin_part(p);
    draw_links(boom_cylinder_links);
    draw_pins(boom_cylinder_pins);
}

void draw_boom(int p) {
    begin_part(p);
    draw_links(boom_links);
    draw_pins(boom_pins);
}

void draw_stick_cylinder(int p) {
    begin_part(p);
    draw_links(stick_cylinder_links);
    draw_pins(stick_cylinder_pins);
}

void draw_stick(int p) {
    begin_part(p);
    draw_links(stick_links);
    draw_pins(stick_pins);
}

void draw_bucket_cylinder(int p) {
    begin_part(p);
    draw_links(bucket_cylinder_links);
    draw_pins(bucket_cylinder_pins);
}

void draw_bucket_linkage(int p) {
    begin_part(p);
    draw_links(bucket_linkage_links);
    draw_pins(bucket_linkage_pins);
}

void draw_bucket(int p) {
    begin_part(p);
    draw_links(bucket_links);
    draw_pins(bucket_pins);
}

void draw_body(int p) {
    begin_part(p);
    draw_links(body_links);
    if (model.on_tyres == 0) {
        draw_links(track_links);
    } else {
        draw_links(tyre_links);
        draw_pins(tyre_pins);
    }
}

}  // namespace

void apply_part_style(int part) {
    SetLineStyle(model.part_line_type[part], 1, 0);
    SetColor(model.part_color[part]);
}

void draw_link(int i, int j) {
    const ScreenPoint a = to_screen(i);
    const ScreenPoint b = to_screen(j);
    Line(a.x, a.y, b.x, b.y);
}

void draw_pin(int i, double radius) {
    const ScreenPoint centre = to_screen(i);
    Circle(centre.x, centre.y, to_screen_radius(radius));
}

void draw_part(int part) {
    switch (part) {
    case BOOM_CYLINDER: draw_boom_cylinder(part); break;
    case BOOM: draw_boom(part); break;
    case STICK_CYLINDER: draw_stick_cylinder(part); break;
    case STICK: draw_stick(part); break;
    case BUCKET_CYLINDER: draw_bucket_cylinder(part); break;
    case BUCKET_LINKAGE: draw_bucket_linkage(part); break;
    case BUCKET: draw_bucket(part); break;
    case BODY: draw_body(part); break;
    default: break;
    }
}

void draw_all_parts() {
    for (int p = 1; p <= part_count; ++p) draw_part(p);
}

}  // namespace backhoe
