// Full-window text screens: the key tables of the command loop and of the
// part editor, and the credits panel. Each is drawn on the page being shown
// and stays until a key, which is discarded.
#include <span>

#include "graph.h"

#include "backhoe.h"

namespace backhoe {

namespace {

struct TextLine {
    int16_t y;
    const char* text;
};

constexpr const char* table_header = "TASTA            |        FUNCTIA INDEPLINITA";
constexpr const char* table_underline = "_____________________________________________";

constexpr TextLine main_help[] = {
    {10, table_header},
    {12, table_underline},
    {80, "a----------------|-asambleaza partile componente"},
    {100, "p,o,l,k,m,n------|-modifica cursele pistoanelor"},
    {120, "1,2,3,4,5,6,7,8--|-modifica partile componente"},
    {140, "t----------------|-excavator pe pneuri sau pe senile"},
    {160, "ESC--------------|-iese din program"},
    {180, "F1---------------|-genereaza informatiile curente"},
    {200, "F2---------------|-alte informatii"},
};

// The underline is written over the header, at the same height.
constexpr TextLine editor_help[] = {
    {10, table_header},
    {10, table_underline},
    {80, "f,d,y-si-g-------|-muta pe ecran partea aleasa"},
    {100, "c----------------|-modifica culoarea partii alese"},
    {120, "s----------------|-modifica scara partii alese"},
    {140, "t----------------|-modifica tipul liniei"},
    {160, "ESC--------------|-intoarcere in programul principal"},
    {180, "F1---------------|-genereaza aceste informatii"},
};

struct PlacedText {
    int16_t x, y;
    const char* text;
};

// Centred in the blue bar, in the 8-pixel cells of font 0 at size 2.
constexpr PlacedText credits[] = {
    {185, 110, "EXCAVATORUL CU LINGURA INTOARSA"},
    {213, 140, "ECHIPAMENTUL SI CILINDRII"},
    {245, 160, "PROGRAM DIDACTIC"},
    {255, 180, "APASATI O TASTA"},
};

void write_lines(std::span<const TextLine> lines) {
    for (const TextLine& line : lines) OutTextXY(20, line.y, line.text);
}

}  // namespace

void show_main_help() {
    SetBkColor(BLUE);
    ClearDevice();
    SetWriteMode(COPY_PUT);
    SetTextStyle(0, 0, 2);
    SetColor(LIGHTGREEN);
    write_lines(main_help);
    ReadKey();
    SetBkColor(background_color());
    ClearDevice();
}

void show_editor_help() {
    SetBkColor(background_color());
    ClearDevice();
    SetWriteMode(COPY_PUT);
    SetTextStyle(2, 0, 7);
    SetColor(LIGHTGREEN);
    write_lines(editor_help);
    ReadKey();
    SetBkColor(background_color());
    ClearDevice();
}

void show_credits() {
    SetTextStyle(0, 0, 2);
    SetBkColor(CYAN);
    ClearDevice();
    SetFillStyle(SOLID_FILL, BLUE);
    Bar(100, 100, 530, 200);
    SetColor(LIGHTGREEN);
    for (const PlacedText& line : credits) OutTextXY(line.x, line.y, line.text);
    ReadKey();
    reset_excavator();
}

}  // namespace backhoe
