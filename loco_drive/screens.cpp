#include "screens.h"

#include "graph.h"
#include "loco_drive.h"

namespace loco_drive {

namespace {

struct TextLine {
    int16_t y;
    const char* text;
};

// Key names on the left, the bar at index 17, the function on the right.
constexpr TextLine main_help[] = {
    {10, "TASTA            |        FUNCTIA INDEPLINITA"},
    {12, "_____________________________________________"},
    {80, "a----------------|-asambleaza in pozitia Initiala"},
    {100, "p,o--------------|-modifica cursa pistonului"},
    {120, "1,2--------------|-modifica partile componente"},
    {140, "b----------------|-schimba orientarea masinii"},
    {160, "q,w--------------|-modifica unghiul de reprezentare"},
    {180, "z,x--------------|-modifica scara de reprezentare"},
    {200, "d,f,y,g----------|-modifica pozitia pe ecran"},
    {220, "ESC--------------|-iese din program"},
    {240, "F1---------------|-genereaza informatiile curente"},
    {260, "F2---------------|-alte informatii"},
};

// The underline is written over the header line itself.
constexpr TextLine editor_help[] = {
    {10, "TASTA            |        FUNCTIA INDEPLINITA"},
    {10, "_____________________________________________"},
    {80, "f,d,y-si-g-------|-muta pe ecran partea aleasa"},
    {100, "c----------------|-modifica culoarea partii alese"},
    {120, "s----------------|-modifica Scara partii alese"},
    {140, "t----------------|-modifica tipul liniei"},
    {160, "ESC--------------|-intoarcere in programul principal"},
    {180, "F1---------------|-genereaza aceste informatii"},
};

constexpr int16_t help_x = 20;

template <int count>
void show_help(const TextLine (&lines)[count]) {
    SetBkColor(BLUE);
    ClearDevice();
    SetWriteMode(COPY_PUT);
    SetTextStyle(0, 0, 2);
    SetColor(LIGHTGREEN);
    for (const TextLine& line : lines) OutTextXY(help_x, line.y, line.text);
    ReadKey();
    SetBkColor(BLACK);
    ClearDevice();
}

}  // namespace

void show_main_help() { show_help(main_help); }

void show_editor_help() { show_help(editor_help); }

void show_credits() {
    SetTextStyle(0, 0, 0);
    SetBkColor(CYAN);
    ClearDevice();
    SetFillStyle(SOLID_FILL, BLUE);
    Bar(100, 100, 530, 200);
    SetColor(LIGHTGREEN);
    // Four lines sized to sit about centred over the bar in 8-pixel cells.
    OutTextXY(185, 110, "PROGRAMUL \"ANGRENAJE LOCOMOTIVA\"");
    OutTextXY(213, 140, "CILINDRU OSCILANT SI ROATA");
    OutTextXY(245, 160, "PROGRAM DIDACTIC");
    OutTextXY(255, 180, "APASATI O TASTA");
    ReadKey();
    reset_machine();
}

}  // namespace loco_drive
