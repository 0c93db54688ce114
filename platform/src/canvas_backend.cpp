// The window backend of the browser build (emscripten): the page's canvas
// shows the visual page through the palette, and the canvas's keys and mouse
// become the platform's own events.
//
// The programs keep their blocking loops; the build's ASYNCIFY lets a wait
// hand control back to the browser (emscripten_sleep) and resume later. The
// browser paints the canvas and delivers input only while the program is
// away like that, so every wait sleeps, and a program that never waits
// (one that only looks at the keys between frames) is sent away for a moment
// once a display frame from `poll`.
//
// The page provides a <canvas id="canvas">; the backend sets its size and the
// page's title when it opens.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "backend.h"
#include "keys.h"

namespace {

constexpr const char* canvas_target = "#canvas";
constexpr int64_t display_frame_micros = 16'667;

EM_JS(void, canvas_open, (int width, int height, const char* title), {
    const canvas = document.getElementById("canvas");
    canvas.width = width;
    canvas.height = height;
    let text = "";  // the platform's texts are single-byte Latin-1
    for (let p = title; HEAPU8[p] != 0; ++p) text += String.fromCharCode(HEAPU8[p]);
    document.title = text;
    Module.canvasContext = canvas.getContext("2d");
    Module.canvasImage = Module.canvasContext.createImageData(width, height);
});

// `rgba` holds width * height pixels of 4 bytes, red first.
EM_JS(void, canvas_show, (const uint8_t* rgba), {
    const image = Module.canvasImage;
    image.data.set(HEAPU8.subarray(rgba, rgba + image.data.length));
    Module.canvasContext.putImageData(image, 0, 0);
});

// The key of a KeyboardEvent, from its `key` (what the key means in the
// user's layout, Shift and NumLock applied) and its `code` (where it is on
// the keyboard). Letters follow the layout, as in the window backend;
// digits go by their place, so Shift+1 is still the key 1.
KeyId key_of(std::string_view key, std::string_view code, bool ctrl_or_alt) {
    struct Named {
        std::string_view key;
        KeyId id;
    };
    static constexpr Named named[] = {
        {"Escape", KeyId::Escape},     {"Enter", KeyId::Enter},       {"Backspace", KeyId::Backspace},
        {"Tab", KeyId::Tab},           {"F1", KeyId::F1},             {"F2", KeyId::F2},
        {"F3", KeyId::F3},             {"F4", KeyId::F4},             {"F5", KeyId::F5},
        {"F6", KeyId::F6},             {"F7", KeyId::F7},             {"F8", KeyId::F8},
        {"F9", KeyId::F9},             {"F10", KeyId::F10},           {"F11", KeyId::F11},
        {"F12", KeyId::F12},           {"Home", KeyId::Home},         {"ArrowUp", KeyId::Up},
        {"PageUp", KeyId::PageUp},     {"ArrowLeft", KeyId::Left},    {"Clear", KeyId::Keypad5},
        {"ArrowRight", KeyId::Right},  {"End", KeyId::End},           {"ArrowDown", KeyId::Down},
        {"PageDown", KeyId::PageDown}, {"Insert", KeyId::Insert},     {"Delete", KeyId::Delete},
        {"Pause", KeyId::Pause},       {"ContextMenu", KeyId::Application},
        {"Shift", KeyId::Shift},       {"Control", KeyId::Ctrl},      {"Alt", KeyId::Alt},
    };
    // The keypad's operators, and its point while NumLock is on.
    static constexpr Named keypad[] = {
        {"NumpadMultiply", KeyId::KeypadMultiply}, {"NumpadAdd", KeyId::KeypadPlus},
        {"NumpadSubtract", KeyId::KeypadMinus},    {"NumpadDivide", KeyId::KeypadDivide},
        {"NumpadDecimal", KeyId::KeypadDecimal},
    };
    for (const Named& n : named)
        if (key == n.key) return n.id;
    for (const Named& n : keypad)
        if (code == n.key) return n.id;
    if (code == "Space") return KeyId::Space;
    if (code.size() == 6 && code.substr(0, 5) == "Digit") {
        const char digit = code[5];
        return digit == '0' ? KeyId::Digit0 : static_cast<KeyId>(static_cast<int>(KeyId::Digit1) + (digit - '1'));
    }
    char letter = 0;
    if (key.size() == 1 && ((key[0] >= 'a' && key[0] <= 'z') || (key[0] >= 'A' && key[0] <= 'Z')))
        letter = static_cast<char>(key[0] | 0x20);
    else if (ctrl_or_alt && code.size() == 4 && code.substr(0, 3) == "Key")  // Alt may type another sign
        letter = static_cast<char>(code[3] | 0x20);
    if (letter != 0) return static_cast<KeyId>(static_cast<int>(KeyId::A) + (letter - 'a'));
    return KeyId::Character;
}

// The one character `key` stands for, as a code point, or -1 when it names
// a key ("Enter", "Dead", "Unidentified").
int typed_of(std::string_view key) {
    const auto* p = reinterpret_cast<const unsigned char*>(key.data());
    const size_t length = key.size();
    if (length == 1 && p[0] < 0x80) return p[0];
    if (length == 2 && (p[0] >> 5) == 0x6) return ((p[0] & 0x1F) << 6) | (p[1] & 0x3F);
    if (length == 3 && (p[0] >> 4) == 0xE) return ((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    if (length == 4 && (p[0] >> 3) == 0x1E)
        return ((p[0] & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
    return -1;
}

class CanvasBackend final : public Backend {
public:
    bool open(int width, int height, const char* title, std::string& reason) override;
    void close() override;
    bool present(const uint8_t* pixels, const uint32_t* palette) override;
    void poll(EventSink& sink) override;
    void wait(int64_t micros) override;
    int64_t now_micros() override;

private:
    static EM_BOOL key_down(int, const EmscriptenKeyboardEvent* event, void* self);
    static EM_BOOL mouse(int, const EmscriptenMouseEvent* event, void* self);
    void sleep(int64_t micros);

    int width_ = 0;
    int height_ = 0;
    bool open_ = false;
    int64_t last_present_ = 0;
    int64_t last_yield_ = 0;
    std::vector<uint8_t> rgba_;
    // Input that arrived while the program was away, for the next poll.
    std::deque<KeyEvent> keys_;
    bool mouse_moved_ = false;
    int mouse_x_ = 0, mouse_y_ = 0;
};

bool CanvasBackend::open(int width, int height, const char* title, std::string& reason) {
    width_ = width;
    height_ = height;
    canvas_open(width, height, title);
    if (emscripten_set_keydown_callback(canvas_target, this, true, key_down) != EMSCRIPTEN_RESULT_SUCCESS ||
        emscripten_set_mousemove_callback(canvas_target, this, true, mouse) != EMSCRIPTEN_RESULT_SUCCESS ||
        emscripten_set_mousedown_callback(canvas_target, this, true, mouse) != EMSCRIPTEN_RESULT_SUCCESS) {
        reason = "the page has no canvas with the id \"canvas\"";
        close();
        return false;
    }
    rgba_.assign(static_cast<size_t>(width) * height * 4, 0);
    for (size_t i = 3; i < rgba_.size(); i += 4) rgba_[i] = 0xFF;  // opaque black
    canvas_show(rgba_.data());
    keys_.clear();
    mouse_moved_ = false;
    open_ = true;
    last_present_ = last_yield_ = now_micros();
    return true;
}

void CanvasBackend::close() {
    emscripten_set_keydown_callback(canvas_target, nullptr, true, nullptr);
    emscripten_set_mousemove_callback(canvas_target, nullptr, true, nullptr);
    emscripten_set_mousedown_callback(canvas_target, nullptr, true, nullptr);
    open_ = false;
}

// Palette indices to RGBA bytes, through a table of the 256 entries; the
// browser paints the canvas once the program next hands it control.
bool CanvasBackend::present(const uint8_t* pixels, const uint32_t* palette) {
    if (!open_) return true;
    const int64_t now = now_micros();
    if (now - last_present_ < display_frame_micros) return false;
    uint32_t table[256];
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = palette[i];
        // Little-endian: the bytes in memory are red, green, blue, alpha.
        table[i] = 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    }
    auto* target = reinterpret_cast<uint32_t*>(rgba_.data());
    const size_t count = static_cast<size_t>(width_) * height_;
    for (size_t i = 0; i < count; ++i) target[i] = table[pixels[i]];
    canvas_show(rgba_.data());
    last_present_ = now;
    return true;
}

EM_BOOL CanvasBackend::key_down(int, const EmscriptenKeyboardEvent* event, void* self) {
    auto* backend = static_cast<CanvasBackend*>(self);
    const std::string_view key(event->key, strnlen(event->key, sizeof event->key));
    const std::string_view code(event->code, strnlen(event->code, sizeof event->code));
    KeyEvent k;
    k.shift = event->shiftKey;
    k.ctrl = event->ctrlKey;
    k.alt = event->altKey;
    k.key = key_of(key, code, k.ctrl || k.alt);
    k.typed = typed_of(key);
    // A key that gives the program a code is the program's: the browser
    // does not act on it as well (Tab moving the focus, F1 opening help,
    // the arrows scrolling). Keys that give nothing keep their usual action.
    if (translate_key(k).count == 0) return false;
    backend->keys_.push_back(k);
    return true;
}

EM_BOOL CanvasBackend::mouse(int, const EmscriptenMouseEvent* event, void* self) {
    auto* backend = static_cast<CanvasBackend*>(self);
    // The offsets are in CSS pixels; the page may show the canvas scaled.
    double css_width = 0, css_height = 0;
    emscripten_get_element_css_size(canvas_target, &css_width, &css_height);
    if (css_width <= 0 || css_height <= 0) return false;
    const int x = static_cast<int>(event->targetX * backend->width_ / css_width);
    const int y = static_cast<int>(event->targetY * backend->height_ / css_height);
    if (x >= 0 && x < backend->width_ && y >= 0 && y < backend->height_) {
        backend->mouse_x_ = x;
        backend->mouse_y_ = y;
        backend->mouse_moved_ = true;
    }
    return false;
}

void CanvasBackend::poll(EventSink& sink) {
    if (!open_) return;
    // A program that draws frame after frame without waiting still lets the
    // browser paint and deliver input once a display frame.
    if (now_micros() - last_yield_ >= display_frame_micros) sleep(0);
    while (!keys_.empty()) {
        sink.key_event(keys_.front());
        keys_.pop_front();
    }
    if (mouse_moved_) sink.mouse_moved(mouse_x_, mouse_y_);
    mouse_moved_ = false;
}

void CanvasBackend::wait(int64_t micros) {
    if (micros > 0) sleep(micros);
}

// Hands control to the browser for at least `micros` (rounded up to whole
// milliseconds); the browser's timers may add a few milliseconds more.
void CanvasBackend::sleep(int64_t micros) {
    emscripten_sleep(static_cast<unsigned>((micros + 999) / 1000));
    last_yield_ = now_micros();
}

int64_t CanvasBackend::now_micros() { return static_cast<int64_t>(emscripten_get_now() * 1000.0); }

}  // namespace

Backend* window_backend() {
    static CanvasBackend backend;
    return &backend;
}
