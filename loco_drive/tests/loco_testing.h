// Running the program headless and reading back what it drew.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "graph_testing.h"

namespace loco_test {

using graph_testing::Ending;

// Runs the program with the keys of a token string, tracing its calls.
Ending run_keys(const std::string& tokens);
// The same with hooks.
Ending run_keys(const std::string& tokens, const graph_testing::Hooks& hooks);

// Number of SetVisualPage calls in the trace (the reset shows page 0 once).
int pages_shown();

// The newest drawing: the calls after the last clear of a page up to the
// page being shown or the next key read, GetMaxY reads left out.
std::vector<std::string> last_drawing();

// The shown page's pixels.
std::vector<uint8_t> shown_page();
// The picture right after start-up (no key pressed).
const std::vector<uint8_t>& start_page();

struct Pixel {
    int x = -100000, y = -100000;
    bool operator==(const Pixel&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Pixel& p) { return out << "(" << p.x << ", " << p.y << ")"; }

// Where the newest frame drew each point (index 1..18; point 7 is not drawn
// and stays unset), read from the fixed order of the parts' elements, and the
// radii of its four circles (pivot pin, crank pin, outer rim, inner rim).
// Fails the current test if an element is missing or a point was drawn at
// two places.
struct DrawnGear {
    std::array<Pixel, 19> point;
    std::array<int, 4> radius{};
};
DrawnGear drawn_gear();

// The frame of an assembled gear with its points at these pixels.
std::vector<std::string> expected_frame(const std::array<Pixel, 19>& point,
                                        const std::array<int, 4>& radius,
                                        int color1 = 2, int color2 = 3, int style1 = 0, int style2 = 0);

// Pixels of the start picture (crank angle 0, scale 1, offsets 200, 180).
std::array<Pixel, 19> start_pixels();

}  // namespace loco_test
