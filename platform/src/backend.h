// The one small interface between the platform's core and the thing that
// shows its pages: a real window (SDL2) or the headless backend of the tests.
#pragma once

#include <cstdint>
#include <string>

#include "keys.h"

// What a backend reports back while it looks at its input.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void key_event(const KeyEvent& event) = 0;  // a key pressed (or repeated)
    virtual void key_codes(const uint8_t* codes, int count) = 0;  // one key's codes, already translated
    virtual void close_box() = 0;
    virtual void mouse_moved(int x, int y) = 0;  // client-area coordinates
    virtual bool keys_queued() const = 0;  // the key queue holds a code
};

class Backend {
public:
    virtual ~Backend() = default;
    // Opens a window of the given client size; on failure returns false with
    // a one-line reason.
    virtual bool open(int width, int height, const char* title, std::string& reason) = 0;
    virtual void close() = 0;
    // Shows `pixels` (width * height palette indices) through `palette`
    // (0x00RRGGBB per entry). May decline when the display was refreshed too
    // recently; then returns false and the core asks again at its next wait
    // or input check.
    virtual bool present(const uint8_t* pixels, const uint32_t* palette) = 0;
    // Delivers the pending input events to `sink` without waiting.
    virtual void poll(EventSink& sink) = 0;
    // Waits `micros` microseconds (or until input arrives, if sooner).
    virtual void wait(int64_t micros) = 0;
    // Microseconds on a steady clock.
    virtual int64_t now_micros() = 0;
    // Called by the core each time a program shows a page (SetVisualPage);
    // the headless backend counts frames with it.
    virtual void frame_shown() {}
    // Called when a program waits for a key with nothing queued, after
    // `poll`: the headless backend delivers its next scripted key, or ends a
    // run whose script is exhausted.
    virtual void waiting_for_key(EventSink&) {}
    // Called each time a program calls ReadKey, with the number of codes
    // returned so far (a test hook: the previous key is fully handled).
    virtual void read_key_started(int /*keys_read*/) {}
};

// The window backend of this build: the SDL2 window natively, the page's
// canvas in the browser build.
Backend* window_backend();
