#include "storm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graph.h"

namespace reliability {

namespace {

uint64_t environment_number(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    return std::strtoull(text, nullptr, 0);
}

// What a US keyboard types with and without Shift.
int typed_character(const KeyEvent& event, std::mt19937_64& random) {
    const int key = int(event.key);
    if (key >= int(KeyId::A) && key <= int(KeyId::Z))
        return (event.shift ? 'A' : 'a') + key - int(KeyId::A);
    if (key >= int(KeyId::Digit1) && key <= int(KeyId::Digit0))
        return (event.shift ? "!@#$%^&*()" : "1234567890")[key - int(KeyId::Digit1)];
    switch (event.key) {
        case KeyId::Space: return ' ';
        case KeyId::KeypadMultiply: return '*';
        case KeyId::KeypadPlus: return '+';
        case KeyId::KeypadMinus: return '-';
        case KeyId::KeypadDivide: return '/';
        case KeyId::KeypadDecimal: return '.';
        // Punctuation, Latin-1 letters of other layouts, and characters
        // beyond the single-byte set, which give no code.
        case KeyId::Character: return std::uniform_int_distribution<int>(1, 300)(random);
        default: return -1;
    }
}

}  // namespace

uint64_t storm_seed(uint64_t fallback) { return environment_number("STORM_SEED", fallback); }

int storm_codes(int fallback) { return int(environment_number("STORM_CODES", uint64_t(fallback))); }

KeyEvent KeyStorm::next_event() {
    KeyEvent event;
    // Two keys in five are plain letters, the keys these programs are driven
    // by. The digits, which open the part editors that only ESC leaves, are
    // made four times rarer, so the storm spends about as long in the
    // command loops as in the editors.
    if (std::bernoulli_distribution(0.4)(random_)) {
        event.key = KeyId(int(KeyId::A) + std::uniform_int_distribution<int>(0, 25)(random_));
        event.typed = typed_character(event, random_);
        return event;
    }
    do {
        event.key = KeyId(std::uniform_int_distribution<int>(0, int(KeyId::Alt))(random_));
    } while (event.key >= KeyId::Digit1 && event.key <= KeyId::Digit0 &&
             std::bernoulli_distribution(0.75)(random_));
    const int modifiers = std::bernoulli_distribution(0.5)(random_)
                              ? 0
                              : std::uniform_int_distribution<int>(1, 7)(random_);
    event.shift = modifiers & 1;
    event.ctrl = modifiers & 2;
    event.alt = modifiers & 4;
    event.typed = typed_character(event, random_);
    return event;
}

KeyCodes KeyStorm::next_codes() {
    if (std::bernoulli_distribution(0.02)(random_)) return close_box_codes();
    return translate_key(next_event());
}

std::vector<gt::ScriptKey> KeyStorm::keys(int codes) {
    gt::Script script;
    int total = 0;
    while (total < codes) {
        // A quarter of the keys are held down for a while, as a typist's
        // repeat would give them: the settings walk far from where they
        // start, out to their limits, instead of jittering about it.
        const KeyCodes key = next_codes();
        const int repeats = std::bernoulli_distribution(0.25)(random_)
                                ? std::uniform_int_distribution<int>(2, 100)(random_)
                                : 1;
        for (int i = 0; i < repeats; ++i) script.keys_from(key);
        total += key.count * repeats;
    }
    return script.keys;
}

int code_count(const std::vector<gt::ScriptKey>& keys) {
    int total = 0;
    for (const gt::ScriptKey& key : keys) total += key.count;
    return total;
}

// --- Key-driven programs --------------------------------------------------------

KeyDrivenStorm::KeyDrivenStorm(void (*program)(), uint64_t seed, std::vector<gt::ScriptKey> keys)
    : program_(program), seed_(seed), keys_(std::move(keys)) {
    gt::Script ends;
    ends.tokens("ESC ESC ESC");
    keys_.insert(keys_.end(), ends.keys.begin(), ends.keys.end());
    for (const gt::ScriptKey& key : keys_) {
        first_code_of_key_.push_back(int(codes_.size()));
        for (int i = 0; i < key.count; ++i) codes_.push_back(key.codes[i]);
    }
}

gt::Script KeyDrivenStorm::script_from_here() const {
    gt::Script script;
    script.trace = trace;
    script.keys.assign(keys_.begin() + long(first_key_), keys_.end());
    return script;
}

std::string KeyDrivenStorm::where(int keys_read) const {
    const int at = first_code_ + keys_read;
    return "seed " + std::to_string(seed_) + ", run " + std::to_string(runs_) + ", code " +
           std::to_string(at) + (at < codes() ? " (" + std::to_string(codes_[at]) + ")" : "");
}

void KeyDrivenStorm::run() {
    while (first_key_ < keys_.size()) {
        int last_read = -1;
        gt::Hooks hooks;
        hooks.on_read_key = [&](int keys_read) {
            last_read = keys_read;
            if (on_read_key) on_read_key(keys_read);
        };
        hooks.on_frame = on_frame;
        if (before_run) before_run();
        const gt::Ending ending = gt::run_with(program_, script_from_here(), hooks);
        if (after_run) after_run();
        // On read, each key is delivered when the queue has run dry, so the
        // codes read are exactly the codes of the keys used up.
        const int read = last_read + 1;
        ASSERT_EQ(ending, gt::Ending::Returned) << "the program did not end at the last ESC; " << where(read);
        ASSERT_GT(read, 0) << where(0);
        ASSERT_EQ(code(read - 1), 27) << "the program ended on a key other than ESC; " << where(read - 1);
        first_code_ += read;
        while (first_key_ < keys_.size() && first_code_of_key_[first_key_] < first_code_) ++first_key_;
        ASSERT_TRUE(first_key_ == keys_.size() || first_code_of_key_[first_key_] == first_code_)
            << "the program ended in the middle of a two-code key; " << where(read - 1);
        ++runs_;
    }
}

std::vector<uint8_t> KeyDrivenStorm::replay_page(int keys_read) const {
    std::vector<uint8_t> page;
    gt::Hooks hooks;
    hooks.on_read_key = [&](int read) {
        if (read == keys_read) page = gt::page(gt::visual_page());
    };
    gt::run_with(program_, script_from_here(), hooks);
    return page;
}

// --- Pages --------------------------------------------------------------------------

uint64_t page_hash(const std::vector<uint8_t>& pixels) {
    // Eight lanes of 64-bit words, each step a bijection of its lane's value,
    // so pages that differ in one word never collide; the lanes keep the
    // multiplier busy instead of waiting on one long chain.
    constexpr int lanes = 8;
    uint64_t lane[lanes];
    for (int l = 0; l < lanes; ++l) lane[l] = 0x9E3779B97F4A7C15ull * uint64_t(l + 1);
    size_t i = 0;
    for (; i + 8 * lanes <= pixels.size(); i += 8 * lanes) {
        uint64_t words[lanes];
        std::memcpy(words, pixels.data() + i, sizeof words);
        for (int l = 0; l < lanes; ++l) {
            lane[l] = (lane[l] ^ words[l]) * 0x100000001B3ull;
            lane[l] ^= lane[l] >> 29;
        }
    }
    uint64_t hash = 0;
    for (int l = 0; l < lanes; ++l) hash = (hash ^ lane[l]) * 0x100000001B3ull;
    for (; i < pixels.size(); ++i) hash = (hash ^ pixels[i]) * 0x100000001B3ull;
    return hash;
}

uint64_t visual_page_hash() { return page_hash(gt::page(gt::visual_page())); }

std::string page_difference(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected,
                            int width) {
    if (actual.size() != expected.size()) return "pages of different sizes";
    int count = 0;
    size_t first = 0;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] == expected[i]) continue;
        if (count++ == 0) first = i;
    }
    if (count == 0) return "";
    return std::to_string(count) + " pixels differ, the first at (" + std::to_string(first % width) + ", " +
           std::to_string(first / width) + "): " + std::to_string(actual[first]) + " instead of " +
           std::to_string(expected[first]);
}

