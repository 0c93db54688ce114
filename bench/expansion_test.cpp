// Presenting expands the page through the palette block by block, filling
// blocks of one colour at once: every pixel must come out exactly as its own
// table entry, whatever the width, the pitch and the runs of equal indices.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "palette_expand.h"

namespace {

struct PageCase {
    const char* name;
    int width;
    int height;
    // The index of pixel (x, y).
    uint8_t (*index)(int x, int y);
};

uint8_t noise(int x, int y) { return uint8_t((x * 2654435761u + y * 40503u) >> 13); }
// Runs of one colour that start and end anywhere inside a 16-pixel block.
uint8_t runs(int x, int y) { return uint8_t((x + 3 * y) / 7 % 3); }
// Equal blocks but for one pixel at a changing place, the last one included.
uint8_t one_off(int x, int y) { return x % 16 == (y + 15) % 16 ? 9 : 200; }

const PageCase page_cases[] = {
    {"uniform_800", 800, 6, [](int, int) -> uint8_t { return 102; }},
    {"noise_800", 800, 6, noise},
    {"runs_800", 800, 6, runs},
    {"one_off_800", 800, 32, one_off},
    {"runs_width_1", 1, 4, runs},
    {"runs_width_15", 15, 4, runs},
    {"one_off_width_16", 16, 16, one_off},
    {"runs_width_17", 17, 4, runs},
    {"one_off_width_47", 47, 16, one_off},
};

class Expansion : public testing::TestWithParam<PageCase> {};

void PrintTo(const PageCase& c, std::ostream* out) { *out << c.name; }

TEST_P(Expansion, EveryPixelIsItsTableEntryAndThePaddingIsLeftAlone) {
    const PageCase& c = GetParam();
    uint32_t table[256];
    for (int i = 0; i < 256; ++i) table[i] = 0x00010203u * uint32_t(i) ^ 0x00A5C3E1u;
    std::vector<uint8_t> pixels(size_t(c.width) * c.height);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) pixels[size_t(y) * c.width + x] = c.index(x, y);
    // Rows with padding after them, which must keep its bytes.
    const int pitch = c.width * 4 + 12;
    std::vector<uint8_t> target(size_t(pitch) * c.height, 0xEE);
    expand_through_palette(pixels.data(), c.width, c.height, table, target.data(), pitch);
    for (int y = 0; y < c.height; ++y) {
        const uint8_t* row = target.data() + size_t(y) * pitch;
        for (int x = 0; x < c.width; ++x) {
            uint32_t pixel;
            std::memcpy(&pixel, row + 4 * x, 4);
            ASSERT_EQ(pixel, table[c.index(x, y)]) << "pixel (" << x << ", " << y << ")";
        }
        for (int b = c.width * 4; b < pitch; ++b) ASSERT_EQ(row[b], 0xEE) << "padding of row " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, Expansion, testing::ValuesIn(page_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
