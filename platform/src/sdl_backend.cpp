// The window backend over SDL2: one fixed-size window whose surface shows the
// visual page through the palette, and the window's keys, close box and mouse
// turned into the platform's own events.
//
// Presenting writes the window surface directly (with SDL's framebuffer
// acceleration off): under X11 that is one shared-memory image put, far
// cheaper than a renderer that goes through (software) OpenGL.
#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "backend.h"
#include "palette_expand.h"

namespace {

// How long a character key waits for the text event that tells what it
// typed. X11 sends the text right behind its key; an input method may take
// a little longer.
constexpr int64_t text_wait_micros = 30'000;

bool is_set(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

// Video drivers that open a "window" nobody can see.
bool shows_nothing(const char* driver) {
    return driver == nullptr || SDL_strcasecmp(driver, "offscreen") == 0 ||
           SDL_strcasecmp(driver, "dummy") == 0 || SDL_strcasecmp(driver, "evdev") == 0;
}

// The video drivers worth trying. Wayland is left out when it has no way to
// find a compositor (libwayland would print its own complaint), and SDL's
// invisible drivers are never tried unless the user names them.
std::string video_drivers() {
    std::string drivers;
    if (is_set("DISPLAY")) drivers += "x11,";
    if (is_set("WAYLAND_DISPLAY") || is_set("XDG_RUNTIME_DIR")) drivers += "wayland,";
    drivers += "KMSDRM";
    return drivers;
}

std::string no_display_reason() {
    const std::string sdl = std::string(" (SDL: ") + SDL_GetError() + ")";
    if (is_set("DISPLAY")) return std::string("cannot reach the X display \"") + std::getenv("DISPLAY") + "\"" + sdl;
    if (is_set("WAYLAND_DISPLAY"))
        return std::string("cannot reach the Wayland display \"") + std::getenv("WAYLAND_DISPLAY") + "\"" + sdl;
    return "no display (DISPLAY is not set)";
}

// The platform's texts are single-byte Latin-1; SDL takes UTF-8.
std::string utf8_from_latin1(const char* text) {
    std::string utf8;
    for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < 0x80) {
            utf8 += char(*p);
        } else {
            utf8 += char(0xC0 | (*p >> 6));
            utf8 += char(0x80 | (*p & 0x3F));
        }
    }
    return utf8;
}

// The display connection is gone (the X server ended, say): nothing can be
// shown or read any more.
[[noreturn]] void window_lost(const char* what) {
    std::fprintf(stderr, "%s: the graphics window was lost: %s\n", program_invocation_short_name, what);
    std::exit(1);
}

// Xlib ends the process with a message of its own when the connection to the
// X server breaks; this says it in the platform's words first. SDL loads
// libX11 itself, so its handler is set through the library SDL loaded.
using XIOErrorHandler = int (*)(void* display);

int x_connection_broke(void*) { window_lost("the connection to the X server broke"); }

XIOErrorHandler set_x_io_error_handler(XIOErrorHandler handler) {
    void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (x11 == nullptr) return nullptr;
    auto set = reinterpret_cast<XIOErrorHandler (*)(XIOErrorHandler)>(dlsym(x11, "XSetIOErrorHandler"));
    XIOErrorHandler previous = set ? set(handler) : nullptr;
    dlclose(x11);
    return previous;
}

// Keypad keys with NumLock off act as the cursor and editing keys printed on
// them.
KeyId keypad_navigation(SDL_Scancode scancode) {
    switch (scancode) {
    case SDL_SCANCODE_KP_7: return KeyId::Home;
    case SDL_SCANCODE_KP_8: return KeyId::Up;
    case SDL_SCANCODE_KP_9: return KeyId::PageUp;
    case SDL_SCANCODE_KP_4: return KeyId::Left;
    case SDL_SCANCODE_KP_5: return KeyId::Keypad5;
    case SDL_SCANCODE_KP_6: return KeyId::Right;
    case SDL_SCANCODE_KP_1: return KeyId::End;
    case SDL_SCANCODE_KP_2: return KeyId::Down;
    case SDL_SCANCODE_KP_3: return KeyId::PageDown;
    case SDL_SCANCODE_KP_0: return KeyId::Insert;
    case SDL_SCANCODE_KP_PERIOD: return KeyId::Delete;
    default: return KeyId::Character;
    }
}