std::vector<uint8_t> shifted(const std::vector<uint8_t>& page, int width, int height, long dx, long dy,
                             uint8_t fill) {
    std::vector<uint8_t> out(page.size(), fill);
    for (int y = 0; y < height; ++y) {
        const long from_y = y - dy;
        if (from_y < 0 || from_y >= height) continue;
        for (int x = 0; x < width; ++x) {
            const long from_x = x - dx;
            if (from_x >= 0 && from_x < width) out[size_t(y) * width + x] = page[size_t(from_y) * width + from_x];
        }
    }
    return out;
}

void paint_over(std::vector<uint8_t>& page, const std::vector<uint8_t>& layer, uint8_t background) {
    for (size_t i = 0; i < page.size(); ++i)
        if (layer[i] != background) page[i] = layer[i];
}

bool checked_press(long shift, long presses, long last) {
    const long distance = std::labs(shift);
    const bool near_a_wrap = std::labs(distance - 32768) <= 1000 || std::labs(distance - 65536) <= 1000;
    return distance <= 1000 || (near_a_wrap && presses % 5 == 0) || presses % 25 == 0 || presses == last;
}

namespace {

int reference_mode = MODE_640x480;
const std::function<void()>* reference_draw = nullptr;

void reference_program() {
    InitGraph(DRIVER_256, reference_mode, "reference");
    (*reference_draw)();
    CloseGraph();
}

}  // namespace

void run_reference(int mode, const std::function<void()>& draw) {
    reference_mode = mode;
    reference_draw = &draw;
    gt::run(reference_program, gt::Script{});
    reference_draw = nullptr;
}

}  // namespace reliability

