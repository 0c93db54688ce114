// Text: FreeType renders each glyph once per (face, cell height, code) in
// monochrome, one bit per pixel and no anti-aliasing; the ink is kept as runs
// of pixels relative to the character cell, so drawing a glyph is a few plain
// copies of the drawing colour onto the page.
#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "pixel.h"

// The font files, built into the library (embedded_fonts.cpp is generated
// from the Liberation fonts at build time).
extern const unsigned char liberation_mono_regular[];
extern const std::size_t liberation_mono_regular_size;
extern const unsigned char liberation_sans_regular[];
extern const std::size_t liberation_sans_regular_size;
extern const unsigned char liberation_serif_regular[];
extern const std::size_t liberation_serif_regular_size;

namespace {

// The largest cell height drawn: no window is near that tall, and the glyphs
// of a bigger cell would only cost time and memory.
constexpr int max_cell_height = 2048;
// The smallest height text_cell_height gives (size 6).
constexpr int min_cell_height = 6;

enum Face { Mono, Sans, Serif, face_count };

// Font 0 "Courier New" is Liberation Mono, 1 "MS Sans Serif" and 3 "Arial"
// are Liberation Sans, 2 "Times New Roman" is Liberation Serif.
Face face_of_font(int font) {
    switch (font) {
        case 1: case 3: return Sans;
        case 2: return Serif;
        default: return Mono;
    }
}

// A horizontal run of ink: pixels x0 .. x1 - 1 of one row, relative to the
// top-left corner of the character cell.
struct Run {
    int row;
    int x0;
    int x1;
};

struct Glyph {
    std::vector<Run> ink;
    int advance = 0;
};

// The 256 glyphs of one face at one cell height, rendered on first use.
struct GlyphSet {
    std::array<Glyph, 256> glyph;
    std::array<bool, 256> ready{};
};

// FreeType with the three faces, opened once on first use and kept for the
// life of the process; `sized` is the cell height each face is set to now.
struct FontLibrary {
    FT_Library library = nullptr;
    std::array<FT_Face, face_count> face{};
    std::array<int, face_count> sized{};

    FontLibrary() {
        const std::array<std::pair<const unsigned char*, std::size_t>, face_count> files = {{
            {liberation_mono_regular, liberation_mono_regular_size},
            {liberation_sans_regular, liberation_sans_regular_size},
            {liberation_serif_regular, liberation_serif_regular_size},
        }};
        FT_Error error = FT_Init_FreeType(&library);
        for (int i = 0; i < face_count && !error; ++i)
            error = FT_New_Memory_Face(library, files[i].first,
                                       static_cast<FT_Long>(files[i].second), 0, &face[i]);
        if (error) {
            // The fonts are part of the library, so this is only ever a
            // broken build or no memory at all: nothing sensible can go on.
            std::fprintf(stderr, "cannot load the built-in fonts: FreeType error %d\n", error);
            std::abort();
        }
    }
    ~FontLibrary() { FT_Done_FreeType(library); }  // closes the faces too
};

FontLibrary& fonts() {
    static FontLibrary library;
    return library;
}

std::map<std::pair<int, int>, GlyphSet>& glyph_cache() {
    static std::map<std::pair<int, int>, GlyphSet> cache;
    return cache;
}

int clamp_cell_height(int cell_height) {
    return std::clamp(cell_height, min_cell_height, max_cell_height);
}

// Font 0's cells are half as wide as they are high, rounded down, so that a
// line of text never grows past the width the screens are laid out for.
int mono_advance(int cell_height) { return cell_height / 2; }

// The vertical scale puts the font's ascender plus descender inside the
// cell; font 0 is also narrowed so its advance fits half the cell height.
// Whole pixels per em, rounded down: the fonts' hinting works in whole ppem,
// and rounding up could push ink out of the cell.
void set_face_size(FontLibrary& library, Face f, int cell_height) {
    if (library.sized[f] == cell_height) return;
    FT_Face face = library.face[f];
    const long em = face->units_per_EM;
    const long body = face->ascender - face->descender;
    const long y_ppem = std::max(1L, cell_height * em / body);
    long x_ppem = y_ppem;
    if (f == Mono) x_ppem = std::max(1L, mono_advance(cell_height) * em / face->max_advance_width);
    FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(x_ppem), static_cast<FT_UInt>(y_ppem));
    library.sized[f] = cell_height;
}

