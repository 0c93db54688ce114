// The SDL window backend's own logic, fed with SDL events pushed into its
// queue: pairing keys with their text, the keypad under NumLock, the close
// box, the mouse, the present rate and repainting an exposed window. Needs a
// display: the window tests run it under their own Xvfb.
#include <SDL.h>
#include <gtest/gtest.h>
// After GoogleTest: the X11 headers define macros (None, Bool) that would
// clash with its names.
#include <SDL_syswm.h>

#include <chrono>
#include <thread>
#include <vector>

#include "backend.h"

namespace {

constexpr int width = 800;
constexpr int height = 600;

struct Recorder : EventSink {
    std::vector<KeyEvent> keys;
    std::vector<std::pair<int, int>> mouse;
    int closes = 0;
    void key_event(const KeyEvent& event) override { keys.push_back(event); }
    void key_codes(const uint8_t*, int) override {}
    void close_box() override { ++closes; }
    void mouse_moved(int x, int y) override { mouse.emplace_back(x, y); }
    bool keys_queued() const override { return false; }
};

void push_key(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void push_text(const char* text) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, text, sizeof event.text.text);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

// The backend's one window.
SDL_Window* the_window() {
    for (Uint32 id = 1; id < 64; ++id)
        if (SDL_Window* window = SDL_GetWindowFromID(id)) return window;
    return nullptr;
}

// The window surface's pixel at (x, y), as the backend wrote it.
Uint32 surface_pixel(int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(the_window());
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<const Uint32*>(row)[x];
}

void push_window_event(SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = id;
    event.window.windowID = SDL_GetWindowID(the_window());
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void push_mouse(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class SdlBackendTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string reason;
        ASSERT_TRUE(window_backend()->open(width, height, "SDL BACKEND TEST", reason)) << reason;
    }
    static void TearDownTestSuite() { window_backend()->close(); }

    void SetUp() override {
        // Whatever the window system sent so far (focus, exposure) and any
        // key still held back.
        sleep_ms(40);
        poll();
        recorder = Recorder{};
    }

    void poll() { window_backend()->poll(recorder); }

    Recorder recorder;
};

KeyEvent key(KeyId id, int typed, bool shift = false, bool ctrl = false, bool alt = false) {
    KeyEvent event;
    event.key = id;
    event.typed = typed;
    event.shift = shift;
    event.ctrl = ctrl;
    event.alt = alt;
    return event;
}

void expect_keys(const std::vector<KeyEvent>& got, const std::vector<KeyEvent>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE("key " + std::to_string(i));
        EXPECT_EQ(got[i].key, want[i].key);
        EXPECT_EQ(got[i].typed, want[i].typed);
        EXPECT_EQ(got[i].shift, want[i].shift);
        EXPECT_EQ(got[i].ctrl, want[i].ctrl);
        EXPECT_EQ(got[i].alt, want[i].alt);
    }
}

TEST_F(SdlBackendTest, KeyAndItsTextBecomeOneKey) {
    push_key(SDL_SCANCODE_A, SDLK_a);
    push_text("a");
    push_key(SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT);
    push_text("A");
    poll();
    expect_keys(recorder.keys, {key(KeyId::A, 'a'), key(KeyId::A, 'A', true)});
}

TEST_F(SdlBackendTest, CharacterKeyWaitsForItsTextUntilADeadline) {
    push_key(SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON);
    poll();
    EXPECT_TRUE(recorder.keys.empty()) << "delivered before its text could come";
    push_text(";");
    poll();
    expect_keys(recorder.keys, {key(KeyId::Character, ';')});

    recorder = Recorder{};
    push_key(SDL_SCANCODE_GRAVE, 0);  // a dead key: no text comes
    poll();
    EXPECT_TRUE(recorder.keys.empty());
    sleep_ms(60);
    poll();
    expect_keys(recorder.keys, {key(KeyId::Character, -1)});
}