bool is_keypad_digit_or_point(SDL_Scancode scancode) {
    return (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0) ||
           scancode == SDL_SCANCODE_KP_PERIOD;
}

// Keys known by their position on the keyboard, whatever the layout.
KeyId key_at(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return static_cast<KeyId>(static_cast<int>(KeyId::F1) + (scancode - SDL_SCANCODE_F1));
    switch (scancode) {
    case SDL_SCANCODE_ESCAPE: return KeyId::Escape;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_RETURN2:
    case SDL_SCANCODE_KP_ENTER: return KeyId::Enter;
    case SDL_SCANCODE_BACKSPACE: return KeyId::Backspace;
    case SDL_SCANCODE_TAB: return KeyId::Tab;
    case SDL_SCANCODE_SPACE: return KeyId::Space;
    case SDL_SCANCODE_HOME: return KeyId::Home;
    case SDL_SCANCODE_UP: return KeyId::Up;
    case SDL_SCANCODE_PAGEUP: return KeyId::PageUp;
    case SDL_SCANCODE_LEFT: return KeyId::Left;
    case SDL_SCANCODE_RIGHT: return KeyId::Right;
    case SDL_SCANCODE_END: return KeyId::End;
    case SDL_SCANCODE_DOWN: return KeyId::Down;
    case SDL_SCANCODE_PAGEDOWN: return KeyId::PageDown;
    case SDL_SCANCODE_INSERT: return KeyId::Insert;
    case SDL_SCANCODE_DELETE: return KeyId::Delete;
    case SDL_SCANCODE_KP_MULTIPLY: return KeyId::KeypadMultiply;
    case SDL_SCANCODE_KP_PLUS: return KeyId::KeypadPlus;
    case SDL_SCANCODE_KP_MINUS: return KeyId::KeypadMinus;
    case SDL_SCANCODE_KP_DIVIDE: return KeyId::KeypadDivide;
    case SDL_SCANCODE_PAUSE: return KeyId::Pause;
    case SDL_SCANCODE_APPLICATION: return KeyId::Application;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return KeyId::Shift;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return KeyId::Ctrl;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return KeyId::Alt;
    default: return KeyId::Character;
    }
}

// The key of an SDL key event. Letters and digits follow the layout (the
// key that types "a" is A), everything else the key's position.
KeyId key_of(const SDL_Keysym& keysym) {
    if (is_keypad_digit_or_point(keysym.scancode)) {
        // Shift turns NumLock round for the keypad, as X11 does.
        bool types = (keysym.mod & KMOD_NUM) != 0 && (keysym.mod & KMOD_SHIFT) == 0;
        if (types)
            return keysym.scancode == SDL_SCANCODE_KP_PERIOD ? KeyId::KeypadDecimal : KeyId::Character;
        return keypad_navigation(keysym.scancode);
    }
    if (keysym.sym >= SDLK_a && keysym.sym <= SDLK_z)
        return static_cast<KeyId>(static_cast<int>(KeyId::A) + (keysym.sym - SDLK_a));
    if (keysym.sym >= SDLK_1 && keysym.sym <= SDLK_9)
        return static_cast<KeyId>(static_cast<int>(KeyId::Digit1) + (keysym.sym - SDLK_1));
    if (keysym.sym == SDLK_0) return KeyId::Digit0;
    return key_at(keysym.scancode);
}

// Whether a key pressed without Ctrl and Alt may type a character, whose
// text event then follows the key event.
bool may_type(KeyId key) {
    switch (key) {
    case KeyId::Character:
    case KeyId::Space:
    case KeyId::KeypadMultiply:
    case KeyId::KeypadPlus:
    case KeyId::KeypadMinus:
    case KeyId::KeypadDivide:
    case KeyId::KeypadDecimal: return true;
    default:
        return (key >= KeyId::Digit1 && key <= KeyId::Digit0) || (key >= KeyId::A && key <= KeyId::Z);
    }
}

// SDL keeps its own record of the modifiers held, and skips a key's release
// when a press of the same key waits less than 2 ms behind it (taking the two
// for auto-repeat). In a burst of keys (a remote desktop typing a text, a
// test) a release of Ctrl or Alt is skipped so, and SDL goes on reporting
// the modifier for keys typed without it. Each X key press carries the
// server's own modifier state, and SDL hands the raw event over right before
// its key event: that state is the one to trust. -1: no such event.
int x_key_press_state(const SDL_SysWMmsg& message) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (message.subsystem == SDL_SYSWM_X11 && message.msg.x11.event.type == KeyPress)
        return static_cast<int>(message.msg.x11.event.xkey.state);
