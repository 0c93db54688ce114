// The same drawing done with SDL2's software renderer on a plain surface of
// 8 or 32 bits a pixel: what a program written straight on SDL would do.
#pragma once

#include <SDL.h>

#include <vector>

#include "random_lines.h"
#include "recorded_frames.h"

class SdlCanvas {
public:
    // A width x height surface of `bits` (8: palette indices through the
    // platform's palette; 32: XRGB) under a software renderer.
    SdlCanvas(int width, int height, int bits);
    ~SdlCanvas();
    SdlCanvas(const SdlCanvas&) = delete;
    SdlCanvas& operator=(const SdlCanvas&) = delete;

    // Draws the frame as a program written on SDL would: each line one
    // SDL_RenderDrawLine, or with `polylines` each MoveTo/LineTo chain one
    // SDL_RenderDrawLines; circles as their outline points (SDL has no
    // circle). Then flushes SDL's command queue so the pixels are there.
    void draw(const Frame& frame, bool with_clear, bool polylines = false);
    // One SDL_RenderDrawLine per line, then a flush.
    void draw_lines(const std::vector<LineEnds>& lines, int colour);

private:
    void set_colour(int colour);
    void flush_polyline();
    void add_circle(int x, int y, int radius);

    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::vector<SDL_Point> polyline_;
    std::vector<SDL_Point> points_;
    int background_ = 0;
    int colour_ = 15;
    int fill_colour_ = 15;
    SDL_Point position_{0, 0};
};
