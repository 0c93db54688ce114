// The platform's core: the pages and the drawing state, the operations the
// programs call, and the points where the backend gets to show the visual
// page and deliver input (the operations that wait or look at input).
#include "graph.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "backend.h"
#include "core.h"
#include "raster.h"
#include "text.h"

extern "C" char* program_invocation_short_name;  // glibc: the program's name

namespace {

// The key queue's poll interval while a program waits for a key.
constexpr int64_t poll_micros = 10'000;

struct Settings {
    uint8_t colour = WHITE;
    uint8_t background = BLACK;
    bool exclusive_or = false;
    int line_style = SOLID_LINE;
    uint16_t user_pattern = 0xFFFF;
    int thickness = 1;
    int fill_pattern = SOLID_FILL;
    uint8_t fill_colour = WHITE;
    int font = 0;
    int text_direction = 0;
    int text_size = 0;
    // Viewport in page coordinates, and whether drawing is cut off at it.
    int view_x1 = 0, view_y1 = 0, view_x2 = 0, view_y2 = 0;
    bool view_clip = false;
};

struct Core : EventSink {
    platform_core::View view;
    Settings settings;
    Backend* backend = nullptr;
    Backend* chosen_backend = nullptr;  // for the next InitGraph; null: the window
    bool changed = false;  // the window does not show the visual page as it is
    int keys_read = 0;
    int mouse_x = 0, mouse_y = 0;
    std::vector<std::string>* trace = nullptr;

    void key_event(const KeyEvent& event) override { view.queue.push(translate_key(event)); }
    void key_codes(const uint8_t* codes, int count) override { view.queue.push_key(codes, count); }
    void close_box() override { view.queue.push(close_box_codes()); }
    void mouse_moved(int x, int y) override {
        mouse_x = x;
        mouse_y = y;
    }
    bool keys_queued() const override { return !view.queue.empty(); }
};

Core core;

// --- Trace ------------------------------------------------------------------

void trace_arg(std::string& line, long value) { line += std::to_string(value); }
void trace_arg(std::string& line, const char* text) {
    line += '"';
    line += text ? text : "";
    line += '"';
}

template <typename... Args>
void trace_call(const char* name, Args... args) {
    if (!core.trace) return;
    std::string line = name;
    line += '(';
    bool first = true;
    ((line += first ? "" : ", ", first = false, trace_arg(line, args)), ...);
    line += ')';
    core.trace->push_back(std::move(line));
}

template <typename Result>
void trace_result(const char* name, Result result) {
    if (!core.trace) return;
    core.trace->push_back(std::string(name) + "() = " + std::to_string(result));
}

// --- Drawing state helpers ---------------------------------------------------

Page active_page() {
    auto& v = core.view;
    return Page{v.width, v.height, v.pages[v.active_page].data()};
}

// Where drawing may touch: the viewport when it clips, else the whole page.
ClipRect drawing_clip() {
    const auto& s = core.settings;
    ClipRect clip{0, 0, core.view.width - 1, core.view.height - 1};
    if (s.view_clip) {
        clip.x1 = std::max(clip.x1, s.view_x1);
        clip.y1 = std::max(clip.y1, s.view_y1);
        clip.x2 = std::min(clip.x2, s.view_x2);
        clip.y2 = std::min(clip.y2, s.view_y2);
    }
    return clip;
}

// A drawing operation on the visual page is to be shown.
void touched() {
    if (core.view.active_page == core.view.visual_page) core.changed = true;
}

Pen line_pen() {
    const auto& s = core.settings;
    Pen pen;
    pen.colour = s.colour;
    pen.exclusive_or = s.exclusive_or;
    pen.pattern = s.line_style == USER_LINE   ? s.user_pattern
                  : s.line_style == NULL_LINE ? 0
                                              : line_style_pattern(s.line_style);
    // The user pattern is always drawn 1 pixel wide; the end-point rule
    // still follows the thickness asked for.
    pen.thickness = s.line_style == USER_LINE && s.thickness > 1 ? 0 : s.thickness;
    return pen;
}

int valid_page(int page) { return page >= 0 && page <= 3 ? page : 0; }

void reset_settings() {
    core.settings = Settings{};
    auto& s = core.settings;
    s.view_x2 = core.view.width - 1;
    s.view_y2 = core.view.height - 1;
    core.view.current_x = 0;
    core.view.current_y = 0;
}

// --- Window work --------------------------------------------------------------

// Shows the visual page if it changed and the backend takes it now, then
// collects input.
void service() {
    auto& v = core.view;
    if (core.changed && core.backend->present(v.pages[v.visual_page].data(), v.palette))
        core.changed = false;
    core.backend->poll(core);
}

void fail_to_open(const std::string& reason) {
    std::fprintf(stderr, "%s: cannot open the graphics window: %s\n", program_invocation_short_name,
                 reason.c_str());
    std::exit(1);
}

}  // namespace