#else
    (void)message;
#endif
    return -1;
}

SDL_Keysym with_x_modifiers(SDL_Keysym keysym, int x_state) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (x_state < 0) return keysym;
    int mod = keysym.mod & ~(KMOD_SHIFT | KMOD_CTRL | KMOD_ALT);
    if (x_state & ShiftMask) mod |= KMOD_LSHIFT;
    if (x_state & ControlMask) mod |= KMOD_LCTRL;
    if (x_state & Mod1Mask) mod |= KMOD_LALT;
    keysym.mod = static_cast<Uint16>(mod);
#else
    (void)x_state;
#endif
    return keysym;
}

// Decodes the UTF-8 text of a text event into code points.
std::vector<int> code_points(const char* text) {
    std::vector<int> points;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        int length = *p < 0x80 ? 1 : (*p >> 5) == 0x6 ? 2 : (*p >> 4) == 0xE ? 3 : (*p >> 3) == 0x1E ? 4 : 0;
        if (length == 0) {  // a stray continuation byte: skip it
            ++p;
            continue;
        }
        int point = length == 1 ? *p : *p & (0x7F >> length);
        int i = 1;
        for (; i < length && (p[i] & 0xC0) == 0x80; ++i) point = (point << 6) | (p[i] & 0x3F);
        if (i == length) points.push_back(point);
        p += i;
    }
    return points;
}

class SdlBackend final : public Backend {
public:
    bool open(int width, int height, const char* title, std::string& reason) override;
    void close() override;
    bool present(const uint8_t* pixels, const uint32_t* palette) override;
    void poll(EventSink& sink) override;
    void wait(int64_t micros) override;
    int64_t now_micros() override;

private:
    bool start_video(std::string& reason);
    bool create_window(const char* title, std::string& reason);
    void show_last_page();
    void expand(SDL_Surface* surface);
    void handle(const SDL_Event& event, EventSink& sink);
    void key_down(const SDL_Keysym& keysym, EventSink& sink);
    void text_typed(const char* text, EventSink& sink);
    void deliver_pending(EventSink& sink);

    SDL_Window* window_ = nullptr;
    XIOErrorHandler previous_io_handler_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int64_t refresh_micros_ = 16'667;
    int64_t last_present_ = 0;
    // The page last shown and its palette, to repaint the window from when
    // it is exposed or its surface is renewed.
    std::vector<uint8_t> shown_pixels_;
    uint32_t shown_palette_[256] = {};
    // For surfaces of other than 32 bits a pixel: the page expanded here,
    // then converted by SDL's blit.
    SDL_Surface* staging_ = nullptr;

    // A character key held back until its text event says what it typed.
    bool pending_ = false;
    KeyEvent pending_event_;
    int64_t pending_deadline_ = 0;
    // The text event of a key pressed with Ctrl or Alt is not wanted.
    bool drop_text_ = false;
    int64_t drop_deadline_ = 0;
    // The modifier state of the X key press whose key event comes next.
    int x_press_state_ = -1;
};

bool SdlBackend::start_video(std::string& reason) {
    // Ctrl+C in a terminal must end the program at once; SDL would turn it
    // into a quit event, which the programs ignore.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The close box only queues a key; closing the window is the program's
    // business.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEODRIVER, video_drivers().c_str());  // the user's SDL_VIDEODRIVER wins
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        reason = no_display_reason();
        SDL_Quit();
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (shows_nothing(driver)) {
        reason = std::string("no display (SDL's \"") + (driver ? driver : "?") + "\" video driver shows nothing)";
        SDL_Quit();
        return false;
    }
    if (SDL_strcasecmp(driver, "x11") == 0) {
        previous_io_handler_ = set_x_io_error_handler(x_connection_broke);
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }
    return true;
}

