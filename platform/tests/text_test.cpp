// Text drawn onto plain pages: cell geometry, font 0's fixed cells, copy
// mode in one colour, placement from the top-left corner and clipping.
#include "text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A page over its own memory, filled with a background of varied colours
// (never the ink's) so that a stray write or an exclusive-or shows up.
struct Canvas {
    static constexpr uint8_t background(int x, int y) {
        return static_cast<uint8_t>(16 + (x * 7 + y * 3) % 200);
    }

    std::vector<uint8_t> memory;
    Page page;

    Canvas(int width, int height) : memory(static_cast<size_t>(width) * height) {
        page = {width, height, memory.data()};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) page.at(x, y) = background(x, y);
    }
    ClipRect whole() const { return {0, 0, page.width - 1, page.height - 1}; }
    bool inked(int x, int y) const { return page.at(x, y) != background(x, y); }

    // The smallest rectangle holding every changed pixel; x2 < x1 when none.
    ClipRect ink_box() const {
        ClipRect box{page.width, page.height, -1, -1};
        for (int y = 0; y < page.height; ++y)
            for (int x = 0; x < page.width; ++x)
                if (inked(x, y)) {
                    box.x1 = std::min(box.x1, x);
                    box.y1 = std::min(box.y1, y);
                    box.x2 = std::max(box.x2, x);
                    box.y2 = std::max(box.y2, y);
                }
        return box;
    }
};

constexpr uint8_t ink = 14;

std::string printable_latin1() {
    std::string all;
    for (int c = 32; c < 256; ++c)
        if (c < 127 || c >= 160) all += static_cast<char>(c);
    return all;
}

TEST(TextCellHeight, SizesGiveTheCharacterCellHeight) {
    const struct { int size, height; } cases[] = {
        {0, 16}, {1, 8}, {2, 16}, {3, 24}, {4, 32}, {5, 40}, {6, 6}, {7, 7}, {8, 8},
        {120, 120}, {-4, 16},  // a negative size is the default
        {30000, 2048},         // capped: no window is that tall
    };
    for (const auto& c : cases) EXPECT_EQ(text_cell_height(c.size), c.height) << "size " << c.size;
}

// Font 0 advances exactly half the cell height per character and keeps every
// pixel of every glyph inside its own cell: the screens wipe old digits with
// bars of exactly that cell.
TEST(TextFont0, EveryCharacterStaysInsideItsHalfWidthCell) {
    for (int size : {0, 2, 7, 12, 3, 4}) {
        const int h = text_cell_height(size);
        const int w = h / 2;
        for (char c : printable_latin1()) {
            const char text[2] = {c, '\0'};
            Canvas canvas(3 * h, 3 * h);
            const int x = h, y = h;
            ASSERT_EQ(draw_text(canvas.page, canvas.whole(), x, y, text, 0, h, ink), w)
                << "size " << size << " code " << int(static_cast<unsigned char>(c));
            const ClipRect box = canvas.ink_box();
            if (box.x2 < box.x1) continue;  // blank glyph (space, no-break space)
            EXPECT_TRUE(box.x1 >= x && box.x2 < x + w && box.y1 >= y && box.y2 < y + h)
                << "size " << size << " code " << int(static_cast<unsigned char>(c)) << " ink ("
                << box.x1 - x << ", " << box.y1 - y << ") .. (" << box.x2 - x << ", " << box.y2 - y
                << ") in a " << w << " x " << h << " cell";
        }
        const std::string all = printable_latin1();
        EXPECT_EQ(text_width(all.c_str(), 0, h), w * static_cast<int>(all.size())) << "size " << size;
    }
}

TEST(TextFont0, VisibleAsciiCharactersAllHaveInkAndDiffer) {
    std::vector<std::vector<uint8_t>> seen;
    for (int c = 33; c < 127; ++c) {
        const char text[2] = {static_cast<char>(c), '\0'};
        Canvas canvas(8, 16);
        draw_text(canvas.page, canvas.whole(), 0, 0, text, 0, 16, ink);
        EXPECT_LE(canvas.ink_box().x1, canvas.ink_box().x2) << "no ink for '" << text << "'";
        for (const auto& other : seen) EXPECT_NE(canvas.memory, other) << "'" << text << "' repeats a glyph";
        seen.push_back(canvas.memory);
    }
}

