// Raster primitives over one page: pure functions of memory, no state and no
// I/O. Coordinates are page coordinates (the viewport offset already added),
// 32-bit so that a 16-bit coordinate plus an offset never wraps; everything
// outside `clip` is left untouched.
#pragma once

#include <cstdint>

#include "page.h"

// How a line or an outline is drawn.
struct Pen {
    uint8_t colour = 15;
    bool exclusive_or = false;  // pixel ^= colour instead of pixel = colour
    // 16-bit on/off pattern, the most significant bit first, restarted at
    // each line; 0 draws nothing, 0xFFFF is solid.
    uint16_t pattern = 0xFFFF;
    int thickness = 1;  // pen width in pixels; 0 and 1 both draw 1-pixel lines
};

// The 16-bit patterns of line styles 0 to 4 (solid, dotted, dash-dot, dashed,
// dash-dot-dot).
uint16_t line_style_pattern(int style);

// A line from (x1, y1) to (x2, y2). Every pixel of the line except the end
// point is drawn with the pen (pattern and exclusive-or); the end point is
// then set to the pen colour by a plain set when thickness is exactly 1, and
// not drawn at all otherwise. A line whose ends coincide is a single point
// treated as the end point.
void raster_line(Page& page, const ClipRect& clip, int x1, int y1, int x2, int y2, const Pen& pen);

// The outline of the circle of centre (x, y) and the given radius; each pixel
// of the outline is touched exactly once, so exclusive-or twice restores the
// page. Radius 0 is the centre pixel.
void raster_circle(Page& page, const ClipRect& clip, int x, int y, unsigned radius, const Pen& pen);

// Fills the rectangle (both corners included, either order): `pattern` 0
// solid background, 1 solid colour, 2..7 hatchings in colour over background,
// 9 (and any other) nothing. Always a plain copy.
void raster_bar(Page& page, const ClipRect& clip, int x1, int y1, int x2, int y2, int pattern,
                uint8_t colour, uint8_t background);
