#include "loco_testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "loco_drive.h"

namespace loco_test {

Ending run_keys(const std::string& tokens) { return run_keys(tokens, graph_testing::Hooks{}); }

Ending run_keys(const std::string& tokens, const graph_testing::Hooks& hooks) {
    graph_testing::Script script;
    script.tokens(tokens);
    script.trace = true;
    return graph_testing::run_with(loco_drive::run, script, hooks);
}

int pages_shown() {
    const auto& trace = graph_testing::trace();
    return int(std::count_if(trace.begin(), trace.end(),
                             [](const std::string& call) { return call.rfind("SetVisualPage(", 0) == 0; }));
}

std::vector<std::string> last_drawing() {
    const auto& trace = graph_testing::trace();
    size_t begin = trace.size();
    while (begin > 0 && trace[begin - 1] != "ClearDevice()" && trace[begin - 1] != "ClearViewPort()") --begin;
    std::vector<std::string> calls;
    for (size_t i = begin; i < trace.size(); ++i) {
        if (trace[i].rfind("SetVisualPage(", 0) == 0 || trace[i].rfind("ReadKey(", 0) == 0) break;
        if (trace[i].rfind("GetMaxY(", 0) != 0) calls.push_back(trace[i]);
    }
    return calls;
}

std::vector<uint8_t> shown_page() { return graph_testing::page(graph_testing::visual_page()); }

const std::vector<uint8_t>& start_page() {
    static const std::vector<uint8_t> picture = [] {
        run_keys("");
        return shown_page();
    }();
    return picture;
}

namespace {

// Elements in drawing order: a line between two points, or a circle around
// one (second number 0).
struct Element {
    int from, to;
};
constexpr Element elements[] = {
    {2, 3}, {3, 4}, {4, 5}, {2, 5}, {6, 10}, {10, 9}, {9, 8}, {1, 0}, {11, 0},
    {12, 0}, {12, 0}, {12, 13}, {12, 14}, {12, 15}, {12, 16}, {12, 17}, {12, 18},
};

std::string line_call(Pixel a, Pixel b) {
    return "Line(" + std::to_string(a.x) + ", " + std::to_string(a.y) + ", " + std::to_string(b.x) + ", " +
           std::to_string(b.y) + ")";
}

std::string circle_call(Pixel c, int r) {
    return "Circle(" + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " + std::to_string(r) + ")";
}

}  // namespace

DrawnGear drawn_gear() {
    DrawnGear gear;
    std::vector<std::string> shapes;
    for (const std::string& call : last_drawing())
        if (call.rfind("Line(", 0) == 0 || call.rfind("Circle(", 0) == 0) shapes.push_back(call);
    EXPECT_EQ(shapes.size(), std::size(elements)) << "elements drawn in the newest frame";
    if (shapes.size() != std::size(elements)) return gear;
    auto place = [&](int point, Pixel at, const std::string& call) {
        if (gear.point[point] != Pixel{}) {
            EXPECT_EQ(gear.point[point], at) << "P" << point << " drawn at two places, last by " << call;
        }
        gear.point[point] = at;
    };
    int circle = 0;
    for (size_t i = 0; i < shapes.size(); ++i) {
        const Element e = elements[i];
        Pixel a, b;
        int r = 0;
        if (e.to != 0) {
            EXPECT_EQ(std::sscanf(shapes[i].c_str(), "Line(%d, %d, %d, %d)", &a.x, &a.y, &b.x, &b.y), 4) << shapes[i];
            place(e.from, a, shapes[i]);
            place(e.to, b, shapes[i]);
        } else {
            EXPECT_EQ(std::sscanf(shapes[i].c_str(), "Circle(%d, %d, %d)", &a.x, &a.y, &r), 3) << shapes[i];
            place(e.from, a, shapes[i]);
            gear.radius[circle++] = r;
        }
    }
    return gear;
}

std::vector<std::string> expected_frame(const std::array<Pixel, 19>& point, const std::array<int, 4>& radius,
                                        int color1, int color2, int style1, int style2) {
    std::vector<std::string> calls;
    auto style = [&](int line_style, int color) {
        calls.push_back("SetLineStyle(" + std::to_string(line_style) + ", 1, 0)");
        calls.push_back("SetColor(" + std::to_string(color) + ")");
    };
    int circle = 0;
    style(style1, color1);
    for (const Element& e : elements) {
        if (e.from == 12 && circle == 2) style(style2, color2);
        if (e.to != 0)
            calls.push_back(line_call(point[e.from], point[e.to]));
        else
            calls.push_back(circle_call(point[e.from], radius[circle++]));
    }
    return calls;
}

std::array<Pixel, 19> start_pixels() {
    std::array<Pixel, 19> p;
    p[1] = {240, 419};
    p[2] = {240, 414};
    p[3] = {240, 424};
    p[4] = {336, 424};
    p[5] = {336, 414};
    p[6] = {336, 416};  // height 416.5, to even
    p[8] = {336, 422};  // height 421.5, to even
    p[9] = {540, 422};
    p[10] = {540, 416};
    p[11] = {540, 419};
    p[12] = {480, 419};
    p[13] = {534, 419};
    p[14] = {507, 380};
    p[15] = {453, 380};
    p[16] = {426, 419};
    p[17] = {453, 458};
    p[18] = {507, 458};
    return p;
}

}  // namespace loco_test
