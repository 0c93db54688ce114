#include "graph_testing.h"

#include <png.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <stdexcept>

#include "core.h"
#include "headless_backend.h"

namespace graph_testing {
namespace {

HeadlessBackend headless;
std::vector<std::string> trace_lines;

const platform_core::View& view() { return platform_core::view(); }

// What a US keyboard types with Shift for the keys that are not letters.
char shifted(char c) {
    static const std::string plain = "1234567890-=[];'`\\,./";
    static const std::string with_shift = "!@#$%^&*()_+{}:\"~|<>?";
    const auto at = plain.find(c);
    return at == std::string::npos ? c : with_shift[at];
}

KeyEvent character_key(char c) {
    KeyEvent event;
    const unsigned char u = static_cast<unsigned char>(c);
    event.typed = u;
    if (c >= 'a' && c <= 'z') {
        event.key = KeyId(int(KeyId::A) + (c - 'a'));
    } else if (c >= 'A' && c <= 'Z') {
        event.key = KeyId(int(KeyId::A) + (c - 'A'));
        event.shift = true;
    } else if (c >= '1' && c <= '9') {
        event.key = KeyId(int(KeyId::Digit1) + (c - '1'));
    } else if (c == '0') {
        event.key = KeyId::Digit0;
    } else if (c == ' ') {
        event.key = KeyId::Space;
    } else {
        event.key = KeyId::Character;
    }
    return event;
}

const std::map<std::string, KeyEvent>& named_keys() {
    static const std::map<std::string, KeyEvent> names = [] {
        std::map<std::string, KeyEvent> m;
        auto add = [&](const char* name, KeyId key, int typed = -1) {
            KeyEvent event;
            event.key = key;
            event.typed = typed;
            m[name] = event;
        };
        add("ESC", KeyId::Escape);
        add("ENTER", KeyId::Enter);
        add("TAB", KeyId::Tab);
        add("BKSP", KeyId::Backspace);
        add("SPACE", KeyId::Space, ' ');
        for (int i = 0; i < 12; ++i) add(("F" + std::to_string(i + 1)).c_str(), KeyId(int(KeyId::F1) + i));
        add("UP", KeyId::Up);
        add("DOWN", KeyId::Down);
        add("LEFT", KeyId::Left);
        add("RIGHT", KeyId::Right);
        add("HOME", KeyId::Home);
        add("END", KeyId::End);
        add("PGUP", KeyId::PageUp);
        add("PGDN", KeyId::PageDown);
        add("INS", KeyId::Insert);
        add("DEL", KeyId::Delete);
        add("PAUSE", KeyId::Pause);
        add("MENU", KeyId::Application);
        add("KP*", KeyId::KeypadMultiply, '*');
        add("KP+", KeyId::KeypadPlus, '+');
        add("KP-", KeyId::KeypadMinus, '-');
        add("KP/", KeyId::KeypadDivide, '/');
        add("KP.", KeyId::KeypadDecimal, '.');
        add("KP5", KeyId::Keypad5);
        return m;
    }();
    return names;
}

ScriptKey raw_key(const std::string& token) {
    ScriptKey key;
    const auto comma = token.find(',');
    try {
        const int first = std::stoi(token.substr(1, comma == std::string::npos ? std::string::npos : comma - 1));
        key.codes[0] = uint8_t(first);
        if (first < 0 || first > 255) throw std::out_of_range("code");
        if (comma != std::string::npos) {
            const int second = std::stoi(token.substr(comma + 1));
            if (second < 0 || second > 255) throw std::out_of_range("code");
            key.codes[1] = uint8_t(second);
            key.count = 2;
        }
    } catch (const std::logic_error&) {
        throw std::invalid_argument("bad raw key token: " + token);
    }
    return key;
}

void append(std::vector<ScriptKey>& keys, const KeyCodes& codes, int frame) {
    for (int i = 0; i < codes.count;) {
        ScriptKey key;
        key.frame = frame;
        key.count = codes.codes[i] == 0 && i + 1 < codes.count ? 2 : 1;
        for (int j = 0; j < key.count; ++j) key.codes[j] = codes.codes[i + j];
        i += key.count;
        keys.push_back(key);
    }
}

}  // namespace

// --- Scripts -----------------------------------------------------------------

Script& Script::key(uint8_t code, int frame) {
    ScriptKey k;
    k.frame = frame;
    k.codes[0] = code;
    keys.push_back(k);
    return *this;
}

Script& Script::key2(uint8_t second_code, int frame) {
    ScriptKey k;
    k.frame = frame;
    k.count = 2;
    k.codes[1] = second_code;
    keys.push_back(k);
    return *this;
}

Script& Script::keys_from(const KeyCodes& codes, int frame) {
    append(keys, codes, frame);
    return *this;
}

Script& Script::tokens(const std::string& text, int frame) {
    for (ScriptKey k : parse_key_tokens(text)) {
        k.frame = frame;
        keys.push_back(k);
    }
    return *this;
}

Script& Script::mouse_at(int x, int y, int frame) {
    mouse.push_back({frame, x, y});
    return *this;
}

KeyEvent key_event_for_token(const std::string& token) {
    bool shift = false, ctrl = false, alt = false;
    std::string rest = token;
    while (rest.size() > 2 && rest[1] == '-' && (rest[0] == 'C' || rest[0] == 'A' || rest[0] == 'S')) {
        (rest[0] == 'C' ? ctrl : rest[0] == 'A' ? alt : shift) = true;
        rest = rest.substr(2);
    }
    KeyEvent event;
    if (rest.size() == 1) {
        event = character_key(shift ? shifted(rest[0]) : rest[0]);
        if (shift && rest[0] >= 'a' && rest[0] <= 'z') event.typed = rest[0] - 'a' + 'A';
    } else {
        const auto found = named_keys().find(rest);
        if (found == named_keys().end()) throw std::invalid_argument("unknown key token: " + token);
        event = found->second;
    }
    event.shift = event.shift || shift;
    event.ctrl = ctrl;
    event.alt = alt;
    return event;
}

std::vector<ScriptKey> parse_key_tokens(const std::string& text) {
    std::vector<ScriptKey> keys;
    std::istringstream words(text);
    std::string token;
    while (words >> token) {
        if (token.size() > 1 && token[0] == '#') {
            keys.push_back(raw_key(token));
        } else if (token == "CLOSE") {
            append(keys, close_box_codes(), on_read);
        } else {
            append(keys, translate_key(key_event_for_token(token)), on_read);
        }
    }
    return keys;
}

// --- Runs --------------------------------------------------------------------------

Ending run(void (*program)(), const Script& script) { return run_with(program, script, Hooks{}); }

Ending run_with(void (*program)(), const Script& script, const Hooks& hooks) {
    headless.start(script, hooks);
    trace_lines.clear();
    platform_core::set_trace(script.trace ? &trace_lines : nullptr);
    platform_core::use_backend(&headless);
    Ending ending = Ending::Returned;
    try {
        program();
    } catch (const RunEnded& ended) {
        ending = ended.ending;
        platform_core::abandon();
    }
    platform_core::set_trace(nullptr);
    platform_core::use_backend(nullptr);
    return ending;
}

// --- Looking at the result -----------------------------------------------------------

int width() { return view().width; }
int height() { return view().height; }
int visual_page() { return view().visual_page; }
int active_page() { return view().active_page; }
const std::vector<uint8_t>& page(int number) { return view().pages[number & 3]; }
uint8_t pixel(int page_number, int x, int y) { return page(page_number)[size_t(y) * width() + x]; }
uint32_t palette_rgb(int entry) { return view().palette[entry & 0xFF]; }
std::string title() { return view().title; }
const std::vector<std::string>& trace() { return trace_lines; }
int current_x() { return view().current_x; }
int current_y() { return view().current_y; }
int queued_codes() { return view().queue.size(); }

namespace {

std::vector<uint8_t> rgb_rows(int page_number) {
    const auto& pixels = page(page_number);
    std::vector<uint8_t> rgb(pixels.size() * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t c = palette_rgb(pixels[i]);
        rgb[i * 3] = uint8_t(c >> 16);
        rgb[i * 3 + 1] = uint8_t(c >> 8);
        rgb[i * 3 + 2] = uint8_t(c);
    }
    return rgb;
}

bool write_ppm(const std::string& path, const std::vector<uint8_t>& rgb) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width(), height());
    const bool written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
    return std::fclose(file) == 0 && written;
}

bool write_png(const std::string& path, const std::vector<uint8_t>& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width());
    image.height = png_uint_32(height());
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

}  // namespace

bool write_image(const std::string& path, int page_number) {
    if (width() == 0) return false;
    const auto rgb = rgb_rows(page_number);
    const bool ppm = path.size() >= 4 && path.compare(path.size() - 4, 4, ".ppm") == 0;
    return ppm ? write_ppm(path, rgb) : write_png(path, rgb);
}

}  // namespace graph_testing
