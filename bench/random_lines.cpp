#include "random_lines.h"

namespace {

// splitmix64: the same numbers with every compiler and library.
uint64_t next_random(uint64_t& seed) {
    uint64_t z = (seed += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int16_t in_range(uint64_t& seed, int lo, int hi) {
    return int16_t(lo + int(next_random(seed) % uint64_t(hi - lo + 1)));
}

}  // namespace

std::vector<LineEnds> random_lines(int count) {
    constexpr int width = 800, height = 600;
    uint64_t seed = 2024;
    std::vector<LineEnds> lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const bool whole_range = i % 10 == 0;
        const int x_lo = whole_range ? -32768 : -2 * width, x_hi = whole_range ? 32767 : 3 * width;
        const int y_lo = whole_range ? -32768 : -2 * height, y_hi = whole_range ? 32767 : 3 * height;
        LineEnds l;
        l.x1 = in_range(seed, x_lo, x_hi);
        l.y1 = in_range(seed, y_lo, y_hi);
        l.x2 = in_range(seed, x_lo, x_hi);
        l.y2 = in_range(seed, y_lo, y_hi);
        lines.push_back(l);
    }
    return lines;
}