namespace reliability {

std::vector<Primitive> traced_primitives(size_t from, size_t to) {
    const auto& trace = gt::trace();
    std::vector<Primitive> primitives;
    for (size_t i = from; i < to && i < trace.size(); ++i) {
        Primitive p;
        const char* line = trace[i].c_str();
        if (std::sscanf(line, "Line(%ld, %ld, %ld, %ld)", &p.x1, &p.y1, &p.x2, &p.y2) == 4) {
            primitives.push_back(p);
        } else if (std::sscanf(line, "Circle(%ld, %ld, %ld)", &p.x1, &p.y1, &p.radius) == 3) {
            p.circle = true;
            primitives.push_back(p);
        }
    }
    return primitives;
}

namespace {

double distance_to(const Primitive& p, double x, double y) {
    if (p.circle) return std::fabs(std::hypot(x - p.x1, y - p.y1) - double(p.radius));
    const double dx = double(p.x2 - p.x1), dy = double(p.y2 - p.y1);
    const double length2 = dx * dx + dy * dy;
    double t = length2 == 0 ? 0 : ((x - p.x1) * dx + (y - p.y1) * dy) / length2;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (p.x1 + t * dx), y - (p.y1 + t * dy));
}

// The points along a primitive's course through the window, half a pixel
// apart or closer; a line's last pixel, which is not drawn, is left out.
std::vector<std::pair<double, double>> course_in_window(const Primitive& p, int width, int height) {
    std::vector<std::pair<double, double>> points;
    const double right = width - 1, bottom = height - 1;
    auto inside = [&](double x, double y) { return x >= 0 && x <= right && y >= 0 && y <= bottom; };
    if (p.circle) {
        const double r = double(p.radius), cx = double(p.x1), cy = double(p.y1);
        for (int x = 0; x < width; ++x) {
            const double d = x - cx;
            if (std::fabs(d) > r) continue;
            const double half = std::sqrt(r * r - d * d);
            for (double y : {cy - half, cy + half})
                if (inside(x, y)) points.emplace_back(x, y);
        }
        for (int y = 0; y < height; ++y) {
            const double d = y - cy;
            if (std::fabs(d) > r) continue;
            const double half = std::sqrt(r * r - d * d);
            for (double x : {cx - half, cx + half})
                if (inside(x, y)) points.emplace_back(x, y);
        }
        return points;
    }
    // The segment cut to the window (Liang-Barsky), less its last pixel.
    const double x1 = double(p.x1), y1 = double(p.y1), dx = double(p.x2 - p.x1), dy = double(p.y2 - p.y1);
    const double length = std::hypot(dx, dy);
    if (length < 2) return points;
    double t0 = 0, t1 = 1 - 1.5 / length;
    const double edges[4][2] = {{-dx, x1}, {dx, right - x1}, {-dy, y1}, {dy, bottom - y1}};
    for (const auto& [q, r] : edges) {
        if (q == 0) {
            if (r < 0) return points;
            continue;
        }
        const double t = r / q;
        if (q < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
    }
    if (t0 > t1) return points;
    const int steps = int(std::ceil((t1 - t0) * length * 2)) + 1;
    for (int i = 0; i <= steps; ++i) {
        const double t = t0 + (t1 - t0) * i / steps;
        points.emplace_back(x1 + t * dx, y1 + t * dy);
    }
    return points;
}

}  // namespace

std::string picture_problem(const std::vector<uint8_t>& page, int width, int height, uint8_t background,
                            const std::vector<Primitive>& primitives) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (page[size_t(y) * width + x] == background) continue;
            bool near = false;
            for (const Primitive& p : primitives) near = near || distance_to(p, x, y) <= 1.0;
            if (!near) return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is on no primitive";
        }
    }
    for (const Primitive& p : primitives) {
        for (const auto& [fx, fy] : course_in_window(p, width, height)) {
            const int cx = int(std::lround(fx)), cy = int(std::lround(fy));
            bool drawn = false;
            for (int y = std::max(cy - 1, 0); y <= std::min(cy + 1, height - 1); ++y)
                for (int x = std::max(cx - 1, 0); x <= std::min(cx + 1, width - 1); ++x)
                    drawn = drawn || page[size_t(y) * width + x] != background;
            if (!drawn)
                return "nothing drawn near (" + std::to_string(cx) + ", " + std::to_string(cy) + ") on " +
                       (p.circle ? "Circle(" + std::to_string(p.x1) + ", " + std::to_string(p.y1) + ", " +
                                       std::to_string(p.radius) + ")"
                                 : "Line(" + std::to_string(p.x1) + ", " + std::to_string(p.y1) + ", " +
                                       std::to_string(p.x2) + ", " + std::to_string(p.y2) + ")");
        }
    }
    return "";
}

}  // namespace reliability
