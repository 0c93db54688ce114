// The full-window text screens, each shown until a key is pressed; the key
// is discarded. They draw on the active page, which the last frame left
// shown, so they appear at once.
#pragma once

namespace loco_drive {

// The command loop's key table.
void show_main_help();
// The part editor's key table.
void show_editor_help();
// The credits panel; ends with reset_machine.
void show_credits();

}  // namespace loco_drive
