// Key translation and the key queue.
#include "keys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace {

using Codes = std::vector<int>;
using K = KeyId;

enum Mods { none = 0, S = 1, C = 2, A = 4 };

KeyEvent event_of(KeyId key, int mods, int typed) {
    KeyEvent event;
    event.key = key;
    event.shift = (mods & S) != 0;
    event.ctrl = (mods & C) != 0;
    event.alt = (mods & A) != 0;
    event.typed = typed;
    return event;
}

Codes codes_of(const KeyCodes& keys) {
    return Codes(keys.codes, keys.codes + keys.count);
}

Codes translate(KeyId key, int mods, int typed = -1) {
    return codes_of(translate_key(event_of(key, mods, typed)));
}

std::string mods_name(int mods) {
    std::string name;
    if (mods & S) name += "Shift+";
    if (mods & C) name += "Ctrl+";
    if (mods & A) name += "Alt+";
    return name.empty() ? "alone" : name;
}

// Each key with one modifier at a time, as the key table lists it. The
// character a key types alone and with Shift is given; the Ctrl and Alt
// events carry the unshifted character too, as the window system may still
// report text for them, and it must not leak into the codes.
struct ColumnsCase {
    KeyId key;
    int typed, shift_typed;
    Codes alone, shift, ctrl, alt;
};

