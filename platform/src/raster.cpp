// Raster primitives: lines, circle outlines and filled bars over one page.
//
// Every primitive first cuts its figure to the clip rectangle and then only
// visits the pixels that can be inside it, so a line or a circle reaching
// tens of thousands of pixels off the page costs no more than its visible
// part. All position arithmetic is exact integer arithmetic.
#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace {

using i64 = int64_t;
// Only the set-up of a line uses 128 bits: with 32-bit end points the step
// count and the error terms need 33 bits, and their products twice that.
using i128 = __int128;

// The rectangle a primitive may touch: the clip rectangle, cut to the page
// so that a bad rectangle can never reach outside the page's memory.
struct Box {
    i64 x1, y1, x2, y2;
    bool empty() const { return x1 > x2 || y1 > y2; }
    bool contains(i64 x, i64 y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
};

inline Box visible_box(const Page& page, const ClipRect& clip) {
    return {std::max(clip.x1, 0), std::max(clip.y1, 0), std::min(clip.x2, page.width - 1),
            std::min(clip.y2, page.height - 1)};
}

// In 64 or 128 bits: a 128-bit division is a library call, several times
// the cost of a short line, so lines whose products fit take 64 bits.
template <typename Int>
i64 floor_div(Int num, Int den) {  // den > 0
    Int q = num / den;
    if (num % den != 0 && num < 0) --q;
    return static_cast<i64>(q);
}

template <typename Int>
i64 ceil_div(Int num, Int den) {  // den > 0
    return -floor_div<Int>(-num, den);
}

uint16_t rotate_left(uint16_t bits, unsigned count) {
    count &= 15;
    return count == 0 ? bits : static_cast<uint16_t>((bits << count) | (bits >> (16 - count)));
}

template <bool Xor>
inline void plot(uint8_t* pixel, uint8_t colour) {
    if constexpr (Xor)
        *pixel ^= colour;
    else
        *pixel = colour;
}

// Walks of at most this many steps take the branch-free loop; longer ones
// the loop whose branch the predictor learns (measured on short and long
// random lines).
constexpr i64 short_walk = 32;

// A line as a walk of n steps along its major axis (the axis of the larger
// extent; x on a tie). Step i moves the major coordinate by i and the minor
// one by k(i) = i * a / n rounded to the nearest integer, halves towards the
// start: k(i) = floor((2 i a + n - 1) / (2 n)). That is the sequence of the
// classic incremental error walk, but any step can be reached directly,
// which is what lets a clipped line start at its first visible pixel.
struct LineWalk {
    i64 n = 0, a = 0;            // steps along the major axis, extent along the minor one
    bool narrow = false;         // n < 2^30 (and so a): every product below fits 64 bits
    i64 major0 = 0, minor0 = 0;  // start point
    int major_sign = 1, minor_sign = 1;
    i64 major_lo = 0, major_hi = 0, minor_lo = 0, minor_hi = 0;  // visible range of each axis
    std::ptrdiff_t major_stride = 0, minor_stride = 0;           // memory step of +1 along each

    // The first and the last step whose minor offset k lies in [k_lo, k_hi];
    // false when none does.
    bool steps_with_k_in(i64 k_lo, i64 k_hi, i64& first, i64& last) const {
        k_lo = std::max<i64>(k_lo, 0);
        k_hi = std::min(k_hi, a);
        if (k_lo > k_hi) return false;
        if (narrow) {
            first = k_lo == 0 ? 0 : ceil_div(2 * n * k_lo - (n - 1), 2 * a);
            last = k_hi == a ? n : floor_div(2 * n * (k_hi + 1) - n, 2 * a);
        } else {
            first = k_lo == 0 ? 0 : ceil_div(i128(2) * n * k_lo - (n - 1), i128(2) * a);
            last = k_hi == a ? n : floor_div(i128(2) * n * (k_hi + 1) - n, i128(2) * a);
        }
        return true;
    }

