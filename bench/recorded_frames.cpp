#include "recorded_frames.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "gear_train.h"
#include "graph.h"
#include "graph_testing.h"
#include "ic_engine.h"

namespace {

// Calls that only steer the run: the window, pages and pacing. (Queries
// and key checks are traced with their result and skipped as such.)
bool steers_the_run(const std::string& name) {
    return name == "SetActivePage" || name == "SetVisualPage" || name == "Delay" ||
           name == "InitGraph" || name == "CloseGraph";
}

[[noreturn]] void unexpected(const std::string& line) {
    std::fprintf(stderr, "bench: a recorded frame holds a call it cannot replay: %s\n", line.c_str());
    std::exit(2);
}

// "Name(1, -2, 3)" to a call; false for the calls that draw nothing.
bool parse_call(const std::string& line, DrawCall& call) {
    if (line.find(") = ") != std::string::npos) return false;  // a query and its result
    const auto open = line.find('(');
    if (open == std::string::npos || line.back() != ')') unexpected(line);
    const std::string name = line.substr(0, open);
    if (steers_the_run(name)) return false;
    static const std::pair<const char*, DrawCall::Op> ops[] = {
        {"ClearDevice", DrawCall::ClearDevice}, {"SetColor", DrawCall::SetColor},
        {"SetBkColor", DrawCall::SetBkColor},   {"SetWriteMode", DrawCall::SetWriteMode},
        {"SetLineStyle", DrawCall::SetLineStyle}, {"SetFillStyle", DrawCall::SetFillStyle},
        {"MoveTo", DrawCall::MoveTo},           {"LineTo", DrawCall::LineTo},
        {"Line", DrawCall::Line},               {"Circle", DrawCall::Circle},
        {"Bar", DrawCall::Bar},
    };
    bool known = false;
    for (const auto& [op_name, op] : ops)
        if (name == op_name) {
            call.op = op;
            known = true;
        }
    if (!known) unexpected(line);
    int* const args[] = {&call.a, &call.b, &call.c, &call.d};
    const char* p = line.c_str() + open + 1;
    for (int i = 0; i < 4 && *p != ')'; ++i) {
        char* end = nullptr;
        *args[i] = static_cast<int>(std::strtol(p, &end, 10));
        if (end == p) unexpected(line);
        p = end;
        while (*p == ',' || *p == ' ') ++p;
    }
    return true;
}

// The frames of a headless run of `frames` frames: each starts where the
// program makes a page active for its next picture.
std::vector<Frame> record(void (*program)(), int frames) {
    graph_testing::Script script;
    script.trace = true;
    script.frames = frames;
    graph_testing::run(program, script);
    std::vector<Frame> recorded;
    for (const std::string& line : graph_testing::trace()) {
        if (line.rfind("SetActivePage(", 0) == 0) recorded.emplace_back();
        DrawCall call;
        if (!recorded.empty() && parse_call(line, call)) recorded.back().push_back(call);
    }
    return recorded;
}

}  // namespace

const Frame& gear_train_frame() {
    static const Frame frame = record(gear_train::run, 3).at(2);
    return frame;
}

const Frame& ic_engine_frame() {
    // The crank turns 0.005 rad a frame: 1300 frames hold one whole turn.
    static const Frame frame = [] {
        Frame heaviest;
        for (Frame& f : record(ic_engine::run, 1300))
            if (f.size() > heaviest.size()) heaviest = std::move(f);
        return heaviest;
    }();
    return frame;
}

void draw_on_platform(const Frame& frame, bool with_clear) {
    for (const DrawCall& c : frame) {
        switch (c.op) {
            case DrawCall::ClearDevice: if (with_clear) ClearDevice(); break;
            case DrawCall::SetColor: SetColor(c.a); break;
            case DrawCall::SetBkColor: SetBkColor(c.a); break;
            case DrawCall::SetWriteMode: SetWriteMode(c.a); break;
            case DrawCall::SetLineStyle: SetLineStyle(c.a, unsigned(c.b), c.c); break;
            case DrawCall::SetFillStyle: SetFillStyle(c.a, c.b); break;
            case DrawCall::MoveTo: MoveTo(int16_t(c.a), int16_t(c.b)); break;
            case DrawCall::LineTo: LineTo(int16_t(c.a), int16_t(c.b)); break;
            case DrawCall::Line: Line(int16_t(c.a), int16_t(c.b), int16_t(c.c), int16_t(c.d)); break;
            case DrawCall::Circle: Circle(int16_t(c.a), int16_t(c.b), uint16_t(c.c)); break;
            case DrawCall::Bar: Bar(int16_t(c.a), int16_t(c.b), int16_t(c.c), int16_t(c.d)); break;
        }
    }
}
