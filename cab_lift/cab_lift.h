#pragma once

namespace cab_lift {

// Runs the program from its start state to its end, InitGraph to CloseGraph.
void run();

}  // namespace cab_lift