    // The minor offset k at step `first` and the error term there
    // (0 <= rest < 2n), which the walk carries on from.
    void start_at(i64 first, i64& k, i64& rest) const {
        if (first == 0) {
            k = 0;
            rest = n - 1;
        } else if (narrow) {
            const i64 num = 2 * first * a + n - 1;
            k = num / (2 * n);
            rest = num % (2 * n);
        } else {
            const i128 num = i128(2) * first * a + n - 1;
            k = static_cast<i64>(num / (2 * n));
            rest = static_cast<i64>(num % (2 * n));
        }
    }

    // The steps of [0, n - 1] at which a pen spanning minor offsets
    // [-before, after] around the line can touch the visible box.
    bool visible_steps(i64 before, i64 after, i64& first, i64& last) const {
        first = 0;
        last = n - 1;
        if (major_sign > 0) {
            first = std::max(first, major_lo - major0);
            last = std::min(last, major_hi - major0);
        } else {
            first = std::max(first, major0 - major_hi);
            last = std::min(last, major0 - major_lo);
        }
        const i64 lo = minor_lo - after, hi = minor_hi + before;  // where the line itself may be
        const i64 k_lo = minor_sign > 0 ? lo - minor0 : minor0 - hi;
        const i64 k_hi = minor_sign > 0 ? hi - minor0 : minor0 - lo;
        i64 k_first, k_last;
        if (!steps_with_k_in(k_lo, k_hi, k_first, k_last)) return false;
        first = std::max(first, k_first);
        last = std::min(last, k_last);
        return first <= last;
    }
};

// A 1-pixel walk ready to run: its first pixel, how a step moves, the
// error term e = rest - 2n (below 0 until the minor coordinate steps), the
// pattern rotated to the first step.
struct ThinWalk {
    uint8_t* pixel;
    std::ptrdiff_t major_step, minor_step;
    i64 two_n, two_a, e;
    i64 count;
    uint16_t bits;
};

ThinWalk thin_walk(Page& page, const LineWalk& w, i64 first, i64 last, uint16_t pattern) {
    i64 k, rest;
    w.start_at(first, k, rest);
    const i64 major = w.major0 + w.major_sign * first, minor = w.minor0 + w.minor_sign * k;
    return {page.pixels + major * w.major_stride + minor * w.minor_stride,
            w.major_sign * w.major_stride,
            w.minor_sign * w.minor_stride,
            2 * w.n,
            2 * w.a,
            rest - 2 * w.n,
            last - first + 1,
            rotate_left(pattern, static_cast<unsigned>(first & 15))};
}

// The whole of a line whose ends both lie in the page, from its first
// point up to (not including) its end point: nothing to cut, so it sets
// out straight from the first point (step 0, rest n - 1).
ThinWalk whole_walk(Page& page, int x1, int y1, int x2, int y2, uint16_t pattern) {
    const int dx = x2 - x1, dy = y2 - y1;
    const int adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const std::ptrdiff_t x_step = dx < 0 ? -1 : 1, y_step = dy < 0 ? -page.width : page.width;
    const bool x_major = adx >= ady;
    const i64 n = x_major ? adx : ady, a = x_major ? ady : adx;
    return {page.pixels + static_cast<std::ptrdiff_t>(y1) * page.width + x1,
            x_major ? x_step : y_step,
            x_major ? y_step : x_step,
            2 * n,
            2 * a,
            -n - 1,
            n,
            pattern};
}

// Solid pens skip the pattern test.
template <bool Xor, bool Solid>
inline void plot_step(ThinWalk& w, uint8_t colour) {
    if constexpr (Solid) {
        plot<Xor>(w.pixel, colour);
    } else if constexpr (Xor) {
        // Off the pattern the pixel takes an exclusive-or with 0: no branch.
        *w.pixel ^= static_cast<uint8_t>(colour & -(w.bits >> 15));
        w.bits = rotate_left(w.bits, 1);
    } else {
        if (w.bits & 0x8000) plot<Xor>(w.pixel, colour);
        w.bits = rotate_left(w.bits, 1);
    }
}

template <bool Xor, bool Solid>
void run_walk(ThinWalk w, uint8_t colour) {
    if (w.count <= short_walk) {
        // Too few steps for a branch predictor to learn when the minor
        // coordinate steps: a mask instead of a branch.
        for (i64 i = 0; i < w.count; ++i) {
            plot_step<Xor, Solid>(w, colour);
            w.e += w.two_a;
            const i64 step = ~(w.e >> 63);  // all ones once e >= 0
            w.e -= w.two_n & step;
            w.pixel += w.major_step + (w.minor_step & step);
        }
    } else {
        for (i64 i = 0; i < w.count; ++i) {
            plot_step<Xor, Solid>(w, colour);
            w.pixel += w.major_step;
            w.e += w.two_a;
            if (w.e >= 0) {
                w.e -= w.two_n;
                w.pixel += w.minor_step;
            }
        }
    }
}

void run_thin(const ThinWalk& w, const Pen& pen) {
    const bool solid = pen.pattern == 0xFFFF;
    if (solid && !pen.exclusive_or && w.two_a == 0 && (w.major_step == 1 || w.major_step == -1)) {
        // A solid row of pixels: one fill, leftmost pixel first.
        uint8_t* const left = w.major_step == 1 ? w.pixel : w.pixel - (w.count - 1);
        std::memset(left, pen.colour, static_cast<size_t>(w.count));
        return;
    }
    if (pen.exclusive_or)
        solid ? run_walk<true, true>(w, pen.colour) : run_walk<true, false>(w, pen.colour);
    else
        solid ? run_walk<false, true>(w, pen.colour) : run_walk<false, false>(w, pen.colour);
}

// A wide pen: at each step a run of `thickness` pixels across the major axis.
// The major coordinate changes at every step, so no pixel is touched twice.
template <bool Xor>
void walk_thick(Page& page, const LineWalk& w, i64 first, i64 last, i64 before, i64 after,
                const Pen& pen) {
    const i64 two_n = 2 * w.n, two_a = 2 * w.a;
    i64 k, rest;
    w.start_at(first, k, rest);
    i64 major = w.major0 + w.major_sign * first;
    i64 minor = w.minor0 + w.minor_sign * k;
    uint16_t bits = rotate_left(pen.pattern, static_cast<unsigned>(first & 15));
    for (i64 count = last - first + 1; count > 0; --count) {
        if (bits & 0x8000) {
            const i64 from = std::max(minor - before, w.minor_lo);
            const i64 to = std::min(minor + after, w.minor_hi);
            uint8_t* pixel = page.pixels + major * w.major_stride + from * w.minor_stride;
            for (i64 v = from; v <= to; ++v, pixel += w.minor_stride) plot<Xor>(pixel, pen.colour);
        }
        bits = rotate_left(bits, 1);
        major += w.major_sign;
        rest += two_a;
        if (rest >= two_n) {
            rest -= two_n;
            minor += w.minor_sign;
        }
    }
}

// --- Circle -------------------------------------------------------------------

// The outline is built from one octant: for x = 0, 1, ... while x <= y, the
// point (x, y) whose y is nearest the true circle, that is the y with
// y*y - y < r*r - x*x <= y*y + y. Its eight mirror images make the outline.
// The last octant x (the octant's extent) is the largest x with
// 2x*x - x < r*r.
i64 octant_y(i64 r2, i64 x) {
    const i64 rest = r2 - x * x;
    i64 y = static_cast<i64>(std::sqrt(static_cast<double>(rest)));
    while (y * y + y < rest) ++y;
    while (y > 0 && y * y - y >= rest) --y;
    return y;
}

i64 octant_last_x(i64 r2) {
    i64 x = static_cast<i64>(std::sqrt(static_cast<double>(r2) / 2));
    while (2 * (x + 1) * (x + 1) - (x + 1) < r2) ++x;
    while (x > 0 && 2 * x * x - x >= r2) --x;
    return x;
}

// One of the eight mirror images of the octant. The octant point (a, b),
// a <= b, lands at the centre plus a along one axis and b along the other.
// The outline is walked clockwise on the screen from its east point, one
// segment after the other; forward segments run from an axis point to the
// diagonal, the others back.
struct Segment {
    bool a_on_x;
    int a_sign, b_sign;
    bool forward;
};
constexpr Segment kSegments[8] = {
    {false, +1, +1, true}, {true, +1, +1, false},   // east to south
    {true, -1, +1, true},  {false, +1, -1, false},  // south to west
    {false, -1, -1, true}, {true, -1, -1, false},   // west to north
    {true, +1, -1, true},  {false, -1, +1, false},  // north to east
};

template <bool Xor>
void draw_circle(Page& page, const Box& box, i64 cx, i64 cy, i64 r, const Pen& pen) {
    const i64 r2 = r * r;
    const i64 last_x = octant_last_x(r2);
    // An axis point belongs to the forward segment that starts there; a point
    // on the diagonal to the backward segment that starts there.
    const bool diagonal = r2 <= 2 * last_x * last_x + last_x;
    const i64 forward_last = diagonal ? last_x - 1 : last_x;
    const i64 pair_length = (forward_last + 1) + last_x;  // one forward and one backward segment
    for (int s = 0; s < 8; ++s) {
        const Segment& seg = kSegments[s];
        const i64 base = (s / 2) * pair_length;
        const i64 a_centre = seg.a_on_x ? cx : cy, b_centre = seg.a_on_x ? cy : cx;
        const i64 a_lo = seg.a_on_x ? box.x1 : box.y1, a_hi = seg.a_on_x ? box.x2 : box.y2;
        const i64 b_lo = seg.a_on_x ? box.y1 : box.x1, b_hi = seg.a_on_x ? box.y2 : box.x2;
        const std::ptrdiff_t a_stride = seg.a_on_x ? 1 : page.width;
        const std::ptrdiff_t b_stride = seg.a_on_x ? page.width : 1;
        // Octant x range of this segment, cut to where its a coordinate is visible.
        i64 first = seg.forward ? 0 : 1, last = seg.forward ? forward_last : last_x;
        if (seg.a_sign > 0) {
            first = std::max(first, a_lo - a_centre);
            last = std::min(last, a_hi - a_centre);
        } else {
            first = std::max(first, a_centre - a_hi);
            last = std::min(last, a_centre - a_lo);
        }
        if (first > last) continue;
        i64 y = octant_y(r2, first);
        i64 error = first * first + y * y - y - r2;  // < 0 while y is the nearest row
        for (i64 x = first;; ++x) {
            const i64 b = b_centre + seg.b_sign * y;
            const i64 position = seg.forward ? base + x : base + forward_last + 1 + (last_x - x);
            if (b >= b_lo && b <= b_hi && ((pen.pattern << (position & 15)) & 0x8000)) {
                const i64 a = a_centre + seg.a_sign * x;
                plot<Xor>(page.pixels + a * a_stride + b * b_stride, pen.colour);
            }
            // Stop before stepping past the octant: beyond it (at x = r) no
            // row is nearest and the error would never turn negative.
            if (x == last) break;
            error += 2 * x + 1;
            while (error >= 0) {
                error += 2 - 2 * y;
                --y;
            }
        }
    }
}

// A solid circle wholly inside the box: the same outline in one pass over
// the octant, each step setting its eight mirror images. The axis points
// (x = 0) and the diagonal point (x = y) have only four distinct images,
// each set once as in the segment walk above.
template <bool Xor>
void draw_whole_circle(Page& page, i64 cx, i64 cy, i64 r, uint8_t colour) {
    const i64 r2 = r * r;
    const i64 last_x = octant_last_x(r2);
    const bool diagonal = r2 <= 2 * last_x * last_x + last_x;
    const std::ptrdiff_t w = page.width;
    uint8_t* const centre = page.pixels + cy * w + cx;
    i64 y = r;
    i64 error = -r;  // x*x + y*y - y - r*r at x = 0
    for (i64 x = 0;; ++x) {
        const std::ptrdiff_t xw = x * w, yw = y * w;
        if (x == 0) {
            plot<Xor>(centre + y, colour);
            plot<Xor>(centre - y, colour);
            plot<Xor>(centre + yw, colour);
            plot<Xor>(centre - yw, colour);
        } else if (diagonal && x == last_x) {
            plot<Xor>(centre + yw + x, colour);
            plot<Xor>(centre + yw - x, colour);
            plot<Xor>(centre - yw + x, colour);
            plot<Xor>(centre - yw - x, colour);
        } else {
            plot<Xor>(centre + yw + x, colour);
            plot<Xor>(centre + yw - x, colour);
            plot<Xor>(centre - yw + x, colour);
            plot<Xor>(centre - yw - x, colour);
            plot<Xor>(centre + xw + y, colour);
            plot<Xor>(centre + xw - y, colour);
            plot<Xor>(centre - xw + y, colour);
            plot<Xor>(centre - xw - y, colour);
        }
        if (x == last_x) break;  // past the octant the error never turns negative
        error += 2 * x + 1;
        while (error >= 0) {
            error += 2 - 2 * y;
            --y;
        }
    }
}

// --- Bar ----------------------------------------------------------------------

// Hatchings 2 to 7, one byte per row of an 8 x 8 tile anchored at the page's
// origin, the leftmost pixel in the most significant bit.
constexpr uint8_t kHatchings[6][8] = {
    {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // 2 lines
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // 3 light slashes
    {0x07, 0x0E, 0x1C, 0x38, 0x70, 0xE0, 0xC1, 0x83},  // 4 heavy slashes
    {0xE0, 0x70, 0x38, 0x1C, 0x0E, 0x07, 0x83, 0xC1},  // 5 heavy backslashes
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // 6 light backslashes
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},  // 7 hatch
};

// One row of a hatched bar: the 8-pixel tile of the row, written a whole
// tile at a time where the row is aligned to it.
void fill_hatched_row(uint8_t* row, i64 x1, i64 x2, uint8_t bits, uint8_t colour,
                      uint8_t background) {
    uint8_t tile[8];
    for (int k = 0; k < 8; ++k) tile[k] = (bits & (0x80 >> k)) ? colour : background;
    i64 x = x1;
    for (; x <= x2 && (x & 7) != 0; ++x) row[x] = tile[x & 7];
    for (; x + 7 <= x2; x += 8) std::memcpy(row + x, tile, 8);
    for (; x <= x2; ++x) row[x] = tile[x & 7];
}

// A line that may reach outside the box, or drawn with a wide pen: only
// the steps that can touch the box are walked. Kept out of raster_line so
// that the common short line inside the page stays a small call.
__attribute__((noinline)) void cut_line(Page& page, const Box& box, int x1, int y1, int x2, int y2,
                                        const Pen& pen) {
    // Both ends beyond the same side of the box, by more than the pen's
    // width: nothing to draw, and no need to find out where it would cross.
    const i64 reach = pen.thickness > 1 ? pen.thickness : 0;
    if (std::max(x1, x2) + reach < box.x1 || std::min(x1, x2) - reach > box.x2 ||
        std::max(y1, y2) + reach < box.y1 || std::min(y1, y2) - reach > box.y2)
        return;
    const i64 dx = i64(x2) - x1, dy = i64(y2) - y1;
    const bool x_major = std::abs(dx) >= std::abs(dy);
    LineWalk w;
    w.n = x_major ? std::abs(dx) : std::abs(dy);
    if (w.n == 0) return;
    w.narrow = w.n < (i64(1) << 30);
    w.a = x_major ? std::abs(dy) : std::abs(dx);
    w.major0 = x_major ? x1 : y1;
    w.minor0 = x_major ? y1 : x1;
    w.major_sign = (x_major ? dx : dy) < 0 ? -1 : 1;
    w.minor_sign = (x_major ? dy : dx) < 0 ? -1 : 1;
    w.major_lo = x_major ? box.x1 : box.y1;
    w.major_hi = x_major ? box.x2 : box.y2;
    w.minor_lo = x_major ? box.y1 : box.x1;
    w.minor_hi = x_major ? box.y2 : box.x2;
    w.major_stride = x_major ? 1 : page.width;
    w.minor_stride = x_major ? page.width : 1;
    // A pen of width t covers minor offsets -t/2 .. t-1-t/2 around the line.
    const bool thin = pen.thickness <= 1;
    const i64 width = thin ? 1 : pen.thickness;
    const i64 before = width / 2, after = width - 1 - width / 2;
    i64 first, last;
    if (!w.visible_steps(before, after, first, last)) return;
    if (thin)
        run_thin(thin_walk(page, w, first, last, pen.pattern), pen);
    else
        pen.exclusive_or ? walk_thick<true>(page, w, first, last, before, after, pen)
                         : walk_thick<false>(page, w, first, last, before, after, pen);
}

}  // namespace

