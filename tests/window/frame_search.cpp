// frame_search: runs an animation on the headless backend and tells at which
// frames its visual page looks exactly like each of the given pictures. The
// window tests use it to place a capture of a running animation in the
// program's own sequence of frames.
//
//   frame_search PROGRAM --frames N [--keys "TOKENS"] IMAGE.ppm...
//
// Prints one line per match, "IMAGE-INDEX FRAME" (index from 0, frame as the
// platform counts shown pages, from 1). The keys are queued at the start.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "gear_train.h"
#include "graph_testing.h"
#include "ic_engine.h"
#include "jointed_arm.h"

namespace {

struct Program {
    const char* name;
    void (*run)();
};

const Program programs[] = {
    {"gear_train", gear_train::run},
    {"ic_engine", ic_engine::run},
    {"jointed_arm", jointed_arm::run},
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// Binary PPM (P6) with 255 as the largest value, as the tests write it.
bool read_ppm(const char* path, Image& image) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int largest = 0;
    in >> magic >> image.width >> image.height >> largest;
    in.get();
    if (!in || magic != "P6" || largest != 255 || image.width <= 0 || image.height <= 0) return false;
    image.rgb.resize(size_t(image.width) * image.height * 3);
    in.read(reinterpret_cast<char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
    return bool(in);
}

bool shows(const Image& image) {
    const int width = graph_testing::width();
    const int height = graph_testing::height();
    if (image.width != width || image.height != height) return false;
    uint32_t palette[256];
    for (int i = 0; i < 256; ++i) palette[i] = graph_testing::palette_rgb(i);
    const auto& page = graph_testing::page(graph_testing::visual_page());
    const uint8_t* rgb = image.rgb.data();
    for (size_t i = 0; i < page.size(); ++i, rgb += 3) {
        const uint32_t colour = palette[page[i]];
        if (rgb[0] != ((colour >> 16) & 0xFF) || rgb[1] != ((colour >> 8) & 0xFF) || rgb[2] != (colour & 0xFF))
            return false;
    }
    return true;
}

int usage() {
    std::fprintf(stderr, "usage: frame_search PROGRAM --frames N [--keys \"TOKENS\"] IMAGE.ppm...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const Program* program = nullptr;
    for (const auto& p : programs)
        if (std::strcmp(p.name, argv[1]) == 0) program = &p;
    if (program == nullptr) return usage();

    graph_testing::Script script;
    std::vector<Image> images;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            script.frames = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--keys") == 0 && i + 1 < argc) {
            try {
                script.tokens(argv[++i], 0);
            } catch (const std::invalid_argument& bad) {
                std::fprintf(stderr, "frame_search: %s\n", bad.what());
                return 2;
            }
        } else {
            images.emplace_back();
            if (!read_ppm(argv[i], images.back())) {
                std::fprintf(stderr, "frame_search: cannot read %s\n", argv[i]);
                return 1;
            }
        }
    }
    if (script.frames < 1 || images.empty()) return usage();

    graph_testing::Hooks hooks;
    hooks.on_frame = [&](int frame) {
        for (size_t i = 0; i < images.size(); ++i)
            if (shows(images[i])) std::printf("%zu %d\n", i, frame);
    };
    graph_testing::run_with(program->run, script, hooks);
    return 0;
}
