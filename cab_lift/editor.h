// The part editor: moves, recolours, rescales and restyles one part.
#pragma once

namespace cab_lift {

// Modal: returns when ESC is pressed, with the part drawn once.
void edit_part(int part);

}  // namespace cab_lift
