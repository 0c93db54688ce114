// Frames of the animations as the list of platform calls that draw them,
// recorded once from the program's own run (headless, trace on), so the same
// frame can be drawn again and again through the platform or through SDL.
#pragma once

#include <cstdint>
#include <vector>

struct DrawCall {
    enum Op : uint8_t {
        ClearDevice, SetColor, SetBkColor, SetWriteMode, SetLineStyle, SetFillStyle,
        MoveTo, LineTo, Line, Circle, Bar
    };
    Op op;
    int a = 0, b = 0, c = 0, d = 0;
};

using Frame = std::vector<DrawCall>;

// One frame of gear_train, drawn while the gears turn (all frames cost the same).
const Frame& gear_train_frame();
// The ic_engine frame with the most drawing calls in one turn of the crank:
// flame, spark and all.
const Frame& ic_engine_frame();

// Draws the frame through the platform on its active page; without the
// clear when `with_clear` is false.
void draw_on_platform(const Frame& frame, bool with_clear);
