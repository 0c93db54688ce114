// The load the device carries: the centre of gravity of man and platform
// (point 99), the force the piston must exert to hold it, and its pressure.
#pragma once

namespace cab_lift {

// The last step of compute_geometry: needs points 1..98 of set 1.
void compute_loads();

}  // namespace cab_lift
