// snapshot: renders what a program shows into an image with the headless
// backend, so pictures come from the programs' own code.
//
//   snapshot PROGRAM [--keys "TOKENS"] [--frames N] [--mouse X,Y] [--trace FILE]
//            [--icon SIZE] -o OUT.png
//
// A key-driven program runs until it would wait for a key after the last
// scripted key; an animation runs N frames (default 1) with the keys queued at
// the start. The image is the visual page through the palette: binary PPM
// when OUT ends in ".ppm", PNG otherwise. With --icon it is a SIZE x SIZE
// PNG of the square around the drawing, on black (the installed icons).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

#include "backhoe.h"
#include "cab_lift.h"
#include "gear_train.h"
#include "graph_testing.h"
#include "ic_engine.h"
#include "icon.h"
#include "jointed_arm.h"
#include "loco_drive.h"

namespace {

struct Program {
    const char* name;
    void (*run)();
    bool animation;
};

const Program programs[] = {
    {"cab_lift", cab_lift::run, false},     {"backhoe", backhoe::run, false},
    {"ic_engine", ic_engine::run, true},    {"loco_drive", loco_drive::run, false},
    {"jointed_arm", jointed_arm::run, true}, {"gear_train", gear_train::run, true},
};

int usage() {
    std::fprintf(stderr,
                 "usage: snapshot PROGRAM [--keys \"TOKENS\"] [--frames N] [--mouse X,Y] "
                 "[--trace FILE] [--icon SIZE] -o OUT.png\nprograms:");
    for (const auto& p : programs) std::fprintf(stderr, " %s", p.name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const Program* program = nullptr;
    for (const auto& p : programs)
        if (std::strcmp(p.name, argv[1]) == 0) program = &p;
    if (!program) return usage();

    std::string keys, out, trace_file;
    int frames = 1;
    int icon_size = 0;
    bool mouse = false;
    int mouse_x = 0, mouse_y = 0;
    try {
        for (int i = 2; i < argc; ++i) {
            const std::string arg = argv[i];
            if (i + 1 >= argc) return usage();
            const std::string value = argv[++i];
            if (arg == "--keys") {
                keys = value;
            } else if (arg == "--frames") {
                frames = std::stoi(value);
            } else if (arg == "--mouse") {
                const auto comma = value.find(',');
                if (comma == std::string::npos) return usage();
                mouse_x = std::stoi(value.substr(0, comma));
                mouse_y = std::stoi(value.substr(comma + 1));
                mouse = true;
            } else if (arg == "--icon") {
                icon_size = std::stoi(value);
                if (icon_size < 1 || icon_size > 4096) return usage();
            } else if (arg == "--trace") {
                trace_file = value;
            } else if (arg == "-o") {
                out = value;
            } else {
                return usage();
            }
        }
    } catch (const std::logic_error&) {
        return usage();
    }
    if (out.empty() || frames < 0) return usage();

    graph_testing::Script script;
    try {
        script.tokens(keys, program->animation ? 0 : graph_testing::on_read);
    } catch (const std::invalid_argument& bad) {
        std::fprintf(stderr, "snapshot: %s\n", bad.what());
        return 2;
    }
    if (mouse) script.mouse_at(mouse_x, mouse_y, 0);
    if (program->animation) script.frames = frames;
    script.trace = !trace_file.empty();

    graph_testing::run(program->run, script);

    if (!trace_file.empty()) {
        std::ofstream trace(trace_file);
        for (const auto& line : graph_testing::trace()) trace << line << '\n';
        if (!trace) {
            std::fprintf(stderr, "snapshot: cannot write %s\n", trace_file.c_str());
            return 1;
        }
    }
    const bool written = icon_size > 0
                             ? write_icon(out, icon_size)
                             : graph_testing::write_image(out, graph_testing::visual_page());
    if (!written) {
        std::fprintf(stderr, "snapshot: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
