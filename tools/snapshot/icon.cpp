#include "icon.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "graph_testing.h"

namespace {

namespace gt = graph_testing;

struct Square {
    int left, top, side;
};

// The square around every pixel that differs from the background (the
// colour of the top-left pixel), with a margin of a sixteenth of the
// drawing's size on each side; the whole page's square when nothing is drawn.
Square drawing_square(int page, uint32_t background) {
    int x0 = gt::width(), y0 = gt::height(), x1 = -1, y1 = -1;
    for (int y = 0; y < gt::height(); ++y)
        for (int x = 0; x < gt::width(); ++x)
            if (gt::palette_rgb(gt::pixel(page, x, y)) != background) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) {
        x0 = y0 = 0;
        x1 = gt::width() - 1;
        y1 = gt::height() - 1;
    }
    const int drawn = std::max(x1 - x0, y1 - y0) + 1;
    const int side = drawn + 2 * ((drawn + 15) / 16);
    return {x0 - (side - (x1 - x0 + 1)) / 2, y0 - (side - (y1 - y0 + 1)) / 2, side};
}

}  // namespace

// Each icon pixel covers an r x r area of the square (r = side / size, in
// fractions of page pixels). Its colour is the mean colour of the drawing in
// that area, its brightness the share of the area the drawing covers times
// r: a line one page pixel wide that crosses the area counts in full, so thin
// lines stay as bright as drawn at any reduction. The background goes black.
bool write_icon(const std::string& path, int size) {
    if (gt::width() == 0 || size <= 0) return false;
    const int page = gt::visual_page();
    const uint32_t background = gt::palette_rgb(gt::pixel(page, 0, 0));
    const Square square = drawing_square(page, background);
    const double r = double(square.side) / size;
    const double gain = std::max(1.0, r);

    std::vector<uint8_t> rgb(size_t(size) * size * 3);
    for (int oy = 0; oy < size; ++oy) {
        for (int ox = 0; ox < size; ++ox) {
            const double ax = ox * r, bx = (ox + 1) * r, ay = oy * r, by = (oy + 1) * r;
            double drawn = 0, sum[3] = {0, 0, 0};
            for (int sy = int(std::floor(ay)); sy < by; ++sy) {
                const double wy = std::min(by, sy + 1.0) - std::max(ay, double(sy));
                for (int sx = int(std::floor(ax)); sx < bx; ++sx) {
                    const int x = square.left + sx, y = square.top + sy;
                    if (x < 0 || y < 0 || x >= gt::width() || y >= gt::height()) continue;
                    const uint32_t c = gt::palette_rgb(gt::pixel(page, x, y));
                    if (c == background) continue;
                    const double w = wy * (std::min(bx, sx + 1.0) - std::max(ax, double(sx)));
                    drawn += w;
                    sum[0] += w * double(c >> 16 & 0xFF);
                    sum[1] += w * double(c >> 8 & 0xFF);
                    sum[2] += w * double(c & 0xFF);
                }
            }
            if (drawn == 0) continue;
            const double brightness = std::min(1.0, drawn / (r * r) * gain);
            uint8_t* out = &rgb[(size_t(oy) * size + ox) * 3];
            for (int i = 0; i < 3; ++i) out[i] = uint8_t(std::lround(sum[i] / drawn * brightness));
        }
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(size);
    image.height = png_uint_32(size);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}
