// The program as a whole, driven by keys: start and end, one redraw per key,
// the two-code keys, the help screens and the credits panel with its reset.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backhoe.h"
#include "graph.h"
#include "run_helpers.h"

namespace backhoe {
namespace {

using namespace testing;

// Everything a reset puts back (the page, key and current part aside).
void expect_assembled(const Model& m, const std::string& context) {
    const Model start = [] {
        Model s;
        s.boom_changed = s.stick_changed = s.bucket_changed = 1;
        s.body_changed = 0;
        return s;
    }();
    EXPECT_EQ(m.boom_cylinder_stroke, start.boom_cylinder_stroke) << context;
    EXPECT_EQ(m.stick_cylinder_stroke, start.stick_cylinder_stroke) << context;
    EXPECT_EQ(m.bucket_cylinder_stroke, start.bucket_cylinder_stroke) << context;
    EXPECT_EQ(m.on_tyres, 0) << context;
    EXPECT_EQ(m.part_offset_x, start.part_offset_x) << context;
    EXPECT_EQ(m.part_offset_y, start.part_offset_y) << context;
    EXPECT_EQ(m.part_scale, start.part_scale) << context;
    EXPECT_EQ(m.part_color, start.part_color) << context;
    EXPECT_EQ(m.part_line_type, start.part_line_type) << context;
}

TEST(Program, OpensItsWindowAndEndsAtEsc) {
    EXPECT_EQ(run_keys("ESC"), gt::Ending::Returned);
    EXPECT_EQ(gt::title(), "FUNCTIONAREA EXCAVATORULUI CU LINGURA INTOARSA");
    EXPECT_EQ(gt::width(), 640);
    EXPECT_EQ(gt::height(), 480);
    const auto& trace = gt::trace();
    EXPECT_EQ(trace.front(), "InitGraph(3, 4, \"FUNCTIONAREA EXCAVATORULUI CU LINGURA INTOARSA\")");
    EXPECT_EQ(trace.back(), "CloseGraph()");
    // The start picture, then the one redraw that follows ESC.
    EXPECT_EQ(count_calls(trace, "SetVisualPage"), 2);
}

TEST(Program, EachRunStartsAfresh) {
    const std::vector<uint8_t> first = start_picture();
    run_keys("p p k m t 3 s c f ESC ESC");
    run_keys("");
    expect_assembled(model, "second run");
    EXPECT_TRUE(shown_picture() == first);
    EXPECT_EQ(gt::visual_page(), 0);
}

// ESC ends only the command loop: in the editor, on a help screen and on the
// credits panel it only closes them.
TEST(Program, EscEndsOnlyTheCommandLoop) {
    const struct {
        const char* keys;
        gt::Ending ending;
    } cases[] = {
        {"1 ESC", gt::Ending::ScriptEnded},   {"1 ESC ESC", gt::Ending::Returned},
        {"F1 ESC", gt::Ending::ScriptEnded},  {"F2 ESC", gt::Ending::ScriptEnded},
        {"1 F1 ESC", gt::Ending::ScriptEnded}, {"1 F1 ESC ESC ESC", gt::Ending::Returned},
    };
    for (const auto& c : cases) EXPECT_EQ(run_keys(c.keys), c.ending) << c.keys;
}

// Frames shown between one key and the next read, key by key (segment 0 is
// the start). Keys without an action redraw once; a draws the reset's frame
// and then the redraw; a screen shows nothing new until it is dismissed.
TEST(Program, EachKeyRedrawsOnce) {
    const struct {
        const char* keys;
        std::vector<int> frames;
    } cases[] = {
        {"p o l k m n", {1, 1, 1, 1, 1, 1, 1}},
        {"t x SPACE P #0 #200", {1, 1, 1, 1, 1, 1, 1}},
        {"a", {1, 2}},
        {"F1 x", {1, 1, 0, 1}},      // 0 redraws; 59 opens the help; x closes it
        {"F2 x", {1, 1, 0, 2}},      // x closes the credits: reset, then redraw
        {"1 c ESC", {1, 0, 1, 2}},   // editor: nothing on entry, one per key, ESC twice
        {"1 F1 x ESC", {1, 0, 1, 0, 1, 2}},
        {"ESC", {1, 1}},
    };
    for (const auto& c : cases) {
        run_keys(c.keys);
        std::vector<int> frames;
        for (const auto& segment : trace_by_key()) frames.push_back(count_calls(segment, "SetVisualPage"));
        EXPECT_EQ(frames, c.frames) << c.keys;
    }
}

// The frame is built on the hidden page and then shown; the pages take turns.
TEST(Program, FramesAlternateBetweenTheTwoPages) {
    std::vector<int> shown;
    gt::Hooks hooks;
    hooks.on_read_key = [&](int) { shown.push_back(gt::visual_page()); };
    const std::vector<uint8_t> start = start_picture();
    run_keys("x x x", hooks);
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 0, 1}));
    // A key without an action shows the same picture on the other page.
    EXPECT_TRUE(gt::page(0) == start);
    EXPECT_TRUE(gt::page(1) == start);
}

