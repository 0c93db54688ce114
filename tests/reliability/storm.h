// Random key storms and the tools the reliability tests share: a seeded
// source of keys drawn from the whole key table, a driver that runs a
// key-driven program over a long stream of them (starting it again each time
// an ESC ends it), page hashes and page comparisons.
//
// Every storm takes its seed from STORM_SEED and its length from STORM_CODES
// when they are set, and names the seed in every failure, so that a failing
// run can be repeated exactly.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "graph_testing.h"

namespace reliability {

namespace gt = graph_testing;

// STORM_SEED from the environment, else `fallback`.
uint64_t storm_seed(uint64_t fallback);
// STORM_CODES from the environment, else `fallback`.
int storm_codes(int fallback);

// Keys drawn at random from the whole key table: every physical key, half of
// the time with one of the seven mixes of Shift, Ctrl and Alt, with the
// character a US keyboard types for it, translated by the platform's own
// translation; and now and then the window's close box. Plain letters come
// more often, digits less. In a stream of keys, a quarter are held: repeated
// 2 to 100 times.
class KeyStorm {
public:
    explicit KeyStorm(uint64_t seed) : random_(seed) {}
    KeyEvent next_event();
    // The codes of the next key: the close box, or the translation of the next
    // event (which may be nothing: Shift alone, Ctrl with punctuation).
    KeyCodes next_codes();
    // Script keys, due on read, of at least `codes` codes in all.
    std::vector<gt::ScriptKey> keys(int codes);
    std::mt19937_64& random() { return random_; }

private:
    std::mt19937_64 random_;
};

// The number of codes of script keys.
int code_count(const std::vector<gt::ScriptKey>& keys);

// Runs a key-driven program over a stream of keys followed by three ESC
// (enough to leave a help screen, the part editor and the command loop). Each
// time the program returns, it must have just read an ESC; it is started
// again with the keys that follow. The stream must end with the program
// returning: an ESC always ends it.
class KeyDrivenStorm {
public:
    KeyDrivenStorm(void (*program)(), uint64_t seed, std::vector<gt::ScriptKey> keys);

    // Called before each run starts, after each key is handled (at the next
    // ReadKey, with the number of codes read so far in this run), after each
    // frame, and after each run ends.
    std::function<void()> before_run;
    std::function<void(int keys_read)> on_read_key;
    std::function<void(int frame)> on_frame;
    std::function<void()> after_run;
    bool trace = false;

    void run();

    int runs() const { return runs_; }
    int codes() const { return int(codes_.size()); }
    // The code that the ReadKey numbered `keys_read` of this run returns.
    uint8_t code(int keys_read) const { return codes_[first_code_ + keys_read]; }
    // "seed S, run R, code C (code V)": where a check failed.
    std::string where(int keys_read) const;
    // Runs this run again from its start and returns the visual page at the
    // ReadKey numbered `keys_read` (to show what went wrong).
    std::vector<uint8_t> replay_page(int keys_read) const;

private:
    gt::Script script_from_here() const;

    void (*program_)();
    uint64_t seed_;
    std::vector<gt::ScriptKey> keys_;
    std::vector<uint8_t> codes_;
    std::vector<int> first_code_of_key_;
    size_t first_key_ = 0;
    int first_code_ = 0;
    int runs_ = 0;
};

// A hash of a page's bytes; different pages give different hashes (barring
// a 64-bit coincidence).
uint64_t page_hash(const std::vector<uint8_t>& pixels);
uint64_t visual_page_hash();

// Empty when equal, else how many pixels differ and the first of them.
std::string page_difference(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected,
                            int width);

// The page moved by (dx, dy) pixels: what comes in from outside is `fill`.
std::vector<uint8_t> shifted(const std::vector<uint8_t>& page, int width, int height, long dx, long dy,
                             uint8_t fill);
// Paints the pixels of `layer` that are not `background` over `page`.
void paint_over(std::vector<uint8_t>& page, const std::vector<uint8_t>& layer, uint8_t background);

// Whether a key held `presses` times of `last`, which has moved a picture
// `shift` pixels, is followed by a check: every press while the picture
// leaves the window, every fifth near 32768 and 65536 pixels (where a
// coordinate wrapped around at 16 bits would bring it back), every 25th
// elsewhere, and the last.
bool checked_press(long shift, long presses, long last);

// Runs `draw` as a program of its own: a window of the given mode (with
// InitGraph already called) in which it may draw and look at the pages. Used
// for fresh reference drawings between runs.
void run_reference(int mode, const std::function<void()>& draw);

}  // namespace reliability

namespace reliability {

// A Line or Circle call of the trace, in the coordinates the program passed.
struct Primitive {
    bool circle = false;
    long x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a circle's centre is (x1, y1)
    long radius = 0;
};

// The Line and Circle calls among trace lines [from, to).
std::vector<Primitive> traced_primitives(size_t from, size_t to);

// Checks a page of solid one-pixel lines and circles against the primitives
// that drew it: every pixel that is not background lies within a pixel of one
// of them, and wherever one of them crosses the window a pixel is drawn
// within a pixel of it. Empty when both hold, else the first exception.
std::string picture_problem(const std::vector<uint8_t>& page, int width, int height, uint8_t background,
                            const std::vector<Primitive>& primitives);

}  // namespace reliability
