// The test-only side of the graphics platform: run a program's real code on
// the headless backend with a script of keys and mouse positions, watch it
// through hooks, and look at its pages and the trace of its calls.
//
// Linked only by tests and tools, never by the programs themselves.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "keys.h"

namespace graph_testing {

// One key of a script: one code, or a two-code key (0 and its second code).
// A key due "on read" is delivered when the program looks for a key and the
// queue is empty (one at a time, as a typist would); a key with a frame
// number >= 0 is queued once that many pages have been shown.
constexpr int on_read = -1;

struct ScriptKey {
    int frame = on_read;
    int count = 1;      // 1 or 2
    uint8_t codes[2] = {};
};

struct ScriptMouse {
    int frame = 0;  // takes effect once this many pages have been shown
    int x = 0;
    int y = 0;
};

struct Script {
    std::vector<ScriptKey> keys;
    std::vector<ScriptMouse> mouse;
    // Stop the run once this many frames are complete (a frame ends at each
    // SetVisualPage; the run stops right after the page of frame N has been
    // shown). -1: no limit.
    int frames = -1;
    // Record every platform call as a line of text.
    bool trace = false;

    // Adds keys in order, all due at `frame`.
    Script& key(uint8_t code, int frame = on_read);
    Script& key2(uint8_t second_code, int frame = on_read);  // 0, second_code
    Script& keys_from(const KeyCodes& codes, int frame = on_read);
    // Adds the keys of a token string (see parse_key_tokens).
    Script& tokens(const std::string& tokens, int frame = on_read);
    Script& mouse_at(int x, int y, int frame = 0);
};

// How a headless run ended.
enum class Ending {
    Returned,     // the program returned on its own (ESC, or any key in an animation)
    ScriptEnded,  // the program waited for a key after the last scripted key
    FramesDone,   // the frame limit of the script was reached
};

// Runs `program` (a program's NAME::run) on the headless backend with the
// script. The platform's pages, palette and trace stay readable afterwards
// until the next run.
Ending run(void (*program)(), const Script& script);

// Hooks, cleared by every run's start; set them after building the script and
// before calling run (use run_with to pass them in one go).
struct Hooks {
    // After each SetVisualPage, with the number of pages shown so far (1 for
    // the first).
    std::function<void(int frame)> on_frame;
    // Each time the program calls ReadKey, before the key is taken: the
    // previous key has been handled completely. `keys_read` is the number of
    // codes ReadKey has returned so far.
    std::function<void(int keys_read)> on_read_key;
};
Ending run_with(void (*program)(), const Script& script, const Hooks& hooks);

// A key token string, as the snapshot tool takes it: tokens separated by
// spaces; a single character is that key ("a", ";", "P"); the names ESC
// ENTER TAB BKSP SPACE F1..F12 UP DOWN LEFT RIGHT HOME END PGUP PGDN INS DEL
// PAUSE MENU KP* KP+ KP- KP/ KP. KP5 CLOSE (the close box); prefixes C- A- S-
// for Ctrl, Alt and Shift ("C-F4", "A-a", "S-F1"), translated by the real key
// table; "#N" or "#N,M" raw codes. Throws std::invalid_argument on a bad token.
std::vector<ScriptKey> parse_key_tokens(const std::string& tokens);
// The backend-neutral event a single token (without raw codes) stands for.
KeyEvent key_event_for_token(const std::string& token);

// --- Looking at the result ------------------------------------------------

int width();
int height();
int visual_page();
int active_page();
// Page 0..3, width * height palette indices.
const std::vector<uint8_t>& page(int number);
uint8_t pixel(int page_number, int x, int y);
// Entry -> 0x00RRGGBB.
uint32_t palette_rgb(int entry);
// The window's title as InitGraph got it.
std::string title();
// Recorded platform calls, e.g. "Line(400, 314, 450, 310)".
const std::vector<std::string>& trace();
// Current position, drawing colour, write mode (for tests of the core).
int current_x();
int current_y();
// Codes still waiting in the key queue.
int queued_codes();

// Writes a page through the palette as an RGB image: binary PPM when the
// path ends in ".ppm", PNG otherwise; false on failure.
bool write_image(const std::string& path, int page_number);

}  // namespace graph_testing
