// The core: start-up state, pages, viewport, clears, colours, write mode,
// the palette, and keys, frames and the mouse through the headless backend.
#include <gtest/gtest.h>

#include <vector>

#include "core.h"
#include "graph.h"
#include "graph_testing.h"

namespace gt = graph_testing;

namespace {

// Runs `body` between InitGraph and the end of the run, in an 800 x 600 window.
void (*body)() = nullptr;
void program_800() {
    InitGraph(DRIVER_256, MODE_800x600, "TEST");
    body();
}

void draw(void (*what)()) {
    body = what;
    gt::run(program_800, gt::Script{});
}

int count_colour(int page, uint8_t colour) {
    int n = 0;
    for (uint8_t p : gt::page(page)) n += p == colour;
    return n;
}

TEST(StartUp, WindowSizeTitleAndInitialSettings) {
    struct Case {
        int mode, max_x, max_y;
    };
    for (const Case c : {Case{MODE_640x480, 639, 479}, Case{MODE_800x600, 799, 599}}) {
        static int mode;
        mode = c.mode;
        gt::run(+[] {
            InitGraph(DRIVER_256, mode, "DISPOZITIV");
            Line(0, 0, 9, 0);                 // white, solid, 1 pixel
            Bar(0, 2, 1, 3);                  // solid white fill
            OutTextXY(20, 20, "A");           // font 0, 16 pixels high
        }, gt::Script{});
        EXPECT_EQ(gt::width() - 1, c.max_x);
        EXPECT_EQ(gt::height() - 1, c.max_y);
        EXPECT_EQ(gt::title(), "DISPOZITIV");
        EXPECT_EQ(gt::active_page(), 0);
        EXPECT_EQ(gt::visual_page(), 0);
        for (int x = 0; x <= 9; ++x) EXPECT_EQ(gt::pixel(0, x, 0), WHITE);
        EXPECT_EQ(gt::pixel(0, 10, 0), BLACK);
        EXPECT_EQ(count_colour(0, WHITE) - 10 - 4, [] {
            int n = 0;  // the text's ink lies inside its 8 x 16 cell
            for (int y = 20; y < 36; ++y)
                for (int x = 20; x < 28; ++x) n += gt::pixel(0, x, y) == WHITE;
            return n;
        }());
        EXPECT_EQ(gt::current_x(), 28);
        for (int p = 1; p < 4; ++p) EXPECT_EQ(count_colour(p, BLACK), gt::width() * gt::height());
    }
}

TEST(Pages, OutOfRangePageNumbersMeanPageZero) {
    for (int bad : {-1, 4, 100}) {
        static int page;
        page = bad;
        draw(+[] {
            SetActivePage(2);
            SetVisualPage(3);
            SetActivePage(page);
            SetVisualPage(page);
            Line(0, 0, 0, 0);
        });
        EXPECT_EQ(gt::active_page(), 0) << bad;
        EXPECT_EQ(gt::visual_page(), 0) << bad;
        EXPECT_EQ(gt::pixel(0, 0, 0), WHITE) << bad;
    }
}

TEST(Viewport, RelativeClippedAndInvertedRefused) {
    draw(+[] {
        SetViewPort(100, 100, 109, 104, 1);
        Line(-5, 0, 20, 0);   // cut at both ends of the viewport, corners included
        Line(0, 4, 9, 4);     // the bottom row of the viewport
        Line(0, 5, 9, 5);     // one row below: cut away
        SetViewPort(300, 300, 299, 310, 1);  // inverted: refused
        MoveTo(3, 3);
        LineTo(3, 3);
    });
    for (int x = 95; x <= 115; ++x) EXPECT_EQ(gt::pixel(0, x, 100), x >= 100 && x <= 109 ? WHITE : BLACK) << x;
    for (int x = 100; x <= 109; ++x) EXPECT_EQ(gt::pixel(0, x, 104), WHITE);
    for (int x = 100; x <= 109; ++x) EXPECT_EQ(gt::pixel(0, x, 105), BLACK);
    EXPECT_EQ(gt::pixel(0, 103, 103), WHITE);  // the refused viewport left the old one in force
    EXPECT_EQ(count_colour(0, WHITE), 21);
}

TEST(Viewport, WithoutClippingOnlyMovesTheOrigin) {
    draw(+[] {
        SetViewPort(100, 100, 109, 104, 0);
        Line(-5, 0, 20, 0);
    });
    EXPECT_EQ(count_colour(0, WHITE), 26);
    EXPECT_EQ(gt::pixel(0, 95, 100), WHITE);
}

TEST(Clears, DeviceIgnoresViewportViewPortFillsItAndBothResetThePosition) {
    draw(+[] {
        SetBkColor(BLUE);
        SetViewPort(10, 10, 19, 14, 1);
        MoveTo(5, 5);
        ClearDevice();
    });
    EXPECT_EQ(count_colour(0, BLUE), 800 * 600);
    EXPECT_EQ(gt::current_x(), 0);
    EXPECT_EQ(gt::current_y(), 0);

    draw(+[] {
        SetBkColor(RED);
        SetViewPort(10, 10, 19, 14, 1);
        MoveTo(5, 5);
        ClearViewPort();
        SetBkColor(GREEN);  // later clears only; red pixels stay red
    });
    EXPECT_EQ(count_colour(0, RED), 10 * 5);
    EXPECT_EQ(gt::pixel(0, 10, 10), RED);
    EXPECT_EQ(gt::pixel(0, 19, 14), RED);
    EXPECT_EQ(gt::pixel(0, 20, 14), BLACK);
    EXPECT_EQ(gt::current_x(), 0);
}

TEST(Colours, NumbersWrapModulo256) {
    draw(+[] {
        SetColor(256 + 5);
        Line(0, 0, 0, 0);
        SetColor(-1);
        Line(1, 0, 1, 0);
        SetFillStyle(SOLID_FILL, 512 + 7);
        Bar(2, 0, 2, 0);
        SetBkColor(256 + 3);
        SetViewPort(3, 0, 3, 0, 1);
        ClearViewPort();
    });
    EXPECT_EQ(gt::pixel(0, 0, 0), 5);
    EXPECT_EQ(gt::pixel(0, 1, 0), 255);
    EXPECT_EQ(gt::pixel(0, 2, 0), 7);
    EXPECT_EQ(gt::pixel(0, 3, 0), 3);
}

TEST(WriteMode, ExclusiveOrAppliesToLinesAndCirclesNotToFillsOrText) {
    draw(+[] {
        SetFillStyle(SOLID_FILL, GREEN);
        Bar(0, 0, 99, 99);
        SetWriteMode(XOR_PUT);
        SetColor(BLUE);
        Line(0, 10, 9, 10);  // thickness 1: the end point is a plain set
        Circle(50, 50, 5);
        SetFillStyle(SOLID_FILL, RED);
        Bar(0, 20, 4, 20);
        OutTextXY(0, 40, "I");
    });
    EXPECT_EQ(gt::pixel(0, 0, 10), GREEN ^ BLUE);
    EXPECT_EQ(gt::pixel(0, 9, 10), BLUE);
    EXPECT_EQ(gt::pixel(0, 55, 50), GREEN ^ BLUE);
    EXPECT_EQ(gt::pixel(0, 4, 20), RED);
    EXPECT_GT(count_colour(0, BLUE), 1);  // the text's ink, copied in blue
}

TEST(LineStyles, UserPatternIsOnePixelWideAndNullStyleDrawsNothing) {
    draw(+[] {
        SetLineStyle(USER_LINE, 0xF0F0, 3);
        Line(0, 10, 15, 10);
        SetLineStyle(7, 0, 1);  // refused: the user pattern stays
        Line(0, 20, 15, 20);
        SetLineStyle(NULL_LINE, 0, 1);
        Line(0, 30, 15, 30);
    });
    for (int x = 0; x < 16; ++x) {
        const uint8_t expected = x < 15 && (x / 4) % 2 == 0 ? WHITE : BLACK;  // no end point at thickness 3
        EXPECT_EQ(gt::pixel(0, x, 10), expected) << x;
        EXPECT_EQ(gt::pixel(0, x, 20), expected) << x;
        EXPECT_EQ(gt::pixel(0, x, 9), BLACK) << x;
        EXPECT_EQ(gt::pixel(0, x, 11), BLACK) << x;
        EXPECT_EQ(gt::pixel(0, x, 30), BLACK) << x;
    }
}

TEST(Palette, FirstSixteenAndTheStandardRest) {
    const uint32_t first[16] = {0x000000, 0x0000A8, 0x00A800, 0x00A8A8, 0xA80000, 0xA800A8,
                                0xA85400, 0xA8A8A8, 0x545454, 0x8484FC, 0x54FC54, 0x54FCFC,
                                0xFC5454, 0xFC54FC, 0xFCFC54, 0xFCFCFC};
    draw(+[] {});
    for (int i = 0; i < 16; ++i) EXPECT_EQ(gt::palette_rgb(i), first[i]) << i;
    EXPECT_EQ(gt::palette_rgb(16), 0x000000u);
    EXPECT_EQ(gt::palette_rgb(31), 0xFCFCFCu);
    EXPECT_EQ(gt::palette_rgb(32), 0x0000FCu);  // the first ring starts at blue
    for (int i = 248; i < 256; ++i) EXPECT_EQ(gt::palette_rgb(i), 0u) << i;
}

TEST(Palette, NamedColoursLandOnTheirEntries) {
    struct Case {
        NamedColour colour;
        int entry;
        uint32_t shown;
    };
    const Case cases[] = {
        {LIGHT_BLUE_RGB, 102, 0xB4D8FC}, {WHITE_RGB, 15, 0xFCFCFC},   {YELLOW_RGB, 44, 0xFCFC00},
        {DARK_GREEN_RGB, 120, 0x007000}, {LIGHT_RED_RGB, 64, 0xFC7C7C}, {RED_RGB, 40, 0xFC0000},
    };
    draw(+[] {});
    for (const Case& c : cases) {
        EXPECT_EQ(NamedColor(c.colour), c.entry);
        EXPECT_EQ(gt::palette_rgb(c.entry), c.shown) << c.entry;
    }
    // Ties go to the lower entry: black is entry 0, not 16 or 248.
    EXPECT_EQ(RgbColor(0, 0, 0), 0);
}

TEST(Keys, ReadKeyTakesScriptedCodesInOrderAndEndsWhenTheScriptDoes) {
    static std::vector<int> read;
    read.clear();
    gt::Script script;
    script.tokens("a F1 C-a");
    const auto ending = gt::run(+[] {
        InitGraph(DRIVER_256, MODE_640x480, "K");
        for (;;) read.push_back(ReadKey());
    }, script);
    EXPECT_EQ(ending, gt::Ending::ScriptEnded);
    EXPECT_EQ(read, (std::vector<int>{'a', 0, 59, 1}));
}

TEST(Keys, WithoutAWindowReadKeyIsZeroAndKeyPressedFalse) {
    static int code = -1;
    static bool pressed = true;
    gt::Script script;
    script.key('x', 0);
    gt::run(+[] {
        InitGraph(DRIVER_256, MODE_640x480, "K");
        CloseGraph();
        code = ReadKey();
        pressed = KeyPressed();
    }, script);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(pressed);
}

TEST(Keys, KeyPressedLooksWithoutTaking) {
    static int looks = 0;
    static int code = 0;
    gt::Script script;
    script.key('q', 0);
    gt::run(+[] {
        InitGraph(DRIVER_256, MODE_640x480, "K");
        looks = KeyPressed() + KeyPressed() + KeyPressed();
        code = ReadKey();
        looks += KeyPressed();
    }, script);
    EXPECT_EQ(looks, 3);
    EXPECT_EQ(code, 'q');
}

TEST(Frames, FrameLimitStopsRightAfterTheLastFrameIsShownAndKeysArriveAtTheirFrame) {
    static std::vector<int> seen;  // per frame: page shown, key (or -1)
    seen.clear();
    gt::Script script;
    script.key('z', 2);
    script.mouse_at(7, 9, 3);
    script.frames = 3;
    const auto ending = gt::run(+[] {
        InitGraph(DRIVER_256, MODE_800x600, "F");
        for (int page = 0;; page = 1 - page) {
            SetVisualPage(page);
            seen.push_back(KeyPressed() ? ReadKey() : -1);
            seen.push_back(GetMouseX() * 100 + GetMouseY());
        }
    }, script);
    EXPECT_EQ(ending, gt::Ending::FramesDone);
    EXPECT_EQ(seen, (std::vector<int>{-1, 0, 'z', 0, -1, 709}));
    EXPECT_EQ(gt::visual_page(), 1);
}

TEST(Frames, DelayAndWaitingAdvanceOnlyTheVirtualClock) {
    static int64_t elapsed = 0;
    gt::run(+[] {
        InitGraph(DRIVER_256, MODE_800x600, "C");
        const int64_t start = ClockMicros();
        Delay(10);
        WaitUntilMicros(start + 12'000);
        WaitUntilMicros(start + 11'000);  // already past: returns at once
        elapsed = ClockMicros() - start;
    }, gt::Script{});
    EXPECT_EQ(elapsed, 12'000);
}

// A backend that records what the window would show.
struct RecordingBackend : Backend {
    std::vector<std::vector<uint8_t>> shown;
    int width = 0, height = 0;
    bool open(int w, int h, const char*, std::string&) override {
        width = w;
        height = h;
        return true;
    }
    void close() override {}
    bool present(const uint8_t* pixels, const uint32_t*) override {
        shown.emplace_back(pixels, pixels + width * height);
        return true;
    }
    void poll(EventSink&) override {}
    void wait(int64_t micros) override { clock += micros; }
    int64_t now_micros() override { return clock; }
    int64_t clock = 0;
};

TEST(Presenting, HiddenDrawingStaysInvisibleUntilItsPageIsShown) {
    RecordingBackend window;
    platform_core::use_backend(&window);
    InitGraph(DRIVER_256, MODE_640x480, "P");
    SetActivePage(1);
    Line(0, 0, 0, 0);
    Delay(1);
    ASSERT_GT(window.shown.size(), 0u);
    EXPECT_EQ(window.shown.back()[0], BLACK);  // still page 0
    const size_t shown = window.shown.size();
    SetVisualPage(1);
    EXPECT_EQ(window.shown.size(), shown);  // never blocks: shown at the next wait
    Delay(1);
    EXPECT_EQ(window.shown.back()[0], WHITE);
    SetActivePage(1);
    Line(1, 0, 1, 0);  // on the visual page: shown at the next wait
    const size_t before = window.shown.size();
    Delay(1);
    EXPECT_EQ(window.shown.size(), before + 1);
    EXPECT_EQ(window.shown.back()[1], WHITE);
    Delay(1);  // nothing changed: nothing presented
    EXPECT_EQ(window.shown.size(), before + 1);
    CloseGraph();
    platform_core::use_backend(nullptr);
}

}  // namespace
