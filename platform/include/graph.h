// The graphics platform: one window with four 8-bit pages drawn through a
// 256-entry palette, line graphics in the manner of the classic 16-colour
// graphics interface, a key queue and the mouse position.
//
// Every program draws through these operations only; none of them reports an
// error. Coordinates are 16-bit signed pixels relative to the viewport, y
// growing downwards.
#pragma once

#include <cstdint>

// Colours 0 to 15 of the palette under driver 3.
enum {
    BLACK = 0, BLUE, GREEN, CYAN, RED, MAGENTA, BROWN, LIGHTGRAY,
    DARKGRAY, LIGHTBLUE, LIGHTGREEN, LIGHTCYAN, LIGHTRED, LIGHTMAGENTA, YELLOW, WHITE
};

// Line styles of SetLineStyle.
enum {
    SOLID_LINE = 0, DOTTED_LINE = 1, DASH_DOT_LINE = 2, DASHED_LINE = 3,
    DASH_DOT_DOT_LINE = 4, USER_LINE = 5, NULL_LINE = 6
};

// Fill patterns of SetFillStyle: 0 background, 1 solid, 2..7 hatchings, 9 none.
enum { EMPTY_FILL = 0, SOLID_FILL = 1, NO_FILL = 9 };

// Write modes of SetWriteMode.
enum { COPY_PUT = 0, XOR_PUT = 1 };

// Graphics driver 3 is the 256-colour palette mode; mode 4 is 640 x 480,
// mode 6 is 800 x 600.
enum { DRIVER_256 = 3, MODE_640x480 = 4, MODE_800x600 = 6 };

// --- Window and pages -------------------------------------------------------

// Opens the window (fixed size, centred, raised) and resets every drawing
// setting. When no window can be opened, prints
// "PROGRAM: cannot open the graphics window: REASON" and exits with status 1.
void InitGraph(int driver, int mode, const char* title);
// Closes the window and returns once it is gone.
void CloseGraph();
// Width - 1 and height - 1 of the client area.
int GetMaxX();
int GetMaxY();
// Pages 0 to 3; any other value means 0.
void SetActivePage(int page);
void SetVisualPage(int page);
// Fills the whole active page with the background colour; position (0, 0).
void ClearDevice();
// Fills the viewport with the background colour; position (0, 0).
void ClearViewPort();
// Later coordinates are relative to (x1, y1); clip != 0 cuts drawing at the
// rectangle (corners included). An inverted rectangle is refused.
void SetViewPort(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int clip);

// --- Colours and write mode -------------------------------------------------

// Colour of lines, circles and text, modulo 256.
void SetColor(int colour);
// Colour the clears fill with from now on, modulo 256.
void SetBkColor(int colour);
// 0 copy, 1 exclusive-or (lines and circles only).
void SetWriteMode(int mode);

// Colours named by an RGB value: the palette entry nearest to it (smallest
// squared distance, ties to the lower entry).
int RgbColor(int red, int green, int blue);
enum NamedColour { LIGHT_BLUE_RGB, WHITE_RGB, YELLOW_RGB, DARK_GREEN_RGB, LIGHT_RED_RGB, RED_RGB };
int NamedColor(NamedColour colour);

// --- Lines, circles, fills --------------------------------------------------

// Styles 0..4 fixed patterns, 5 the 16-bit pattern, 6 nothing; other styles
// are refused. Thickness 0 and 1 both draw 1-pixel lines.
void SetLineStyle(int style, unsigned pattern, int thickness);
void MoveTo(int16_t x, int16_t y);
// Draws from the current position to (x, y) and moves there. With thickness
// exactly 1 the end point is set by a plain set; otherwise it is not drawn.
void LineTo(int16_t x, int16_t y);
void Line(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// Outline of the circle; the current position is unchanged.
void Circle(int16_t x, int16_t y, uint16_t radius);
// Pattern 1 solid in `colour`, 0 solid background, 2..7 hatchings, 9 nothing.
void SetFillStyle(int pattern, int colour);
// Fills the rectangle, both corners included, in either order.
void Bar(int16_t x1, int16_t y1, int16_t x2, int16_t y2);

// --- Text -------------------------------------------------------------------

// Fonts 0 "Courier New", 1 "MS Sans Serif", 2 "Times New Roman", 3 "Arial";
// size 1..5 gives 8 x size pixels, 6 or more the height itself, 0 16 pixels.
void SetTextStyle(int font, int direction, int size);
// Top-left corner of the first character at (x, y); no background box; the
// current position moves to the right end of the text. Single-byte Latin-1.
void OutTextXY(int16_t x, int16_t y, const char* text);

// --- Keyboard, timing, mouse ------------------------------------------------

// Waits for a key code (checking every 10 ms) and returns the oldest; 0 at
// once when the window is not open.
int ReadKey();
// True when a key code is queued; neither waits nor removes anything.
bool KeyPressed();
void Delay(int ms);
// Latest mouse position over the client area; (0, 0) until it first moves.
int GetMouseX();
int GetMouseY();

// --- Steady clock (beyond the classic interface) ----------------------------

// Microseconds on a steady clock. In the headless backend this is a virtual
// clock that only Delay and WaitUntilMicros advance, so paced programs run
// at full speed and deterministically in tests.
int64_t ClockMicros();
// Waits until ClockMicros() reaches `micros` (returns at once if it has),
// keeping the window shown and its input read meanwhile.
void WaitUntilMicros(int64_t micros);
