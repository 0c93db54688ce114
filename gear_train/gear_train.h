#pragma once

namespace gear_train {

// Runs the program from its start state to its end, InitGraph to CloseGraph.
void run();

}  // namespace gear_train
