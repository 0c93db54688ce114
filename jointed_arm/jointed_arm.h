#pragma once

namespace jointed_arm {

// Runs the program from its start state to its end, InitGraph to CloseGraph.
void run();

}  // namespace jointed_arm
