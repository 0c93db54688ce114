// Help screens: a two-column table of keys and what they do, written in
// light green on a cleared blue page, dismissed by any key.
#include "help.h"

#include <cstddef>
#include <cstdint>

#include "graph.h"
#include "parts.h"
#include "state.h"

namespace cab_lift {

namespace {

struct Row {
    int16_t y;
    const char* text;
};

constexpr Row main_rows[] = {
    {10, "TASTA            |        FUNCTIA INDEPLINITA"},
    {12, "_____________________________________________"},
    {80, "a----------------|-asambleaza partile componente"},
    {100, "d----------------|-dezasambleaza partile componente"},
    {120, "p-si-o-----------|-modifica cursa pistonului"},
    {140, "m-si-n-----------|-deplaseaza omul pe taler"},
    {160, "t-si-y-----------|-modifica masa talerului"},
    {180, "e-si-r-----------|-modifica masa omului"},
    {200, "g----------------|-graficul variatiei fortei si pres."},
    {220, "1----------------|-modifica partea fixa"},
    {240, "2----------------|-modifica pistonul"},
    {260, "3----------------|-modifica partea mobila"},
    {280, "4----------------|-modifica cele patru bare imbinate"},
    {300, "5----------------|-modifica talerul"},
    {320, "6----------------|-modifica omul"},
    {340, "ESC--------------|-iese din program"},
    {360, "F1---------------|-genereaza informatiile curente"},
    {390, "Obs.:cercul alb continut in desen reprezinta"},
    {410, "    centrul de greutate al ansamblului om-taler"},
};

constexpr Row editor_rows[] = {
    {10, "TASTA            |        FUNCTIA INDEPLINITA"},
    {10, "_____________________________________________"},
    {80, "f,d,y-si-g-------|-muta pe ecran partea aleasa"},
    {100, "c----------------|-modifica culoarea partii alese"},
    {120, "s----------------|-modifica scara partii alese"},
    {140, "t----------------|-modifica tipul liniei"},
    {160, "ESC--------------|-se intoarce in programul principal"},
    {180, "F1---------------|-genereaza aceste informatii"},
};

// Shows the rows and waits for one key, whose code is not used.
template <std::size_t N>
void show_table(const Row (&rows)[N]) {
    SetBkColor(BLUE);
    ClearDevice();
    SetWriteMode(COPY_PUT);
    SetTextStyle(0, 0, 2);
    SetColor(LIGHTGREEN);
    for (const Row& row : rows) OutTextXY(20, row.y, row.text);
    ReadKey();
    SetBkColor(BLACK);
    ClearDevice();
}

}  // namespace

void show_main_help() {
    show_table(main_rows);
    draw_all_parts();
}

void show_editor_help(int part) {
    show_table(editor_rows);
    draw_part(1, part);
    draw_all_parts();
}

}  // namespace cab_lift
