// Random lines over an 800 x 600 page, many of them reaching far beyond it.
#pragma once

#include <cstdint>
#include <vector>

struct LineEnds {
    int16_t x1, y1, x2, y2;
};

// The same `count` lines on every run: most ends lie within two page sizes
// of the page, one line in ten spans the whole 16-bit range.
std::vector<LineEnds> random_lines(int count);