TEST_F(SdlBackendTest, NextKeyDeliversAKeyStillWaitingForText) {
    push_key(SDL_SCANCODE_A, SDLK_a);
    push_key(SDL_SCANCODE_F1, SDLK_F1);
    push_key(SDL_SCANCODE_B, SDLK_b);
    push_text("b");
    poll();
    expect_keys(recorder.keys, {key(KeyId::A, -1), key(KeyId::F1, -1), key(KeyId::B, 'b')});
}

TEST_F(SdlBackendTest, TextOfKeysWithCtrlOrAltIsDropped) {
    push_key(SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, KMOD_LCTRL);
    push_text(";");
    push_key(SDL_SCANCODE_A, SDLK_a, KMOD_LALT);
    push_text("a");
    push_key(SDL_SCANCODE_A, SDLK_a, KMOD_RCTRL);  // X11 sends no text here
    push_key(SDL_SCANCODE_B, SDLK_b);
    push_text("b");
    poll();
    expect_keys(recorder.keys, {key(KeyId::Character, -1, false, true), key(KeyId::A, -1, false, false, true),
                                key(KeyId::A, -1, false, true), key(KeyId::B, 'b')});
}

TEST_F(SdlBackendTest, TextWithoutAKeyIsTypedCharacters) {
    push_text("\xC3\xA9" "a\xE2\x82\xAC");  // e acute, a, euro sign
    poll();
    expect_keys(recorder.keys,
                {key(KeyId::Character, 0xE9), key(KeyId::Character, 'a'), key(KeyId::Character, 0x20AC)});
}

TEST_F(SdlBackendTest, KeysThatTypeNothingComeAtOnce) {
    push_key(SDL_SCANCODE_F12, SDLK_F12, KMOD_LSHIFT);
    push_key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    push_key(SDL_SCANCODE_APPLICATION, SDLK_APPLICATION);
    push_key(SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT);
    poll();
    expect_keys(recorder.keys, {key(KeyId::F12, -1, true), key(KeyId::Escape, -1), key(KeyId::Application, -1),
                                key(KeyId::Alt, -1, false, false, true)});
}

// The raw X key press that SDL hands over before its key event, with the
// modifier state the X server gave it.
SDL_SysWMmsg x_key_press(unsigned state) {
    SDL_SysWMmsg message{};
    SDL_VERSION(&message.version);
    message.subsystem = SDL_SYSWM_X11;
    message.msg.x11.event.type = KeyPress;
    message.msg.x11.event.xkey.state = state;
    return message;
}