TEST(Program, CapitalsHaveNoAction) {
    const std::vector<uint8_t> start = start_picture();
    for (const char* key : {"P", "O", "L", "K", "M", "N", "T", "A", "C", "S", "D", "F", "G", "Y"}) {
        std::vector<uint8_t> picture;
        gt::Hooks hooks;
        hooks.on_read_key = [&](int read) {
            if (read == 1) picture = shown_picture();
        };
        run_keys(key, hooks);
        expect_assembled(model, key);
        EXPECT_EQ(model.boom_changed + model.stick_changed + model.bucket_changed, 0) << key;
        EXPECT_TRUE(picture == start) << key;
    }
}

// What is on the window while a screen waits for its key, and what the
// window shows once the screen is dismissed.
struct ScreenCase {
    const char* keys;
    int waiting_at;  // ReadKey number of the screen (1 = the first key)
    int background;
};

TEST(Screens, OpenFromBothCodesAndShowAtOnce) {
    const int light_blue = 102;
    const ScreenCase cases[] = {
        {"F1 p", 2, BLUE},      {"; p", 1, BLUE},       // main help
        {"F2 p", 2, CYAN},      {"< p", 1, CYAN},       // credits
        {"1 F1 p", 3, light_blue}, {"1 ; p", 2, light_blue},  // editor help
    };
    const std::vector<uint8_t> start = start_picture();
    for (const ScreenCase& c : cases) {
        std::vector<uint8_t> screen, after;
        gt::Hooks hooks;
        hooks.on_read_key = [&](int read) {
            if (read == c.waiting_at) screen = shown_picture();
            if (read == c.waiting_at + 1) after = shown_picture();
        };
        run_keys(c.keys, hooks);
        ASSERT_FALSE(screen.empty()) << c.keys;
        EXPECT_EQ(screen[0], c.background) << c.keys;
        int text = 0;
        for (uint8_t px : screen) text += px == LIGHTGREEN;
        EXPECT_GT(text, 200) << c.keys;
        // The dismissing p is discarded: the machine is shown unchanged.
        EXPECT_EQ(model.boom_cylinder_stroke, start_boom_cylinder_stroke) << c.keys;
        EXPECT_TRUE(after == start) << c.keys;
    }
}

TEST(Screens, CreditsBarAndItsTextFitTogether) {
    std::vector<uint8_t> screen;
    gt::Hooks hooks;
    hooks.on_read_key = [&](int read) {
        if (read == 1) screen = shown_picture();
    };
    run_keys("< x", hooks);
    auto at = [&](int x, int y) { return screen[size_t(y) * 640 + x]; };
    EXPECT_EQ(at(100, 100), BLUE);
    EXPECT_EQ(at(530, 200), BLUE);
    EXPECT_EQ(at(99, 100), CYAN);
    EXPECT_EQ(at(531, 200), CYAN);
    EXPECT_EQ(at(530, 201), CYAN);
    // Every pixel of text lies inside the bar.
    int outside = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            outside += at(x, y) == LIGHTGREEN && !(x > 100 && x < 530 && y > 100 && y < 200);
    EXPECT_EQ(outside, 0);

    std::vector<std::string> texts;
    for (const std::string& line : gt::trace())
        if (line.rfind("OutTextXY(", 0) == 0) texts.push_back(quoted_text(line));
    ASSERT_EQ(texts.size(), 4u);
    for (const std::string& text : texts)
        for (char ch : text) EXPECT_TRUE((ch >= 'A' && ch <= 'Z') || ch == ' ') << text;
    EXPECT_EQ(texts.back(), "APASATI O TASTA");
}

