// keyprobe: opens an 800 x 600 window and prints every code ReadKey returns,
// one a line, so the window tests can check what real key presses give.
//
//   keyprobe [--count N] [--windows K] [--pause MS]
//
// Reads N codes, or (without --count) until two ESC codes in a row, then
// closes the window and prints "closed". With --windows it does so K times,
// half a second apart, each time in a new window of the same process. With
// --pause it waits MS milliseconds (Delay) after each code, so that a flood
// of keys fills the key queue.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "graph.h"

namespace {

void probe(long count, int pause_ms) {
    InitGraph(DRIVER_256, MODE_800x600, "KEYPROBE");
    int previous = -1;
    for (long read = 0; count < 0 || read < count; ++read) {
        const int code = ReadKey();
        std::printf("%d\n", code);
        std::fflush(stdout);
        if (pause_ms > 0) Delay(pause_ms);
        if (count < 0 && code == 27 && previous == 27) break;
        previous = code;
    }
    CloseGraph();
    std::printf("closed\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    long count = -1;
    long windows = 1;
    int pause_ms = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--count") == 0 && i + 1 < argc) {
            count = std::strtol(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--windows") == 0 && i + 1 < argc) {
            windows = std::strtol(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--pause") == 0 && i + 1 < argc) {
            pause_ms = static_cast<int>(std::strtol(argv[++i], nullptr, 10));
        } else {
            std::fprintf(stderr, "usage: keyprobe [--count N] [--windows K] [--pause MS]\n");
            return 2;
        }
    }
    for (long window = 0; window < windows; ++window) {
        if (window > 0) std::this_thread::sleep_for(std::chrono::milliseconds(500));
        probe(count, pause_ms);
    }
    return 0;
}
