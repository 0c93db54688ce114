// Presenting a page: its palette indices expanded into 32-bit pixels, the
// one step of presenting that touches every pixel.
#pragma once

#include <cstdint>

// Writes `width` x `height` pixels: each index of `pixels` (rows of `width`
// bytes) becomes its entry of `table`. Rows of `target` are `pitch` bytes
// apart.
void expand_through_palette(const uint8_t* pixels, int width, int height, const uint32_t* table,
                            void* target, int pitch);