const ColumnsCase columns_cases[] = {
    // key           typed  shifted  alone       shift       ctrl        alt
    {K::F1,           -1,   -1,     {0, 59},    {0, 84},    {0, 94},    {0, 104}},
    {K::F2,           -1,   -1,     {0, 60},    {0, 85},    {0, 95},    {0, 105}},
    {K::F3,           -1,   -1,     {0, 61},    {0, 86},    {0, 96},    {0, 106}},
    {K::F4,           -1,   -1,     {0, 62},    {0, 87},    {0, 97},    {0, 107}},
    {K::F5,           -1,   -1,     {0, 63},    {0, 88},    {0, 98},    {0, 108}},
    {K::F6,           -1,   -1,     {0, 64},    {0, 89},    {0, 99},    {0, 109}},
    {K::F7,           -1,   -1,     {0, 65},    {0, 90},    {0, 100},   {0, 110}},
    {K::F8,           -1,   -1,     {0, 66},    {0, 91},    {0, 101},   {0, 111}},
    {K::F9,           -1,   -1,     {0, 67},    {0, 92},    {0, 102},   {0, 112}},
    {K::F10,          -1,   -1,     {0, 68},    {0, 93},    {0, 103},   {0, 113}},
    {K::F11,          -1,   -1,     {0, 133},   {0, 135},   {0, 137},   {0, 139}},
    {K::F12,          -1,   -1,     {0, 134},   {0, 136},   {0, 138},   {0, 140}},
    {K::Home,         -1,   -1,     {0, 71},    {0, 71},    {0, 119},   {0, 164}},
    {K::Up,           -1,   -1,     {0, 72},    {0, 72},    {0, 141},   {0, 152}},
    {K::PageUp,       -1,   -1,     {0, 73},    {0, 73},    {0, 132},   {0, 153}},
    {K::Left,         -1,   -1,     {0, 75},    {0, 75},    {0, 115},   {0, 155}},
    {K::Keypad5,      -1,   -1,     {0, 76},    {0, 76},    {0, 143},   {0, 76}},
    {K::Right,        -1,   -1,     {0, 77},    {0, 77},    {0, 116},   {0, 157}},
    {K::End,          -1,   -1,     {0, 79},    {0, 79},    {0, 117},   {0, 165}},
    {K::Down,         -1,   -1,     {0, 80},    {0, 80},    {0, 145},   {0, 160}},
    {K::PageDown,     -1,   -1,     {0, 81},    {0, 81},    {0, 118},   {0, 161}},
    {K::Insert,       -1,   -1,     {0, 82},    {0, 82},    {0, 146},   {0, 162}},
    {K::Delete,       -1,   -1,     {0, 83},    {0, 83},    {0, 147},   {0, 163}},
    {K::KeypadMultiply, '*', '*',   {'*'},      {'*'},      {0, 149},   {0, 70}},
    {K::KeypadPlus,   '+',  '+',    {'+'},      {'+'},      {0, 144},   {0, 78}},
    {K::KeypadMinus,  '-',  '-',    {'-'},      {'-'},      {0, 142},   {0, 74}},
    {K::KeypadDivide, '/',  '/',    {'/'},      {'/'},      {0, 148},   {0, 69}},
    {K::KeypadDecimal, '.', '.',    {'.'},      {'.'},      {0, 150},   {0, 114}},
    {K::Digit1,       '1',  '!',    {'1'},      {'!'},      {0, 1},     {0, 120}},
    {K::Digit2,       '2',  '@',    {'2'},      {'@'},      {0, 2},     {0, 121}},
    {K::Digit3,       '3',  '#',    {'3'},      {'#'},      {0, 3},     {0, 122}},
    {K::Digit4,       '4',  '$',    {'4'},      {'$'},      {0, 4},     {0, 123}},
    {K::Digit5,       '5',  '%',    {'5'},      {'%'},      {0, 5},     {0, 124}},
    {K::Digit6,       '6',  '^',    {'6'},      {'^'},      {0, 6},     {0, 125}},
    {K::Digit7,       '7',  '&',    {'7'},      {'&'},      {0, 7},     {0, 126}},
    {K::Digit8,       '8',  '*',    {'8'},      {'*'},      {0, 8},     {0, 127}},
    {K::Digit9,       '9',  '(',    {'9'},      {'('},      {0, 9},     {0, 128}},
    {K::Digit0,       '0',  ')',    {'0'},      {')'},      {0, 10},    {0, 129}},
    {K::Q,            'q',  'Q',    {'q'},      {'Q'},      {17},       {0, 16}},
    {K::W,            'w',  'W',    {'w'},      {'W'},      {23},       {0, 17}},
    {K::E,            'e',  'E',    {'e'},      {'E'},      {5},        {0, 18}},
    {K::R,            'r',  'R',    {'r'},      {'R'},      {18},       {0, 19}},
    {K::T,            't',  'T',    {'t'},      {'T'},      {20},       {0, 20}},
    {K::Y,            'y',  'Y',    {'y'},      {'Y'},      {25},       {0, 21}},
    {K::U,            'u',  'U',    {'u'},      {'U'},      {21},       {0, 22}},
    {K::I,            'i',  'I',    {'i'},      {'I'},      {9},        {0, 23}},
    {K::O,            'o',  'O',    {'o'},      {'O'},      {15},       {0, 24}},
    {K::P,            'p',  'P',    {'p'},      {'P'},      {16},       {0, 25}},
    {K::A,            'a',  'A',    {'a'},      {'A'},      {1},        {0, 30}},
    {K::S,            's',  'S',    {'s'},      {'S'},      {19},       {0, 31}},
    {K::D,            'd',  'D',    {'d'},      {'D'},      {4},        {0, 32}},
    {K::F,            'f',  'F',    {'f'},      {'F'},      {6},        {0, 33}},
    {K::G,            'g',  'G',    {'g'},      {'G'},      {7},        {0, 34}},
    {K::H,            'h',  'H',    {'h'},      {'H'},      {8},        {0, 35}},
    {K::J,            'j',  'J',    {'j'},      {'J'},      {10},       {0, 36}},
    {K::K,            'k',  'K',    {'k'},      {'K'},      {11},       {0, 37}},
    {K::L,            'l',  'L',    {'l'},      {'L'},      {12},       {0, 38}},
    {K::Z,            'z',  'Z',    {'z'},      {'Z'},      {26},       {0, 44}},
    {K::X,            'x',  'X',    {'x'},      {'X'},      {24},       {0, 45}},
    {K::C,            'c',  'C',    {'c'},      {'C'},      {3},        {0, 46}},
    {K::V,            'v',  'V',    {'v'},      {'V'},      {22},       {0, 47}},
    {K::B,            'b',  'B',    {'b'},      {'B'},      {2},        {0, 48}},
    {K::N,            'n',  'N',    {'n'},      {'N'},      {14},       {0, 49}},
    {K::M,            'm',  'M',    {'m'},      {'M'},      {13},       {0, 50}},
    {K::Backspace,    8,    8,      {8},        {8},        {8},        {0, 14}},
    {K::Enter,        13,   13,     {13},       {13},       {13},       {0, 166}},
    {K::Space,        ' ',  ' ',    {32},       {32},       {32},       {0, 11}},
    {K::Pause,        -1,   -1,     {0, 12},    {0, 12},    {},         {0, 169}},
    {K::Application,  -1,   -1,     {0, 151},   {0, 151},   {0, 151},   {0, 151}},
    // Keys the table names only in passing: ESC 27, Tab 9 and Ctrl+Tab 30;
    // with Alt they have no two-code key, so they give nothing.
    {K::Escape,       27,   27,     {27},       {27},       {27},       {}},
    {K::Tab,          9,    9,      {9},        {9},        {30},       {}},
    // Other character keys give their character and nothing with Ctrl or Alt.
    {K::Character,    ';',  ':',    {';'},      {':'},      {},         {}},
    // Modifier keys on their own, with their own flag set.
    {K::Shift,        -1,   -1,     {},         {},         {},         {}},
    {K::Ctrl,         -1,   -1,     {},         {},         {},         {}},
    {K::Alt,          -1,   -1,     {},         {},         {},         {}},
};

