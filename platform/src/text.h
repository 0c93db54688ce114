// Text: glyphs of the four embedded fonts rasterised by FreeType in
// monochrome and copied onto a page in one colour, without a background box.
#pragma once

#include <cstdint>

#include "page.h"

// The pixel height of the character cell for a SetTextStyle size: 1..5 give
// 8 x size, 6 or more the size itself (at most 2048), 0 or less the default
// of 16.
int text_cell_height(int size);

// Draws `text` (single-byte Latin-1) with the top-left corner of its first
// character cell at (x, y) in font 0..3 with the given cell height. Returns
// the advance in pixels: the distance from x to the right end of the text.
int draw_text(Page& page, const ClipRect& clip, int x, int y, const char* text, int font,
              int cell_height, uint8_t colour);

// The advance of `text` without drawing it.
int text_width(const char* text, int font, int cell_height);
