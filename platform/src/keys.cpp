// Key translation and the key queue.
//
// The translation is one table with a row per physical key and a column per
// modifier (alone, Shift, Ctrl, Alt). Every number in it is the second code
// of a two-code key (0 first) unless it is written `single(...)`. Which
// column applies when several modifiers are held depends on the kind of key:
//
//   Function keys (F1..F12)          Shift before Ctrl before Alt.
//   Other named keys (cursor,        Ctrl before Alt; Shift uses its own
//   editing, keypad, Pause, Menu)    column (for most of them "as alone").
//   Character keys (letters,         Alt alone decides: only the key's
//   digits, Space, Enter, ...)       two-code key, or nothing without one;
//                                    Ctrl+Alt gives every two-code key of
//                                    the Ctrl and Alt columns, Ctrl first
//                                    (so Ctrl+Alt+digit gives two keys).
//                                    Otherwise Ctrl before Shift.
//
// Choices where a key has no column of its own: Ctrl or Alt with a character
// key the table does not list (punctuation, Ctrl+";") gives nothing, since
// the text the window system sends for such a key is dropped; Escape gives 27
// with Shift or Ctrl and nothing with Alt; Tab gives 9 with Shift, 30 with
// Ctrl and nothing with Alt; Ctrl+Pause gives nothing whatever else is held.
#include "keys.h"

#include <array>

namespace {

enum class Kind : uint8_t {
    Nothing,
    Typed,    // the typed character, when it has a single-byte code
    Control,  // the letter's control character, Ctrl+A = 1 .. Ctrl+Z = 26
    AsAlone,  // whatever the key gives alone
    Second,   // 0 and then `code`
    Single,   // the one code `code`
};

struct Entry {
    Kind kind = Kind::Nothing;
    uint8_t code = 0;
};

constexpr Entry nothing{Kind::Nothing, 0};
constexpr Entry typed{Kind::Typed, 0};
constexpr Entry control{Kind::Control, 0};
constexpr Entry as_alone{Kind::AsAlone, 0};
constexpr Entry second(int code) { return {Kind::Second, static_cast<uint8_t>(code)}; }
constexpr Entry single(int code) { return {Kind::Single, static_cast<uint8_t>(code)}; }

enum class Order : uint8_t { Function, Named, Character };

struct Row {
    KeyId key;
    Order order;
    Entry alone, shift, ctrl, alt;
};

constexpr Row function_key(KeyId key, int alone, int shift, int ctrl, int alt) {
    return {key, Order::Function, second(alone), second(shift), second(ctrl), second(alt)};
}
constexpr Row named_key(KeyId key, int alone, int ctrl, int alt) {
    return {key, Order::Named, second(alone), as_alone, second(ctrl), second(alt)};
}
constexpr Row keypad_key(KeyId key, int ctrl, int alt) {
    return {key, Order::Named, typed, typed, second(ctrl), second(alt)};
}
constexpr Row digit_key(KeyId key, int ctrl, int alt) {
    return {key, Order::Character, typed, typed, second(ctrl), second(alt)};
}
constexpr Row letter_key(KeyId key, int alt) {
    return {key, Order::Character, typed, typed, control, second(alt)};
}

using O = Order;
using K = KeyId;

constexpr Row key_table[] = {
    //           key      alone shift ctrl alt
    function_key(K::F1,   59,   84,   94,  104),
    function_key(K::F2,   60,   85,   95,  105),
    function_key(K::F3,   61,   86,   96,  106),
    function_key(K::F4,   62,   87,   97,  107),
    function_key(K::F5,   63,   88,   98,  108),
    function_key(K::F6,   64,   89,   99,  109),
    function_key(K::F7,   65,   90,  100,  110),
    function_key(K::F8,   66,   91,  101,  111),
    function_key(K::F9,   67,   92,  102,  112),
    function_key(K::F10,  68,   93,  103,  113),
    function_key(K::F11, 133,  135,  137,  139),
    function_key(K::F12, 134,  136,  138,  140),

    //        key           alone ctrl alt    (Shift: as alone)
    named_key(K::Home,      71,  119, 164),
    named_key(K::Up,        72,  141, 152),
    named_key(K::PageUp,    73,  132, 153),
    named_key(K::Left,      75,  115, 155),
    named_key(K::Keypad5,   76,  143,  76),
    named_key(K::Right,     77,  116, 157),
    named_key(K::End,       79,  117, 165),
    named_key(K::Down,      80,  145, 160),
    named_key(K::PageDown,  81,  118, 161),
    named_key(K::Insert,    82,  146, 162),
    named_key(K::Delete,    83,  147, 163),

    //         key                 ctrl alt    (alone, Shift: the character)
    keypad_key(K::KeypadMultiply, 149,  70),
    keypad_key(K::KeypadPlus,     144,  78),
    keypad_key(K::KeypadMinus,    142,  74),
    keypad_key(K::KeypadDivide,   148,  69),
    keypad_key(K::KeypadDecimal,  150, 114),

    //        key         ctrl alt         (alone, Shift: the character)
    digit_key(K::Digit1,   1, 120),
    digit_key(K::Digit2,   2, 121),
    digit_key(K::Digit3,   3, 122),
    digit_key(K::Digit4,   4, 123),
    digit_key(K::Digit5,   5, 124),
    digit_key(K::Digit6,   6, 125),
    digit_key(K::Digit7,   7, 126),
    digit_key(K::Digit8,   8, 127),
    digit_key(K::Digit9,   9, 128),
    digit_key(K::Digit0,  10, 129),

    //         key   alt    (alone, Shift: the character; Ctrl: control character)
    letter_key(K::Q, 16), letter_key(K::W, 17), letter_key(K::E, 18),
    letter_key(K::R, 19), letter_key(K::T, 20), letter_key(K::Y, 21),
    letter_key(K::U, 22), letter_key(K::I, 23), letter_key(K::O, 24),
    letter_key(K::P, 25), letter_key(K::A, 30), letter_key(K::S, 31),
    letter_key(K::D, 32), letter_key(K::F, 33), letter_key(K::G, 34),
    letter_key(K::H, 35), letter_key(K::J, 36), letter_key(K::K, 37),
    letter_key(K::L, 38), letter_key(K::Z, 44), letter_key(K::X, 45),
    letter_key(K::C, 46), letter_key(K::V, 47), letter_key(K::B, 48),
    letter_key(K::N, 49), letter_key(K::M, 50),

    //  key             order         alone        shift        ctrl         alt
    {K::Backspace,   O::Character, single(8),   single(8),   single(8),   second(14)},
    {K::Enter,       O::Character, single(13),  single(13),  single(13),  second(166)},
    {K::Space,       O::Character, single(32),  single(32),  single(32),  second(11)},
    {K::Escape,      O::Character, single(27),  single(27),  single(27),  nothing},
    {K::Tab,         O::Character, single(9),   single(9),   single(30),  nothing},
    {K::Character,   O::Character, typed,       typed,       nothing,     nothing},
    {K::Pause,       O::Named,     second(12),  second(12),  nothing,     second(169)},
    {K::Application, O::Named,     second(151), second(151), second(151), second(151)},
    {K::Shift,       O::Named,     nothing,     nothing,     nothing,     nothing},
    {K::Ctrl,        O::Named,     nothing,     nothing,     nothing,     nothing},
    {K::Alt,         O::Named,     nothing,     nothing,     nothing,     nothing},
};

const Row* find_row(KeyId key) {
    for (const Row& row : key_table)
        if (row.key == key) return &row;
    return nullptr;
}

void append(KeyCodes& out, uint8_t code) { out.codes[out.count++] = code; }

// Adds the codes of one table entry to `out`.
void emit(const Row& row, const Entry& entry, const KeyEvent& event, KeyCodes& out) {
    switch (entry.kind) {
    case Kind::Nothing:
        break;
    case Kind::Typed:
        if (event.typed >= 1 && event.typed <= 255) append(out, static_cast<uint8_t>(event.typed));
        break;
    case Kind::Control:
        append(out, static_cast<uint8_t>(static_cast<int>(row.key) - static_cast<int>(KeyId::A) + 1));
        break;
    case Kind::AsAlone:
        emit(row, row.alone, event, out);
        break;
    case Kind::Second:
        append(out, 0);
        append(out, entry.code);
        break;
    case Kind::Single:
        append(out, entry.code);
        break;
    }
}

bool is_two_code(const Entry& entry) { return entry.kind == Kind::Second; }

}  // namespace

