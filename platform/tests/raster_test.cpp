// The raster primitives on small pages in memory: the pixels each primitive
// picks, the end-point rule, the line styles, clipping against a whole-figure
// reference, and the exclusive-or property that erasing by redrawing needs.
#include "raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Point = std::pair<int, int>;
using PointSet = std::set<Point>;

// A page with its own memory.
struct Canvas {
    std::vector<uint8_t> pixels;
    Page page;
    ClipRect all;

    Canvas(int width, int height, uint8_t fill = 0)
        : pixels(static_cast<size_t>(width) * height, fill),
          page{width, height, pixels.data()},
          all{0, 0, width - 1, height - 1} {}
    Canvas(const Canvas&) = delete;

    PointSet non_zero() const {
        PointSet points;
        for (int y = 0; y < page.height; ++y)
            for (int x = 0; x < page.width; ++x)
                if (page.at(x, y) != 0) points.insert({x, y});
        return points;
    }
    // Row y as one character per pixel: '#' where it is non-zero, '.' elsewhere.
    std::string row(int y, int x_from, int x_to) const {
        std::string text;
        for (int x = x_from; x <= x_to; ++x) text += page.at(x, y) != 0 ? '#' : '.';
        return text;
    }
    // Row y as one digit per pixel (colours below 10).
    std::string digits(int y) const {
        std::string text;
        for (int x = 0; x < page.width; ++x) text += static_cast<char>('0' + page.at(x, y));
        return text;
    }
    void randomise(std::mt19937& random) {
        for (uint8_t& pixel : pixels) pixel = static_cast<uint8_t>(random());
    }
};

Pen pen_of(uint8_t colour, bool exclusive_or = false, uint16_t pattern = 0xFFFF,
           int thickness = 1) {
    Pen pen;
    pen.colour = colour;
    pen.exclusive_or = exclusive_or;
    pen.pattern = pattern;
    pen.thickness = thickness;
    return pen;
}

bool inside(const ClipRect& clip, int64_t x, int64_t y) {
    return x >= clip.x1 && x <= clip.x2 && y >= clip.y1 && y <= clip.y2;
}

// The whole line walked with the textbook error term, each pixel tested
// against the clip rectangle: what a clipped line must reproduce exactly.
void reference_line(Canvas& canvas, const ClipRect& clip, int x1, int y1, int x2, int y2,
                    const Pen& pen) {
    if (pen.pattern == 0) return;
    auto put = [&](int64_t x, int64_t y, bool plain) {
        if (!inside(clip, x, y)) return;
        uint8_t& pixel = canvas.page.at(static_cast<int>(x), static_cast<int>(y));
        pixel = pen.exclusive_or && !plain ? pixel ^ pen.colour : pen.colour;
    };
    const int64_t dx = std::llabs(int64_t(x2) - x1), dy = std::llabs(int64_t(y2) - y1);
    const int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
    const bool x_major = dx >= dy;
    const int64_t n = std::max(dx, dy), a = std::min(dx, dy);
    const int64_t width = std::max(pen.thickness, 1), before = width / 2,
                  after = width - 1 - before;
    int64_t error = 2 * a - n, minor = 0;
    for (int64_t i = 0; i < n; ++i) {
        if ((pen.pattern >> (15 - i % 16)) & 1) {
            const int64_t x = x1 + sx * (x_major ? i : minor), y = y1 + sy * (x_major ? minor : i);
            for (int64_t offset = -before; offset <= after; ++offset)
                put(x_major ? x : x + offset, x_major ? y + offset : y, false);
        }
        if (error > 0) {
            ++minor;
            error -= 2 * n;
        }
        error += 2 * a;
    }
    if (pen.thickness == 1) put(x2, y2, true);
}

// A pixel at (dx, dy) from the centre is on the outline of radius r when,
// with u the smaller and v the larger distance along an axis, v is the row
// nearest the circle at u and u is still within the octant (u <= v).
bool on_circle(int64_t dx, int64_t dy, int64_t r) {
    if (r == 0) return dx == 0 && dy == 0;
    const int64_t u = std::min(std::llabs(dx), std::llabs(dy));
    const int64_t v = std::max(std::llabs(dx), std::llabs(dy));
    const int64_t rest = r * r - u * u;
    return u <= v && v * v - v < rest && rest <= v * v + v;
}

