#pragma once

namespace loco_drive {

// Runs the program from its start state to its end, InitGraph to CloseGraph.
void run();

}  // namespace loco_drive