void push_x_event(SDL_SysWMmsg& message) {
    SDL_Event event{};
    event.type = SDL_SYSWMEVENT;
    event.syswm.msg = &message;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

// In a burst of keys SDL may skip the release of a modifier and report it as
// held; the X server's state of the key press decides.
TEST_F(SdlBackendTest, ModifiersComeFromTheXKeyPress) {
    SDL_SysWMmsg none = x_key_press(0);
    SDL_SysWMmsg ctrl_alt = x_key_press(ControlMask | Mod1Mask);
    SDL_SysWMmsg shift = x_key_press(ShiftMask);
    push_x_event(none);
    push_key(SDL_SCANCODE_P, SDLK_p, KMOD_LCTRL);  // a Ctrl that SDL still thinks held
    push_text("p");
    push_x_event(ctrl_alt);
    push_key(SDL_SCANCODE_RIGHT, SDLK_RIGHT);
    push_x_event(shift);
    push_key(SDL_SCANCODE_F1, SDLK_F1, KMOD_LALT);
    push_key(SDL_SCANCODE_F2, SDLK_F2, KMOD_LALT);  // no X event before it: SDL's modifiers
    poll();
    expect_keys(recorder.keys, {key(KeyId::P, 'p'), key(KeyId::Right, -1, false, true, true),
                                key(KeyId::F1, -1, true), key(KeyId::F2, -1, false, false, true)});
}

TEST_F(SdlBackendTest, LettersFollowTheLayout) {
    push_key(SDL_SCANCODE_A, SDLK_q);  // the key that types q on a French keyboard
    push_text("q");
    poll();
    expect_keys(recorder.keys, {key(KeyId::Q, 'q')});
}

TEST_F(SdlBackendTest, KeypadFollowsNumLock) {
    push_key(SDL_SCANCODE_KP_7, SDLK_KP_7);
    push_key(SDL_SCANCODE_KP_5, SDLK_KP_5);
    push_key(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD);
    push_key(SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM | KMOD_LSHIFT);  // Shift turns NumLock round
    push_key(SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NUM);
    push_text("7");
    push_key(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM);
    push_text(".");
    push_key(SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY);
    push_text("*");
    push_key(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER);
    poll();
    expect_keys(recorder.keys, {key(KeyId::Home, -1), key(KeyId::Keypad5, -1), key(KeyId::Delete, -1),
                                key(KeyId::Insert, -1, true), key(KeyId::Character, '7'),
                                key(KeyId::KeypadDecimal, '.'), key(KeyId::KeypadMultiply, '*'),
                                key(KeyId::Enter, -1)});
}

// Records the keys and the close box in one sequence.
struct OrderRecorder : Recorder {
    std::vector<int> order;  // the key's typed character, or 0 for the close box
    void key_event(const KeyEvent& event) override { order.push_back(event.typed); }
    void close_box() override { order.push_back(0); }
};

TEST_F(SdlBackendTest, CloseRequestIsTheCloseBoxInItsPlaceAmongTheKeys) {
    OrderRecorder order;
    push_key(SDL_SCANCODE_A, SDLK_a);
    push_window_event(SDL_WINDOWEVENT_CLOSE);
    push_key(SDL_SCANCODE_B, SDLK_b);
    push_text("b");
    window_backend()->poll(order);
    EXPECT_EQ(order.order, (std::vector<int>{-1, 0, 'b'}));
}

TEST_F(SdlBackendTest, MouseOnlyInsideTheClientArea) {
    push_mouse(0, 0);
    push_mouse(799, 599);
    push_mouse(800, 10);
    push_mouse(10, -1);
    poll();
    EXPECT_EQ(recorder.mouse, (std::vector<std::pair<int, int>>{{0, 0}, {799, 599}}));
}

TEST_F(SdlBackendTest, PresentsAtMostOncePerRefresh) {
    std::vector<uint8_t> page(width * height, 1);
    uint32_t palette[256] = {};
    sleep_ms(40);
    EXPECT_TRUE(window_backend()->present(page.data(), palette));
    EXPECT_FALSE(window_backend()->present(page.data(), palette)) << "presented twice within one refresh";
    sleep_ms(40);
    EXPECT_TRUE(window_backend()->present(page.data(), palette));
}

TEST_F(SdlBackendTest, PageShownThroughThePaletteAndRepaintedWhenExposed) {
    SDL_Window* window = the_window();
    ASSERT_NE(window, nullptr);
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    ASSERT_EQ(surface->format->BytesPerPixel, 4);
    std::vector<uint8_t> page(width * height, 0);
    page[0] = 7;
    page[599 * width + 799] = 200;
    uint32_t palette[256] = {};
    palette[7] = 0xA8A8A8;
    palette[200] = 0x123456;
    sleep_ms(40);
    ASSERT_TRUE(window_backend()->present(page.data(), palette));
    EXPECT_EQ(surface_pixel(0, 0), SDL_MapRGB(surface->format, 0xA8, 0xA8, 0xA8));
    EXPECT_EQ(surface_pixel(799, 599), SDL_MapRGB(surface->format, 0x12, 0x34, 0x56));
    EXPECT_EQ(surface_pixel(1, 0), SDL_MapRGB(surface->format, 0, 0, 0));

    // Something else painted over the window; the exposure repaints the
    // last page shown, although the program showed nothing new.
    SDL_FillRect(SDL_GetWindowSurface(window), nullptr, 0xFFFFFFFF);
    push_window_event(SDL_WINDOWEVENT_EXPOSED);
    poll();
    EXPECT_EQ(surface_pixel(0, 0), SDL_MapRGB(surface->format, 0xA8, 0xA8, 0xA8));
    EXPECT_EQ(surface_pixel(1, 0), SDL_MapRGB(surface->format, 0, 0, 0));
}

}  // namespace
