#include "sdl_drawing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core.h"

namespace {

[[noreturn]] void sdl_failed(const char* what) {
    std::fprintf(stderr, "bench: %s: %s\n", what, SDL_GetError());
    std::exit(2);
}

}  // namespace

SdlCanvas::SdlCanvas(int width, int height, int bits) {
    surface_ = SDL_CreateRGBSurfaceWithFormat(
        0, width, height, bits, bits == 8 ? SDL_PIXELFORMAT_INDEX8 : SDL_PIXELFORMAT_XRGB8888);
    if (surface_ == nullptr) sdl_failed("cannot create a surface");
    if (bits == 8) {
        SDL_Color colours[256];
        const uint32_t* palette = platform_core::default_palette();
        for (int i = 0; i < 256; ++i)
            colours[i] = {uint8_t(palette[i] >> 16), uint8_t(palette[i] >> 8), uint8_t(palette[i]), 255};
        SDL_SetPaletteColors(surface_->format->palette, colours, 0, 256);
    }
    renderer_ = SDL_CreateSoftwareRenderer(surface_);
    if (renderer_ == nullptr) sdl_failed("cannot create a software renderer");
    polyline_.reserve(4096);
    points_.reserve(1 << 16);
}

SdlCanvas::~SdlCanvas() {
    SDL_DestroyRenderer(renderer_);
    SDL_FreeSurface(surface_);
}

void SdlCanvas::set_colour(int colour) {
    const uint32_t rgb = platform_core::default_palette()[colour & 0xFF];
    SDL_SetRenderDrawColor(renderer_, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255);
}

void SdlCanvas::flush_polyline() {
    if (polyline_.size() >= 2) SDL_RenderDrawLines(renderer_, polyline_.data(), int(polyline_.size()));
    polyline_.clear();
}

// The midpoint circle, eight points per step.
void SdlCanvas::add_circle(int cx, int cy, int radius) {
    int x = radius, y = 0, error = 1 - radius;
    while (y <= x) {
        const SDL_Point octants[8] = {{cx + x, cy + y}, {cx + y, cy + x}, {cx - y, cy + x}, {cx - x, cy + y},
                                      {cx - x, cy - y}, {cx - y, cy - x}, {cx + y, cy - x}, {cx + x, cy - y}};
        points_.insert(points_.end(), octants, octants + 8);
        ++y;
        if (error < 0) {
            error += 2 * y + 1;
        } else {
            --x;
            error += 2 * (y - x) + 1;
        }
    }
}

void SdlCanvas::draw(const Frame& frame, bool with_clear, bool polylines) {
    for (const DrawCall& c : frame) {
        if (c.op != DrawCall::LineTo) flush_polyline();
        switch (c.op) {
            case DrawCall::ClearDevice:
                position_ = {0, 0};
                if (!with_clear) break;
                set_colour(background_);
                SDL_RenderClear(renderer_);
                set_colour(colour_);
                break;
            case DrawCall::SetColor:
                colour_ = c.a;
                set_colour(colour_);
                break;
            case DrawCall::SetBkColor: background_ = c.a; break;
            case DrawCall::MoveTo: position_ = {c.a, c.b}; break;
            case DrawCall::LineTo:
                if (polylines) {
                    if (polyline_.empty()) polyline_.push_back(position_);
                    polyline_.push_back({c.a, c.b});
                } else {
                    SDL_RenderDrawLine(renderer_, position_.x, position_.y, c.a, c.b);
                }
                position_ = {c.a, c.b};
                break;
            case DrawCall::Line:
                SDL_RenderDrawLine(renderer_, c.a, c.b, c.c, c.d);
                position_ = {c.c, c.d};
                break;
            case DrawCall::Circle:
                points_.clear();
                add_circle(c.a, c.b, c.c);
                SDL_RenderDrawPoints(renderer_, points_.data(), int(points_.size()));
                break;
            case DrawCall::Bar: {
                const SDL_Rect rect{std::min(c.a, c.c), std::min(c.b, c.d), std::abs(c.c - c.a) + 1,
                                    std::abs(c.d - c.b) + 1};
                set_colour(fill_colour_);
                SDL_RenderFillRect(renderer_, &rect);
                set_colour(colour_);
                break;
            }
            case DrawCall::SetFillStyle: fill_colour_ = c.b; break;
            case DrawCall::SetWriteMode:
            case DrawCall::SetLineStyle:
                break;  // the recorded animations draw solid lines in copy mode only
        }
    }
    flush_polyline();
    SDL_RenderFlush(renderer_);
}

void SdlCanvas::draw_lines(const std::vector<LineEnds>& lines, int colour) {
    set_colour(colour);
    for (const LineEnds& l : lines) SDL_RenderDrawLine(renderer_, l.x1, l.y1, l.x2, l.y2);
    SDL_RenderFlush(renderer_);
}
