// Keys: the translation of a backend-neutral key event into the one or two
// codes a program reads, and the queue that holds them.
#pragma once

#include <cstdint>

// A physical key, independent of any window system. Character keys that are
// not listed (punctuation, letters of other layouts) are `Character`: they
// give only their typed character.
enum class KeyId {
    Character,
    Escape, Enter, Backspace, Tab, Space,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    Home, Up, PageUp, Left, Keypad5, Right, End, Down, PageDown, Insert, Delete,
    KeypadMultiply, KeypadPlus, KeypadMinus, KeypadDivide, KeypadDecimal,
    Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9, Digit0,
    A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
    Pause, Application,
    Shift, Ctrl, Alt,  // the modifier keys on their own
};

struct KeyEvent {
    KeyId key = KeyId::Character;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    // The character the key typed, as a Unicode code point, or -1 when it
    // typed none. Only code points 1..255 have a single-byte code.
    int typed = -1;
};

// Up to two keys of one or two codes each (Ctrl+Alt+digit gives two
// two-code keys). A two-code key is 0 followed by its second code.
struct KeyCodes {
    int count = 0;      // number of codes, 0..4
    uint8_t codes[4] = {};
};

KeyCodes translate_key(const KeyEvent& event);

// The codes of the window's close box (and of Alt+F4): 0, 107.
KeyCodes close_box_codes();

// At most 31 codes. A key is pushed whole; when it does not fit, the oldest
// whole keys are dropped until it does. The second code of a two-code key
// whose 0 has been popped is never dropped: a key is read whole or not at all.
class KeyQueue {
public:
    static constexpr int capacity = 31;
    // Pushes one key of 1 or 2 codes (`codes[0] == 0` means two codes).
    void push_key(const uint8_t* codes, int count);
    // Pushes every key of a translation.
    void push(const KeyCodes& keys);
    bool empty() const { return size_ == 0; }
    int size() const { return size_; }
    // Removes and returns the oldest code; 0 when empty.
    uint8_t pop();
    void clear();

private:
    uint8_t codes_[capacity] = {};
    bool starts_key_[capacity] = {};  // true where a key's first code stands
    int head_ = 0;
    int size_ = 0;
};