uint16_t line_style_pattern(int style) {
    switch (style) {
        case 1: return 0xCCCC;   // dotted: 2 on, 2 off
        case 2: return 0xFF18;   // dash-dot: 8 on, 3 off, 2 on, 3 off
        case 3: return 0xF8F8;   // dashed: 5 on, 3 off
        case 4: return 0xFCCC;   // dash-dot-dot: 6 on, then 2 off, 2 on twice, 2 off
        default: return 0xFFFF;  // solid
    }
}

void raster_line(Page& page, const ClipRect& clip, int x1, int y1, int x2, int y2, const Pen& pen) {
    if (pen.pattern == 0) return;
    const Box box = visible_box(page, clip);
    if (box.empty()) return;
    if (pen.thickness <= 1 && box.contains(x1, y1) && box.contains(x2, y2)) {
        // Both ends in the box: so is every pixel between them.
        if (x1 != x2 || y1 != y2) run_thin(whole_walk(page, x1, y1, x2, y2, pen.pattern), pen);
    } else {
        cut_line(page, box, x1, y1, x2, y2, pen);
    }
    if (pen.thickness == 1 && box.contains(x2, y2)) page.at(x2, y2) = pen.colour;
}

void raster_circle(Page& page, const ClipRect& clip, int x, int y, unsigned radius,
                   const Pen& pen) {
    if (pen.pattern == 0) return;
    const Box box = visible_box(page, clip);
    const i64 r = radius;
    if (box.empty() || x + r < box.x1 || x - r > box.x2 || y + r < box.y1 || y - r > box.y2) return;
    if (r == 0) {
        if (pen.pattern & 0x8000)
            pen.exclusive_or ? plot<true>(&page.at(x, y), pen.colour)
                             : plot<false>(&page.at(x, y), pen.colour);
        return;
    }
    if (pen.pattern == 0xFFFF && x - r >= box.x1 && x + r <= box.x2 && y - r >= box.y1 &&
        y + r <= box.y2)
        pen.exclusive_or ? draw_whole_circle<true>(page, x, y, r, pen.colour)
                         : draw_whole_circle<false>(page, x, y, r, pen.colour);
    else
        pen.exclusive_or ? draw_circle<true>(page, box, x, y, r, pen)
                         : draw_circle<false>(page, box, x, y, r, pen);
}

void raster_bar(Page& page, const ClipRect& clip, int x1, int y1, int x2, int y2, int pattern,
                uint8_t colour, uint8_t background) {
    if (pattern < 0 || pattern > 7) return;
    const Box box = visible_box(page, clip);
    const i64 left = std::max<i64>(std::min(x1, x2), box.x1);
    const i64 right = std::min<i64>(std::max(x1, x2), box.x2);
    const i64 top = std::max<i64>(std::min(y1, y2), box.y1);
    const i64 bottom = std::min<i64>(std::max(y1, y2), box.y2);
    if (left > right || top > bottom) return;
    if (pattern <= 1 && left == 0 && right == page.width - 1) {  // whole rows: one block
        std::memset(page.pixels + top * page.width, pattern == 0 ? background : colour,
                    static_cast<size_t>((bottom - top + 1) * page.width));
        return;
    }
    for (i64 row = top; row <= bottom; ++row) {
        uint8_t* pixels = page.pixels + row * page.width;
        if (pattern <= 1)
            std::memset(pixels + left, pattern == 0 ? background : colour,
                        static_cast<size_t>(right - left + 1));
        else
            fill_hatched_row(pixels, left, right, kHatchings[pattern - 2][row & 7], colour,
                             background);
    }
}