// The key tables: font, a vertical bar at index 17 of every line but the
// underline, which is 45 underscores under the header.
TEST(Screens, HelpTablesLineUp) {
    for (const char* keys : {"F1 x", "1 F1 x"}) {
        run_keys(keys);
        std::vector<std::string> lines;
        std::string style;
        for (const std::string& line : gt::trace()) {
            if (line.rfind("SetTextStyle(", 0) == 0) style = line;
            if (line.rfind("OutTextXY(20, ", 0) == 0) lines.push_back(quoted_text(line));
        }
        EXPECT_EQ(style, std::string(keys) == "F1 x" ? "SetTextStyle(0, 0, 2)" : "SetTextStyle(2, 0, 7)");
        ASSERT_GE(lines.size(), 8u) << keys;
        EXPECT_EQ(lines[0], "TASTA            |        FUNCTIA INDEPLINITA");
        EXPECT_EQ(lines[1], std::string(45, '_'));
        for (size_t i = 2; i < lines.size(); ++i) {
            ASSERT_GT(lines[i].size(), 18u);
            EXPECT_EQ(lines[i][17], '|') << lines[i];
            EXPECT_EQ(lines[i].find('|'), 17u) << lines[i];
        }
    }
}

// A function key on a help screen: its 0 dismisses the screen, its second
// code reaches the command loop, so F1 opens the help again.
TEST(Screens, FunctionKeyOnAHelpScreen) {
    std::vector<int> backgrounds;
    gt::Hooks hooks;
    hooks.on_read_key = [&](int) { backgrounds.push_back(shown_picture()[0]); };
    run_keys("F1 F1 x", hooks);
    EXPECT_EQ(backgrounds, (std::vector<int>{102, 102, BLUE, 102, BLUE, 102}));
}

TEST(Screens, EscOnTheEditorHelpReturnsToTheEditor) {
    EXPECT_EQ(run_keys("1 F1 ESC c ESC"), gt::Ending::ScriptEnded);
    EXPECT_EQ(model.part_color[BOOM_CYLINDER], 3);
}

// Whatever was changed, a and the credits panel put back the same machine,
// in the model and on the window.
TEST(Reset, CreditsRestoreEverythingAsADoes) {
    const std::vector<uint8_t> start = start_picture();
    const std::string disturb = "p p p k k m t 2 c s s d y t ESC 7 f g f ESC 8 t c ESC ";
    for (const char* reset : {"a", "< x", "F2 SPACE", "F2 F1"}) {
        std::vector<uint8_t> picture;
        Model after;
        bool seen = false;
        const int keys_before_reset = 24;
        gt::Hooks hooks;
        hooks.on_read_key = [&](int read) {
            // The first command-loop read after the reset and its redraw.
            const int reset_codes = std::string(reset) == "a" ? 1 : std::string(reset) == "< x" ? 2 : 3;
            if (read == keys_before_reset + reset_codes && !seen) {
                picture = shown_picture();
                after = model;
                seen = true;
            }
        };
        run_keys(disturb + reset, hooks);
        ASSERT_TRUE(seen) << reset;
        expect_assembled(after, reset);
        EXPECT_EQ(after.boom_changed + after.stick_changed + after.bucket_changed, 3) << reset;
        EXPECT_EQ(after.body_changed, 0) << reset;
        EXPECT_TRUE(picture == start) << reset;
    }
}

}  // namespace
}  // namespace backhoe
