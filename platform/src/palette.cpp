// The 256-entry palette of driver 3.
#include <array>

#include "core.h"

namespace platform_core {
namespace {

constexpr uint32_t rgb(int red, int green, int blue) {
    return (uint32_t(red) << 16) | (uint32_t(green) << 8) | uint32_t(blue);
}

// Entries 16..255 of the standard 256-colour palette of VGA-compatible
// adapters, in 6-bit values: 16 greys; then three intensities, each with
// three saturations of a ring of 24 hues running blue, magenta, red, yellow,
// green, cyan and back towards blue; then 8 black.
std::array<uint32_t, 256> build_palette() {
    std::array<uint32_t, 256> p{};
    // The first sixteen as the programs know them (entry 9 is (132, 132, 252)).
    const uint32_t first[16] = {
        rgb(0, 0, 0),       rgb(0, 0, 168),     rgb(0, 168, 0),     rgb(0, 168, 168),
        rgb(168, 0, 0),     rgb(168, 0, 168),   rgb(168, 84, 0),    rgb(168, 168, 168),
        rgb(84, 84, 84),    rgb(132, 132, 252), rgb(84, 252, 84),   rgb(84, 252, 252),
        rgb(252, 84, 84),   rgb(252, 84, 252),  rgb(252, 252, 84),  rgb(252, 252, 252)};
    for (int i = 0; i < 16; ++i) p[i] = first[i];

    const int greys[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
    int n = 16;
    for (int g : greys) p[n++] = rgb(g * 4, g * 4, g * 4);

    // Five levels from the ring's low to its high value, per intensity and
    // saturation.
    const int levels[9][5] = {
        {0, 16, 31, 47, 63}, {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
        {0, 7, 14, 21, 28},  {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
        {0, 4, 8, 12, 16},   {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16}};
    for (const auto& v : levels) {
        const int lo = v[0], hi = v[4];
        auto put = [&](int r, int g, int b) { p[n++] = rgb(r * 4, g * 4, b * 4); };
        for (int i = 0; i <= 4; ++i) put(v[i], lo, hi);  // blue to magenta
        for (int i = 3; i >= 0; --i) put(hi, lo, v[i]);  // to red
        for (int i = 1; i <= 4; ++i) put(hi, v[i], lo);  // to yellow
        for (int i = 3; i >= 0; --i) put(v[i], hi, lo);  // to green
        for (int i = 1; i <= 4; ++i) put(lo, hi, v[i]);  // to cyan
        for (int i = 3; i >= 1; --i) put(lo, v[i], hi);  // back towards blue
    }
    // The remaining eight stay black.
    return p;
}

const std::array<uint32_t, 256> palette = build_palette();

}  // namespace

const uint32_t* default_palette() { return palette.data(); }

int nearest_entry(const uint32_t* entries, int red, int green, int blue) {
    int best = 0;
    long best_distance = -1;
    for (int i = 0; i < 256; ++i) {
        const long dr = long((entries[i] >> 16) & 0xFF) - red;
        const long dg = long((entries[i] >> 8) & 0xFF) - green;
        const long db = long(entries[i] & 0xFF) - blue;
        const long distance = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return best;
}

}  // namespace platform_core