TEST(TranslateKey, EveryKeyWithEachModifierAlone) {
    for (const ColumnsCase& c : columns_cases) {
        SCOPED_TRACE("key #" + std::to_string(static_cast<int>(c.key)));
        EXPECT_EQ(translate(c.key, none, c.typed), c.alone) << "alone";
        EXPECT_EQ(translate(c.key, S, c.shift_typed), c.shift) << "Shift";
        EXPECT_EQ(translate(c.key, C, c.typed), c.ctrl) << "Ctrl";
        EXPECT_EQ(translate(c.key, A, c.typed), c.alt) << "Alt";
    }
}

// Several modifiers at once, and what the typed character may be.
struct RuleCase {
    const char* what;
    KeyId key;
    int mods;
    int typed;
    Codes expected;
};

const RuleCase rule_cases[] = {
    // Function keys: Shift before Ctrl before Alt.
    {"Shift+Ctrl+F1",         K::F1, S | C, -1, {0, 84}},
    {"Shift+Alt+F12",         K::F12, S | A, -1, {0, 136}},
    {"Ctrl+Alt+F2",           K::F2, C | A, -1, {0, 95}},
    {"Shift+Ctrl+Alt+F10",    K::F10, S | C | A, -1, {0, 93}},
    // Cursor, editing and keypad keys: Ctrl before Alt, Shift ignored.
    {"Shift+Ctrl+Home",       K::Home, S | C, -1, {0, 119}},
    {"Ctrl+Alt+Up",           K::Up, C | A, -1, {0, 141}},
    {"Shift+Alt+Left",        K::Left, S | A, -1, {0, 155}},
    {"Shift+Ctrl+Alt+Delete", K::Delete, S | C | A, -1, {0, 147}},
    {"Shift+Alt+keypad 5",    K::Keypad5, S | A, -1, {0, 76}},
    {"Shift+Ctrl+keypad +",   K::KeypadPlus, S | C, '+', {0, 144}},
    {"Ctrl+Alt+keypad .",     K::KeypadDecimal, C | A, '.', {0, 150}},
    {"Shift+Alt+keypad -",    K::KeypadMinus, S | A, '-', {0, 74}},
    {"keypad decimal comma",  K::KeypadDecimal, none, ',', {','}},
    // Digits: Ctrl+Alt gives both two-code keys, the Ctrl one first.
    {"Ctrl+Alt+1",            K::Digit1, C | A, '1', {0, 1, 0, 120}},
    {"Ctrl+Alt+0",            K::Digit0, C | A, '0', {0, 10, 0, 129}},
    {"Shift+Ctrl+Alt+9",      K::Digit9, S | C | A, '(', {0, 9, 0, 128}},
    {"Shift+Ctrl+5",          K::Digit5, S | C, '%', {0, 5}},
    {"Shift+Alt+5",           K::Digit5, S | A, '%', {0, 124}},
    // Letters: what was typed (CapsLock decides with Shift), Ctrl gives the
    // control character whatever Shift says, Alt only the two-code key.
    {"a with CapsLock",       K::A, none, 'A', {'A'}},
    {"Shift+a with CapsLock", K::A, S, 'a', {'a'}},
    {"Shift+Ctrl+a",          K::A, S | C, 'A', {1}},
    {"Ctrl+Alt+q",            K::Q, C | A, 'q', {0, 16}},
    {"Shift+Ctrl+Alt+z",      K::Z, S | C | A, 'Z', {0, 44}},
    {"letter typing no Latin-1 character", K::F, none, 0x0444, {}},
    {"letter typing nothing", K::F, none, -1, {}},
    // Backspace, Enter, Space, Tab, Escape with several modifiers.
    {"Ctrl+Alt+Enter",        K::Enter, C | A, 13, {0, 166}},
    {"Shift+Alt+Backspace",   K::Backspace, S | A, 8, {0, 14}},
    {"Shift+Ctrl+Space",      K::Space, S | C, ' ', {32}},
    {"Shift+Ctrl+Tab",        K::Tab, S | C, 9, {30}},
    {"Ctrl+Alt+Tab",          K::Tab, C | A, 9, {}},
    {"Ctrl+Alt+Escape",       K::Escape, C | A, 27, {}},
    // Other character keys: the typed character when it has a single byte.
    {"Latin-1 e acute",       K::Character, none, 0xE9, {0xE9}},
    {"code point 255",        K::Character, none, 0xFF, {0xFF}},
    {"code point 256",        K::Character, none, 0x100, {}},
    {"a-breve has no byte",   K::Character, none, 0x0103, {}},
    {"typed NUL",             K::Character, none, 0, {}},
    {"typed nothing",         K::Character, none, -1, {}},
    {"Ctrl+;",                K::Character, C, ';', {}},
    {"Shift+Ctrl+Alt+;",      K::Character, S | C | A, ':', {}},
    // Pause: nothing with Ctrl, whatever else is held.
    {"Ctrl+Alt+Pause",        K::Pause, C | A, -1, {}},
    {"Shift+Alt+Pause",       K::Pause, S | A, -1, {0, 169}},
    {"Shift+Ctrl+Alt+Menu",   K::Application, S | C | A, -1, {0, 151}},
    // The modifier keys alone, all held together.
    {"Shift with all held",   K::Shift, S | C | A, -1, {}},
    {"Alt with Ctrl held",    K::Alt, C | A, -1, {}},
};

