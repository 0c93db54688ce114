// The two displays of the loads: the masses panel and the force/pressure
// graph against the stroke.
#pragma once

namespace cab_lift {

// Writes both masses at the lower right, over whatever is on the screen.
void show_masses();
// Axes, labels, the newest segment of both curves and the current values.
void draw_graph();

}  // namespace cab_lift
