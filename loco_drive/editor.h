// The part editor: one part's placement, scale, colour and line style.
#pragma once

namespace loco_drive {

// Modal editor of part p (1 or 2); returns after ESC. It changes only the
// part's display settings: the crank does not turn and nothing is recomputed.
void edit_part(int p);

}  // namespace loco_drive
