// A page: plain memory, one byte (a palette index) per pixel, row after row.
#pragma once

#include <cstdint>

struct Page {
    int width = 0;
    int height = 0;
    uint8_t* pixels = nullptr;  // width * height bytes, owned elsewhere

    uint8_t& at(int x, int y) { return pixels[y * width + x]; }
    uint8_t at(int x, int y) const { return pixels[y * width + x]; }
};

// The rectangle drawing may touch, in page coordinates, both corners
// included. It always lies inside the page.
struct ClipRect {
    int x1 = 0, y1 = 0, x2 = -1, y2 = -1;
    bool contains(int x, int y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
};
