// The two help screens: tables of the keys on a blue page.
#pragma once

namespace cab_lift {

// Modal: waits for any key, then restores the drawing (every part once).
void show_main_help();
// Modal: as show_main_help, for the editor of `part`; leaves `part` erased
// for the editor's own redraw to bring back.
void show_editor_help(int part);

}  // namespace cab_lift