KeyCodes translate_key(const KeyEvent& event) {
    KeyCodes out;
    const Row* row = find_row(event.key);
    if (row == nullptr) return out;

    switch (row->order) {
    case Order::Function: {
        const Entry& entry = event.shift ? row->shift
                           : event.ctrl  ? row->ctrl
                           : event.alt   ? row->alt
                                         : row->alone;
        emit(*row, entry, event, out);
        break;
    }
    case Order::Named: {
        const Entry& entry = event.ctrl  ? row->ctrl
                           : event.alt   ? row->alt
                           : event.shift ? row->shift
                                         : row->alone;
        emit(*row, entry, event, out);
        break;
    }
    case Order::Character:
        if (event.alt) {
            // Only two-code keys: with Ctrl too, the Ctrl one comes first.
            if (event.ctrl && is_two_code(row->ctrl)) emit(*row, row->ctrl, event, out);
            if (is_two_code(row->alt)) emit(*row, row->alt, event, out);
        } else {
            const Entry& entry = event.ctrl  ? row->ctrl
                               : event.shift ? row->shift
                                             : row->alone;
            emit(*row, entry, event, out);
        }
        break;
    }
    return out;
}

KeyCodes close_box_codes() {
    KeyCodes out;
    append(out, 0);
    append(out, 107);
    return out;
}

void KeyQueue::push_key(const uint8_t* codes, int count) {
    if (count < 1 || count > 2) return;
    // A second code at the head whose 0 ReadKey has already returned is the
    // next code the program reads: it stays, or that 0 would be paired with
    // the first code of another key. Whole keys behind it make the room.
    const bool second_code_due = size_ > 0 && !starts_key_[head_];
    const uint8_t due_code = codes_[head_];
    if (second_code_due) {
        head_ = (head_ + 1) % capacity;
        --size_;
    }
    while (size_ + count + int(second_code_due) > capacity) {
        do {
            head_ = (head_ + 1) % capacity;
            --size_;
        } while (size_ > 0 && !starts_key_[head_]);
    }
    if (second_code_due) {
        head_ = (head_ + capacity - 1) % capacity;
        codes_[head_] = due_code;
        starts_key_[head_] = false;
        ++size_;
    }
    for (int i = 0; i < count; ++i) {
        const int slot = (head_ + size_) % capacity;
        codes_[slot] = codes[i];
        starts_key_[slot] = i == 0;
        ++size_;
    }
}

void KeyQueue::push(const KeyCodes& keys) {
    int i = 0;
    while (i < keys.count) {
        const int length = keys.codes[i] == 0 && i + 1 < keys.count ? 2 : 1;
        push_key(keys.codes + i, length);
        i += length;
    }
}

uint8_t KeyQueue::pop() {
    if (size_ == 0) return 0;
    const uint8_t code = codes_[head_];
    head_ = (head_ + 1) % capacity;
    --size_;
    return code;
}

void KeyQueue::clear() {
    head_ = 0;
    size_ = 0;
}