TEST(TranslateKey, SeveralModifiersAndTypedCharacters) {
    for (const RuleCase& c : rule_cases) {
        EXPECT_EQ(translate(c.key, c.mods, c.typed), c.expected)
            << c.what << " (" << mods_name(c.mods) << ")";
    }
}

TEST(TranslateKey, CloseBoxGivesTheCodesOfAltF4) {
    EXPECT_EQ(codes_of(close_box_codes()), (Codes{0, 107}));
    EXPECT_EQ(codes_of(close_box_codes()), translate(K::F4, A));
}

// --- The queue ---------------------------------------------------------------

void push_single(KeyQueue& queue, int code) {
    const uint8_t c = static_cast<uint8_t>(code);
    queue.push_key(&c, 1);
}

void push_pair(KeyQueue& queue, int second) {
    const uint8_t c[2] = {0, static_cast<uint8_t>(second)};
    queue.push_key(c, 2);
}

Codes drain(KeyQueue& queue) {
    Codes out;
    while (!queue.empty()) out.push_back(queue.pop());
    return out;
}

Codes range(int first, int last) {
    Codes out;
    for (int c = first; c <= last; ++c) out.push_back(c);
    return out;
}

Codes concat(Codes a, const Codes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(KeyQueue, EmptyQueuePopsZero) {
    KeyQueue queue;
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(queue.pop(), 0);
    EXPECT_EQ(queue.size(), 0);
}

TEST(KeyQueue, FullOfSinglesDropsTheOldestOnly) {
    KeyQueue queue;
    for (int c = 1; c <= 31; ++c) push_single(queue, c);
    ASSERT_EQ(queue.size(), 31);
    push_single(queue, 32);
    EXPECT_EQ(queue.size(), 31);
    EXPECT_EQ(drain(queue), range(2, 32));
}

TEST(KeyQueue, TwoCodeKeyIntoFullQueueDropsTwoSingles) {
    KeyQueue queue;
    for (int c = 1; c <= 31; ++c) push_single(queue, c);
    push_pair(queue, 59);
    EXPECT_EQ(drain(queue), concat(range(3, 31), {0, 59}));
}

TEST(KeyQueue, OverflowDropsBothCodesOfTheOldestTwoCodeKey) {
    // 15 two-code keys and a single fill all 31 places.
    KeyQueue queue;
    for (int k = 1; k <= 15; ++k) push_pair(queue, 100 + k);
    push_single(queue, 'x');
    ASSERT_EQ(queue.size(), 31);

    push_single(queue, 'y');
    Codes expected;
    for (int k = 2; k <= 15; ++k) expected = concat(expected, {0, 100 + k});
    expected = concat(expected, {'x', 'y'});
    EXPECT_EQ(drain(queue), expected);
}

TEST(KeyQueue, SixteenthTwoCodeKeyDropsTheFirst) {
    KeyQueue queue;
    for (int k = 1; k <= 16; ++k) push_pair(queue, 100 + k);
    Codes expected;
    for (int k = 2; k <= 16; ++k) expected = concat(expected, {0, 100 + k});
    EXPECT_EQ(drain(queue), expected);
}

// The program has read the 0 of F1 and is about to read its 59: an overflow
// then drops the whole keys behind the 59, never the 59 itself, so the 0 is
// not paired with the first code of another key.
TEST(KeyQueue, SecondCodeWhoseZeroWasReadIsNeverDropped) {
    struct Case {
        const char* name;
        Codes pushed_after;  // single codes, then one key of the last entry's kind
        bool pair_last;
        Codes expected;
    };
    const Case cases[] = {
        {"a single that overflows", {30, 31}, false, concat({59}, range(2, 31))},
        {"a pair that overflows", {30, 60}, true, concat(concat({59}, range(3, 30)), {0, 60})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyQueue queue;
        push_pair(queue, 59);
        for (int code = 1; code <= 29; ++code) push_single(queue, code);
        ASSERT_EQ(queue.pop(), 0);  // the program read the 0 of F1
        for (size_t i = 0; i < c.pushed_after.size(); ++i) {
            const bool last = i + 1 == c.pushed_after.size();
            if (last && c.pair_last) push_pair(queue, c.pushed_after[i]);
            else push_single(queue, c.pushed_after[i]);
        }
        EXPECT_EQ(queue.size(), 31);
        EXPECT_EQ(drain(queue), c.expected);
    }
}

TEST(KeyQueue, SecondCodeWhoseZeroWasReadSurvivesAFloodOfPairs) {
    KeyQueue queue;
    for (int k = 1; k <= 15; ++k) push_pair(queue, k);
    ASSERT_EQ(queue.pop(), 0);
    for (int k = 100; k < 200; ++k) push_pair(queue, k);
    ASSERT_EQ(queue.pop(), 1);  // the second code of the key whose 0 was read
    Codes expected;
    for (int k = 185; k < 200; ++k) expected = concat(expected, {0, k});
    EXPECT_EQ(drain(queue), expected);
}

TEST(KeyQueue, TranslationIsPushedAsSeparateKeys) {
    // Ctrl+Alt+1 is two keys: an overflow later drops only the first.
    KeyQueue queue;
    queue.push(translate_key(event_of(K::Digit1, C | A, '1')));
    for (int c = 1; c <= 27; ++c) push_single(queue, c);
    ASSERT_EQ(queue.size(), 31);
    push_single(queue, 28);
    EXPECT_EQ(drain(queue), concat({0, 120}, range(1, 28)));
}

TEST(KeyQueue, ClearEmptiesAndTheWholeCapacityIsUsableAgain) {
    KeyQueue queue;
    for (int c = 1; c <= 20; ++c) push_single(queue, c);
    queue.pop();
    queue.clear();
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(queue.pop(), 0);

    push_single(queue, 'a');
    for (int k = 1; k <= 15; ++k) push_pair(queue, k);
    EXPECT_EQ(queue.size(), 31);
    Codes expected = {'a'};
    for (int k = 1; k <= 15; ++k) expected = concat(expected, {0, k});
    EXPECT_EQ(drain(queue), expected);
}

// Long mixed runs of pushes and pops wrap the ring many times; compare with a
// plain list of whole keys.
TEST(KeyQueue, MatchesAListOfWholeKeysOverManyWrapArounds) {
    KeyQueue queue;
    std::deque<Codes> model;  // keys; the front one may have lost its 0
    bool front_started = false;  // it has: it stays until its last code is read
    unsigned state = 12345;
    auto next = [&state] { state = state * 1103515245u + 12345u; return (state >> 16) & 0x7fff; };

    for (int step = 0; step < 5000; ++step) {
        const unsigned r = next();
        if (r % 3 == 0) {
            int expected = 0;
            if (!model.empty()) {
                expected = model.front().front();
                model.front().erase(model.front().begin());
                front_started = !model.front().empty();
                if (!front_started) model.pop_front();
            }
            ASSERT_EQ(queue.pop(), expected) << "step " << step;
        } else {
            const int code = 1 + static_cast<int>(r % 200);
            const Codes key = r % 2 ? Codes{0, code} : Codes{code};
            int size = 0;
            for (const Codes& k : model) size += static_cast<int>(k.size());
            while (size + static_cast<int>(key.size()) > KeyQueue::capacity) {
                const auto oldest = model.begin() + (front_started ? 1 : 0);
                size -= static_cast<int>(oldest->size());
                model.erase(oldest);
            }
            model.push_back(key);
            if (key.size() == 2) push_pair(queue, code); else push_single(queue, code);
        }
        int size = 0;
        for (const Codes& k : model) size += static_cast<int>(k.size());
        ASSERT_EQ(queue.size(), size) << "step " << step;
    }
}

}  // namespace