bool SdlBackend::create_window(const char* title, std::string& reason) {
    SDL_Rect screen, usable;
    if (SDL_GetDisplayBounds(0, &screen) != 0) screen = {0, 0, width_, height_};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = screen;
    if (width_ > screen.w || height_ > screen.h) {
        reason = "the screen (" + std::to_string(screen.w) + " x " + std::to_string(screen.h) +
                 ") cannot hold the " + std::to_string(width_) + " x " + std::to_string(height_) + " client area";
        return false;
    }
    // Without SDL_WINDOW_RESIZABLE the window has a fixed size, which window
    // managers show without a maximise button.
    window_ = SDL_CreateWindow(utf8_from_latin1(title).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width_, height_,
                               SDL_WINDOW_SHOWN);
    if (window_ == nullptr) {
        reason = std::string("cannot create the window: ") + SDL_GetError();
        return false;
    }
    // The frame is known only once the window manager has framed the window.
    SDL_PumpEvents();
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) top = left = bottom = right = 0;
    if (width_ + left + right > usable.w || height_ + top + bottom > usable.h) {
        SDL_SetWindowBordered(window_, SDL_FALSE);
        SDL_SetWindowPosition(window_, screen.x + (screen.w - width_) / 2, screen.y + (screen.h - height_) / 2);
    }
    SDL_RaiseWindow(window_);
    return true;
}

bool SdlBackend::open(int width, int height, const char* title, std::string& reason) {
    width_ = width;
    height_ = height;
    if (!start_video(reason)) return false;
    if (!create_window(title, reason)) {
        close();
        return false;
    }
    SDL_DisplayMode mode;
    refresh_micros_ = 16'667;
    if (SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0)
        refresh_micros_ = 1'000'000 / mode.refresh_rate;
    shown_pixels_.assign(static_cast<size_t>(width) * height, 0);
    std::memset(shown_palette_, 0, sizeof shown_palette_);
    pending_ = false;
    drop_text_ = false;
    x_press_state_ = -1;
    show_last_page();  // black, as the pages start
    last_present_ = now_micros();
    return true;
}

void SdlBackend::close() {
    if (staging_ != nullptr) SDL_FreeSurface(staging_);
    staging_ = nullptr;
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (previous_io_handler_ != nullptr) set_x_io_error_handler(previous_io_handler_);
    previous_io_handler_ = nullptr;
    // Quitting closes the display connection, which waits until the server
    // has destroyed the window; a later open starts SDL afresh.
    SDL_Quit();
}

bool SdlBackend::present(const uint8_t* pixels, const uint32_t* palette) {
    if (window_ == nullptr) return true;
    int64_t now = now_micros();
    if (now - last_present_ < refresh_micros_) return false;
    std::memcpy(shown_pixels_.data(), pixels, shown_pixels_.size());
    std::memcpy(shown_palette_, palette, sizeof shown_palette_);
    show_last_page();
    last_present_ = now;
    return true;
}

void SdlBackend::show_last_page() {
    // The surface is renewed when the window's size changes; SDL hands out
    // the valid one.
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) window_lost(SDL_GetError());
    if (surface->w < width_ || surface->h < height_) return;  // changing size: repainted at its event
    if (surface->format->BytesPerPixel == 4) {
        expand(surface);
    } else {
        if (staging_ == nullptr)
            staging_ = SDL_CreateRGBSurfaceWithFormat(0, width_, height_, 32, SDL_PIXELFORMAT_XRGB8888);
        if (staging_ == nullptr) window_lost(SDL_GetError());
        expand(staging_);
        SDL_BlitSurface(staging_, nullptr, surface, nullptr);
    }
    if (SDL_UpdateWindowSurface(window_) != 0) window_lost(SDL_GetError());
}