PointSet offsets(std::initializer_list<Point> points, int x0, int y0) {
    PointSet moved;
    for (auto [x, y] : points) moved.insert({x0 + x, y0 + y});
    return moved;
}

// All the pixels 8-connected to `start` within `points`.
PointSet component(const PointSet& points, Point start) {
    PointSet seen{start};
    std::vector<Point> todo{start};
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        for (int ny = y - 1; ny <= y + 1; ++ny)
            for (int nx = x - 1; nx <= x + 1; ++nx)
                if (points.count({nx, ny}) && seen.insert({nx, ny}).second)
                    todo.push_back({nx, ny});
    }
    return seen;
}

// --- Lines ------------------------------------------------------------------

TEST(RasterLine, PicksThePixelsOfEachOctant) {
    struct Case {
        int dx, dy;
        std::initializer_list<Point> pixels;  // relative to the start point
    };
    const Case cases[] = {
        {5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        {2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
        {-2, 5, {{0, 0}, {0, 1}, {-1, 2}, {-1, 3}, {-2, 4}, {-2, 5}}},
        {-5, 2, {{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}, {-4, 2}, {-5, 2}}},
        {-5, -2, {{0, 0}, {-1, 0}, {-2, -1}, {-3, -1}, {-4, -2}, {-5, -2}}},
        {-2, -5, {{0, 0}, {0, -1}, {-1, -2}, {-1, -3}, {-2, -4}, {-2, -5}}},
        {2, -5, {{0, 0}, {0, -1}, {1, -2}, {1, -3}, {2, -4}, {2, -5}}},
        {5, -2, {{0, 0}, {1, 0}, {2, -1}, {3, -1}, {4, -2}, {5, -2}}},
        // A step halfway between two rows stays on the start's row. The
        // second case is the first drawn back from its end, seen from its
        // start: of (0, 0)-(4, 2) it takes (1, 1) and (3, 2), not (1, 0) and (3, 1).
        {4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {-4, -2, {{0, 0}, {-1, 0}, {-2, -1}, {-3, -1}, {-4, -2}}},
        {4, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {0, -3, {{0, 0}, {0, -1}, {0, -2}, {0, -3}}},
        {-3, 3, {{0, 0}, {-1, 1}, {-2, 2}, {-3, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "to (" << c.dx << ", " << c.dy << ")");
        Canvas canvas(20, 20);
        raster_line(canvas.page, canvas.all, 10, 10, 10 + c.dx, 10 + c.dy, pen_of(1));
        EXPECT_EQ(canvas.non_zero(), offsets(c.pixels, 10, 10));
    }
}

TEST(RasterLine, EndPointIsSetPlainlyOnlyWithThicknessOne) {
    // A page of colour 5, pen colour 3 (5 ^ 3 = 6), a line along row 1 from
    // x1 to x2.
    struct Case {
        const char* name;
        int x1, x2;
        bool exclusive_or;
        uint16_t pattern;
        int thickness;
        const char* row;
    };
    const Case cases[] = {
        {"copy, thickness 0", 1, 4, false, 0xFFFF, 0, "5333555"},
        {"copy, thickness 1", 1, 4, false, 0xFFFF, 1, "5333355"},
        {"xor, thickness 0", 1, 4, true, 0xFFFF, 0, "5666555"},
        {"xor, thickness 1", 1, 4, true, 0xFFFF, 1, "5666355"},
        {"xor, thickness 3", 1, 4, true, 0xFFFF, 3, "5666555"},
        {"dotted end in a gap", 0, 3, true, 0xCCCC, 1, "6653555"},
        {"backwards", 4, 1, true, 0xFFFF, 1, "5366655"},
        {"single point, thickness 1", 2, 2, true, 0xFFFF, 1, "5535555"},
        {"single point, thickness 0", 2, 2, true, 0xFFFF, 0, "5555555"},
        {"pattern 0 draws nothing", 1, 4, false, 0x0000, 1, "5555555"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(7, 3, 5);
        raster_line(canvas.page, canvas.all, c.x1, 1, c.x2, 1,
                    pen_of(3, c.exclusive_or, c.pattern, c.thickness));
        EXPECT_EQ(canvas.digits(1), c.row);
    }
}

TEST(RasterLine, StylesRunTheirPatternFromEachLineStart) {
    struct Case {
        int style;
        const char* sixteen;
    };
    const Case cases[] = {
        {0, "################"}, {1, "##..##..##..##.."}, {2, "########...##..."},
        {3, "#####...#####..."}, {4, "######..##..##.."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        const std::string cycle = std::string(c.sixteen) + c.sixteen;
        Canvas canvas(40, 4);
        const Pen pen = pen_of(1, false, line_style_pattern(c.style), 0);
        // Along a row, the pattern runs on past 16 pixels.
        raster_line(canvas.page, canvas.all, 0, 0, 24, 0, pen);
        EXPECT_EQ(canvas.row(0, 0, 24), cycle.substr(0, 24) + ".");
        // A second line from the end of a first one starts its pattern afresh.
        raster_line(canvas.page, canvas.all, 0, 2, 5, 2, pen);
        raster_line(canvas.page, canvas.all, 5, 2, 29, 2, pen);
        EXPECT_EQ(canvas.row(2, 5, 28), cycle.substr(0, 24));
        // Along a steep line the pattern counts rows.
        raster_line(canvas.page, canvas.all, 39, 0, 38, 3, pen);
        EXPECT_EQ(canvas.row(0, 39, 39) + canvas.row(1, 39, 39) + canvas.row(2, 38, 38),
                  cycle.substr(0, 3));
    }
}

TEST(RasterLine, WidePenCoversItsWidthOncePerStep) {
    // A horizontal pen of width 3 covers the rows above and below; width 2
    // adds the column to the left of a vertical line.
    {
        Canvas canvas(12, 8);
        raster_line(canvas.page, canvas.all, 2, 4, 9, 4, pen_of(1, false, 0xFFFF, 3));
        PointSet expected;
        for (int y = 3; y <= 5; ++y)
            for (int x = 2; x <= 8; ++x) expected.insert({x, y});
        EXPECT_EQ(canvas.non_zero(), expected);
    }
    {
        Canvas canvas(12, 8);
        raster_line(canvas.page, canvas.all, 5, 1, 5, 6, pen_of(1, false, 0xFFFF, 2));
        PointSet expected;
        for (int y = 1; y <= 5; ++y)
            for (int x = 4; x <= 5; ++x) expected.insert({x, y});
        EXPECT_EQ(canvas.non_zero(), expected);
    }
    // In exclusive-or a pixel touched twice would turn back to 0: a line of n
    // steps leaves exactly width * n pixels set.
    const int widths[] = {2, 3, 4, 7};
    const int ends[][4] = {{3, 5, 40, 17}, {40, 3, 6, 33}, {20, 2, 24, 37}, {35, 30, 5, 5}};
    for (int width : widths)
        for (const auto& e : ends) {
            SCOPED_TRACE(testing::Message()
                         << "width " << width << " to (" << e[2] << ", " << e[3] << ")");
            Canvas canvas(48, 40);
            raster_line(canvas.page, canvas.all, e[0], e[1], e[2], e[3],
                        pen_of(9, true, 0xFFFF, width));
            const int steps = std::max(std::abs(e[2] - e[0]), std::abs(e[3] - e[1]));
            EXPECT_EQ(canvas.non_zero().size(), static_cast<size_t>(width * steps));
        }
}

// Random lines, pens and clip rectangles; some lines run tens of thousands
// of pixels off the page and cross it, some miss it entirely.
struct RandomLine {
    int x1, y1, x2, y2;
    ClipRect clip;
    Pen pen;
};

std::vector<RandomLine> random_lines(int width, int height, int count) {
    std::mt19937 random(20240611);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::vector<RandomLine> lines;
    // The long diagonal across the whole coordinate range, through a window.
    lines.push_back({-30000, -30000, 30000, 29000, {3, 5, width - 4, height - 6}, pen_of(7)});
    lines.push_back(
        {30000, 29000, -30000, -30000, {0, 0, width - 1, height - 1}, pen_of(7, true, 0xFF18)});
    for (int i = 0; i < count; ++i) {
        RandomLine line;
        const int reach = i % 10 == 0 ? 40000 : 2 * width;  // far outside, or around the page
        line.x1 = in(-reach, width + reach);
        line.y1 = in(-reach, height + reach);
        if (i % 3 == 0) {  // short lines near the page
            line.x1 = in(-10, width + 10);
            line.y1 = in(-10, height + 10);
            line.x2 = line.x1 + in(-20, 20);
            line.y2 = line.y1 + in(-20, 20);
        } else if (i % 3 == 1 && i % 10 != 1) {
            // Steps that land exactly halfway between two rows: n = 2 t a
            // puts a tie at every odd multiple of t.
            const int a = in(1, 12), n = 2 * in(1, 6) * a;
            const int sx = in(0, 1) ? 1 : -1, sy = in(0, 1) ? 1 : -1;
            line.x1 = in(-10, width + 10);
            line.y1 = in(-10, height + 10);
            const bool x_major = in(0, 1) == 1;
            line.x2 = line.x1 + sx * (x_major ? n : a);
            line.y2 = line.y1 + sy * (x_major ? a : n);
        } else {
            line.x2 = in(-reach, width + reach);
            line.y2 = in(-reach, height + reach);
        }
        line.clip.x1 = in(0, width - 1);
        line.clip.x2 = in(line.clip.x1 - 1, width - 1);  // sometimes empty
        line.clip.y1 = in(0, height - 1);
        line.clip.y2 = in(line.clip.y1 - 1, height - 1);
        if (i % 4 == 0) line.clip = {0, 0, width - 1, height - 1};
        const uint16_t patterns[] = {0xFFFF, 0xCCCC, 0xFF18,
                                     0x8001, 0x0000, static_cast<uint16_t>(random())};
        line.pen =
            pen_of(static_cast<uint8_t>(in(1, 255)), in(0, 1) == 1, patterns[in(0, 5)], in(0, 4));
        lines.push_back(line);
    }
    return lines;
}

TEST(RasterLine, ClippedLineDrawsExactlyTheWholeLineInsideTheClip) {
    const int width = 61, height = 47;
    std::mt19937 random(7);
    for (const RandomLine& line : random_lines(width, height, 3000)) {
        SCOPED_TRACE(testing::Message()
                     << "(" << line.x1 << ", " << line.y1 << ") to (" << line.x2 << ", " << line.y2
                     << "), pattern " << line.pen.pattern << ", thickness " << line.pen.thickness);
        Canvas drawn(width, height), expected(width, height);
        drawn.randomise(random);
        expected.pixels = drawn.pixels;
        raster_line(drawn.page, line.clip, line.x1, line.y1, line.x2, line.y2, line.pen);
        reference_line(expected, line.clip, line.x1, line.y1, line.x2, line.y2, line.pen);
        ASSERT_EQ(drawn.pixels, expected.pixels);
    }
}

TEST(RasterLine, ClipEdgeAtEveryRowAndColumnOfShortLines) {
    // Every short line from one point, cut by one clip edge at each row or
    // column it crosses, so that the first and last visible steps fall on
    // every kind of step, halfway rows included.
    const int size = 40, x0 = 20, y0 = 20, reach = 9;
    const uint16_t pattern = 0xF0F3;
    int thickness = 0;
    for (int dx = -reach; dx <= reach; ++dx)
        for (int dy = -reach; dy <= reach; ++dy)
            for (int edge = x0 - reach - 1; edge <= x0 + reach + 1; ++edge)
                for (int side = 0; side < 4; ++side) {
                    ClipRect clip{0, 0, size - 1, size - 1};
                    int* const sides[] = {&clip.x1, &clip.x2, &clip.y1, &clip.y2};
                    *sides[side] = edge;
                    const Pen pen = pen_of(6, thickness % 2 == 0, pattern, thickness);
                    thickness = (thickness + 1) % 4;
                    Canvas drawn(size, size, 3), expected(size, size, 3);
                    raster_line(drawn.page, clip, x0, y0, x0 + dx, y0 + dy, pen);
                    reference_line(expected, clip, x0, y0, x0 + dx, y0 + dy, pen);
                    ASSERT_EQ(drawn.pixels, expected.pixels)
                        << "to (" << dx << ", " << dy << "), side " << side << " at " << edge
                        << ", thickness " << pen.thickness;
                }
}

TEST(RasterLine, ExclusiveOrTwiceRestoresThePage) {
    const int width = 61, height = 47;
    std::mt19937 random(11);
    for (RandomLine line : random_lines(width, height, 2000)) {
        line.pen.exclusive_or = true;
        if (line.pen.thickness == 1) line.pen.thickness = 0;  // thickness 1 sets its end point
        SCOPED_TRACE(testing::Message() << "(" << line.x1 << ", " << line.y1 << ") to (" << line.x2
                                        << ", " << line.y2 << ")");
        Canvas canvas(width, height);
        canvas.randomise(random);
        const std::vector<uint8_t> before = canvas.pixels;
        raster_line(canvas.page, line.clip, line.x1, line.y1, line.x2, line.y2, line.pen);
        raster_line(canvas.page, line.clip, line.x1, line.y1, line.x2, line.y2, line.pen);
        ASSERT_EQ(canvas.pixels, before);
    }
}

TEST(RasterLine, ExtremeCoordinatesStayInsideThePage) {
    Canvas canvas(32, 24);
    const int big = 2147483647, small = -2147483647 - 1;
    const int ends[][4] = {{small, small, big, big},
                           {small + 30, big, big, small + 30},
                           {small, 12, big, 12},
                           {16, small, 16, big}};
    for (const auto& e : ends)
        raster_line(canvas.page, canvas.all, e[0], e[1], e[2], e[3], pen_of(1));
    // The diagonals cross the page where x - y = 0 and x + y = 29; the axis
    // lines fill their row and column.
    EXPECT_EQ(canvas.page.at(0, 12), 1);
    EXPECT_EQ(canvas.page.at(31, 12), 1);
    EXPECT_EQ(canvas.page.at(16, 0), 1);
    EXPECT_EQ(canvas.page.at(16, 23), 1);
    EXPECT_EQ(canvas.page.at(5, 5), 1);
    EXPECT_EQ(canvas.page.at(20, 20), 1);
    EXPECT_EQ(canvas.page.at(10, 19), 1);
    EXPECT_EQ(canvas.page.at(23, 6), 1);
}

// --- Circles ----------------------------------------------------------------

TEST(RasterCircle, SmallRadii) {
    struct Case {
        unsigned radius;
        std::initializer_list<Point> pixels;
    };
    const Case cases[] = {
        {0, {{0, 0}}},
        {1, {{1, 0}, {0, 1}, {-1, 0}, {0, -1}}},
        {2, {{2, 0}, {2, 1}, {1, 2}, {0, 2}, {-1, 2}, {-2, 1},
             {-2, 0}, {-2, -1}, {-1, -2}, {0, -2}, {1, -2}, {2, -1}}},
        {3, {{3, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 3}, {-1, 3}, {-2, 2}, {-3, 1},
             {-3, 0}, {-3, -1}, {-2, -2}, {-1, -3}, {0, -3}, {1, -3}, {2, -2}, {3, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "radius " << c.radius);
        Canvas canvas(12, 12);
        raster_circle(canvas.page, canvas.all, 5, 6, c.radius, pen_of(1));
        EXPECT_EQ(canvas.non_zero(), offsets(c.pixels, 5, 6));
    }
}

TEST(RasterCircle, OutlineIsSymmetricAndClosed) {
    for (unsigned r = 1; r <= 90; ++r) {
        SCOPED_TRACE(testing::Message() << "radius " << r);
        Canvas canvas(200, 200);
        raster_circle(canvas.page, canvas.all, 100, 100, r, pen_of(1));
        const PointSet points = canvas.non_zero();
        for (auto [x, y] : points) {
            const int dx = x - 100, dy = y - 100;
            const Point mirrors[] = {{100 - dx, y}, {x, 100 - dy}, {100 + dy, 100 + dx}};
            for (Point mirror : mirrors) ASSERT_TRUE(points.count(mirror));
            int neighbours = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny)
                for (int nx = x - 1; nx <= x + 1; ++nx)
                    neighbours += (nx != x || ny != y) && points.count({nx, ny});
            ASSERT_GE(neighbours, 2) << "gap at (" << dx << ", " << dy << ")";
        }
        EXPECT_EQ(component(points, {100 + static_cast<int>(r), 100}), points);
    }
}

// Centres on, near and far past the page's edges, radii from 0 to the
// largest; each with a clip window inside the page.
struct CircleCase {
    int x, y;
    unsigned radius;
};

std::vector<CircleCase> circle_cases(int width, int height) {
    std::vector<CircleCase> cases;
    const unsigned radii[] = {0, 1, 2, 3, 7, 20, 45, 100, 399, 4000, 65535};
    const int xs[] = {-70000, -65500, -30, -1, 0, 17, width - 1, width, width + 40, 65600};
    const int ys[] = {-65520, -5, 0, 21, height - 1, height + 3, 70000};
    for (unsigned r : radii)
        for (int x : xs)
            for (int y : ys) cases.push_back({x, y, r});
    return cases;
}

TEST(RasterCircle, ClippedCircleDrawsExactlyItsOutlineInsideTheClip) {
    const int width = 80, height = 60;
    const ClipRect clips[] = {{0, 0, width - 1, height - 1}, {9, 4, 50, 33}};
    int drawn_somewhere = 0;
    for (const CircleCase& c : circle_cases(width, height))
        for (const ClipRect& clip : clips) {
            SCOPED_TRACE(testing::Message()
                         << "centre (" << c.x << ", " << c.y << "), radius " << c.radius);
            Canvas canvas(width, height);
            raster_circle(canvas.page, clip, c.x, c.y, c.radius, pen_of(1));
            PointSet expected;
            for (int y = clip.y1; y <= clip.y2; ++y)
                for (int x = clip.x1; x <= clip.x2; ++x)
                    if (on_circle(int64_t(x) - c.x, int64_t(y) - c.y, c.radius))
                        expected.insert({x, y});
            ASSERT_EQ(canvas.non_zero(), expected);
            drawn_somewhere += !expected.empty();
        }
    EXPECT_GT(drawn_somewhere, 100);  // the table does reach the page
}

TEST(RasterCircle, TouchesEachPixelOnceSoExclusiveOrTwiceRestores) {
    const int width = 80, height = 60;
    std::mt19937 random(3);
    std::vector<CircleCase> cases = circle_cases(width, height);
    for (unsigned r = 0; r <= 60; ++r) cases.push_back({37, 29, r});
    for (const CircleCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "centre (" << c.x << ", " << c.y << "), radius " << c.radius);
        // Exclusive-or once on a black page equals copy: no pixel was hit twice.
        Canvas copied(width, height), xored(width, height);
        raster_circle(copied.page, copied.all, c.x, c.y, c.radius, pen_of(5));
        raster_circle(xored.page, xored.all, c.x, c.y, c.radius, pen_of(5, true));
        ASSERT_EQ(xored.pixels, copied.pixels);
        Canvas canvas(width, height);
        canvas.randomise(random);
        const std::vector<uint8_t> before = canvas.pixels;
        const Pen pen =
            pen_of(static_cast<uint8_t>(random() | 1), true, static_cast<uint16_t>(random()));
        raster_circle(canvas.page, {5, 3, 70, 51}, c.x, c.y, c.radius, pen);
        raster_circle(canvas.page, {5, 3, 70, 51}, c.x, c.y, c.radius, pen);
        ASSERT_EQ(canvas.pixels, before);
    }
}

TEST(RasterCircle, PatternRunsAlongTheOutline) {
    for (unsigned r : {5u, 12u, 31u, 64u, 97u}) {
        SCOPED_TRACE(testing::Message() << "radius " << r);
        const int c = 100;
        Canvas solid(200, 200), none(200, 200);
        raster_circle(solid.page, solid.all, c, c, r, pen_of(1));
        raster_circle(none.page, none.all, c, c, r, pen_of(1, false, 0x0000));
        EXPECT_TRUE(none.non_zero().empty());
        // A pattern and its complement share out the solid outline.
        for (uint16_t pattern : {0xCCCC, 0xFF18, 0x8421, 0x0001}) {
            Canvas pair(200, 200);
            raster_circle(pair.page, pair.all, c, c, r, pen_of(1, true, pattern));
            raster_circle(pair.page, pair.all, c, c, r,
                          pen_of(1, true, static_cast<uint16_t>(~pattern)));
            ASSERT_EQ(pair.pixels, solid.pixels) << "pattern " << pattern;
        }
        // 8 on, 8 off, from the east point: unbroken dashes of 8 pixels, but
        // for the one where the outline closes on its start.
        Canvas dashed(200, 200);
        raster_circle(dashed.page, dashed.all, c, c, r, pen_of(1, false, 0xFF00));
        PointSet rest = dashed.non_zero();
        EXPECT_TRUE(rest.count({c + static_cast<int>(r), c}));
        int odd = 0;
        while (!rest.empty()) {
            const PointSet dash = component(rest, *rest.begin());
            odd += dash.size() != 8;
            for (Point p : dash) rest.erase(p);
        }
        EXPECT_LE(odd, 1);
    }
}

// --- Bars -------------------------------------------------------------------

TEST(RasterBar, FillsBothCornersInEitherOrderWithinTheClip) {
    struct Case {
        const char* name;
        int x1, y1, x2, y2;
        ClipRect clip;
        int left, top, right, bottom;  // the pixels filled; left > right for none
    };
    const ClipRect all{0, 0, 19, 14};
    const Case cases[] = {
        {"top-left first", 3, 2, 7, 5, all, 3, 2, 7, 5},
        {"bottom-right first", 7, 5, 3, 2, all, 3, 2, 7, 5},
        {"top-right first", 7, 2, 3, 5, all, 3, 2, 7, 5},
        {"bottom-left first", 3, 5, 7, 2, all, 3, 2, 7, 5},
        {"one pixel", 4, 4, 4, 4, all, 4, 4, 4, 4},
        {"over the whole page", -30000, -30000, 30000, 30000, all, 0, 0, 19, 14},
        {"over every clip edge", -5, 1, 30, 40, {4, 3, 15, 10}, 4, 3, 15, 10},
        {"partly inside the clip", 12, -4, 6, 7, {4, 3, 15, 10}, 6, 3, 12, 7},
        {"outside the clip", 0, 0, 3, 2, {4, 3, 15, 10}, 1, 0, 0, 0},
        {"empty clip", 0, 0, 19, 14, {0, 0, -1, -1}, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(20, 15, 2);
        raster_bar(canvas.page, c.clip, c.x1, c.y1, c.x2, c.y2, 1, 9, 0);
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 20; ++x) {
                const bool in = x >= c.left && x <= c.right && y >= c.top && y <= c.bottom;
                ASSERT_EQ(canvas.page.at(x, y), in ? 9 : 2) << "at (" << x << ", " << y << ")";
            }
    }
}

TEST(RasterBar, FillPatterns) {
    const int width = 40, height = 32;
    auto fill = [&](Canvas& canvas, int pattern) {
        raster_bar(canvas.page, canvas.all, 0, 0, width - 1, height - 1, pattern, 12, 3);
    };
    for (int pattern : {-1, 8, 9, 10, 1000}) {
        Canvas canvas(width, height, 7);
        fill(canvas, pattern);
        EXPECT_EQ(canvas.pixels, std::vector<uint8_t>(width * height, 7)) << "pattern " << pattern;
    }
    {
        Canvas background(width, height, 7), solid(width, height, 7);
        fill(background, 0);
        fill(solid, 1);
        EXPECT_EQ(background.pixels, std::vector<uint8_t>(width * height, 3));
        EXPECT_EQ(solid.pixels, std::vector<uint8_t>(width * height, 12));
    }
    std::vector<std::vector<uint8_t>> looks;
    for (int pattern = 2; pattern <= 7; ++pattern) {
        SCOPED_TRACE(testing::Message() << "pattern " << pattern);
        Canvas canvas(width, height, 7);
        fill(canvas, pattern);
        int coloured = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t pixel = canvas.page.at(x, y);
                ASSERT_TRUE(pixel == 12 || pixel == 3);
                coloured += pixel == 12;
                // An 8 x 8 tile repeated from the page origin.
                if (x + 8 < width) {
                    ASSERT_EQ(pixel, canvas.page.at(x + 8, y));
                }
                if (y + 8 < height) {
                    ASSERT_EQ(pixel, canvas.page.at(x, y + 8));
                }
            }
        EXPECT_GT(coloured, 0);
        EXPECT_LT(coloured, width * height);
        // Bars side by side, at any split, make the same hatching as one bar.
        Canvas pieces(width, height, 7);
        raster_bar(pieces.page, pieces.all, 0, 0, 12, height - 1, pattern, 12, 3);
        raster_bar(pieces.page, pieces.all, 13, 0, width - 1, 4, pattern, 12, 3);
        raster_bar(pieces.page, pieces.all, 13, 5, width - 1, height - 1, pattern, 12, 3);
        EXPECT_EQ(pieces.pixels, canvas.pixels);
        looks.push_back(canvas.pixels);
    }
    for (size_t i = 0; i < looks.size(); ++i)
        for (size_t j = i + 1; j < looks.size(); ++j)
            EXPECT_NE(looks[i], looks[j]) << i + 2 << " " << j + 2;
}

TEST(RasterBar, HatchingsLookLikeTheirNames) {
    // Which neighbour continues each coloured pixel's stroke.
    struct Case {
        int pattern;
        int dx, dy;
        int per_tile;  // coloured pixels in an 8 x 8 tile
    };
    const Case cases[] = {
        {2, 1, 0, 16},   // lines
        {3, 1, -1, 8},   // light slashes
        {4, 1, -1, 24},  // heavy slashes
        {5, 1, 1, 24},   // heavy backslashes
        {6, 1, 1, 8},    // light backslashes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pattern " << c.pattern);
        Canvas canvas(24, 24);
        raster_bar(canvas.page, canvas.all, 0, 0, 23, 23, c.pattern, 1, 0);
        int coloured = 0;
        for (int y = 8; y < 16; ++y)
            for (int x = 8; x < 16; ++x)
                if (canvas.page.at(x, y)) {
                    ++coloured;
                    ASSERT_EQ(canvas.page.at(x + c.dx, y + c.dy), 1)
                        << "at (" << x << ", " << y << ")";
                }
        EXPECT_EQ(coloured, c.per_tile);
    }
    // The hatch is a grid: one full row and one full column in each tile.
    Canvas grid(16, 16);
    raster_bar(grid.page, grid.all, 0, 0, 15, 15, 7, 1, 0);
    int full_rows = 0, full_columns = 0;
    for (int i = 0; i < 8; ++i) {
        full_rows += grid.row(i, 0, 7) == "########";
        int column = 0;
        for (int y = 0; y < 8; ++y) column += grid.page.at(i, y);
        full_columns += column == 8;
    }
    EXPECT_EQ(full_rows, 1);
    EXPECT_EQ(full_columns, 1);
    EXPECT_EQ(grid.non_zero().size(), 4u * 15u);
}

}  // namespace