// --- Window and pages -----------------------------------------------------------

void InitGraph(int driver, int mode, const char* title) {
    trace_call("InitGraph", long(driver), long(mode), title);
    if (core.view.open) CloseGraph();
    auto& v = core.view;
    // Driver 3 is the only mode there is; mode 6 is 800 x 600, any other 640 x 480.
    v.width = mode == MODE_800x600 ? 800 : 640;
    v.height = mode == MODE_800x600 ? 600 : 480;
    v.title = title ? title : "";
    for (auto& page : v.pages) page.assign(size_t(v.width) * v.height, BLACK);
    v.active_page = 0;
    v.visual_page = 0;
    std::memcpy(v.palette, platform_core::default_palette(), sizeof v.palette);
    v.queue.clear();
    reset_settings();
    core.keys_read = 0;
    core.mouse_x = 0;
    core.mouse_y = 0;

    core.backend = core.chosen_backend ? core.chosen_backend : window_backend();
    std::string reason;
    if (!core.backend->open(v.width, v.height, v.title.c_str(), reason)) fail_to_open(reason);
    v.open = true;
    core.changed = true;
    service();
}

void CloseGraph() {
    trace_call("CloseGraph");
    if (!core.view.open) return;
    core.backend->close();
    core.view.open = false;
}

int GetMaxX() {
    trace_result("GetMaxX", core.view.width - 1);
    return core.view.width - 1;
}

int GetMaxY() {
    trace_result("GetMaxY", core.view.height - 1);
    return core.view.height - 1;
}

void SetActivePage(int page) {
    trace_call("SetActivePage", long(page));
    core.view.active_page = valid_page(page);
}

void SetVisualPage(int page) {
    trace_call("SetVisualPage", long(page));
    core.view.visual_page = valid_page(page);
    core.changed = true;
    if (core.view.open) core.backend->frame_shown();
}

void ClearDevice() {
    trace_call("ClearDevice");
    auto& v = core.view;
    std::memset(v.pages[v.active_page].data(), core.settings.background, v.pages[v.active_page].size());
    v.current_x = 0;
    v.current_y = 0;
    touched();
}

void ClearViewPort() {
    trace_call("ClearViewPort");
    const auto& s = core.settings;
    Page page = active_page();
    const ClipRect whole{0, 0, page.width - 1, page.height - 1};
    raster_bar(page, whole, s.view_x1, s.view_y1, s.view_x2, s.view_y2, EMPTY_FILL, s.background,
               s.background);
    core.view.current_x = 0;
    core.view.current_y = 0;
    touched();
}

void SetViewPort(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int clip) {
    trace_call("SetViewPort", long(x1), long(y1), long(x2), long(y2), long(clip));
    if (x2 < x1 || y2 < y1) return;
    auto& s = core.settings;
    s.view_x1 = x1;
    s.view_y1 = y1;
    s.view_x2 = x2;
    s.view_y2 = y2;
    s.view_clip = clip != 0;
    core.view.current_x = 0;
    core.view.current_y = 0;
}

// --- Colours and write mode ---------------------------------------------------------

void SetColor(int colour) {
    trace_call("SetColor", long(colour));
    core.settings.colour = uint8_t(colour & 0xFF);
}

void SetBkColor(int colour) {
    trace_call("SetBkColor", long(colour));
    core.settings.background = uint8_t(colour & 0xFF);
}

void SetWriteMode(int mode) {
    trace_call("SetWriteMode", long(mode));
    if (mode == COPY_PUT || mode == XOR_PUT) core.settings.exclusive_or = mode == XOR_PUT;
}

int RgbColor(int red, int green, int blue) {
    return platform_core::nearest_entry(core.view.open ? core.view.palette : platform_core::default_palette(),
                                        red, green, blue);
}

int NamedColor(NamedColour colour) {
    switch (colour) {
        case LIGHT_BLUE_RGB: return RgbColor(173, 216, 230);
        case WHITE_RGB: return RgbColor(255, 255, 255);
        case YELLOW_RGB: return RgbColor(255, 255, 0);
        case DARK_GREEN_RGB: return RgbColor(0, 128, 0);
        case LIGHT_RED_RGB: return RgbColor(255, 128, 128);
        case RED_RGB: return RgbColor(255, 0, 0);
    }
    return WHITE;
}

// --- Lines, circles, fills ------------------------------------------------------------

void SetLineStyle(int style, unsigned pattern, int thickness) {
    trace_call("SetLineStyle", long(style), long(pattern), long(thickness));
    if (style < SOLID_LINE || style > NULL_LINE || thickness < 0) return;
    auto& s = core.settings;
    s.line_style = style;
    if (style == USER_LINE) s.user_pattern = uint16_t(pattern);
    s.thickness = thickness;
}