// Palette indices to 32-bit pixels of the surface's own format, through a
// table of the 256 entries.
void SdlBackend::expand(SDL_Surface* surface) {
    uint32_t table[256];
    for (int i = 0; i < 256; ++i) {
        uint32_t rgb = shown_palette_[i];
        table[i] = SDL_MapRGB(surface->format, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    expand_through_palette(shown_pixels_.data(), width_, height_, table, surface->pixels, surface->pitch);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

void SdlBackend::poll(EventSink& sink) {
    if (window_ == nullptr) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) handle(event, sink);
    int64_t now = now_micros();
    if (pending_ && now >= pending_deadline_) deliver_pending(sink);
    if (drop_text_ && now >= drop_deadline_) drop_text_ = false;
}

void SdlBackend::handle(const SDL_Event& event, EventSink& sink) {
    const int x_state = x_press_state_;
    x_press_state_ = -1;
    switch (event.type) {
    case SDL_SYSWMEVENT: x_press_state_ = x_key_press_state(*event.syswm.msg); break;
    case SDL_KEYDOWN: key_down(with_x_modifiers(event.key.keysym, x_state), sink); break;
    case SDL_TEXTINPUT: text_typed(event.text.text, sink); break;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int x = event.type == SDL_MOUSEMOTION ? event.motion.x : event.button.x;
        int y = event.type == SDL_MOUSEMOTION ? event.motion.y : event.button.y;
        if (x >= 0 && x < width_ && y >= 0 && y < height_) sink.mouse_moved(x, y);
        break;
    }
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (pending_) deliver_pending(sink);  // keys keep their order
            sink.close_box();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED: show_last_page(); break;
        default: break;
        }
        break;
    // With SDL's signal handlers off and the close box kept apart, a quit
    // event means the display itself has gone (a Wayland compositor ended).
    case SDL_QUIT: window_lost("the display closed the connection");
    default: break;
    }
}

void SdlBackend::key_down(const SDL_Keysym& keysym, EventSink& sink) {
    if (pending_) deliver_pending(sink);  // its text never came
    KeyEvent key;
    key.key = key_of(keysym);
    key.shift = (keysym.mod & KMOD_SHIFT) != 0;
    key.ctrl = (keysym.mod & KMOD_CTRL) != 0;
    key.alt = (keysym.mod & KMOD_ALT) != 0;
    drop_text_ = false;
    if (key.ctrl || key.alt) {
        // X11 still types a character for Alt+letter, Ctrl+";" and Ctrl
        // with keypad keys; the key and its modifiers decide alone.
        drop_text_ = true;
        drop_deadline_ = now_micros() + text_wait_micros;
        sink.key_event(key);
    } else if (may_type(key.key)) {
        pending_ = true;
        pending_event_ = key;
        pending_deadline_ = now_micros() + text_wait_micros;
    } else {
        sink.key_event(key);
    }
}

void SdlBackend::text_typed(const char* text, EventSink& sink) {
    if (drop_text_) {
        drop_text_ = false;
        return;
    }
    for (int point : code_points(text)) {
        if (pending_) {
            pending_event_.typed = point;
            deliver_pending(sink);
        } else {
            // Text without a key of its own: an input method's or a second
            // character of one key.
            KeyEvent key;
            key.typed = point;
            sink.key_event(key);
        }
    }
}

void SdlBackend::deliver_pending(EventSink& sink) {
    pending_ = false;
    sink.key_event(pending_event_);
}

// A plain sleep: SDL_WaitEventTimeout would wake up at input sooner, but on
// X11 it wakes itself with a message to the window sent over a second
// connection, which can arrive after the window is destroyed and then kills
// the process with an X error. The core waits at most one poll interval.
void SdlBackend::wait(int64_t micros) {
    if (micros > 0) std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

int64_t SdlBackend::now_micros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

// A page is mostly runs of one colour (the background, a filled bar): a
// block of 16 equal indices is checked with two 8-byte compares and filled
// with one value, which costs little more than the memory it writes; any
// other block is looked up pixel by pixel.
void expand_through_palette(const uint8_t* pixels, int width, int height, const uint32_t* table,
                            void* target, int pitch) {
    constexpr int block = 16;
    auto* row = static_cast<uint8_t*>(target);
    for (int y = 0; y < height; ++y, pixels += width, row += pitch) {
        auto* out = reinterpret_cast<uint32_t*>(row);
        int x = 0;
        for (; x + block <= width; x += block) {
            const uint8_t* in = pixels + x;
            uint64_t front, back;
            std::memcpy(&front, in, 8);
            std::memcpy(&back, in + 8, 8);
            const uint64_t uniform = in[0] * 0x0101010101010101ull;
            if (front == uniform && back == uniform) {
                const uint32_t value = table[in[0]];
                for (int k = 0; k < block; ++k) out[x + k] = value;
            } else {
                for (int k = 0; k < block; ++k) out[x + k] = table[in[k]];
            }
        }
        for (; x < width; ++x) out[x] = table[pixels[x]];
    }
}

Backend* window_backend() {
    static SdlBackend backend;
    return &backend;
}