// The baseline's distance below the cell's top: the cell divided in the
// ratio of the font's ascender to its descender.
int baseline_of(FT_Face face, int cell_height) {
    const double ascender = face->ascender;
    const double body = face->ascender - face->descender;
    return static_cast<int>(round_half_even(cell_height * ascender / body));
}

Glyph render_glyph(Face f, int cell_height, unsigned char code) {
    FontLibrary& library = fonts();
    set_face_size(library, f, cell_height);
    FT_Face face = library.face[f];
    Glyph glyph;

    // Latin-1 bytes are their own Unicode code points. A code the font
    // lacks (the control codes) is drawn blank, as wide as a space.
    FT_UInt index = FT_Get_Char_Index(face, code);
    const bool drawn = index != 0;
    if (!drawn) index = FT_Get_Char_Index(face, ' ');
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = f == Mono ? mono_advance(cell_height)
                              : static_cast<int>(round_half_even(slot->advance.x / 64.0));
    if (!drawn || FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return glyph;

    // Ink is cut at the cell's top and bottom, and for font 0 at its sides
    // too: the screens wipe old text with bars of exactly the cell's size.
    const FT_Bitmap& bitmap = slot->bitmap;
    const int top = baseline_of(face, cell_height) - slot->bitmap_top;
    const int left = slot->bitmap_left;
    const int x_limit = f == Mono ? glyph.advance : left + static_cast<int>(bitmap.width);
    const int x_start = f == Mono ? 0 : left;
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        const int row = top + static_cast<int>(r);
        if (row < 0 || row >= cell_height) continue;
        const unsigned char* bits = bitmap.buffer + static_cast<std::ptrdiff_t>(r) * bitmap.pitch;
        auto ink_at = [&](unsigned c) { return (bits[c >> 3] >> (7 - (c & 7))) & 1; };
        for (unsigned c = 0; c < bitmap.width;) {
            if (!ink_at(c)) {
                ++c;
                continue;
            }
            const unsigned start = c;
            while (c < bitmap.width && ink_at(c)) ++c;
            const int x0 = std::max(left + static_cast<int>(start), x_start);
            const int x1 = std::min(left + static_cast<int>(c), x_limit);
            if (x0 < x1) glyph.ink.push_back({row, x0, x1});
        }
    }
    return glyph;
}

const Glyph& glyph_for(Face f, int cell_height, unsigned char code) {
    GlyphSet& set = glyph_cache()[{f, cell_height}];
    if (!set.ready[code]) {
        set.glyph[code] = render_glyph(f, cell_height, code);
        set.ready[code] = true;
    }
    return set.glyph[code];
}

}  // namespace

int text_cell_height(int size) {
    // A negative size is taken as 0, the default height.
    if (size <= 0) return 16;
    if (size <= 5) return 8 * size;
    return std::min(size, max_cell_height);
}

int draw_text(Page& page, const ClipRect& clip, int x, int y, const char* text, int font,
              int cell_height, uint8_t colour) {
    if (text == nullptr) return 0;
    const Face f = face_of_font(font);
    const int h = clamp_cell_height(cell_height);
    int pen = x;
    for (const char* p = text; *p != '\0'; ++p) {
        const Glyph& glyph = glyph_for(f, h, static_cast<unsigned char>(*p));
        for (const Run& run : glyph.ink) {
            const int py = y + run.row;
            if (py < clip.y1 || py > clip.y2) continue;
            const int px0 = std::max(pen + run.x0, clip.x1);
            const int px1 = std::min(pen + run.x1 - 1, clip.x2);
            if (px0 <= px1) std::memset(&page.at(px0, py), colour, px1 - px0 + 1);
        }
        pen += glyph.advance;
    }
    return pen - x;
}

int text_width(const char* text, int font, int cell_height) {
    if (text == nullptr) return 0;
    const Face f = face_of_font(font);
    const int h = clamp_cell_height(cell_height);
    int width = 0;
    for (const char* p = text; *p != '\0'; ++p)
        width += glyph_for(f, h, static_cast<unsigned char>(*p)).advance;
    return width;
}