TEST(Text, CopiesTheColourOverThePageAndLeavesTheRestUntouched) {
    for (int font = 0; font < 4; ++font) {
        Canvas canvas(200, 40);
        const int advance = draw_text(canvas.page, canvas.whole(), 5, 10, "WAg#5", font, 16, ink);
        const std::vector<uint8_t> once = canvas.memory;
        int inked = 0;
        for (int y = 0; y < canvas.page.height; ++y)
            for (int x = 0; x < canvas.page.width; ++x)
                if (canvas.inked(x, y)) {
                    ++inked;
                    ASSERT_EQ(canvas.page.at(x, y), ink) << "font " << font << " at " << x << ", " << y;
                }
        EXPECT_GT(inked, 40) << "font " << font;
        EXPECT_EQ(advance, text_width("WAg#5", font, 16)) << "font " << font;
        // Copy, never exclusive-or: the same text again changes nothing.
        draw_text(canvas.page, canvas.whole(), 5, 10, "WAg#5", font, 16, ink);
        EXPECT_EQ(canvas.memory, once) << "font " << font;
    }
}

// (x, y) is the top-left corner of the first cell: a capital's ink starts at
// or right of x and at or below y, and capitals with descenders fit the cell.
TEST(Text, CapitalsAndDescendersSitInsideTheCellBelowItsTopLeftCorner) {
    for (int font = 0; font < 4; ++font)
        for (int h : {16, 7, 40}) {
            Canvas capital(4 * h, 3 * h), descender(4 * h, 3 * h);
            const int x = h, y = h;
            draw_text(capital.page, capital.whole(), x, y, "H", font, h, ink);
            draw_text(descender.page, descender.whole(), x, y, "gjpy", font, h, ink);
            const ClipRect c = capital.ink_box(), d = descender.ink_box();
            const std::string where = "font " + std::to_string(font) + " height " + std::to_string(h);
            EXPECT_GE(c.x1, x) << where;
            EXPECT_GE(c.y1, y) << where;
            EXPECT_LT(d.y2, y + h) << where;
            EXPECT_GT(d.y2, c.y2) << where << ": descenders go below the baseline";
            EXPECT_GE(c.y2 - c.y1 + 1, h * 4 / 10) << where << ": capitals are not shrunk";
        }
}

TEST(Text, ClipsToTheRectangleAndDrawsTheRestAsUnclipped) {
    const char* text = "MASA 12.5";
    Canvas reference(200, 40);
    draw_text(reference.page, reference.whole(), 10, 12, text, 0, 16, ink);

    // Rectangles cutting through the text on each side, and text partly off
    // the page's left and top edges.
    const ClipRect clips[] = {{30, 15, 60, 22}, {0, 0, 199, 17}, {41, 0, 199, 39}, {0, 0, -1, -1}};
    for (const ClipRect& clip : clips) {
        Canvas canvas(200, 40);
        EXPECT_EQ(draw_text(canvas.page, clip, 10, 12, text, 0, 16, ink), 72);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x) {
                const uint8_t expected = clip.contains(x, y) ? reference.page.at(x, y) : Canvas::background(x, y);
                ASSERT_EQ(canvas.page.at(x, y), expected) << "clip " << clip.x1 << ", " << clip.y1 << ", "
                                                          << clip.x2 << ", " << clip.y2 << " at " << x << ", " << y;
            }
    }
    Canvas shifted(200, 40);
    draw_text(shifted.page, shifted.whole(), -30, -6, text, 0, 16, ink);
    for (int y = 0; y + 18 < 40; ++y)
        for (int x = 0; x + 40 < 200; ++x)
            ASSERT_EQ(shifted.inked(x, y), reference.inked(x + 40, y + 18)) << x << ", " << y;
}

TEST(Text, GlyphsAreRenderedNotBlocks) {
    for (int font = 0; font < 4; ++font) {
        Canvas m(40, 20), w(40, 20);
        draw_text(m.page, m.whole(), 0, 0, "M", font, 16, ink);
        draw_text(w.page, w.whole(), 0, 0, "W", font, 16, ink);
        EXPECT_NE(m.memory, w.memory) << "font " << font;
    }
}

TEST(Text, ProportionalFontsAdvanceByEachGlyphsWidth) {
    for (int font = 1; font < 4; ++font) {
        EXPECT_GT(text_width("MMM", font, 16), text_width("iii", font, 16)) << "font " << font;
        EXPECT_GT(text_width("iii", font, 16), 0) << "font " << font;
    }
    EXPECT_EQ(text_width("MMM", 0, 16), text_width("iii", 0, 16));
}

TEST(Text, EmptyOrMissingTextDrawsNothing) {
    for (const char* text : {"", static_cast<const char*>(nullptr)}) {
        Canvas canvas(20, 20);
        const std::vector<uint8_t> before = canvas.memory;
        EXPECT_EQ(draw_text(canvas.page, canvas.whole(), 2, 2, text, 1, 16, ink), 0);
        EXPECT_EQ(text_width(text, 1, 16), 0);
        EXPECT_EQ(canvas.memory, before);
    }
}

}  // namespace