void MoveTo(int16_t x, int16_t y) {
    trace_call("MoveTo", long(x), long(y));
    core.view.current_x = x;
    core.view.current_y = y;
}

void LineTo(int16_t x, int16_t y) {
    trace_call("LineTo", long(x), long(y));
    auto& v = core.view;
    const auto& s = core.settings;
    Page page = active_page();
    raster_line(page, drawing_clip(), s.view_x1 + v.current_x, s.view_y1 + v.current_y, s.view_x1 + x,
                s.view_y1 + y, line_pen());
    v.current_x = x;
    v.current_y = y;
    touched();
}

void Line(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    trace_call("Line", long(x1), long(y1), long(x2), long(y2));
    auto* trace = core.trace;
    core.trace = nullptr;  // one line in the trace, not three
    MoveTo(x1, y1);
    LineTo(x2, y2);
    core.trace = trace;
}

void Circle(int16_t x, int16_t y, uint16_t radius) {
    trace_call("Circle", long(x), long(y), long(radius));
    const auto& s = core.settings;
    Page page = active_page();
    Pen pen = line_pen();
    pen.thickness = 1;
    raster_circle(page, drawing_clip(), s.view_x1 + x, s.view_y1 + y, radius, pen);
    touched();
}

void SetFillStyle(int pattern, int colour) {
    trace_call("SetFillStyle", long(pattern), long(colour));
    core.settings.fill_pattern = pattern;
    core.settings.fill_colour = uint8_t(colour & 0xFF);
}

void Bar(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
    trace_call("Bar", long(x1), long(y1), long(x2), long(y2));
    const auto& s = core.settings;
    Page page = active_page();
    raster_bar(page, drawing_clip(), s.view_x1 + x1, s.view_y1 + y1, s.view_x1 + x2, s.view_y1 + y2,
               s.fill_pattern, s.fill_colour, s.background);
    touched();
}

// --- Text ------------------------------------------------------------------------------

void SetTextStyle(int font, int direction, int size) {
    trace_call("SetTextStyle", long(font), long(direction), long(size));
    auto& s = core.settings;
    s.font = font >= 0 && font <= 3 ? font : 0;
    s.text_direction = direction;  // text is always drawn horizontally
    s.text_size = size;
}

void OutTextXY(int16_t x, int16_t y, const char* text) {
    trace_call("OutTextXY", long(x), long(y), text);
    auto& v = core.view;
    const auto& s = core.settings;
    Page page = active_page();
    const int advance = draw_text(page, drawing_clip(), s.view_x1 + x, s.view_y1 + y, text ? text : "",
                                  s.font, text_cell_height(s.text_size), s.colour);
    v.current_x = std::clamp(x + advance, int(INT16_MIN), int(INT16_MAX));
    v.current_y = y;
    touched();
}

// --- Keyboard, timing, mouse -----------------------------------------------------------

int ReadKey() {
    if (!core.view.open) {
        trace_result("ReadKey", 0);
        return 0;
    }
    core.backend->read_key_started(core.keys_read);
    auto& queue = core.view.queue;
    for (;;) {
        service();
        if (!queue.empty()) break;
        core.backend->waiting_for_key(core);
        if (!queue.empty()) break;
        core.backend->wait(poll_micros);
    }
    ++core.keys_read;
    const int code = queue.pop();
    trace_result("ReadKey", code);
    return code;
}

bool KeyPressed() {
    bool pressed = false;
    if (core.view.open) {
        service();
        pressed = !core.view.queue.empty();
    }
    trace_result("KeyPressed", int(pressed));
    return pressed;
}

int64_t ClockMicros() {
    if (core.view.open) return core.backend->now_micros();
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void WaitUntilMicros(int64_t micros) {
    if (!core.view.open) {
        const int64_t left = micros - ClockMicros();
        if (left > 0) std::this_thread::sleep_for(std::chrono::microseconds(left));
        return;
    }
    for (;;) {
        service();
        const int64_t left = micros - core.backend->now_micros();
        if (left <= 0) return;
        core.backend->wait(std::min(left, poll_micros));
    }
}

void Delay(int ms) {
    trace_call("Delay", long(ms));
    WaitUntilMicros(ClockMicros() + int64_t(std::max(ms, 0)) * 1000);
}

int GetMouseX() {
    trace_result("GetMouseX", core.mouse_x);
    return core.mouse_x;
}

int GetMouseY() {
    trace_result("GetMouseY", core.mouse_y);
    return core.mouse_y;
}

// --- The core as tests see it ------------------------------------------------------------

namespace platform_core {

const View& view() { return core.view; }
void use_backend(Backend* backend) { core.chosen_backend = backend; }
void set_trace(std::vector<std::string>* lines) { core.trace = lines; }
void abandon() { core.view.open = false; }

}  // namespace platform_core
